#include "FormulaEvaluator.h"
#include "MemoryRecordset.h"
#include "ReportError.h"

#include <QtTest>

using namespace KRML_ReportGen;

namespace {

MemoryRecordset orders()
{
    MemoryRecordset rs({QStringLiteral("Total"), QStringLiteral("Count"), QStringLiteral("Name"), QStringLiteral("Missing"),
                        QStringLiteral("Zero"), QStringLiteral("When")},
                       {6, 3, 202, 202, 3, 7});
    rs.appendRow({150.0, 4, QStringLiteral("Ann"), QVariant(), 0, QDate(2024, 3, 15)});
    rs.appendRow({99.0, 3, QStringLiteral("Bob"), QStringLiteral("x"), 0, QDate(2024, 3, 16)});
    return rs;
}

} // namespace

class TestFormula : public QObject
{
    Q_OBJECT
private slots:
    void formulas_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("result");
        QTest::newRow("two fields") << "{Orders.Total}/{Orders.Count}" << "37.5";
        QTest::newRow("only the first slash divides") << "{Orders.Total}/4/2" << "37.5";
        QTest::newRow("function names mean nothing") << "Round{{Orders.Total}}/2" << "0";
        QTest::newRow("plain numbers") << "10/4" << "2.5";
        QTest::newRow("unknown field counts 0") << "{X.Nope}/2" << "0";
        QTest::newRow("same reference twice") << "{Orders.Total}/{Orders.Total}" << "1";
        QTest::newRow("qualifier ignored") << "{Anything.Total}/3" << "50";
        QTest::newRow("names are case-sensitive") << "{Orders.total}" << "{Orders.total}";
        QTest::newRow("lone reference prints its value") << "{Orders.Total}" << "150";
        QTest::newRow("text with a value") << "Customer: {Orders.Name}" << "Customer: Ann";
        QTest::newRow("plain text prints itself") << "Total" << "Total";
        QTest::newRow("open brace without close") << "{Orders.Total" << "{Orders.Total";
        QTest::newRow("reference without dot") << "{Total}/2" << "0";
        QTest::newRow("blanks inside numbers") << " 1 2 / 4" << "3";
        QTest::newRow("dates print as dates") << "{O.When}" << "2024-03-15";
        QTest::newRow("fifteen digits") << "1/3" << "0.333333333333333";
        QTest::newRow("negative and exponent") << "-1.5E2/3" << "-50";
    }
    void formulas()
    {
        QFETCH(QString, formula);
        QFETCH(QString, result);
        MemoryRecordset rs = orders();
        QCOMPARE(FormulaEvaluator::AnalyseFunction(formula, rs), result);
    }

    void resultsTakeTheLocaleSeparator()
    {
        MemoryRecordset rs = orders();
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString german = FormulaEvaluator::AnalyseFunction(QStringLiteral("{Orders.Total}/{Orders.Count}"), rs);
        QLocale::setDefault(saved);
        QCOMPARE(german, QStringLiteral("37,5"));
    }

    void doublesKeepTheirDigits()
    {
        MemoryRecordset rs({QStringLiteral("A"), QStringLiteral("B")}, {5, 5});
        rs.appendRow({1234567.89, 98765.4321});
        QCOMPARE(FormulaEvaluator::AnalyseFunction(QStringLiteral("{T.A}/1"), rs), QStringLiteral("1234567.89"));
        QCOMPARE(FormulaEvaluator::AnalyseFunction(QStringLiteral("{T.B}/1"), rs), QStringLiteral("98765.4321"));
        QCOMPARE(FormulaEvaluator::AnalyseFunction(QStringLiteral("{T.A}"), rs), QStringLiteral("1234567.89"));
    }

    void firstRowWhereverTheCursorIs()
    {
        MemoryRecordset rs = orders();
        rs.moveNext();
        QCOMPARE(FormulaEvaluator::AnalyseFunction(QStringLiteral("{O.Total}/1"), rs), QStringLiteral("150"));
        // The generator's form reads the current row.
        rs.moveNext();
        rs.moveFirst();
        rs.moveNext();
        QCOMPARE(FormulaEvaluator::evaluateCurrentRow(QStringLiteral("{O.Total}/{O.Count}"), rs), QStringLiteral("33"));
    }

    void errorsReachTheCaller_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("number");
        QTest::newRow("null field") << "{O.Missing}/2" << 94;
        QTest::newRow("division by zero") << "{O.Total}/{O.Zero}" << 11;
        QTest::newRow("zero by zero") << "0/0" << 6;
        QTest::newRow("text as divisor") << "5/abc" << 11;
    }
    void errorsReachTheCaller()
    {
        QFETCH(QString, formula);
        QFETCH(int, number);
        MemoryRecordset rs = orders();
        try {
            FormulaEvaluator::AnalyseFunction(formula, rs);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), number);
        }
    }

    void emptyRecordsetFailsOnRead()
    {
        MemoryRecordset rs({QStringLiteral("Total")}, {5});
        try {
            FormulaEvaluator::AnalyseFunction(QStringLiteral("{O.Total}/2"), rs);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 3021);
        }
        QCOMPARE(FormulaEvaluator::AnalyseFunction(QStringLiteral("{O.Other}/2"), rs), QStringLiteral("0"));
    }
};

QTEST_APPLESS_MAIN(TestFormula)
#include "tst_formula.moc"
