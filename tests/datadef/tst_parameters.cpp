#include "ParameterLiteral.h"
#include "ParameterMarker.h"
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

    void replacementIgnoresCase()
    {
        const QString sql = QStringLiteral("SELECT * FROM O WHERE d > start(date) AND e < START(DATE) AND f = Start(Date)");
        QCOMPARE(ParameterMarker::replace(sql, QStringLiteral("Start(Date)"), QStringLiteral("#2006/06/08#")),
                 QStringLiteral("SELECT * FROM O WHERE d > #2006/06/08# AND e < #2006/06/08# AND f = #2006/06/08#"));
        QCOMPARE(ParameterMarker::replace(sql, QString(), QStringLiteral("x")), sql);
    }

    void literals()
    {
        QCOMPARE(ParameterLiteral::date(QDate(2006, 6, 8)), QStringLiteral("#2006/06/08#"));
        QCOMPARE(ParameterLiteral::number(QStringLiteral("12.5")), QStringLiteral("12.5"));
        QCOMPARE(ParameterLiteral::text(QStringLiteral("Smith")), QStringLiteral("'Smith'"));
        // Quotes inside are doubled: the value cannot end the literal early.
        QCOMPARE(ParameterLiteral::text(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
        QCOMPARE(ParameterLiteral::text(QStringLiteral("x' OR '1'='1")), QStringLiteral("'x'' OR ''1''=''1'"));
    }

    void lookupLiterals_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("preview");
        QTest::addColumn<QString>("report");
        QTest::newRow("integer") << QVariant(42) << 3 << "42" << "42";
        QTest::newRow("date") << QVariant(QDate(2006, 6, 8)) << 7 << "#2006/06/08#" << "#2006/06/08#";
        QTest::newRow("date and time") << QVariant(QDateTime(QDate(2006, 6, 8), QTime(9, 30))) << 7 << "#2006/06/08#" << "#2006/06/08#";
        QTest::newRow("text") << QVariant(QStringLiteral("North")) << 202 << "'North'" << "'North'";
        QTest::newRow("text with a quote") << QVariant(QStringLiteral("O'Brien")) << 202 << "'O''Brien'" << "'O''Brien'";
        QTest::newRow("double") << QVariant(2.5) << 5 << "" << "'2.5'";
        QTest::newRow("memo") << QVariant(QStringLiteral("m")) << 203 << "" << "'m'";
    }
    void lookupLiterals()
    {
        QFETCH(QVariant, value);
        QFETCH(int, type);
        QFETCH(QString, preview);
        QFETCH(QString, report);
        QCOMPARE(ParameterLiteral::lookupForPreview(value, type), preview);
        QCOMPARE(ParameterLiteral::lookupForReport(value, type), report);
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
