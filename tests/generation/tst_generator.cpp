#include "GenerationFixture.h"
#include "LayoutPage.h"
#include "PdfSurface.h"
#include "QueryLoader.h"
#include "RecordingSurface.h"
#include "ReportError.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"
#include "SqliteEngine.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace KRML_ReportGen;
using Op = RecordingSurface::Op;

namespace {

int label(LayoutPage &page, float left, float top, const QString &caption, const QString &tag = QString())
{
    return GenerationFixture::label(page, left, top, page.Label(0).Height, caption, tag); // the template's height
}

QList<Op> ofKind(const RecordingSurface &s, const QString &kind)
{
    QList<Op> out;
    for (const Op &op : s.ops)
        if (op.kind == kind)
            out << op;
    return out;
}

} // namespace

class TestGenerator : public QObject
{
    Q_OBJECT

    struct Run
    {
        GenerationFixture fixture;
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader{fixture.files, prompts};
        ReportGenerator generator{page, loader};
    };

private slots:
    void emptyLayout()
    {
        Run r;
        RecordingSurface preview(DrawingSurface::Kind::PictureBox, 100, 100);
        r.page.setWidth(11907);
        r.page.setHeight(16839.9f);
        r.generator.GenerateOutput(preview);
        QCOMPARE(preview.ops.size(), 1);
        QCOMPARE(preview.ops[0].kind, QStringLiteral("Cls"));
        QCOMPARE(preview.Width(), 11907.0);
        QCOMPARE(preview.Height(), 16840.0);

        RecordingSurface printer(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(printer);
        QCOMPARE(printer.ops.size(), 1);
        QCOMPARE(printer.ops[0].kind, QStringLiteral("EndDoc"));
        // A report runs only the statements its labels draw from.
        QCOMPARE(r.generator.executions(), 0);
    }

    void fixedText_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<double>("x");
        QTest::newRow("left") << 0 << "Title" << 1000.0;
        QTest::newRow("right") << 1 << "Title" << 1000.0 + 1485 - 500;
        QTest::newRow("centred") << 2 << "Title" << 1000.0 + 1485 / 2.0 - 250;
        QTest::newRow("right, wider than the label") << 1 << "A caption far too long" << 1000.0 + 1485 - 2200;
    }
    void fixedText()
    {
        QFETCH(int, alignment);
        QFETCH(QString, caption);
        QFETCH(double, x);
        Run r;
        const int i = label(r.page, 1000, 500, caption);
        r.page.Label(i).Alignment = qint16(alignment);
        r.page.Label(i).ForeColor = 0x0000FF;
        r.page.Label(i).Font.bold = true;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        const auto prints = s.prints();
        QCOMPARE(prints.size(), 1);
        QCOMPARE(prints[0].text, caption);
        QCOMPARE(prints[0].x, x);
        QCOMPARE(prints[0].y, 500.0);
        QCOMPARE(prints[0].color, 0x0000FFu);
        QVERIFY(prints[0].font.bold);
        QVERIFY(ofKind(s, QStringLiteral("FilledBox")).isEmpty()); // white: no background
        QCOMPARE(r.generator.LabelTops(), QList<double>{500});
        QCOMPARE(r.generator.LabelExtents(), QList<double>{0});
    }

