// The export formats as people use them: reportgen writes workbooks, CSV
// files and PDFs, and other programs read them back (Python's zipfile, xml
// and csv modules, poppler's pdfinfo and pdffonts).

#include "LayoutPage.h"
#include "SqliteEngine.h"
#include "TestPackage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

class TestExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_items; // a package whose lists are text, whole numbers, numbers, dates and truth values
    QString m_long;  // 300 rows on several pages

    struct Result
    {
        int code = -1;
        QString out;
        QString err;
    };

    static Result run(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(120000))
            return {};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    static Result reportgen(QStringList args)
    {
        args.prepend(QStringLiteral("render"));
        args << QStringLiteral("-q");
        return run(QStringLiteral(REPORTGEN), args);
    }
    // What another program reads in an exported file (tests/apps/read_export.py).
    static QJsonObject read(const QStringList &args)
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            return {};
        const Result r = run(python, QStringList{QStringLiteral(KRML_SOURCE_DIR "/tests/apps/read_export.py")} + args);
        if (r.code != 0)
            qWarning("%s", qPrintable(r.err));
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }
    static QJsonObject cell(const QJsonObject &book, const QString &sheet, const QString &ref)
    {
        return book[QStringLiteral("cells")].toObject()[sheet].toObject()[ref].toObject();
    }

    static void addLabel(LayoutPage &page, float left, float top, float width, const QString &caption, const QString &tag,
                         bool bold = false)
    {
        const int i = page.createLabel();
        page.Label(i).Left = left;
        page.Label(i).Top = top;
        page.Label(i).Width = width;
        page.Label(i).Height = 300;
        page.Label(i).Caption = caption;
        page.Label(i).Tag = tag;
        page.Label(i).Font.name = QStringLiteral("Arial");
        page.Label(i).Font.size = 10;
        page.Label(i).Font.bold = bold;
        page.Label(i).Visible = true;
    }

    // The box of the dark pixels (text) of an image inside a rectangle;
    // null when there are none.
    static QRect ink(const QImage &image, const QRect &within)
    {
        QRect found;
        const QRect r = within.intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    found |= QRect(x, y, 1, 1);
        return found;
    }

    // A bundled example, as the project builds them.
    QString example(const QString &name)
    {
        const QString folder = m_dir.filePath(QStringLiteral("examples"));
        if (!QFileInfo::exists(folder) && run(QStringLiteral(MAKEEXAMPLES), {folder}).code != 0)
            return QString();
        return QDir(folder).filePath(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        SqliteEngine::create(m_dir.filePath(QStringLiteral("items.db")))
            ->runScript(QStringLiteral("CREATE TABLE Items (Name TEXT, Qty INTEGER, Price REAL, Sold DATE, Paid BOOLEAN);"
                                       "INSERT INTO Items VALUES ('Bolt, steel', 12, 0.25, '2024-03-15', 1);"
                                       "INSERT INTO Items VALUES ('Nut \"hex\"', 7, 1.5, '2024-03-16 08:30:00', 0);"
                                       "INSERT INTO Items VALUES ('Caf\u00e9' || char(10) || 'cr\u00e8me', NULL, 2.75, NULL, 1);"
                                       "CREATE TABLE Numbers (N INTEGER);"
                                       "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 300) "
                                       "INSERT INTO Numbers SELECT n FROM c;"));
        const QString connection = QStringLiteral("Provider=SQLite;Data Source=items.db");

        LayoutPage page;
        addLabel(page, 600, 1400, 1500, QStringLiteral("Name"), QString(), true);
        addLabel(page, 600, 500, 6000, QStringLiteral("Stock list"), QString()); // the title: highest, not the first label
        addLabel(page, 2200, 1400, 1000, QStringLiteral("Qty"), QString(), true);
        addLabel(page, 600, 1800, 1500, QString(), QStringLiteral("DATA:Items.Name"));
        addLabel(page, 2200, 1800, 1000, QString(), QStringLiteral("DATA:Items.Qty"));
        addLabel(page, 3300, 1800, 1000, QString(), QStringLiteral("DATA:Items.Price"));
        addLabel(page, 4400, 1800, 2000, QString(), QStringLiteral("DATA:Items.Sold"));
        addLabel(page, 6500, 1800, 1000, QString(), QStringLiteral("DATA:Items.Paid"));
        addLabel(page, 600, 4000, 1500, QString(), QStringLiteral("DATA:Totals.Pieces"));
        m_items = m_dir.filePath(QStringLiteral("items.lrd"));
        QVERIFY(TestPackage::save(page,
                                  {{QStringLiteral("Items"), QStringLiteral("SELECT Name, Qty, Price, Sold, Paid FROM Items ORDER BY Price")},
                                   {QStringLiteral("Totals"), QStringLiteral("SELECT SUM(Qty) AS Pieces, COUNT(*) AS Lines FROM Items")}},
                                  connection, m_items));

        LayoutPage numbers;
        addLabel(numbers, 600, 300, 3000, QStringLiteral("Page [Page] of [Pages]"), QString());
        addLabel(numbers, 600, 1500, 3000, QString(), QStringLiteral("DATA:Numbers.N"));
        m_long = m_dir.filePath(QStringLiteral("long.lrd"));
        QVERIFY(TestPackage::save(numbers, {{QStringLiteral("Numbers"), QStringLiteral("SELECT N FROM Numbers ORDER BY N")}},
                                  connection, m_long));
    }

    void workbookHasTypedCellsAndDataSheets()
    {
        const QString out = m_dir.filePath(QStringLiteral("items.xlsx"));
        const Result r = reportgen({m_items, QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QJsonObject book = read({QStringLiteral("xlsx"), out});
        if (book.isEmpty())
            QSKIP("python3 not installed");
        QCOMPARE(book[QStringLiteral("sheets")].toArray(), (QJsonArray{"Report", "Items", "Totals"}));

        // The report as it prints: the title bold on the first line, the
        // headings, then one row per line of the lists.
        const QString report = QStringLiteral("Report");
        QCOMPARE(cell(book, report, "A1")["v"].toString(), QStringLiteral("Stock list"));
        QVERIFY(cell(book, report, "A1")["bold"].toBool());
        QCOMPARE(cell(book, report, "A2")["v"].toString(), QStringLiteral("Name"));
        QCOMPARE(cell(book, report, "B2")["v"].toString(), QStringLiteral("Qty"));
        QCOMPARE(cell(book, report, "A3")["v"].toString(), QStringLiteral("Bolt, steel"));
        QCOMPARE(cell(book, report, "A3")["t"].toString(), QStringLiteral("s"));
        QVERIFY(!cell(book, report, "A3")["bold"].toBool());
        QCOMPARE(cell(book, report, "B3")["t"].toString(), QStringLiteral("n"));
        QCOMPARE(cell(book, report, "B3")["v"].toDouble(), 12.0);
        QCOMPARE(cell(book, report, "C3")["v"].toDouble(), 0.25);
        QCOMPARE(cell(book, report, "D3")["t"].toString(), QStringLiteral("n"));
        QCOMPARE(cell(book, report, "D3")["v"].toDouble(), 45366.0); // 15 March 2024
        QCOMPARE(cell(book, report, "D3")["fmt"].toString(), QStringLiteral("yyyy-mm-dd"));
        QCOMPARE(cell(book, report, "D4")["v"].toDouble(), 45367.0 + 8.5 / 24);
        QCOMPARE(cell(book, report, "D4")["fmt"].toString(), QStringLiteral("yyyy-mm-dd hh:mm:ss"));
        QCOMPARE(cell(book, report, "E3")["t"].toString(), QStringLiteral("b"));
        QCOMPARE(cell(book, report, "E3")["v"].toBool(), true);
        QCOMPARE(cell(book, report, "E4")["v"].toBool(), false);
        // Null values are empty cells.
        QVERIFY(cell(book, report, "B5").isEmpty());
        QCOMPARE(cell(book, report, "A5")["v"].toString(), QStringLiteral("Caf\u00e9\ncr\u00e8me"));
        // One column per left edge, as wide as its labels.
        const QJsonArray widths = book[QStringLiteral("cols")].toObject()[report].toArray();
        QCOMPARE(widths.size(), 5);
        QVERIFY2(widths[0].toDouble() > 10 && widths[0].toDouble() < 16, qPrintable(QString::number(widths[0].toDouble())));
        QVERIFY(widths[1].toDouble() < widths[0].toDouble());

        // Data only: the column names, then every row typed.
        const QString items = QStringLiteral("Items");
        QCOMPARE(cell(book, items, "A1")["v"].toString(), QStringLiteral("Name"));
        QCOMPARE(cell(book, items, "E1")["v"].toString(), QStringLiteral("Paid"));
        QVERIFY(cell(book, items, "A1")["bold"].toBool());
        QCOMPARE(cell(book, items, "B2")["v"].toDouble(), 12.0);
        QCOMPARE(cell(book, items, "D2")["fmt"].toString(), QStringLiteral("yyyy-mm-dd"));
        QCOMPARE(cell(book, items, "E3")["t"].toString(), QStringLiteral("b"));
        QCOMPARE(book[QStringLiteral("cells")].toObject()[items].toObject().size(), 5 + 5 + 5 + 3);
        QCOMPARE(cell(book, QStringLiteral("Totals"), "A2")["v"].toDouble(), 19.0);
        QCOMPARE(cell(book, QStringLiteral("Totals"), "B2")["v"].toDouble(), 3.0);
    }

    // A label's Format is its cells' number format, where it fits the value.
    void workbookCellsCarryTheLabelsFormats()
    {
        LayoutPage page;
        addLabel(page, 600, 1000, 1500, QString(), QStringLiteral("DATA:Items.Name"));
        addLabel(page, 2200, 1000, 1000, QString(), QStringLiteral("DATA:Items.Qty"));
        addLabel(page, 3300, 1000, 1000, QString(), QStringLiteral("DATA:Items.Price"));
        addLabel(page, 4400, 1000, 1000, QString(), QStringLiteral("DATA:Items.Sold"));
        addLabel(page, 5500, 1000, 1000, QString(), QStringLiteral("DATA:Items.Paid"));
        addLabel(page, 6600, 1000, 1000, QString(), QStringLiteral("DATA:Items.Sold"));
        page.Label(1).Format = QStringLiteral(">");
        page.Label(2).Format = QStringLiteral("#,##0.00");
        page.Label(3).Format = QStringLiteral("Currency");
        page.Label(4).Format = QStringLiteral("dd/mm/yyyy");
        page.Label(5).Format = QStringLiteral("Yes/No");
        page.Label(6).Format = QStringLiteral("0.00"); // a number pattern on dates: printed unformatted
        page.extension().Locale = QStringLiteral("en_US");
        const QString package = m_dir.filePath(QStringLiteral("formats.lrd"));
        QVERIFY(TestPackage::save(page, {{QStringLiteral("Items"), QStringLiteral("SELECT Name, Qty, Price, Sold, Paid FROM Items ORDER BY Price")}},
                                  QStringLiteral("Provider=SQLite;Data Source=") + m_dir.filePath(QStringLiteral("items.db")), package));
        const QString out = m_dir.filePath(QStringLiteral("formats.xlsx"));
        const Result r = reportgen({package, QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QJsonObject book = read({QStringLiteral("xlsx"), out});
        if (book.isEmpty())
            QSKIP("python3 not installed");
        const QString report = QStringLiteral("Report");
        const auto expect = [&](const char *ref, const QString &type, const QJsonValue &value, const QString &format) {
            const QJsonObject c = cell(book, report, QString::fromLatin1(ref));
            const bool same = value.isDouble() ? qFuzzyCompare(c["v"].toDouble(), value.toDouble()) : c["v"] == value;
            QVERIFY2(c["t"].toString() == type && same && c["fmt"].toString() == format,
                     qPrintable(QStringLiteral("%1: %2").arg(QString::fromLatin1(ref), QString::fromUtf8(QJsonDocument(c).toJson(QJsonDocument::Compact)))));
        };
        // Text as the report prints it, in Excel's text format.
        expect("A1", "s", "BOLT, STEEL", "@");
        expect("B1", "n", 12.0, "#,##0.00");
        expect("C1", "n", 0.25, "\\$#,##0.00;\"($\"#,##0.00\\)");
        expect("D1", "n", 45366.0, "dd\\/mm\\/yyyy");
        // Truth values as the report's numbers for them, shown as its words.
        expect("E1", "n", -1.0, "\"Yes\";\"Yes\";\"No\"");
        expect("E2", "n", 0.0, "\"Yes\";\"Yes\";\"No\"");
        expect("F1", "n", 45366.0, "yyyy-mm-dd");
        expect("D2", "n", 45367.0 + 8.5 / 24, "dd\\/mm\\/yyyy");
        // The data sheet keeps the statement's own values and formats.
        QCOMPARE(cell(book, QStringLiteral("Items"), "E2")["t"].toString(), QStringLiteral("b"));
        QCOMPARE(cell(book, QStringLiteral("Items"), "C2")["fmt"].toString(), QStringLiteral("General"));
    }

    void workbookBreaksWhereThePagesDo()
    {
        const QString out = m_dir.filePath(QStringLiteral("long.xlsx"));
        const Result r = reportgen({m_long, QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QJsonObject book = read({QStringLiteral("xlsx"), out});
        if (book.isEmpty())
            QSKIP("python3 not installed");
        const QJsonArray breaks = book[QStringLiteral("breaks")].toObject()[QStringLiteral("Report")].toArray();
        QVERIFY(breaks.size() >= 3);
        const int pages = breaks.size() + 1;
        // Each page starts with its page number, then its numbers.
        QCOMPARE(cell(book, "Report", "A1")["v"].toString(), QStringLiteral("Page 1 of %1").arg(pages));
        QCOMPARE(cell(book, "Report", "A2")["v"].toDouble(), 1.0);
        const int second = breaks[0].toInt() + 1; // the 1-based row after the break
        QCOMPARE(cell(book, "Report", QStringLiteral("A%1").arg(second))["v"].toString(), QStringLiteral("Page 2 of %1").arg(pages));
        // Page 1 held the title line and second - 2 numbers.
        QCOMPARE(cell(book, "Report", QStringLiteral("A%1").arg(second + 1))["v"].toDouble(), double(second - 1));
        QCOMPARE(book[QStringLiteral("cells")].toObject()[QStringLiteral("Numbers")].toObject().size(), 301);
    }

    void growingLabelsInWorkbookAndPdf()
    {
        // The item names wrap within a narrow label; the quantities beside
        // them stay at the tops of their list lines.
        LayoutPage page;
        addLabel(page, 600, 800, 700, QString(), QStringLiteral("DATA:Items.Name"));
        page.Label(1).CanGrow = true;
        addLabel(page, 2200, 800, 1000, QString(), QStringLiteral("DATA:Items.Qty"));
        const QString package = m_dir.filePath(QStringLiteral("grow.lrd"));
        QVERIFY(TestPackage::save(page, {{QStringLiteral("Items"), QStringLiteral("SELECT Name, Qty FROM Items ORDER BY Price")}},
                                  QStringLiteral("Provider=SQLite;Data Source=items.db"), package));

        const QString pdf = m_dir.filePath(QStringLiteral("grow.pdf"));
        Result r = reportgen({package, QStringLiteral("-o"), pdf});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (!pdftotext.isEmpty()) {
            r = run(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
            QStringList lines;
            for (const QString &l : r.out.split(QLatin1Char('\n')))
                if (!l.trimmed().isEmpty())
                    lines << l.simplified();
            QCOMPARE(lines, (QStringList{"Bolt, 12", "steel", "Nut 7", "\"hex\"", "Caf\u00e9", "cr\u00e8me"}));
        }

        // The web page has the lines where the PDF has them.
        const QString html = m_dir.filePath(QStringLiteral("grow.html"));
        r = reportgen({package, QStringLiteral("-o"), html});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QFile webFile(html);
        QVERIFY(webFile.open(QIODevice::ReadOnly));
        const QString web = QString::fromUtf8(webFile.readAll());
        QVERIFY(web.contains(QStringLiteral(">Bolt,</span>")));
        QVERIFY(web.contains(QStringLiteral(">steel</span>")));

        const QString out = m_dir.filePath(QStringLiteral("grow.xlsx"));
        r = reportgen({package, QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QJsonObject book = read({QStringLiteral("xlsx"), out});
        if (book.isEmpty())
            QSKIP("python3 not installed");
        // One cell per grown text, all of it, wrapping; no rows for its further lines.
        const QString report = QStringLiteral("Report");
        QCOMPARE(cell(book, report, "A1")["v"].toString(), QStringLiteral("Bolt, steel"));
        QVERIFY(cell(book, report, "A1")["wrap"].toBool());
        QCOMPARE(cell(book, report, "B1")["v"].toDouble(), 12.0);
        QVERIFY(!cell(book, report, "B1")["wrap"].toBool());
        QCOMPARE(cell(book, report, "A2")["v"].toString(), QStringLiteral("Nut \"hex\""));
        QCOMPARE(cell(book, report, "A3")["v"].toString(), QStringLiteral("Caf\u00e9\ncr\u00e8me"));
        QCOMPARE(book[QStringLiteral("cells")].toObject()[report].toObject().size(), 5);
    }

    void csvRoundTrips_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QStringList>("second"); // the second row of Items
        QTest::newRow("UTF-8, as printed") << QStringList() << "utf-8-sig" << QByteArray("\xEF\xBB\xBFName,Qty")
                                           << QStringList{"Nut \"hex\"", "7", "1.5", "2024-03-16 08:30:00", "False"};
        QTest::newRow("raw") << QStringList{"--raw"} << "utf-8-sig" << QByteArray("\xEF\xBB\xBFName,Qty")
                             << QStringList{"Nut \"hex\"", "7", "1.5", "2024-03-16T08:30:00", "false"};
        QTest::newRow("the package's code page") << QStringList{"--encoding", "codepage"} << "cp1252" << QByteArray("Name,Qty")
                                                 << QStringList{"Nut \"hex\"", "7", "1.5", "2024-03-16 08:30:00", "False"};
    }
    void csvRoundTrips()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, codec);
        QFETCH(QByteArray, start);
        QFETCH(QStringList, second);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("items.csv"));
        const Result r = reportgen(QStringList{m_items, QStringLiteral("-o"), out} + options);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        // One file per statement; none under the name given.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), (QStringList{"items-Items.csv", "items-Totals.csv"}));
        QFile file(dir.filePath(QStringLiteral("items-Items.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(start));
        QVERIFY(bytes.contains("\"Bolt, steel\",12,0.25,2024-03-15,"));
        QVERIFY(bytes.endsWith("\r\n"));
        const QJsonObject csv = read({QStringLiteral("csv"), file.fileName(), codec});
        if (csv.isEmpty())
            QSKIP("python3 not installed");
        const QJsonArray rows = csv[QStringLiteral("rows")].toArray();
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].toArray(), (QJsonArray{"Name", "Qty", "Price", "Sold", "Paid"}));
        QCOMPARE(rows[2].toArray(), QJsonArray::fromStringList(second));
        QCOMPARE(rows[3].toArray()[0].toString(), QStringLiteral("Caf\u00e9\ncr\u00e8me"));
        QCOMPARE(rows[3].toArray()[1].toString(), QString()); // null
    }

    void csvRefusesWhatTheCodePageCannotHold()
    {
        QTemporaryDir dir;
        const Result r = reportgen({m_items, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.csv")), QStringLiteral("--encoding"),
                                    QStringLiteral("codepage"), QStringLiteral("--codepage"), QStringLiteral("1251")});
        QCOMPARE(r.code, 6);
        QVERIFY2(r.err.contains(QStringLiteral("error 17")), qPrintable(r.err));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    void pdfHasTitleAuthorAndPdfA_data()
    {
        QTest::addColumn<QString>("package");
        QTest::addColumn<bool>("pdfA");
        QTest::addColumn<QString>("title");
        QTest::newRow("title from the highest text") << "items" << false << "Stock list";
        QTest::newRow("PDF/A-1b") << "items" << true << "Stock list";
    }
    void pdfHasTitleAuthorAndPdfA()
    {
        QFETCH(QString, package);
        QFETCH(bool, pdfA);
        QFETCH(QString, title);
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        const QString pdffonts = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
        if (pdfinfo.isEmpty() || pdffonts.isEmpty())
            QSKIP("poppler-utils not installed");
        const QString out = m_dir.filePath(package + QStringLiteral(".pdf"));
        QStringList args{m_dir.filePath(package + QStringLiteral(".lrd")), QStringLiteral("-o"), out, QStringLiteral("--author"),
                         QStringLiteral("Ann \u00c9xample (stock)")};
        if (pdfA)
            args << QStringLiteral("--pdfa");
        const Result r = reportgen(args);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const Result info = run(pdfinfo, {out});
        QVERIFY2(info.code == 0 && info.err.isEmpty(), qPrintable(info.err));
        QVERIFY2(info.out.contains(QStringLiteral("Title:           %1\n").arg(title)), qPrintable(info.out));
        QVERIFY(info.out.contains(QStringLiteral("Author:          Ann \u00c9xample (stock)\n")));
        QVERIFY(info.out.contains(QStringLiteral("Creator:         KRML ReportGen\n")));
        QVERIFY(info.out.contains(QRegularExpression(QStringLiteral("Producer:        KRML ReportGen \\(Qt 6[.0-9]+\\)\n"))));
        QCOMPARE(info.out.contains(QStringLiteral("PDF subtype:    PDF/A-1b")), pdfA);
        // The XMP packet says the same.
        const QString meta = run(pdfinfo, {QStringLiteral("-meta"), out}).out;
        QVERIFY(meta.contains(QStringLiteral("<rdf:li>Ann \u00c9xample (stock)</rdf:li>")));
        QCOMPARE(meta.contains(QStringLiteral("pdfaid:part=\"1\" pdfaid:conformance=\"B\"")), pdfA);
        // Every font embedded.
        const QStringList fonts = run(pdffonts, {out}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : fonts)
            QVERIFY2(font.contains(QRegularExpression(QStringLiteral("Identity-H\\s+yes "))), qPrintable(font));
        // And only the glyphs the report uses: each font program holds a
        // few kilobytes, where the font files hold 130 KB and more, and its
        // descriptor names it as a subset ("QRAAAA+LiberationSans").
        // (pdffonts still says "sub no": it reads the font's BaseFont, which
        // Qt writes without the tag.)
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        static const QRegularExpression program(QStringLiteral("/Length1 (\\d+)"));
        int programs = 0;
        for (const QRegularExpressionMatch &m : program.globalMatch(QString::fromLatin1(pdf))) {
            ++programs;
            QVERIFY2(m.captured(1).toInt() < 40000, qPrintable(m.captured(0)));
        }
        QCOMPARE(programs, fonts.size());
        static const QRegularExpression subsetName(QStringLiteral("/FontName /[A-Z]{6}\\+"));
        QCOMPARE(QString::fromLatin1(pdf).count(subsetName), fonts.size());
    }

    // The web page in a real browser: headless Chromium draws page 1 with
    // every word where the PNG output has it.
    void webPageInChromium()
    {
        QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium.isEmpty())
            chromium = QStandardPaths::findExecutable(QStringLiteral("chromium-browser"));
        if (chromium.isEmpty())
            QSKIP("Chromium is not installed (Debian's chromium package): the web page is not checked in a browser");
        QTemporaryDir dir;
        // A report with a header, lists, boxes, a picture and a footer.
        const QString package = example(QStringLiteral("sales-by-region.lrd"));
        QVERIFY(QFileInfo::exists(package));
        const QString html = dir.filePath(QStringLiteral("sales.html"));
        const QString png = dir.filePath(QStringLiteral("sales.png"));
        Result r = reportgen({package, QStringLiteral("-o"), html});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        r = reportgen({package, QStringLiteral("-o"), png, QStringLiteral("--dpi"), QStringLiteral("96"), QStringLiteral("--page"),
                       QStringLiteral("1")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QImage printed(png);
        QVERIFY(!printed.isNull());

        // One file that needs nothing else, printed one report page per sheet.
        QFile file(html);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        file.close();
        QVERIFY(page.contains(QStringLiteral("<title>Sales by Region</title>")));
        QVERIFY(page.contains(QStringLiteral("@page{size:595.35pt 842pt;margin:0}")));
        QVERIFY(page.contains(QStringLiteral("src=\"data:image/png;base64,")));
        QVERIFY(!page.contains(QStringLiteral("src=\"http")) && !page.contains(QStringLiteral("file:")));
        QVERIFY(page.contains(QStringLiteral("\"Arial\",\"Liberation Sans\",sans-serif")));

        const QStringList browser{QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                                  QStringLiteral("--hide-scrollbars"), QStringLiteral("--force-device-scale-factor=1"),
                                  QStringLiteral("--user-data-dir=") + dir.filePath(QStringLiteral("profile")),
                                  QStringLiteral("--window-size=%1,%2").arg(printed.width()).arg(printed.height())};
        const QString shot = dir.filePath(QStringLiteral("chromium.png"));
        r = run(chromium, browser + QStringList{QStringLiteral("--screenshot=") + shot, QUrl::fromLocalFile(html).toString()});
        const QImage drawn(shot);
        QVERIFY2(!drawn.isNull(), qPrintable(r.err));

        // Where the browser lays out each word of page 1 (its own measure,
        // read from a copy of the page that writes it down).
        const QString probe = dir.filePath(QStringLiteral("probe.html"));
        QFile copy(probe);
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(QString(page).replace(QStringLiteral("</body>"), QStringLiteral(R"(<script>
const out = [];
for (const span of document.querySelectorAll('#page-1 > span')) {
  const node = span.firstChild, re = /\S+/g;
  let m;
  while ((m = re.exec(node.data))) {
    const range = document.createRange();
    range.setStart(node, m.index);
    range.setEnd(node, m.index + m[0].length);
    const b = range.getBoundingClientRect();
    out.push({word: m[0], left: b.left, top: b.top, right: b.right, bottom: b.bottom});
  }
}
const pre = document.createElement('pre');
pre.id = 'words';
pre.textContent = JSON.stringify(out);
document.body.appendChild(pre);
</script></body>)")).toUtf8());
        copy.close();
        r = run(chromium, browser + QStringList{QStringLiteral("--dump-dom"), QUrl::fromLocalFile(probe).toString()});
        const QRegularExpressionMatch dumped = QRegularExpression(QStringLiteral("<pre id=\"words\">(.*)</pre>")).match(r.out);
        QVERIFY2(dumped.hasMatch(), qPrintable(r.err));
        QString json = dumped.captured(1);
        json.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        const QJsonArray words = QJsonDocument::fromJson(json.toUtf8()).array();
        QVERIFY(words.size() > 100);

        // Each word's ink inside the box the browser gives it, in the
        // browser's picture and in the PNG: within two pixels of each other.
        constexpr int tolerance = 2;
        int compared = 0;
        QStringList off;
        for (const QJsonValue &w : words) {
            const QJsonObject word = w.toObject();
            // Words, not lone signs ("=", "/") whose few grey pixels make no box.
            if (!word["word"].toString().contains(QRegularExpression(QStringLiteral("\\w"))))
                continue;
            const QRect box = QRectF(QPointF(word["left"].toDouble(), word["top"].toDouble()),
                                     QPointF(word["right"].toDouble(), word["bottom"].toDouble()))
                                  .toAlignedRect();
            const QRect inBrowser = ink(drawn, box), inPng = ink(printed, box);
            if (inBrowser.isNull() || inPng.isNull()) {
                off << word["word"].toString() + QStringLiteral(" (no ink)");
                continue;
            }
            ++compared;
            if (std::abs(inBrowser.left() - inPng.left()) > tolerance || std::abs(inBrowser.right() - inPng.right()) > tolerance
                || std::abs(inBrowser.top() - inPng.top()) > tolerance || std::abs(inBrowser.bottom() - inPng.bottom()) > tolerance)
                off << QStringLiteral("%1: browser %2,%3-%4,%5, PNG %6,%7-%8,%9")
                           .arg(word["word"].toString())
                           .arg(inBrowser.left()).arg(inBrowser.top()).arg(inBrowser.right()).arg(inBrowser.bottom())
                           .arg(inPng.left()).arg(inPng.top()).arg(inPng.right()).arg(inPng.bottom());
        }
        QVERIFY2(off.isEmpty(), qPrintable(off.join(QLatin1Char('\n'))));
        QVERIFY2(compared > 100, qPrintable(QString::number(compared)));

        // Printed, each report page fills one sheet of its size.
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdfinfo.isEmpty())
            QSKIP("poppler-utils not installed");
        const QString daily = dir.filePath(QStringLiteral("daily.html"));
        r = reportgen({example(QStringLiteral("daily-sales.lrd")), QStringLiteral("-o"), daily});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString printedPdf = dir.filePath(QStringLiteral("daily.pdf"));
        run(chromium, browser + QStringList{QStringLiteral("--no-pdf-header-footer"), QStringLiteral("--print-to-pdf=") + printedPdf,
                                            QUrl::fromLocalFile(daily).toString()});
        const QString info = run(pdfinfo, {printedPdf}).out;
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+6\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+59[45][.0-9]* x 84[12][.0-9]* pts"))), qPrintable(info));
    }

    void formatOption()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("report.dat"));
        Result r = reportgen({m_items, QStringLiteral("-o"), out, QStringLiteral("--format"), QStringLiteral("XLSX")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(2) == "PK");
        r = reportgen({m_items, QStringLiteral("-o"), out, QStringLiteral("--format"), QStringLiteral("doc")});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("--format takes one of .pdf, .png, .svg, .xlsx, .html or .csv: doc")), qPrintable(r.err));
    }

    void failedWorkbookLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("kept.xlsx"));
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an earlier workbook");
        old.close();
        // A statement that fails ends the run before anything is written.
        LayoutPage page;
        addLabel(page, 600, 1000, 2000, QString(), QStringLiteral("DATA:Bad.X"));
        const QString package = dir.filePath(QStringLiteral("bad.lrd"));
        QVERIFY(TestPackage::save(page, {{QStringLiteral("Bad"), QStringLiteral("SELECT X FROM NoSuchTable")}},
                                  QStringLiteral("Provider=SQLite;Data Source=") + m_dir.filePath(QStringLiteral("items.db")), package));
        const Result r = reportgen({package, QStringLiteral("-o"), out});
        QCOMPARE(r.code, 6);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("an earlier workbook"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{"bad.lrd", "kept.xlsx"}));
        // A folder that is not there is said before the report runs.
        const Result missing = reportgen({m_items, QStringLiteral("-o"), dir.filePath(QStringLiteral("no/such/r.xlsx"))});
        QCOMPARE(missing.code, 6);
        QVERIFY2(missing.err.contains(QStringLiteral("The workbook could not be written: '%1' (no such folder)")
                                          .arg(dir.filePath(QStringLiteral("no/such/r.xlsx")))),
                 qPrintable(missing.err));
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
