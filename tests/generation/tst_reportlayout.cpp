// The first step of a report run on its own: what is placed where, on which
// page, before anything is drawn.
#include "GenerationFixture.h"
#include "LayoutPage.h"
#include "QueryLoader.h"
#include "RecordingSurface.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "ScriptedPrompts.h"

#include <QtTest>

using namespace KRML_ReportGen;
using Kind = PlacedItem::Kind;

namespace {

int label(LayoutPage &page, float top, float height, const QString &caption, const QString &tag = QString())
{
    return GenerationFixture::label(page, 600, top, height, caption, tag);
}

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT

    // A title, a list of 200 numbers with a formula beside it, and a closing
    // line at the foot of the page that the list runs into.
    struct Run
    {
        Run()
            : fixture("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                      "tablename=Lines\r\nSELECT N FROM Lines ORDER BY N\r\ntablename=endreport")
        {
            QString sql = QStringLiteral("BEGIN; CREATE TABLE Lines (N INTEGER);");
            for (int i = 1; i <= 200; ++i)
                sql += QStringLiteral("INSERT INTO Lines VALUES (%1);").arg(i);
            SqliteEngine::create(fixture.app.filePath(QStringLiteral("sales.db")))->runScript(sql + QStringLiteral("COMMIT;"));
            label(page, 100, 300, QStringLiteral("Page [Page] of [Pages]"));
            label(page, 2000, 300, QString(), QStringLiteral("DATA:Lines.N"));
            label(page, 2000, 300, QStringLiteral("{Lines.N}/2"), QStringLiteral("FORMULA:{Lines.N}/2"));
            label(page, 16000, 300, QStringLiteral("End of report"));
        }
        GenerationFixture fixture;
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader{fixture.files, prompts};
        ReportLayout layout{page, loader};
    };

private slots:
    void pagesOfALongList()
    {
        Run r;
        RecordingSurface s(DrawingSurface::Kind::Printer);
        s.setFont(FontDescription{QStringLiteral("Arial"), 12});
        r.layout.layOut(s, true);
        // Nothing drawn, and the surface keeps its font.
        QVERIFY(s.ops.isEmpty());
        QCOMPARE(s.Font().size, 12.0f);

        QCOMPARE(r.layout.pageCount(), 4); // 59 + 59 + 59 + 23 lines
        const auto &items = r.layout.items();
        QCOMPARE(int(items.size()), 4);
        QCOMPARE(items[0].kind, Kind::FixedText);
        QVERIFY(items[0].header);
        QCOMPARE(items[1].kind, Kind::DataList);
        QCOMPARE(items[1].count, 200);
        QCOMPARE(items[1].linesPerPage, 59);
        QCOMPARE(items[1].pages, 4);
        QCOMPARE(items[1].firstRow(4), 177);
        QCOMPARE(items[1].endRow(4), 200);
        QCOMPARE(items[2].kind, Kind::Formula);
        QCOMPARE(items[2].pages, 4);
        // The closing line follows the last line, on the last page.
        QCOMPARE(items[3].kind, Kind::FixedText);
        QVERIFY(!items[3].header);
        QCOMPARE(items[3].page, 4);
        QCOMPARE(items[3].top, 2000 + 23 * 240);
        // The ranges are those of one long page.
        QCOMPARE(r.layout.LabelTops(), (QList<double>{100, 2000, 2000, 16000}));
        QCOMPARE(r.layout.LabelExtents(), (QList<double>{0, 48000, 48000, 0}));
    }

    void onePageRunsOnPastTheFoot()
    {
        Run r;
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.layout.layOut(s, false);
        QCOMPARE(r.layout.pageCount(), 1);
        const auto &items = r.layout.items();
        QVERIFY(!items[0].header);
        QCOMPARE(items[1].pages, 1);
        QCOMPARE(items[1].endRow(1), 200);
        QCOMPARE(items[3].page, 1);
        QCOMPARE(items[3].top, 2000 + 200 * 240);
        qint32 left = 0, top = 0;
        QVERIFY(r.layout.CheckForPrintOverlap(r.page.Label(4), left, top));
        QCOMPARE(top, items[3].top);
        QCOMPARE(left, 600);
    }

    void formulaNeedsAListBeforeIt()
    {
        Run r;
        r.page.Label(2).Tag = QStringLiteral("just text");
        RecordingSurface s;
        try {
            r.layout.layOut(s, false);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 91);
        }
    }

    void progressCountsTheObjects()
    {
        Run r;
        RecordingSurface s;
        QList<int> done;
        r.layout.layOut(s, false, [&](int d, int total) {
            QCOMPARE(total, 4);
            done << d;
        });
        QCOMPARE(done, (QList<int>{0, 1, 2, 3, 4}));
    }
};

QTEST_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
