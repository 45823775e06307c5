// Labels that grow: their text wraps within the label's width and the list
// lines below move down by the lines it takes.
#include "GenerationFixture.h"
#include "LayoutPage.h"
#include "QueryLoader.h"
#include "RecordingSurface.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"
#include "TextWrapper.h"

#include <QtTest>

using namespace KRML_ReportGen;
using Op = RecordingSurface::Op;

namespace {

QByteArray notesSql()
{
    return "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
           "tablename=Notes\r\nSELECT N, Note FROM Notes ORDER BY N\r\n"
           "tablename=endreport";
}

// SQL text of a value: NULL for a null string.
QString sqlText(const QString &s)
{
    if (s.isNull())
        return QStringLiteral("NULL");
    QString quoted = s;
    return QLatin1Char('\'') + quoted.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

} // namespace

class TestGrowingLabels : public QObject
{
    Q_OBJECT

    // A list of notes at Top 2000 (10 characters wide on the recording
    // surface: 100 twips a character, 240-twip lines) beside their numbers.
    struct Run
    {
        explicit Run(const QStringList &notes, bool paginate = false) : fixture(notesSql())
        {
            QString sql = QStringLiteral("CREATE TABLE Notes (N INTEGER, Note TEXT); BEGIN;");
            for (int i = 0; i < notes.size(); ++i)
                sql += QStringLiteral("INSERT INTO Notes VALUES (%1, %2);").arg(i + 1).arg(sqlText(notes[i]));
            sql += QStringLiteral("COMMIT;");
            ModuleState::current().data().RDDataConnection()->execute(QStringLiteral("SELECT 1"));
            SqliteEngine::create(fixture.app.filePath(QStringLiteral("sales.db")))->runScript(sql);
            generator.setPaginate(paginate);
            number = GenerationFixture::label(page, 600, 2000, 240, QString(), QStringLiteral("DATA:Notes.N"));
            page.Label(number).Width = 500;
            note = GenerationFixture::label(page, 2000, 2000, 240, QString(), QStringLiteral("DATA:Notes.Note"));
            page.Label(note).Width = 1000;
            page.Label(note).CanGrow = true;
        }
        GenerationFixture fixture;
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader{fixture.files, prompts};
        ReportGenerator generator{page, loader};
        int number = 0;
        int note = 0;
    };

    // The prints of one label (by its left edge), as (text, y) on a page.
    static QList<QPair<QString, double>> column(const RecordingSurface &s, double x0, double x1, int page = 1)
    {
        QList<QPair<QString, double>> out;
        for (const Op &op : s.prints())
            if (op.page == page && op.x >= x0 && op.x < x1)
                out.append({op.text, op.y});
        return out;
    }

private slots:
    void wrapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("fits") << QStringLiteral("short") << 1000.0 << QStringList{"short"};
        QTest::newRow("fills the width exactly") << QStringLiteral("abcdefghij") << 1000.0 << QStringList{"abcdefghij"};
        QTest::newRow("breaks at spaces") << QStringLiteral("alpha beta gamma delta") << 1000.0
                                          << QStringList{"alpha beta", "gamma", "delta"};
        QTest::newRow("a word longer than the width") << QStringLiteral("abcdefghijklmnopqrstuvwxy") << 1000.0
                                                      << QStringList{"abcdefghij", "klmnopqrst", "uvwxy"};
        QTest::newRow("a long word between short ones") << QStringLiteral("ab abcdefghijklm cd") << 1000.0
                                                        << QStringList{"ab", "abcdefghij", "klm cd"};
        QTest::newRow("line breaks in the text") << QStringLiteral("one\r\ntwo\nthree four five") << 1000.0
                                                 << QStringList{"one", "two", "three four", "five"};
        QTest::newRow("an empty line kept") << QStringLiteral("one\n\ntwo") << 1000.0 << QStringList{"one", "", "two"};
        QTest::newRow("spaces at a break dropped") << QStringLiteral("abcdefghij   k") << 1000.0
                                                   << QStringList{"abcdefghij", "k"};
        QTest::newRow("empty") << QStringLiteral("") << 1000.0 << QStringList{""};
        QTest::newRow("narrower than a character") << QStringLiteral("abc") << 50.0 << QStringList{"a", "b", "c"};
        QTest::newRow("a character outside the basic plane stays whole")
            << QStringLiteral("ab\U0001F600cd") << 300.0 << QStringList{"ab", "\U0001F600c", "d"};
    }
    void wrapping()
    {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(QStringList, lines);
        RecordingSurface s;
        FontDescription font;
        font.size = 10;
        s.setFont(font);
        QCOMPARE(TextWrapper::lines(s, text, width), lines);
    }