    void fixedTextBackgroundAndBorder()
    {
        Run r;
        const int i = label(r.page, 1000, 500, QStringLiteral("Boxed"));
        r.page.Label(i).BackColor = 0xC0C0C0;
        r.page.Label(i).BorderStyle = 1;
        r.page.Label(i).ForeColor = 0xFF;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.ops[1].kind, QStringLiteral("FilledBox"));
        QCOMPARE(s.ops[1].color, 0xC0C0C0u);
        QCOMPARE(QRectF(QPointF(s.ops[1].x, s.ops[1].y), QPointF(s.ops[1].x2, s.ops[1].y2)), QRectF(1000, 500, 1485, 870));
        QCOMPARE(s.ops[2].kind, QStringLiteral("Box"));
        QCOMPARE(s.ops[2].color, 0u); // outlines are black
        QCOMPARE(s.ops[3].kind, QStringLiteral("Print"));
        QCOMPARE(s.ops[3].x, 1000.0); // fixed text has no inset
    }

    void dataListOneLinePerRow()
    {
        Run r;
        const int i = label(r.page, 2000, 1000, QStringLiteral("Orders.Customer"), QStringLiteral("DATA:Orders.Customer"));
        r.page.Label(i).BorderStyle = 1;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        const auto prints = s.prints();
        QCOMPARE(s.printedTexts(), (QStringList{"Ann", "Bob", "Cy"}));
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(prints[k].y, 1000.0 + k * 240);
            QCOMPARE(prints[k].x, 2050.0); // inset 50 inside the border
        }
        const auto boxes = ofKind(s, QStringLiteral("Box"));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].y2, 1000.0 + 3 * 240); // down to the bottom of the third line
        QCOMPARE(r.generator.LabelExtents(), QList<double>{720});
        QVERIFY(ModuleState::current().CurrentReportSQL().displayText().contains(QStringLiteral("RegionID = 2")));
    }

    void dataListAlignmentAndNulls()
    {
        Run r;
        const int i = label(r.page, 2000, 1000, QString(), QStringLiteral("DATA:Orders.Note"));
        r.page.Label(i).Alignment = 1;
        r.page.Label(i).BorderStyle = 1;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        const auto prints = s.prints();
        QCOMPARE(s.printedTexts(), (QStringList{"first", "", "third"}));
        QCOMPARE(prints[0].x, 2000.0 + 1485 - 500 - 50);
        QCOMPARE(prints[1].y, 1240.0); // the empty line still takes its place
        QCOMPARE(prints[2].y, 1480.0);
    }

    void singleRowGetsTheDesignedBox()
    {
        const QByteArray sql = "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                               "tablename=One\r\nSELECT Customer FROM Orders WHERE OrderID = 4\r\ntablename=endreport";
        GenerationFixture f(sql);
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader(f.files, prompts);
        ReportGenerator generator(page, loader);
        const int i = label(page, 100, 200, QString(), QStringLiteral("DATA:One.Customer"));
        page.Label(i).BackColor = 0x00FFFF;
        page.Label(i).BorderStyle = 1;
        RecordingSurface s;
        generator.GenerateOutput(s);
        const auto fill = ofKind(s, QStringLiteral("FilledBox"));
        const auto box = ofKind(s, QStringLiteral("Box"));
        QCOMPARE(fill.size(), 1);
        QCOMPARE(QRectF(QPointF(fill[0].x, fill[0].y), QPointF(fill[0].x2, fill[0].y2)), QRectF(100, 200, 1485, 870));
        QCOMPARE(QRectF(QPointF(box[0].x, box[0].y), QPointF(box[0].x2, box[0].y2)), QRectF(100, 200, 1485, 870));
        QCOMPARE(s.printedTexts(), QStringList{"O'Hara"});
        // The background is drawn before the text, and the text only once.
        int fillAt = -1, printAt = -1;
        for (int k = 0; k < s.ops.size(); ++k) {
            if (s.ops[k].kind == QLatin1String("FilledBox"))
                fillAt = k;
            if (s.ops[k].kind == QLatin1String("Print"))
                printAt = k;
        }
        QVERIFY(fillAt < printAt);
    }

    void emptyListPrintsNothing()
    {
        Run r;
        label(r.page, 100, 300, QStringLiteral("Title"));
        const int list = label(r.page, 100, 5000, QString(), QStringLiteral("DATA:AllOrders.Customer"));
        Q_UNUSED(list);
        r.fixture.files.writeBytes(r.fixture.app.filePath(QStringLiteral("Temp/SQL.mtq")),
                                   GenerationFixture::defaultSql().replace("FROM Orders ORDER BY OrderID\r\ntablename=endreport",
                                                                           "FROM Orders WHERE 1 = 0\r\ntablename=endreport"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.printedTexts(), QStringList{"Title"});
        // Its extent is the print position minus its top.
        QCOMPARE(r.generator.LabelExtents().last(), 300.0 + 240 - 5000);
    }

    void emptyListRangeRunsToThePrintPosition()
    {
        Run r;
        label(r.page, 100, 1000, QString(), QStringLiteral("DATA:Orders.Customer")); // 1000 .. 1720
        // No rows: its range runs from its top to where the print position
        // stands, the end of the list before.
        label(r.page, 3000, 500, QString(), QStringLiteral("DATA:Nothing.OrderID"));
        const int fixed = label(r.page, 5000, 600, QStringLiteral("Moved"));
        r.fixture.files.writeBytes(r.fixture.app.filePath(QStringLiteral("Temp/SQL.mtq")),
                                   GenerationFixture::defaultSql().replace("5\r\n", "6\r\n").replace(
                                       "tablename=endreport", "tablename=Nothing\r\nSELECT OrderID FROM Orders WHERE 1 = 0\r\ntablename=endreport"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.LabelExtents(), (QList<double>{720, 1220, 0}));
        QCOMPARE(s.prints().last().text, QStringLiteral("Moved"));
        QCOMPARE(s.prints().last().y, 1720.0);
        qint32 left = 0, top = 0;
        QVERIFY(r.generator.CheckForPrintOverlap(r.page.Label(fixed), left, top));
        QCOMPARE(top, 1720);
    }

    void fixedTextAtWholeTwips()
    {
        Run r;
        label(r.page, 1000.4f, 500.6f, QStringLiteral("Title"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.prints()[0].x, 1000.0);
        QCOMPARE(s.prints()[0].y, 501.0);
    }

    void unusedStatementNeedsNoParameterValue()
    {
        // The first statement asks for a date nobody gave; no label uses it.
        GenerationFixture f(GenerationFixture::defaultSql().replace("5\r\n", "6\r\n").replace(
            "tablename=Orders\r\n", "tablename=Since\r\nSELECT OrderID FROM Orders WHERE OrderDate >= Start(Date)\r\ntablename=Orders\r\n"));
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader(f.files, prompts);
        ReportGenerator generator(page, loader);
        label(page, 100, 1000, QString(), QStringLiteral("DATA:AllOrders.Customer"));
        RecordingSurface s;
        generator.GenerateOutput(s);
        QCOMPARE(s.printedTexts(), (QStringList{"Ann", "Bob", "Cy", "O'Hara"}));
        QCOMPARE(generator.executions(), 2); // the report's lookup and AllOrders
        QVERIFY(prompts.calls.isEmpty());
    }

    void failureWhileLayingOutDrawsNothing()
    {
        Run r;
        label(r.page, 100, 100, QStringLiteral("Title"));
        label(r.page, 100, 1000, QString(), QStringLiteral("DATA:Orders.Customer"));
        label(r.page, 3000, 1000, QString(), QStringLiteral("DATA:Orders.NoSuchField"));
        RecordingSurface s;
        try {
            r.generator.GenerateOutput(s);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 3265);
            QVERIFY(e.description().contains(QStringLiteral("NoSuchField")));
        }
        QCOMPARE(s.ops.size(), 1);
        QCOMPARE(s.ops[0].kind, QStringLiteral("Cls"));
        // What was laid out before the failure is still there to ask.
        QCOMPARE(r.generator.LabelTops(), (QList<double>{100, 1000, 1000}));
    }

    void formulaRowByRow()
    {
        Run r;
        label(r.page, 100, 1000, QString(), QStringLiteral("DATA:Orders.Total"));
        const int f = label(r.page, 3000, 1000, QStringLiteral("{Orders.Total}/{Orders.Qty}"), QStringLiteral("FORMULA:x"));
        r.page.Label(f).BorderStyle = 1;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        // 150/4, 20.5/0 fails (an empty line), 7/7.
        QCOMPARE(s.printedTexts(), (QStringList{"150", "20.5", "7", "37.5", "", "1"}));
        const auto prints = s.prints();
        QCOMPARE(prints[3].y, 1000.0);
        QCOMPARE(prints[5].y, 1480.0);
        QCOMPARE(prints[3].x, 3050.0);
        QCOMPARE(r.generator.LabelExtents(), (QList<double>{720, 720}));
        QCOMPARE(r.generator.LabelTops(), (QList<double>{1000, 1000}));
    }

    void formulaBeforeAnyListFails()
    {
        Run r;
        label(r.page, 100, 100, QStringLiteral("{Orders.Total}/2"), QStringLiteral("FORMULA:{Orders.Total}/2"));
        RecordingSurface s;
        QVERIFY_THROWS_EXCEPTION(ReportError, r.generator.GenerateOutput(s));
    }

    void failingStatementIsNamed_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("paginate");
        QTest::addColumn<QString>("start");
        QTest::newRow("missing") << "DATA:Orderz.Total" << false
                                 << "The report SQL file has no statement \"Orderz\": Command text was not set";
        QTest::newRow("missing, paginated") << "DATA:Orderz.Total" << true
                                            << "The report SQL file has no statement \"Orderz\": Command text was not set";
        QTest::newRow("empty") << "DATA:Empty.x" << false << "The statement \"Empty\" has no SQL text: Command text was not set";
        QTest::newRow("failing") << "DATA:Broken.x" << false << "The statement \"Broken\" failed: ";
    }
    void failingStatementIsNamed()
    {
        QFETCH(QString, tag);
        QFETCH(bool, paginate);
        QFETCH(QString, start);
        Run r;
        r.fixture.files.writeBytes(r.fixture.app.filePath(QStringLiteral("Temp/SQL.mtq")),
                                   "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n3\r\n"
                                   "tablename=Orders\r\nSELECT Total FROM Orders\r\n"
                                   "tablename=Empty\r\n\r\n"
                                   "tablename=Broken\r\nSELECT x FROM NoSuchTable\r\n"
                                   "tablename=endreport");
        label(r.page, 100, 100, QString(), tag);
        r.generator.setPaginate(paginate);
        RecordingSurface s;
        try {
            r.generator.GenerateOutput(s);
            QFAIL("the report ran");
        } catch (const ReportError &e) {
            QVERIFY2(e.description().startsWith(start), qPrintable(e.description()));
        }
    }

    void fixedTextMovesBelowAList()
    {
        Run r;
        label(r.page, 100, 1000, QString(), QStringLiteral("DATA:Orders.Customer")); // 1000 .. 1720
        const int footer = label(r.page, 5000, 1001, QStringLiteral("Footer"));
        const int same = label(r.page, 5000, 1000, QStringLiteral("Same top"));
        const int bottom = label(r.page, 5000, 1720, QStringLiteral("At bottom"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        const auto prints = s.prints();
        QCOMPARE(prints[3].text, QStringLiteral("Footer"));
        QCOMPARE(prints[3].y, 1720.0);
        QCOMPARE(prints[3].x, 5000.0); // only the vertical position moves
        QCOMPARE(prints[4].y, 1000.0);
        QCOMPARE(prints[5].y, 1720.0);

        qint32 left = 0, top = 0;
        QVERIFY(r.generator.CheckForPrintOverlap(r.page.Label(footer), left, top));
        QCOMPARE(top, 1720);
        QVERIFY(!r.generator.CheckForPrintOverlap(r.page.Label(same), left, top));
        QCOMPARE(top, 1000);
        QVERIFY(!r.generator.CheckForPrintOverlap(r.page.Label(bottom), left, top));
    }

    void overlapUsesTheFirstMatch()
    {
        Run r;
        label(r.page, 100, 1000, QString(), QStringLiteral("DATA:Orders.Customer")); // 1000 .. 1720
        label(r.page, 3000, 900, QString(), QStringLiteral("DATA:AllOrders.Customer")); // 900 .. 1860
        const int fixed = label(r.page, 5000, 1100, QStringLiteral("Moved"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        qint32 left = 0, top = 0;
        QVERIFY(r.generator.CheckForPrintOverlap(r.page.Label(fixed), left, top));
        QCOMPARE(top, 1720); // the first list in label order, not the lower one
    }

    void listsLongerThan32BitsOfTwips()
    {
        // 120,000 lines of 20,040 twips reach past 2^31 twips: a fixed text
        // below such a list lands where it belongs instead of overflowing.
        Run r;
        r.fixture.files.writeBytes(r.fixture.app.filePath(QStringLiteral("Temp/SQL.mtq")),
                                   "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                   "tablename=Many\r\nWITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 120000) "
                                   "SELECT x AS N FROM c\r\ntablename=endreport");
        const int list = label(r.page, 100, 1000, QString(), QStringLiteral("DATA:Many.N"));
        r.page.Label(list).Font.size = 1000;
        label(r.page, 5000, 1001, QStringLiteral("Below"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        const auto prints = s.prints();
        QCOMPARE(prints.last().text, QStringLiteral("Below"));
        QCOMPARE(prints.last().y, 1000.0 + 120000.0 * 20040.0);
        QVERIFY(prints.last().y > double(std::numeric_limits<qint32>::max()));
    }

    void noEarlierLabels()
    {
        Run r;
        LayoutLabel l;
        l.Top = 10.6f;
        l.Left = 20.5f;
        qint32 left = 0, top = 0;
        QVERIFY(!r.generator.CheckForPrintOverlap(l, left, top));
        QCOMPARE(left, 20);
        QCOMPARE(top, 11);
    }

    void picturesLastAtNaturalSize()
    {
        Run r;
        const int p = r.page.createPic();
        r.page.Pic(p).Picture = QImage(30, 20, QImage::Format_RGB32);
        r.page.Pic(p).Left = 700;
        r.page.Pic(p).Top = 800;
        r.page.Pic(p).Visible = true;
        label(r.page, 100, 100, QStringLiteral("Text"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.ops.last().kind, QStringLiteral("PaintPicture"));
        QCOMPARE(s.ops.last().x, 700.0);
        QCOMPARE(s.ops.last().y, 800.0);
    }

    void floatingColumnsPrintEveryDigit()
    {
        Run r;
        r.fixture.files.writeBytes(r.fixture.app.filePath(QStringLiteral("Temp/SQL.mtq")),
                                   "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                   "tablename=Measures\r\nSELECT A, B, C FROM Measures ORDER BY A\r\ntablename=endreport");
        // The report's connection only reads: the table is made beside it.
        SqliteEngine::create(r.fixture.app.filePath(QStringLiteral("sales.db")))
            ->runScript(QStringLiteral("CREATE TABLE Measures (A REAL, B DOUBLE, C FLOAT);"
                                       "INSERT INTO Measures VALUES (1234567.89, 98765.4321, 0.1), (2.5, 1e20, 1.0);"));
        for (const char *field : {"A", "B", "C"})
            label(r.page, 100, 1000, QString(), QStringLiteral("DATA:Measures.") + QLatin1String(field));
        label(r.page, 100, 2000, QStringLiteral("{Measures.A}/1"), QStringLiteral("FORMULA:{Measures.A}/1"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QCOMPARE(s.printedTexts(), (QStringList{"2.5", "1234567.89", "1E+20", "98765.4321", "1", "0.1", "2.5", "1234567.89"}));
    }

    void eachStatementRunsOnce()
    {
        Run r;
        for (const char *field : {"OrderID", "Customer", "Total", "Qty"})
            label(r.page, 100, 1000, QString(), QStringLiteral("DATA:Orders.") + QLatin1String(field));
        label(r.page, 100, 1000, QString(), QStringLiteral("DATA:AllOrders.Customer"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        // The lookup, the empty try for region 1, the statement for region 2
        // and AllOrders: four, however many labels show them.
        QCOMPARE(r.generator.executions(), 4);
        QCOMPARE(s.prints().size(), 4 * 3 + 4);
    }

    void rowsBelowTheSurfaceAreNotDrawn()
    {
        Run r;
        label(r.page, 100, 16000, QString(), QStringLiteral("DATA:AllOrders.Customer"));
        RecordingSurface s(DrawingSurface::Kind::Printer, 11907, 16500);
        r.generator.GenerateOutput(s);
        // Lines at 16000, 16240 and 16480 reach onto the surface; 16720 does not.
        QCOMPARE(s.printedTexts(), (QStringList{"Ann", "Bob", "Cy"}));
        QCOMPARE(r.generator.LabelExtents(), QList<double>{960}); // still four lines long
    }

    void hiddenLabelsAreNotPrinted()
    {
        Run r;
        const int i = label(r.page, 100, 100, QStringLiteral("left behind"));
        r.page.Label(i).Visible = false;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QVERIFY(s.prints().isEmpty());
    }

    void pdfEndToEnd()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("poppler-utils not installed");
        Run r;
        const int title = label(r.page, 1000, 500, QStringLiteral("Orders of the South"));
        r.page.Label(title).Font = FontDescription{QStringLiteral("Arial"), 14, true};
        for (auto [x, field] : {std::pair{1000.f, "OrderID"}, std::pair{3000.f, "Customer"}, std::pair{6000.f, "Total"}}) {
            const int l = label(r.page, x, 1500, QString(), QStringLiteral("DATA:Orders.") + QLatin1String(field));
            r.page.Label(l).Font.name = QStringLiteral("Arial");
        }
        label(r.page, 1000, 1600, QStringLiteral("End of list"));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("r.pdf"));
        PdfSurface pdf(file);
        r.generator.GenerateOutput(pdf);
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), file, QStringLiteral("-")});
        QVERIFY(p.waitForFinished());
        const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList simplified;
        for (const QString &l : lines)
            if (!l.trimmed().isEmpty())
                simplified << l.simplified();
        QCOMPARE(simplified, (QStringList{"Orders of the South", "1 Ann 150", "2 Bob 20.5", "3 Cy 7", "End of list"}));
    }
};

QTEST_MAIN(TestGenerator)
#include "tst_generator.moc"
