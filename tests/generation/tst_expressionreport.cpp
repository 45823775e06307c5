#include "DbConnection.h"
#include "Expression.h"
#include "ExpressionValues.h"
#include "GenerationFixture.h"
#include "LabelExpressionScope.h"
#include "LayoutPage.h"
#include "QueryLoader.h"
#include "RecordingSurface.h"
#include "ReportError.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"
#include "TestData.h"

#include <QtTest>

using namespace KRML_ReportGen;

// Formulas of the expression language and label formats in a report run,
// over the fixture's orders of region 2: Ann 150 x 4, Bob 20.5 x 0 (no
// note), Cy 7 x 7.
class TestExpressionReport : public QObject
{
    Q_OBJECT

    struct Run
    {
        GenerationFixture fixture;
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader{fixture.files, prompts};
        ReportGenerator generator{page, loader};

        int label(float left, float top, const QString &caption, const QString &tag)
        {
            return GenerationFixture::label(page, left, top, page.Label(0).Height, caption, tag);
        }
        int formula(float left, float top, const QString &text) { return label(left, top, text, QStringLiteral("FORMULA:") + text); }
    };

private slots:
    void perRowAndTotalsLine()
    {
        Run r;
        r.label(100, 1000, QString(), QStringLiteral("DATA:Orders.Customer"));
        r.formula(3000, 1000, QStringLiteral("={Orders.Total} * {Orders.Qty}"));
        // Inside the lists' range: printed once, after their last line.
        r.formula(100, 1100, QStringLiteral("=\"Total \" & Sum({Orders.Total}) & \" in \" & Count(*) & \" orders\""));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.printedTexts(), (QStringList{"Ann", "Bob", "Cy", "600", "0", "49", "Total 177.5 in 3 orders"}));
        const auto prints = s.prints();
        QCOMPARE(prints[3].y, 1000.0);
        QCOMPARE(prints[5].y, 1480.0);
        QCOMPARE(prints[6].y, 1720.0);
        QCOMPARE(prints[6].x, 100.0);
        QCOMPARE(r.generator.LabelExtents(), (QList<double>{720, 720, 0}));
    }

    void onceWhereDesigned()
    {
        Run r;
        r.formula(100, 200, QStringLiteral("=Round(Avg({Orders.Total}), 2)"));
        r.label(100, 1000, QString(), QStringLiteral("DATA:Orders.Customer"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.printedTexts(), (QStringList{"59.17", "Ann", "Bob", "Cy"}));
        QCOMPARE(s.prints()[0].y, 200.0);
    }

    void formatsOnListsAndFormulas()
    {
        Run r;
        const int total = r.label(100, 1000, QString(), QStringLiteral("DATA:Orders.Total"));
        const int note = r.label(2000, 1000, QString(), QStringLiteral("DATA:Orders.Note"));
        const int legacy = r.formula(4000, 1000, QStringLiteral("{Orders.Total}/2"));
        const int share = r.formula(6000, 1000, QStringLiteral("={Orders.Total} / Sum({Orders.Total})"));
        const int sum = r.formula(100, 1100, QStringLiteral("=Sum({Orders.Total})"));
        const int missing = r.formula(2000, 1100, QStringLiteral("=Max({Orders.Note}) & Null"));
        LayoutExtension &ext = r.page.extension();
        ext.Locale = QStringLiteral("de_DE");
        r.page.Label(total).Format = QStringLiteral("#,##0.00");
        r.page.Label(note).NullText = QStringLiteral("-");
        r.page.Label(legacy).Format = QStringLiteral("0.00");
        r.page.Label(share).Format = QStringLiteral("0.0%");
        r.page.Label(sum).Format = QStringLiteral("Currency");
        r.page.Label(missing).Format = QStringLiteral(">");
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.printedTexts(), (QStringList{"150,00", "20,50", "7,00", "first", "-", "third", "75,00", "10,25", "3,50", "84,5%",
                                                "11,5%", "3,9%", QString::fromUtf8("177,50\u00a0\u20ac"), "THIRD"}));
    }

    void legacyListsUnchangedWithoutSettings()
    {
        Run r;
        r.label(100, 1000, QString(), QStringLiteral("DATA:Orders.Total"));
        r.label(2000, 1000, QString(), QStringLiteral("DATA:Orders.Note"));
        r.formula(4000, 1000, QStringLiteral("{Orders.Total}/{Orders.Qty}"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.printedTexts(), (QStringList{"150", "20.5", "7", "first", "", "third", "37.5", "", "1"}));
    }

    void pageSubtotalsInTheFooter()
    {
        GenerationFixture fixture(QByteArray("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                             "tablename=All\r\nSELECT OrderID, Total FROM Orders ORDER BY OrderID\r\n"
                                             "tablename=endreport"));
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader{fixture.files, prompts};
        ReportGenerator generator{page, loader};
        generator.setPaginate(true);
        page.setHeight(3000);
        page.extension().BottomMargin = 1520; // the body ends at 1480: two lines from 1000
        GenerationFixture::label(page, 100, 1000, 240, QString(), QStringLiteral("DATA:All.Total"));
        const QString subtotal = QStringLiteral("=\"Page total \" & PageSum({All.Total})");
        GenerationFixture::label(page, 100, 2000, 240, subtotal, QStringLiteral("FORMULA:") + subtotal);
        RecordingSurface s(DrawingSurface::Kind::Printer);
        generator.GenerateOutput(s);
        QCOMPARE(generator.pageCount(), 2);
        QCOMPARE(s.printedTexts(), (QStringList{"150", "20.5", "Page total 170.5", "7", "99", "Page total 106"}));
        QCOMPARE(s.prints()[2].y, 2000.0);
        QCOMPARE(s.prints()[2].page, 1);
        QCOMPARE(s.prints()[5].page, 2);
    }

    // Aggregates are worked out over the rows a provider delivers: they
    // agree with the database's own, Null skipped alike.
    void aggregatesAgreeWithTheDatabase_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("aggregate");
        QTest::addColumn<QString>("column");
        for (const char *a : {"Sum", "Avg", "Count", "Min", "Max"}) {
            QTest::addRow("sqlite %s(Total)", a) << "" << "Orders" << a << "Total";
            QTest::addRow("access %s(Freight)", a) << "northwind-jet4.mdb" << "Orders" << a << "Freight";
        }
        // Text: counted and ordered (Null skipped); a sum of text is a type mismatch.
        for (const char *a : {"Count", "Min", "Max"}) {
            QTest::addRow("sqlite %s(Note)", a) << "" << "Orders" << a << "Note";
            QTest::addRow("access %s(ShipRegion)", a) << "northwind-jet4.mdb" << "Orders" << a << "ShipRegion";
        }
        QTest::addRow("access Min(OrderDate)") << "northwind-jet4.mdb" << "Orders" << "Min" << "OrderDate";
        QTest::addRow("access Count(*)") << "northwind-jet4.mdb" << "Orders" << "Count" << "*";
    }
    void aggregatesAgreeWithTheDatabase()
    {
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(QString, aggregate);
        QFETCH(QString, column);
        GenerationFixture fixture;
        std::unique_ptr<DbConnection> c;
        if (file.isEmpty()) {
            c = std::make_unique<DbConnection>(ModuleState::current().data().RDDataConnectionString());
        } else {
            KRML_REQUIRE_TESTDATA();
            c = std::make_unique<DbConnection>(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1")
                                                   .arg(TestData::path(QStringLiteral("mdb/") + file)));
        }
        c->open();
        const QString rows = QStringLiteral("SELECT * FROM [%1]").arg(table);
        LabelExpressionScope scope([&](const QString &) { return c->openRecordset(rows); }, table, {});
        const QString argument = column == QLatin1String("*") ? column : QStringLiteral("{%1.%2}").arg(table, column);
        Expression e(QStringLiteral("=%1(%2)").arg(aggregate, argument));
        e.bind(scope);
        const QVariant ours = e.evaluate(scope);
        const QVariant theirs = c->openRecordset(QStringLiteral("SELECT %1(%2) FROM [%3]")
                                                     .arg(aggregate, column == QLatin1String("*") ? column : QStringLiteral("[%1]").arg(column), table))
                                    ->field(0)
                                    .value;
        QCOMPARE(ExpressionValues::isNull(ours), ExpressionValues::isNull(theirs));
        if (ExpressionValues::isNull(ours))
            return;
        if (ExpressionValues::isNumber(ours) || ExpressionValues::isNumber(theirs)) {
            const double a = ExpressionValues::number(ours), b = ExpressionValues::number(theirs);
            QVERIFY2(std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b)), qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
        } else {
            QCOMPARE(ExpressionValues::text(ours), ExpressionValues::text(theirs));
        }
    }

    void runFailsNamingTheLabel_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("syntax") << "=Sum({Orders.Total}" << 3075
                                << "Label(2) \"=Sum({Orders.Total}\", position 20: expected \")\" instead of the end of the expression";
        QTest::newRow("unknown field") << "=Sum({Orders.Nope})" << 3265
                                       << "Label(2) \"=Sum({Orders.Nope})\", position 6: the statement \"Orders\" has no field \"Nope\"";
        QTest::newRow("unknown statement") << "={Nope.X}" << 3265
                                           << "Label(2) \"={Nope.X}\", position 2: The report SQL file has no statement \"Nope\"";
        QTest::newRow("division by zero in a row") << "={Orders.Total} / {Orders.Qty}" << 11
                                                   << "Label(2) \"={Orders.Total} / {Orders.Qty}\", position 17: Division by zero";
    }
    void runFailsNamingTheLabel()
    {
        QFETCH(QString, formula);
        QFETCH(int, number);
        QFETCH(QString, description);
        Run r;
        r.label(100, 100, QStringLiteral("Title"), QString());
        r.formula(100, 1000, formula);
        RecordingSurface s;
        try {
            r.generator.GenerateOutput(s);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(e.description(), description);
        }
    }
};

QTEST_GUILESS_MAIN(TestExpressionReport)
#include "tst_expressionreport.moc"
