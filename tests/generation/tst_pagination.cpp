#include "GenerationFixture.h"
#include "LayoutPage.h"
#include "PagePlanner.h"
#include "QueryLoader.h"
#include "RecordingSurface.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"

#include <QtTest>

using namespace KRML_ReportGen;
using Op = RecordingSurface::Op;

namespace {

QByteArray linesSql()
{
    return "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n2\r\n"
           "tablename=Lines\r\nSELECT N, 'Line ' || N AS Name FROM Lines ORDER BY N\r\n"
           "tablename=Few\r\nSELECT RegionName FROM Regions ORDER BY RegionID\r\n"
           "tablename=endreport";
}

int label(LayoutPage &page, float left, float top, float height, const QString &caption, const QString &tag = QString())
{
    return GenerationFixture::label(page, left, top, height, caption, tag);
}

} // namespace

class TestPagination : public QObject
{
    Q_OBJECT

    struct Run
    {
        explicit Run(int rows) : fixture(linesSql())
        {
            QString sql = QStringLiteral("CREATE TABLE Lines (N INTEGER);");
            for (int i = 1; i <= rows; ++i)
                sql += QStringLiteral("INSERT INTO Lines VALUES (%1);").arg(i);
            ModuleState::current().data().RDDataConnection()->execute(QStringLiteral("SELECT 1"));
            auto engine = SqliteEngine::create(fixture.app.filePath(QStringLiteral("sales.db")));
            engine->runScript(sql);
            generator.setPaginate(true);
            // Header: a page number and a title; body: two lists and a footer.
            label(page, 600, 100, 300, QStringLiteral("Page [Page] of [Pages]"));
            label(page, 600, 500, 400, QStringLiteral("Long report"));
            label(page, 600, 2000, 300, QString(), QStringLiteral("DATA:Lines.N"));
            label(page, 2000, 2000, 300, QString(), QStringLiteral("DATA:Lines.Name"));
            label(page, 6000, 2000, 300, QString(), QStringLiteral("DATA:Few.RegionName"));
            footer = label(page, 600, 16000, 300, QStringLiteral("End of report"));
        }
        GenerationFixture fixture;
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader{fixture.files, prompts};
        ReportGenerator generator{page, loader};
        int footer = 0;
    };

    static QList<Op> printsOn(const RecordingSurface &s, int page)
    {
        QList<Op> out;
        for (const Op &op : s.prints())
            if (op.page == page)
                out << op;
        return out;
    }

private slots:
    void planner_data()
    {
        QTest::addColumn<double>("pageHeight");
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("bodyEnd");
        QTest::newRow("margin below the lowest object") << 16840.0 << 15000.0 << 15000.0;
        QTest::newRow("at least one centimetre") << 16840.0 << 16800.0 << 16273.0;
        QTest::newRow("objects past the page") << 16840.0 << 20000.0 << 16273.0;
    }
    void planner()
    {
        QFETCH(double, pageHeight);
        QFETCH(double, lowest);
        QFETCH(double, bodyEnd);
        QCOMPARE(PagePlanner::bodyEnd(pageHeight, lowest), bodyEnd);
    }

    void plannerLines()
    {
        QCOMPARE(PagePlanner::linesPerPage(2000, 240, 16273), 59);
        QCOMPARE(PagePlanner::linesPerPage(2000, 250, 4500), 10); // a line ending exactly on the end fits
        QCOMPARE(PagePlanner::linesPerPage(17000, 240, 16273), 1); // always one, so a list ends
        QCOMPARE(PagePlanner::pagesFor(0, 59), 1);
        QCOMPARE(PagePlanner::pagesFor(59, 59), 1);
        QCOMPARE(PagePlanner::pagesFor(60, 59), 2);
        const auto fits = PagePlanner::afterList(2000, 4, 7520, 300, 16273);
        QCOMPARE(fits.page, 4);
        QCOMPARE(fits.top, 7520.0);
        const auto next = PagePlanner::afterList(2000, 4, 16000, 300, 16273);
        QCOMPARE(next.page, 5);
        QCOMPARE(next.top, 2000.0);
    }

