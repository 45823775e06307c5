#include "ParameterBinding.h"
#include "ParameterMarker.h"
#include "ParameterValue.h"
#include "ProviderErrors.h"
#include "ReportDefinition.h"
#include "SqlErrorMessage.h"

#include <QtTest>

using namespace KRML_ReportGen;

class TestParameters : public QObject
{
    Q_OBJECT
private slots:
    void markers_data()
    {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::newRow("date") << "Start(Date)" << 0 << "Start";
        QTest::newRow("number") << "Qty(Number)" << 1 << "Qty";
        QTest::newRow("string") << "Customer(String)" << 2 << "Customer";
        QTest::newRow("lookup") << "Region(Lookup)" << 3 << "Region";
        QTest::newRow("only the last six characters count") << "X(Bumber)" << 1 << "X";
        QTest::newRow("name up to the first bracket") << "a(b)(Date)" << 0 << "a";
        QTest::newRow("no type") << "Plain" << -1 << "Plain";
        QTest::newRow("lower-case suffix") << "d(date)" << -1 << "d";
    }
    void markers()
    {
        QFETCH(QString, marker);
        QFETCH(int, type);
        QFETCH(QString, name);
        QCOMPARE(ParameterMarker::typeOf(marker), type);
        QCOMPARE(ParameterMarker::nameOf(marker), name);
    }

    void makeMarkers()
    {
        QCOMPARE(ParameterMarker::make(QStringLiteral("Customer"), 2), QStringLiteral("Customer(String)"));
        QCOMPARE(ParameterMarker::make(QStringLiteral("D"), 0), QStringLiteral("D(Date)"));
    }

    void bindingIgnoresCase()
    {
        const QString sql = QStringLiteral("SELECT * FROM O WHERE d > start(date) AND e < START(DATE) AND f = Start(Date)");
        const BoundStatement s = ParameterBinding(sql, {QStringLiteral("Start(Date)")}).bind({BoundValue::date(QDate(2006, 6, 8))});
        // One value, one placeholder number, wherever the marker stands.
        QCOMPARE(s.sql, QStringLiteral("SELECT * FROM O WHERE d > ?1 AND e < ?1 AND f = ?1"));
        QCOMPARE(s.values, QList<BoundValue>{BoundValue::date(QDate(2006, 6, 8))});
        QCOMPARE(s.displayText(), QStringLiteral("SELECT * FROM O WHERE d > #2006/06/08# AND e < #2006/06/08# AND f = #2006/06/08#"));
    }

