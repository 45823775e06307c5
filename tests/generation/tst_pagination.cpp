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
            // One transaction: a commit per row would wait for the disk each time.
            QString sql = QStringLiteral("CREATE TABLE Lines (N INTEGER); BEGIN;");
            for (int i = 1; i <= rows; ++i)
                sql += QStringLiteral("INSERT INTO Lines VALUES (%1);").arg(i);
            sql += QStringLiteral("COMMIT;");
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
        QTest::addColumn<double>("margin");
        QTest::addColumn<double>("bodyEnd");
        QTest::newRow("the default centimetre") << 16840.0 << 567.0 << 16273.0;
        QTest::newRow("a wide margin") << 16840.0 << 3000.0 << 13840.0;
        QTest::newRow("no margin") << 16840.0 << 0.0 << 16840.0;
        QTest::newRow("a negative margin counts as none") << 16840.0 << -50.0 << 16840.0;
    }
    void planner()
    {
        QFETCH(double, pageHeight);
        QFETCH(double, margin);
        QFETCH(double, bodyEnd);
        QCOMPARE(PagePlanner::bodyEnd(pageHeight, margin), bodyEnd);
    }

    void plannerLinesAbove()
    {
        QCOMPARE(PagePlanner::linesAbove(2000, 240, 366, 16840), 61);
        QCOMPARE(PagePlanner::linesAbove(2000, 240, 10, 16840), 10);
        QCOMPARE(PagePlanner::linesAbove(2000, 250, 100, 4500), 10); // ending exactly on the foot counts
        QCOMPARE(PagePlanner::linesAbove(17000, 240, 5, 16840), 0);
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

    void pageProgressCanEndTheRun()
    {
        Run r(200);
        QList<QPair<int, int>> told;
        r.generator.setPageProgress([&](int done, int total) { told.append({done, total}); });
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(told, (QList<QPair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));

        // A cancelled export: the error ends the run after that page.
        r.generator.setPageProgress([](int done, int) {
            if (done == 2)
                throw ReportError(18, QStringLiteral("User interrupt occurred"));
        });
        RecordingSurface cancelled(DrawingSurface::Kind::Printer);
        QVERIFY_THROWS_EXCEPTION(ReportError, r.generator.GenerateOutput(cancelled));
        QCOMPARE(cancelled.pages(), 2);
        QVERIFY(cancelled.ops.last().kind != QStringLiteral("EndDoc"));
    }

    void whatIsPrintedAndTheRowsBehindIt()
    {
        Run r(200);
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        // Fixed texts name their label; list lines carry the value as the
        // statement gave it.
        const QList<Op> first = printsOn(s, 1);
        QCOMPARE(first[0].text, QStringLiteral("Page 1 of 4"));
        QCOMPARE(first[0].source.label, 1);
        QVERIFY(!first[0].source.list);
        QVERIFY(first[0].source.value.isNull());
        const auto line = std::find_if(first.cbegin(), first.cend(), [](const Op &op) { return op.text == QStringLiteral("7"); });
        QVERIFY(line != first.cend());
        QCOMPARE(line->source.label, 3);
        QVERIFY(line->source.list);
        QCOMPARE(line->source.left, 600.0);
        QCOMPARE(line->source.value.metaType().id(), QMetaType::Int);
        QCOMPARE(line->source.value.toInt(), 7);

        // Every statement drawn in lists, once, with all its rows.
        const QList<ReportGenerator::ListedStatement> listed = r.generator.listedStatements();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed[0].name, QStringLiteral("Lines"));
        QCOMPARE(listed[0].rows->recordCount(), 200);
        QCOMPARE(listed[0].rows->fieldCount(), 2);
        QCOMPARE(listed[1].name, QStringLiteral("Few"));

        // Laid out only: nothing drawn, the same rows.
        RecordingSurface measured(DrawingSurface::Kind::Printer);
        r.generator.layOut(measured);
        QVERIFY(measured.prints().isEmpty());
        QCOMPARE(r.generator.pageCount(), 4);
        QCOMPARE(r.generator.listedStatements().size(), 2);
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

    void bodyEndsAtTheBottomMargin()
    {
        Run r(190);
        // The closing line follows the list: 40 lines on the last page leave room for it.
        r.page.Label(r.footer).Top = 3000;
        r.page.extension().BottomMargin = 2839.9f; // body ends at 14000
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.pageCount(), 4); // 50 + 50 + 50 + 40 lines
        for (int page = 1; page <= 4; ++page) {
            double lowest = 0;
            for (const Op &op : printsOn(s, page))
                if (op.x == 600 && op.y >= 2000)
                    lowest = std::max(lowest, op.y + 240);
            QVERIFY2(lowest <= 14000.5, qPrintable(QString::number(lowest)));
        }
        QVERIFY(s.printedTexts().contains(QStringLiteral("50")));
    }

    void headerAndFooterZonesOnEveryPage()
    {
        Run r(200);
        // In the footer zone (at or below 16272.9): a page number and a note.
        label(r.page, 8000, 16400, 300, QStringLiteral("Page [Page] of [Pages]"));
        label(r.page, 600, 16272.9f, 300, QStringLiteral("Confidential"));
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.pageCount(), 4);
        for (int page = 1; page <= 4; ++page) {
            const QList<Op> prints = printsOn(s, page);
            QCOMPARE(prints[0].text, QStringLiteral("Page %1 of 4").arg(page)); // header
            QCOMPARE(prints[1].text, QStringLiteral("Long report"));
            const auto at = [&](const QString &text) {
                return std::find_if(prints.begin(), prints.end(), [&](const Op &op) { return op.text == text; });
            };
            const auto number = at(QStringLiteral("Page %1 of 4").arg(page));
            QVERIFY(number != prints.end());
            const auto footerNumber = std::find_if(number + 1, prints.end(),
                                                   [&](const Op &op) { return op.text == QStringLiteral("Page %1 of 4").arg(page); });
            QVERIFY(footerNumber != prints.end());
            QCOMPARE(footerNumber->x, 8000.0);
            QCOMPARE(footerNumber->y, 16400.0);
            const auto note = at(QStringLiteral("Confidential"));
            QVERIFY(note != prints.end());
            QCOMPARE(note->y, 16273.0);
        }
    }

    void closingLabelAfterAListEndingAtTheBodyEnd()
    {
        Run r(100);
        r.page.setHeight(16840);
        r.page.extension().BottomMargin = 2840; // body ends at 14000: exactly 50 lines from 2000
        r.page.Label(r.footer).Top = 2500;      // inside the list: it follows the list
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        // 50 + 50 lines, the last one ending on the body's end: no room
        // for the closing label, which opens a page of its own at the list's Top.
        QCOMPARE(r.generator.pageCount(), 3);
        QList<QString> second;
        for (const Op &op : printsOn(s, 2))
            if (op.x == 600 && op.y >= 2000)
                second << op.text;
        QCOMPARE(second.size(), 50);
        QCOMPARE(second.last(), QStringLiteral("100"));
        const QList<Op> third = printsOn(s, 3);
        QCOMPARE(third.size(), 3);
        QCOMPARE(third[0].text, QStringLiteral("Page 3 of 3"));
        QCOMPARE(third[2].text, QStringLiteral("End of report"));
        QCOMPARE(third[2].y, 2000.0);
    }

    void listStartingInTheFooterZone()
    {
        Run r(200);
        // A list in the footer zone is part of the footer: its first rows on
        // every page, at its designed place, adding no pages of its own.
        label(r.page, 9000, 16400, 240, QString(), QStringLiteral("DATA:Few.RegionName"));
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.pageCount(), 4);
        for (int page = 1; page <= 4; ++page) {
            QList<double> ys;
            QStringList texts;
            for (const Op &op : printsOn(s, page))
                if (op.x == 9000) {
                    ys << op.y;
                    texts << op.text;
                }
            QCOMPARE(texts, (QStringList{"North", "South"})); // the third row lies past the page
            QCOMPARE(ys, (QList<double>{16400, 16640}));
        }
        // The header still ends at the body's highest list.
        QCOMPARE(printsOn(s, 2)[1].text, QStringLiteral("Long report"));
    }

    void layoutAsksForPages_data()
    {
        QTest::addColumn<int>("pagination");
        QTest::addColumn<bool>("layoutPaginates");
        QTest::addColumn<int>("pages");
        using P = ReportGenerator::Pagination;
        QTest::newRow("host off, layout off: one page") << int(P::FromLayout) << false << 1;
        QTest::newRow("host off, layout on") << int(P::FromLayout) << true << 4;
        QTest::newRow("host on, layout off") << int(P::On) << false << 4;
        QTest::newRow("one page asked for, layout on") << int(P::Off) << true << 1;
    }
    void layoutAsksForPages()
    {
        QFETCH(int, pagination);
        QFETCH(bool, layoutPaginates);
        QFETCH(int, pages);
        Run r(200);
        r.page.extension().Paginate = layoutPaginates;
        r.generator.setPagination(ReportGenerator::Pagination(pagination));
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.pageCount(), pages);
        QCOMPARE(s.pages(), pages);
    }

    void onePageReportsTheRowsItCut()
    {
        Run r(366);
        r.generator.setPaginate(false);
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        // Two lists of one statement: said once. The short list is whole.
        QCOMPARE(r.generator.cutLists().size(), 1);
        const CutList cut = r.generator.cutLists().first();
        QCOMPARE(cut.statement, QStringLiteral("Lines"));
        QCOMPARE(cut.total, 366);
        QCOMPARE(cut.printed, 61); // (16840 - 2000) / 240 whole lines
        // Paginated, nothing is cut.
        r.generator.setPaginate(true);
        RecordingSurface paged(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(paged);
        QVERIFY(r.generator.cutLists().isEmpty());
    }

    // A list of an expression's results is cut like a list of values,
    // also when no data field reads its statement.
    void onePageReportsTheExpressionRowsItCut()
    {
        Run r(366);
        r.generator.setPaginate(false);
        for (int i = 1; i <= r.page.labelCount(); ++i)
            if (r.page.Label(i).Tag.startsWith(QLatin1String("DATA:Lines."))) {
                r.page.Label(i).Caption = QStringLiteral("={Lines.N} * 2");
                r.page.Label(i).Tag = QStringLiteral("FORMULA:") + r.page.Label(i).Caption;
            }
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.cutLists().size(), 1);
        QCOMPARE(r.generator.cutLists().first().statement, QStringLiteral("Lines"));
        QCOMPARE(r.generator.cutLists().first().total, 366);
        QCOMPARE(r.generator.cutLists().first().printed, 61);
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