    void listsContinueOnFurtherPages()
    {
        Run r(200);
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.pageCount(), 4); // 59 + 59 + 59 + 23 lines
        QCOMPARE(s.pages(), 4);
        QCOMPARE(s.ops.last().kind, QStringLiteral("EndDoc"));
        for (int page = 1; page <= 4; ++page) {
            const QList<Op> prints = printsOn(s, page);
            // The header on every page, with its page number.
            QCOMPARE(prints[0].text, QStringLiteral("Page %1 of 4").arg(page));
            QCOMPARE(prints[0].y, 100.0);
            QCOMPARE(prints[1].text, QStringLiteral("Long report"));
            // Both lists row-aligned from their designed top.
            QStringList numbers, names;
            for (const Op &op : prints) {
                if (op.x == 600 && op.y >= 2000 && op.text != QLatin1String("End of report")) {
                    numbers << op.text;
                    QCOMPARE(std::fmod(op.y - 2000, 240.0), 0.0);
                }
                if (op.x == 2000)
                    names << op.text;
            }
            const int first = (page - 1) * 59 + 1;
            const int lines = page < 4 ? 59 : 23;
            QCOMPARE(numbers.size(), lines);
            QCOMPARE(numbers.first(), QString::number(first));
            QCOMPARE(names.first(), QStringLiteral("Line %1").arg(first));
            QCOMPARE(names.size(), lines);
        }
        // The short list only on page 1.
        int few = 0;
        for (const Op &op : s.prints())
            if (op.x == 6000) {
                QCOMPARE(op.page, 1);
                ++few;
            }
        QCOMPARE(few, 3);
        // The footer follows the list's last line, on its last page.
        const QList<Op> last = printsOn(s, 4);
        QCOMPARE(last.last().text, QStringLiteral("End of report"));
        QCOMPARE(last.last().y, 2000.0 + 23 * 240);
    }

    void footerThatDoesNotFitGoesToANewPage()
    {
        Run r(235); // 59 + 59 + 59 + 58: the last line ends at 15920
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.page.Label(r.footer).Height = 400;
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.pageCount(), 5);
        const QList<Op> fifth = printsOn(s, 5);
        QCOMPARE(fifth.size(), 3); // page number, title, footer
        QCOMPARE(fifth[0].text, QStringLiteral("Page 5 of 5"));
        QCOMPARE(fifth[2].text, QStringLiteral("End of report"));
        QCOMPARE(fifth[2].y, 2000.0);
    }

    void onlyTheAskedPages()
    {
        Run r(200);
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.setPageRange(3, 3);
        r.generator.GenerateOutput(s);
        QCOMPARE(s.pages(), 1); // no NewPage: one page drawn
        const QList<Op> prints = s.prints();
        QCOMPARE(prints[0].text, QStringLiteral("Page 3 of 4"));
        QVERIFY(s.printedTexts().contains(QStringLiteral("119")));
        QVERIFY(!s.printedTexts().contains(QStringLiteral("118")));
    }

    void backgroundAndBorderOnEveryPage()
    {
        Run r(200);
        r.page.Label(3).BackColor = 0x00FFFF;
        r.page.Label(3).BorderStyle = 1;
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QList<double> fills, boxes;
        for (const Op &op : s.ops) {
            if (op.kind == QLatin1String("FilledBox")) {
                QCOMPARE(op.y, 2000.0);
                fills << op.y2;
            }
            if (op.kind == QLatin1String("Box"))
                boxes << op.y2;
        }
        // Down to the last line of each page, under the text, then outlined.
        QCOMPARE(fills, (QList<double>{2000 + 59 * 240, 2000 + 59 * 240, 2000 + 59 * 240, 2000 + 23 * 240}));
        QCOMPARE(boxes, fills);
    }

    void fixedTextsAtWholeTwips()
    {
        Run r(10);
        const int note = label(r.page, 600.4f, 1500.6f, 300, QStringLiteral("Note"));
        Q_UNUSED(note);
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        const QList<Op> prints = printsOn(s, 1);
        const auto at = std::find_if(prints.begin(), prints.end(), [](const Op &op) { return op.text == QLatin1String("Note"); });
        QVERIFY(at != prints.end());
        QCOMPARE(at->x, 600.0);
        QCOMPARE(at->y, 1501.0);
    }

    void onePageModeIsUnchanged()
    {
        Run r(200);
        r.generator.setPaginate(false);
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(s.pages(), 1);
        QCOMPARE(r.generator.pageCount(), 1);
        QCOMPARE(s.prints().first().text, QStringLiteral("Page 1 of 1"));
        // Rows run off the page as they always did; the footer moves below the first list.
        QVERIFY(s.printedTexts().contains(QStringLiteral("60")));
    }
};

QTEST_MAIN(TestPagination)
#include "tst_pagination.moc"