    void binding_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("markers");
        QTest::addColumn<QString>("bound");
        QTest::addColumn<int>("values");
        QTest::newRow("numbered by first use")
            << "WHERE b = B(String) AND a = A(Number) OR b2 = b(string)" << QStringList{"A(Number)", "B(String)"}
            << "WHERE b = ?1 AND a = ?2 OR b2 = ?1" << 2;
        QTest::newRow("unused parameters get no number") << "WHERE a = A(Number)" << QStringList{"Z(Date)", "A(Number)"}
                                                        << "WHERE a = ?1" << 1;
        QTest::newRow("markers in quotes stay") << "WHERE a = 'A(Number)' AND [A(Number)] = A(Number) AND \"A(Number)\" <> ''"
                                                << QStringList{"A(Number)"}
                                                << "WHERE a = 'A(Number)' AND [A(Number)] = ?1 AND \"A(Number)\" <> ''" << 1;
        QTest::newRow("doubled quote inside a literal") << "WHERE a = 'it''s A(Number)' OR b = A(Number)" << QStringList{"A(Number)"}
                                                        << "WHERE a = 'it''s A(Number)' OR b = ?1" << 1;
        QTest::newRow("the longest marker wins") << "WHERE x = AA(String) AND y = A(String)" << QStringList{"A(String)", "AA(String)"}
                                                 << "WHERE x = ?1 AND y = ?2" << 2;
        QTest::newRow("equal markers: the first in the list") << "WHERE x = A(String)" << QStringList{"A(String)", "a(String)"}
                                                               << "WHERE x = ?1" << 1;
        QTest::newRow("a digit after the marker stays apart") << "SELECT A(Number)1" << QStringList{"A(Number)"} << "SELECT ?1 1" << 1;
        QTest::newRow("no markers") << "SELECT 1" << QStringList{"A(Number)"} << "SELECT 1" << 0;
        QTest::newRow("a marker without a value stays") << "WHERE a = A(Lookup) AND b = B(Number)" << QStringList{"A(Lookup)", "B(Number)"}
                                                        << "WHERE a = A(Lookup) AND b = ?1" << 1;
    }
    void binding()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, markers);
        QFETCH(QString, bound);
        QFETCH(int, values);
        QList<std::optional<BoundValue>> given;
        for (const QString &m : markers)
            given << (m.endsWith(QLatin1String("ookup)")) ? std::nullopt : std::optional<BoundValue>(BoundValue::text(m)));
        const BoundStatement s = ParameterBinding(sql, markers).bind(given);
        QCOMPARE(s.sql, bound);
        QCOMPARE(int(s.values.size()), values);
    }

    void aValueNeverBecomesAMarker()
    {
        // The value of A is B's marker: it is bound as text, not read again.
        const QStringList markers{QStringLiteral("A(String)"), QStringLiteral("B(String)")};
        const BoundStatement s = ParameterBinding(QStringLiteral("WHERE R = A(String) OR R = B(String)"), markers)
                                     .bind({BoundValue::text(QStringLiteral("B(String)")), BoundValue::text(QStringLiteral("' OR 1=1 --"))});
        QCOMPARE(s.sql, QStringLiteral("WHERE R = ?1 OR R = ?2"));
        QCOMPARE(s.values[0].toText(), QStringLiteral("B(String)"));
        QCOMPARE(s.values[1].toText(), QStringLiteral("' OR 1=1 --"));
        // What a person reads has the quotes doubled.
        QCOMPARE(s.displayText(), QStringLiteral("WHERE R = 'B(String)' OR R = ''' OR 1=1 --'"));
    }

    void placeholders()
    {
        const auto found = BoundStatement::placeholders(QStringLiteral("a = ?1 AND b = '?2' AND [?3] = ?12 OR ? = ?0"));
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0].number, 1);
        QCOMPARE(found[0].start, 4);
        QCOMPARE(found[0].length, 2);
        QCOMPARE(found[1].number, 12);
    }

    void valuesByParameterType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<QString>("literal");
        QTest::newRow("date, year first") << 0 << QVariant("2024-03-15") << true << "#2024/03/15#";
        QTest::newRow("date with slashes") << 0 << QVariant("2024/3/5") << true << "#2024/03/05#";
        QTest::newRow("date and time") << 0 << QVariant("2024-03-15 10:30") << true << "#2024/03/15 10:30:00#";
        QTest::newRow("date as the dialect writes it") << 0 << QVariant("#2024/03/15#") << true << "#2024/03/15#";
        QTest::newRow("date value") << 0 << QVariant(QDate(2006, 6, 8)) << true << "#2006/06/08#";
        QTest::newRow("day first is refused") << 0 << QVariant("15/03/2024") << false << "";
        QTest::newRow("not a date") << 0 << QVariant("someday") << false << "";
        QTest::newRow("no such day") << 0 << QVariant("2024-02-30") << false << "";
        QTest::newRow("whole number") << 1 << QVariant("125") << true << "125";
        QTest::newRow("negative") << 1 << QVariant(" -3 ") << true << "-3";
        QTest::newRow("fraction") << 1 << QVariant("2.5") << true << "2.5";
        QTest::newRow("comma as decimal separator") << 1 << QVariant("1,5") << true << "1.5";
        QTest::newRow("hexadecimal") << 1 << QVariant("&H3") << true << "3";
        QTest::newRow("number value") << 1 << QVariant(12.25) << true << "12.25";
        QTest::newRow("not a number") << 1 << QVariant("0 OR 1=1") << false << "";
        QTest::newRow("empty number") << 1 << QVariant("") << false << "";
        QTest::newRow("text") << 2 << QVariant("O'Brien") << true << "'O''Brien'";
        QTest::newRow("empty text") << 2 << QVariant("") << true << "''";
    }
    void valuesByParameterType()
    {
        QFETCH(int, type);
        QFETCH(QVariant, given);
        QFETCH(bool, converts);
        QFETCH(QString, literal);
        const auto v = ParameterValue::convert(type, given);
        QCOMPARE(v.has_value(), converts);
        if (converts) {
            QCOMPARE(v->literal(), literal);
            QCOMPARE(ParameterValue::of(QStringLiteral("P"), type, given), *v);
        } else {
            try {
                ParameterValue::of(QStringLiteral("Start"), type, given);
                QFAIL("no error");
            } catch (const ReportError &e) {
                QCOMPARE(e.number(), 380);
                // The message names the parameter and the value.
                QVERIFY2(e.description().contains(QStringLiteral("\"Start\"")), qPrintable(e.description()));
                QVERIFY2(e.description().contains(QLatin1Char('"') + given.toString() + QLatin1Char('"')), qPrintable(e.description()));
            }
        }
    }

    void wholeNumbersBindAsIntegers()
    {
        QCOMPARE(ParameterValue::convert(1, QStringLiteral("3"))->type(), BoundValue::Type::Integer);
        QCOMPARE(ParameterValue::convert(1, QStringLiteral("3.5"))->type(), BoundValue::Type::Double);
        QCOMPARE(ParameterValue::convert(1, QStringLiteral("1e300"))->type(), BoundValue::Type::Double);
    }

    void lookupValuesByColumnType_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<QString>("literal");
        QTest::newRow("integer") << QVariant(42) << 3 << true << "42";
        QTest::newRow("integer given as text") << QVariant("42") << 3 << true << "42";
        QTest::newRow("integer refuses SQL") << QVariant("0 OR 1=1") << 3 << false << "";
        QTest::newRow("integer refuses a fraction") << QVariant("2.5") << 3 << false << "";
        QTest::newRow("big integer") << QVariant("9000000000") << 20 << true << "9000000000";
        QTest::newRow("date") << QVariant(QDate(2006, 6, 8)) << 7 << true << "#2006/06/08#";
        QTest::newRow("date and time") << QVariant(QDateTime(QDate(2006, 6, 8), QTime(9, 30))) << 7 << true << "#2006/06/08 09:30:00#";
        QTest::newRow("date given as text") << QVariant("2006-06-08") << 7 << true << "#2006/06/08#";
        QTest::newRow("date refuses text") << QVariant("June") << 7 << false << "";
        QTest::newRow("text") << QVariant(QStringLiteral("North")) << 202 << true << "'North'";
        QTest::newRow("text with a quote") << QVariant(QStringLiteral("O'Brien")) << 202 << true << "'O''Brien'";
        QTest::newRow("double") << QVariant(2.5) << 5 << true << "2.5";
        QTest::newRow("currency given as text") << QVariant("12.75") << 6 << true << "12.75";
        QTest::newRow("memo") << QVariant(QStringLiteral("m")) << 203 << true << "'m'";
        QTest::newRow("yes/no") << QVariant(true) << 11 << true << "True";
        QTest::newRow("null") << QVariant() << 3 << true << "Null";
    }
    void lookupValuesByColumnType()
    {
        QFETCH(QVariant, value);
        QFETCH(int, type);
        QFETCH(bool, converts);
        QFETCH(QString, literal);
        const auto v = ParameterValue::forColumnType(value, type);
        QCOMPARE(v.has_value(), converts);
        if (converts)
            QCOMPARE(v->literal(), literal);
    }

    void sqlErrorMessages_data()
    {
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("head");
        QTest::newRow("no such table") << ProviderErrors::NoSuchTable
                                       << "The database engine cannot find the input table or query 'Custmers'. Make sure it exists."
                                       << "Unable to find the table 'Custmers'. Please ensure that it is spelled correctly.";
        QTest::newRow("unknown column") << ProviderErrors::UnknownColumn << "No value given" << "One or more fields are spelt incorrectly";
        QTest::newRow("type mismatch") << ProviderErrors::TypeMismatch << "Data type mismatch" << "Type mismatch in SQL statement";
        QTest::newRow("anything else") << qint32(0x80040E14) << "Syntax error in query: near \"SELEC\"."
                                       << "-2147217900 - Syntax error in query: near \"SELEC\".";
    }
    void sqlErrorMessages()
    {
        QFETCH(qint32, number);
        QFETCH(QString, description);
        QFETCH(QString, head);
        const QString text = SqlErrorMessage::text(number, description);
        QCOMPARE(text, head + QStringLiteral("\r\n\r\n") + QStringLiteral("If the problem persists, please contact KRML ReportGen support with the text of this message."));
        QCOMPARE(SqlErrorMessage::title(), QStringLiteral("SQL Error"));
    }

    void keysCountUpAndNeverRepeat()
    {
        ReportDefinition d;
        QCOMPARE(d.addParameter(QStringLiteral("A(Date)")), 1);
        QCOMPARE(d.addParameter(QStringLiteral("B(Date)")), 2);
        d.removeParameter(0);
        QCOMPARE(d.addParameter(QStringLiteral("C(Date)")), 3);
        QCOMPARE(d.parameters()[0].key(), QStringLiteral("Key2"));
        d.clear();
        QCOMPARE(d.keyCounter(), 0);
        QCOMPARE(d.addParameter(QStringLiteral("D(Date)")), 1);
    }

    void recordsForTheSharedCollection()
    {
        ReportDefinition d;
        ReportDefinition::Lookup l{2, QStringLiteral("Name"), QStringLiteral("ID"), QStringLiteral("SELECT ID, Name FROM T")};
        d.addParameter(QStringLiteral("Region(Lookup)"), &l);
        const clsParameter p = d.record(d.parameters()[0]);
        QCOMPARE(p.ParamType, 3);
        QCOMPARE(p.ParameterName, QStringLiteral("Region"));
        QCOMPARE(p.Mode, qint16(2));
        QCOMPARE(p.DisplayField, QStringLiteral("Name"));
        QCOMPARE(p.ReturnField, QStringLiteral("ID"));
        QCOMPARE(p.SQL, l.sql);
    }
};

QTEST_APPLESS_MAIN(TestParameters)
#include "tst_parameters.moc"