    void aMegabyteWithoutASpaceStillEnds()
    {
        // Outside data may be anything: the breaking stays near linear.
        RecordingSurface s;
        FontDescription font;
        font.size = 10;
        s.setFont(font);
        const QStringList lines = TextWrapper::lines(s, QString(1000000, QLatin1Char('x')), 1000);
        QCOMPARE(lines.size(), 100000);
        QCOMPARE(lines.last(), QString(10, QLatin1Char('x')));
    }

    void nullStaysNull()
    {
        RecordingSurface s;
        const QStringList lines = TextWrapper::lines(s, QString(), 1000);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].isNull());
    }

    void rowsBelowMoveDown()
    {
        Run r({QStringLiteral("short"), QStringLiteral("a rather long note here"), QStringLiteral("x")});
        // A fixed text inside the list's range follows its last line.
        const int closing = GenerationFixture::label(r.page, 600, 2100, 240, QStringLiteral("End"));
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        using Lines = QList<QPair<QString, double>>;
        QCOMPARE(column(s, 2000, 3000), (Lines{{"short", 2000}, {"a rather", 2240}, {"long note", 2480}, {"here", 2720}, {"x", 2960}}));
        // The numbers beside them keep to the tops of their list lines.
        QCOMPARE(column(s, 600, 700), (Lines{{"1", 2000}, {"2", 2240}, {"3", 2960}, {"End", 3200}}));
        QCOMPARE(r.generator.LabelExtents(), (QList<double>{1200, 1200, 0}));
        Q_UNUSED(closing);
    }

    void theTallestLabelSetsTheLine()
    {
        Run r({QStringLiteral("one two"), QStringLiteral("x")});
        // A second label of the statement at the same Top, narrower: its
        // two lines make the first list line two lines high.
        const int narrow = GenerationFixture::label(r.page, 4000, 2000, 240, QString(), QStringLiteral("DATA:Notes.Note"));
        r.page.Label(narrow).Width = 300;
        r.page.Label(narrow).CanGrow = true;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        using Lines = QList<QPair<QString, double>>;
        QCOMPARE(column(s, 2000, 3000), (Lines{{"one two", 2000}, {"x", 2480}}));
        QCOMPARE(column(s, 4000, 5000), (Lines{{"one", 2000}, {"two", 2240}, {"x", 2480}}));
        QCOMPARE(column(s, 600, 700), (Lines{{"1", 2000}, {"2", 2480}}));
    }

    void aFormulaGrowsWithTheListsOfItsStatement()
    {
        Run r({QStringLiteral("one"), QStringLiteral("two")});
        r.page.Label(r.note).CanGrow = false;
        const QString formula = QStringLiteral("={Notes.Note} & \" and more\"");
        const int grown = GenerationFixture::label(r.page, 4000, 2000, 240, formula, QStringLiteral("FORMULA:") + formula);
        r.page.Label(grown).Width = 500;
        r.page.Label(grown).CanGrow = true;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        using Lines = QList<QPair<QString, double>>;
        QCOMPARE(column(s, 4000, 5000), (Lines{{"one", 2000}, {"and", 2240}, {"more", 2480}, {"two", 2720}, {"and", 2960}, {"more", 3200}}));
        QCOMPARE(column(s, 2000, 3000), (Lines{{"one", 2000}, {"two", 2720}}));
        QCOMPARE(column(s, 600, 700), (Lines{{"1", 2000}, {"2", 2720}}));
    }

    void nullsAndEmptyTexts_data()
    {
        QTest::addColumn<QString>("nullText");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<double>("lastTop");
        // A null without a null text is a null print: an empty line, not at the label.
        QTest::newRow("no null text: an empty line") << QString() << QStringList{"a b", "", "z"} << 2720.0;
        QTest::newRow("null text wraps as well") << QStringLiteral("nothing at all here")
                                                 << QStringList{"a b", "nothing at", "all here", "", "z"} << 2960.0;
    }
    void nullsAndEmptyTexts()
    {
        QFETCH(QString, nullText);
        QFETCH(QStringList, printed);
        QFETCH(double, lastTop);
        Run r({QStringLiteral("a b"), QString(), QStringLiteral(""), QStringLiteral("z")});
        r.page.Label(r.note).NullText = nullText;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        QStringList texts;
        for (const auto &[text, y] : column(s, 2000, 3000))
            texts << text;
        QCOMPARE(texts, printed);
        // Each row is as high as its lines: the last one follows.
        QCOMPARE(column(s, 600, 700).last(), (QPair<QString, double>{"4", lastTop}));
    }

    void labelsThatDoNotGrowPrintOneLine()
    {
        Run r({QStringLiteral("a rather long note here"), QStringLiteral("x")});
        r.page.Label(r.note).CanGrow = false;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        using Lines = QList<QPair<QString, double>>;
        QCOMPARE(column(s, 2000, 3000), (Lines{{"a rather long note here", 2000}, {"x", 2240}}));
    }

    void aBorderNarrowsTheText()
    {
        Run r({QStringLiteral("abcdefghij")});
        r.page.Label(r.note).BorderStyle = 1; // 50 twips inside either side: 9 characters
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        using Lines = QList<QPair<QString, double>>;
        QCOMPARE(column(s, 2000, 3000), (Lines{{"abcdefghi", 2000}, {"j", 2240}}));
        // The frame of a single row keeps its designed height.
        bool framed = false;
        for (const Op &op : s.ops)
            if (op.kind == QLatin1String("Box") && op.x == 2000)
                framed = op.y == 2000 && op.y2 == 2240;
        QVERIFY(framed);
    }

    void fixedTextGrowsAndPushesNothing()
    {
        Run r({QStringLiteral("x")});
        const int fixed = GenerationFixture::label(r.page, 6000, 500, 240, QStringLiteral("Notes of the year 2024"));
        r.page.Label(fixed).Width = 1000;
        r.page.Label(fixed).CanGrow = true;
        RecordingSurface s;
        r.generator.GenerateOutput(s);
        using Lines = QList<QPair<QString, double>>;
        QCOMPARE(column(s, 6000, 7000), (Lines{{"Notes of", 500}, {"the year", 740}, {"2024", 980}}));
        QCOMPARE(column(s, 2000, 3000), (Lines{{"x", 2000}}));
    }

    void aGrownLineCrossingThePageEndGoesWhole()
    {
        // 58 one-line rows end at 15920; the next takes two lines (to
        // 16400), past the body's end at 16273: it starts page 2.
        QStringList notes;
        for (int i = 0; i < 58; ++i)
            notes << QStringLiteral("n");
        notes << QStringLiteral("one two three") << QStringLiteral("last");
        Run r(notes, true);
        GenerationFixture::label(r.page, 600, 100, 240, QStringLiteral("Page [Page] of [Pages]"));
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.pageCount(), 2);
        QCOMPARE(column(s, 2000, 3000, 1).size(), 58);
        using Lines = QList<QPair<QString, double>>;
        QCOMPARE(column(s, 2000, 3000, 2), (Lines{{"one two", 2000}, {"three", 2240}, {"last", 2480}}));
        QCOMPARE(column(s, 600, 700, 2), (Lines{{"59", 2000}, {"60", 2480}, {"Page 2 of 2", 100}}));
    }

    void aLineTallerThanThePageIsCut()
    {
        // 80 lines of one word each: more than the 59 a page body holds.
        QStringList words;
        for (int i = 0; i < 80; ++i)
            words << QStringLiteral("word%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        Run r({QStringLiteral("first"), words.join(QLatin1Char(' ')), QStringLiteral("after")}, true);
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.pageCount(), 3);
        QCOMPARE(column(s, 2000, 3000, 1), (QList<QPair<QString, double>>{{"first", 2000}}));
        const auto second = column(s, 2000, 3000, 2);
        QCOMPARE(second.size(), 59); // cut at the body's end
        QCOMPARE(second.first().first, QStringLiteral("word01"));
        QCOMPARE(second.last(), (QPair<QString, double>{"word59", 2000.0 + 58 * 240}));
        QCOMPARE(column(s, 2000, 3000, 3), (QList<QPair<QString, double>>{{"after", 2000}}));
    }

    void onePageReportsGrownRowsItCut()
    {
        // One page (16840 high): 60 rows of two lines, 30 of them end above its foot.
        QStringList notes;
        for (int i = 0; i < 60; ++i)
            notes << QStringLiteral("two lines");
        Run r(notes);
        r.page.Label(r.note).Width = 500;
        RecordingSurface s(DrawingSurface::Kind::Printer);
        r.generator.GenerateOutput(s);
        QCOMPARE(r.generator.cutLists().size(), 1);
        QCOMPARE(r.generator.cutLists().first().printed, 30);
    }
};

QTEST_MAIN(TestGrowingLabels)
#include "tst_growinglabels.moc"
