// The command-line renderer as a user runs it: real packages, a real
// database, real PDF and PNG files, and its exit codes.

#include "ConsolePrompts.h"
#include "DbConnection.h"
#include "KRMLReportGenVersion.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "ProgressLine.h"
#include "ProcessTempNames.h"
#include "ReportSqlFile.h"
#include "SqliteEngine.h"
#include "TestPackage.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRegularExpression>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestReportgen : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Result
    {
        int code = -1;
        QString out;
        QString err;
    };

    Result run(const QString &program, const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
               const QString &workingDirectory = QString())
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(workingDirectory);
        p.start(program, args);
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    Result reportgen(const QStringList &args) { return run(QStringLiteral(REPORTGEN), args); }
    QString example(const QString &name) const { return m_dir.filePath(name); }

    QString pdfText(const QString &file)
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (tool.isEmpty())
            return QStringLiteral("<pdftotext missing>");
        return run(tool, {QStringLiteral("-layout"), file, QStringLiteral("-")}).out;
    }

    // One data-field label on the page.
    static void oneList(KRML_ReportGen::LayoutPage &page, const QString &tag)
    {
        const int i = page.createLabel();
        page.Label(i).Top = 1000;
        page.Label(i).Width = 3000;
        page.Label(i).Height = 300;
        page.Label(i).Tag = tag;
        page.Label(i).Visible = true;
    }

    // Saves a package of page whose report SQL holds one statement, with
    // the connection string stored in it, as a designer would.
    static bool savePackage(KRML_ReportGen::LayoutPage &page, const QString &statement, const QString &sql,
                            const QString &connection, const QString &path, const QStringList &markers = {},
                            int codePage = 1252, const QList<QPair<QString, QString>> &moreStatements = {})
    {
        QList<QPair<QString, QString>> statements{{statement, sql}};
        statements += moreStatements;
        return KRML_ReportGen::TestPackage::save(page, statements, connection, path, markers, codePage);
    }

private slots:
    void initTestCase()
    {
        // The examples as the project builds them.
        const Result made = run(QStringLiteral(MAKEEXAMPLES), {m_dir.path()});
        QVERIFY2(made.code == 0, qPrintable(made.err));
        QVERIFY(QFileInfo::exists(example(QStringLiteral("sales-by-region.lrd"))));
    }

    void rendersPdf()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils not installed");
        const QString out = m_dir.filePath(QStringLiteral("sales.pdf"));
        const Result r = reportgen({QStringLiteral("render"), example(QStringLiteral("sales-by-region.lrd")), QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString text = pdfText(out);
        QVERIFY(text.contains(QStringLiteral("Sales by Region")));
        // The lookup's first region has no orders: the report shows the next.
        QVERIFY(text.contains(QStringLiteral("Region:")) && text.contains(QStringLiteral("South")));
        QVERIFY(text.contains(QStringLiteral("Blue River Foods")));
        // The footer was moved below the last order line.
        const QStringList lines = text.split(QLatin1Char('\n'));
        int lastOrder = -1, footer = -1;
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].contains(QStringLiteral("Kestrel Air")))
                lastOrder = i;
            if (lines[i].contains(QStringLiteral("Totals include tax")))
                footer = i;
        }
        QVERIFY(lastOrder > 0);
        QVERIFY2(footer > lastOrder, qPrintable(text));
    }

    void hostValueForTheLookup()
    {
        const QString out = m_dir.filePath(QStringLiteral("east.pdf"));
        const Result r = reportgen({QStringLiteral("render"), example(QStringLiteral("sales-by-region.lrd")), QStringLiteral("-o"), out,
                                    QStringLiteral("--param"), QStringLiteral("Region=3")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils not installed");
        const QString text = pdfText(out);
        QVERIFY2(text.contains(QStringLiteral("East")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Blue River Foods")));
    }

    void lookupValuesAsTheUserWritesThem_data()
    {
        QTest::addColumn<QString>("param");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shown");   // in the PDF
        QTest::addColumn<QString>("stderr");  // in the messages
        QTest::newRow("the text the lookup shows") << "Region=East" << 0 << "East" << "";
        QTest::newRow("its return field") << "RegionID=3" << 0 << "East" << "";
        QTest::newRow("SQL instead of a value") << "Region=0 OR 1=1" << 5 << "" << "\"0 OR 1=1\"";
        QTest::newRow("a name the report does not have") << "Regoin=3" << 0 << "" << "no parameter \"Regoin\"";
        QTest::newRow("a value without rows is replaced") << "Region=1" << 0 << "South" << "no rows for the value \"1\"";
    }
    void lookupValuesAsTheUserWritesThem()
    {
        QFETCH(QString, param);
        QFETCH(int, code);
        QFETCH(QString, shown);
        QFETCH(QString, stderr);
        const QString out = m_dir.filePath(QStringLiteral("lookup.pdf"));
        QFile::remove(out);
        const Result r = reportgen({QStringLiteral("render"), example(QStringLiteral("sales-by-region.lrd")), QStringLiteral("-o"), out,
                                    QStringLiteral("--param"), param});
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(stderr), qPrintable(r.err));
        if (code != 0) {
            QVERIFY(!QFileInfo::exists(out));
            return;
        }
        if (shown.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            return;
        QVERIFY2(pdfText(out).contains(shown), qPrintable(pdfText(out)));
    }

    void numberValuesThatAreNotNumbers()
    {
        using namespace KRML_ReportGen;
        LayoutPage page;
        oneList(page, QStringLiteral("DATA:Big.OrderID"));
        const QString path = m_dir.filePath(QStringLiteral("number.lrd"));
        QVERIFY(savePackage(page, QStringLiteral("Big"), QStringLiteral("SELECT OrderID FROM Orders WHERE Qty > Q(Number)"),
                            QStringLiteral("Provider=SQLite;Data Source=sales.db"), path, {QStringLiteral("Q(Number)")}));
        QFile::copy(example(QStringLiteral("sales.db")), m_dir.filePath(QStringLiteral("sales.db")));
        const QString out = m_dir.filePath(QStringLiteral("number.pdf"));
        for (const char *bad : {"1,5x", "0 OR 1=1", "1; DROP TABLE Orders"}) {
            const Result r = reportgen({QStringLiteral("render"), path, QStringLiteral("-o"), out, QStringLiteral("--param"),
                                        QStringLiteral("Q=") + QLatin1String(bad)});
            QCOMPARE(r.code, 5);
            QVERIFY2(r.err.contains(QStringLiteral("\"Q\"")) && r.err.contains(QLatin1String(bad)), qPrintable(r.err));
        }
        for (const char *good : {"1,5", "&H3", "2.5"}) {
            const Result r = reportgen({QStringLiteral("render"), path, QStringLiteral("-o"), out, QStringLiteral("--param"),
                                        QStringLiteral("Q=") + QLatin1String(good)});
            QVERIFY2(r.code == 0, qPrintable(r.err));
        }
    }

    void packageInAnotherCodePage()
    {
        using namespace KRML_ReportGen;
        LayoutPage page;
        oneList(page, QStringLiteral("DATA:Заказы.OrderID"));
        const QString path = m_dir.filePath(QStringLiteral("cyrillic.lrd"));
        const bool saved = savePackage(page, QStringLiteral("Заказы"), QStringLiteral("SELECT OrderID FROM Orders WHERE Qty > 1"),
                                       QStringLiteral("Provider=SQLite;Data Source=sales.db"), path, {}, 1251);
        QVERIFY(saved);
        QFile::copy(example(QStringLiteral("sales.db")), m_dir.filePath(QStringLiteral("sales.db")));
        Result r = reportgen({QStringLiteral("list"), path, QStringLiteral("--codepage"), QStringLiteral("1251")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("Заказы")), qPrintable(r.out));
        const QString out = m_dir.filePath(QStringLiteral("cyrillic.pdf"));
        r = reportgen({QStringLiteral("render"), path, QStringLiteral("-o"), out, QStringLiteral("--codepage"), QStringLiteral("1251")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        // Read as Windows-1252 the statement has another name: the label's statement is not there.
        r = reportgen({QStringLiteral("list"), path});
        QVERIFY(!r.out.contains(QStringLiteral("Заказы")));
    }

    void rendersPng()
    {
        const QString out = m_dir.filePath(QStringLiteral("customers.png"));
        const Result r = reportgen({QStringLiteral("render"), example(QStringLiteral("customers.lrd")), QStringLiteral("-o"), out,
                                    QStringLiteral("--dpi"), QStringLiteral("96")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QImage img(out);
        QCOMPARE(img.size(), QSize(794, 1123)); // A4 at 96 dpi
        // Something was drawn in the list area.
        int dark = 0;
        for (int y = 150; y < 250; ++y)
            for (int x = 60; x < 400; ++x)
                dark += qGray(img.pixel(x, y)) < 100;
        QVERIFY(dark > 200);

        // The compression level trades size for speed; the picture is the same.
        const QString stored = m_dir.filePath(QStringLiteral("stored.png"));
        const Result fast = reportgen({QStringLiteral("render"), example(QStringLiteral("customers.lrd")), QStringLiteral("-o"), stored,
                                       QStringLiteral("--dpi"), QStringLiteral("96"), QStringLiteral("--png-compression"), QStringLiteral("0")});
        QVERIFY2(fast.code == 0, qPrintable(fast.err));
        QVERIFY(QFileInfo(stored).size() > 5 * QFileInfo(out).size());
        QCOMPARE(QImage(stored).convertToFormat(QImage::Format_RGB32), img.convertToFormat(QImage::Format_RGB32));
    }

    void dateParameter()
    {
        const QString out = m_dir.filePath(QStringLiteral("since.pdf"));
        Result r = reportgen({QStringLiteral("render"), example(QStringLiteral("orders-since.lrd")), QStringLiteral("-o"), out});
        QCOMPARE(r.code, 5);
        QVERIFY2(r.err.contains(QStringLiteral("\"Start\"")), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(out));
        r = reportgen({QStringLiteral("render"), example(QStringLiteral("orders-since.lrd")), QStringLiteral("-o"), out,
                       QStringLiteral("--param"), QStringLiteral("Start=2024-12-01")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils not installed");
        const QString text = pdfText(out);
        QVERIFY(text.contains(QStringLiteral("2024-12-04")));
        QVERIFY(!text.contains(QStringLiteral("2024-11-")));
        r = reportgen({QStringLiteral("render"), example(QStringLiteral("orders-since.lrd")), QStringLiteral("-o"), out,
                       QStringLiteral("--param"), QStringLiteral("Start=someday")});
        QCOMPARE(r.code, 5);
    }

    // A package with a list of 300 numbers and a header "Page n of m",
    // made with the library as a designer would save it.
    QString longPackage()
    {
        using namespace KRML_ReportGen;
        const QString db = m_dir.filePath(QStringLiteral("long.db"));
        if (!QFileInfo::exists(db)) {
            QString sql = QStringLiteral("CREATE TABLE Numbers (N INTEGER); BEGIN;");
            for (int i = 1; i <= 300; ++i)
                sql += QStringLiteral("INSERT INTO Numbers VALUES (%1);").arg(i);
            SqliteEngine::create(db)->runScript(sql + QStringLiteral("COMMIT;"));
        }
        LayoutPage page;
        const auto add = [&](float top, float height, const QString &caption, const QString &tag) {
            const int i = page.createLabel();
            page.Label(i).Top = top;
            page.Label(i).Height = height;
            page.Label(i).Width = 3000;
            page.Label(i).Caption = caption;
            page.Label(i).Tag = tag;
            page.Label(i).Font.name = QStringLiteral("Arial");
            page.Label(i).Font.size = 10;
            page.Label(i).Visible = true;
        };
        add(300, 300, QStringLiteral("Page [Page] of [Pages]"), QString());
        add(1500, 300, QString(), QStringLiteral("DATA:Numbers.Name"));
        add(16000, 300, QStringLiteral("Last line of the report"), QString());
        const QString path = m_dir.filePath(QStringLiteral("long.lrd"));
        if (!savePackage(page, QStringLiteral("Numbers"), QStringLiteral("SELECT N, 'Number ' || N AS Name FROM Numbers ORDER BY N"),
                         QStringLiteral("Provider=SQLite;Data Source=long.db"), path))
            return QString();
        return path;
    }

    void paginatedPdf()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdftotext.isEmpty() || pdfinfo.isEmpty())
            QSKIP("poppler-utils not installed");
        const QString package = longPackage();
        QVERIFY(!package.isEmpty());
        const QString out = m_dir.filePath(QStringLiteral("long.pdf"));
        // Pages are the renderer's default.
        Result r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY2(!r.err.contains(QStringLiteral("printed")), qPrintable(r.err));
        const QString info = run(pdfinfo, {out}).out;
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        QVERIFY(m.hasMatch());
        const int pages = m.captured(1).toInt();
        QVERIFY2(pages >= 4, qPrintable(info));
        for (int page = 1; page <= pages; ++page) {
            const QString text = run(pdftotext, {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                                 QString::number(page), out, QStringLiteral("-")})
                                     .out;
            QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)), qPrintable(text));
            if (page == 1)
                QVERIFY(text.contains(QStringLiteral("Number 1\n")));
            if (page == pages) {
                QVERIFY(text.contains(QStringLiteral("Number 300")));
                QVERIFY(text.contains(QStringLiteral("Last line of the report")));
            }
        }
        // With --one-page the same report is one page whose lists run on past
        // its foot, and the rows lost are said.
        r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), out, QStringLiteral("--one-page")});
        QCOMPARE(r.code, 0);
        QVERIFY(run(pdfinfo, {out}).out.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
        const QRegularExpressionMatch cut =
            QRegularExpression(QStringLiteral("reportgen: Numbers: 300 rows, (\\d+) printed: use --paginate\n")).match(r.err);
        QVERIFY2(cut.hasMatch(), qPrintable(r.err));
        QVERIFY(cut.captured(1).toInt() > 40 && cut.captured(1).toInt() < 100);
        QVERIFY(!pdfText(out).contains(QStringLiteral("Number 300")));
        r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), out, QStringLiteral("--one-page"), QStringLiteral("--paginate")});
        QCOMPARE(r.code, 1);
    }

    // Every bundled example: the column headings and "Page n of m" on every page.
    void examplesPaginate_data()
    {
        QTest::addColumn<QString>("package");
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<int>("minPages");
        QTest::newRow("daily sales") << "daily-sales.lrd" << QStringList() << QStringList{"Day", "Orders", "Total"} << 5;
        QTest::newRow("sales by region") << "sales-by-region.lrd" << QStringList() << QStringList{"Order", "Customer", "Unit price", "Region:"} << 1;
        QTest::newRow("customers") << "customers.lrd" << QStringList() << QStringList{"Customer", "E-mail", "Since", "Customers in all:"} << 1;
        QTest::newRow("orders since") << "orders-since.lrd" << QStringList{"--param", "Start=2024-01-01"}
                                      << QStringList{"Order", "Date", "Note"} << 1;
        QTest::newRow("order totals") << "order-totals.lrd" << QStringList() << QStringList{"Order", "Net", "Share", "Page total:"} << 1;
    }
    void examplesPaginate()
    {
        QFETCH(QString, package);
        QFETCH(QStringList, params);
        QFETCH(QStringList, headings);
        QFETCH(int, minPages);
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdftotext.isEmpty() || pdfinfo.isEmpty())
            QSKIP("poppler-utils not installed");
        const QString out = m_dir.filePath(package + QStringLiteral(".pdf"));
        const Result r = reportgen(QStringList{QStringLiteral("render"), example(package), QStringLiteral("-o"), out} + params);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(pdfinfo, {out}).out);
        QVERIFY(m.hasMatch());
        const int pages = m.captured(1).toInt();
        QVERIFY2(pages >= minPages, qPrintable(QString::number(pages)));
        for (int page = 1; page <= pages; ++page) {
            const QString text = run(pdftotext, {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                                 QStringLiteral("-l"), QString::number(page), out, QStringLiteral("-")})
                                     .out;
            QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)), qPrintable(text));
            for (const QString &h : headings)
                QVERIFY2(text.contains(h), qPrintable(QStringLiteral("page %1 lacks %2:\n%3").arg(page).arg(h, text)));
        }
    }

    void paginatedImages()
    {
        const QString package = longPackage();
        QVERIFY(!package.isEmpty());
        QTemporaryDir out;
        Result r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), out.filePath(QStringLiteral("p.png")),
                              QStringLiteral("--dpi"), QStringLiteral("50")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QStringList pngs = QDir(out.path()).entryList({QStringLiteral("p-*.png")}, QDir::Files, QDir::Name);
        QVERIFY(pngs.size() >= 4);
        for (const QString &f : pngs)
            QVERIFY(!QImage(out.filePath(f)).isNull());
        r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), out.filePath(QStringLiteral("p.svg"))});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QStringList svgs = QDir(out.path()).entryList({QStringLiteral("p-*.svg")}, QDir::Files, QDir::Name);
        QCOMPARE(svgs.size(), pngs.size());
        QFile svg(out.filePath(svgs.first()));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("Number 1<"));
        // One page alone, under the name given.
        r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), out.filePath(QStringLiteral("two.png")),
                       QStringLiteral("--page"), QStringLiteral("2"), QStringLiteral("--dpi"), QStringLiteral("50")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(!QImage(out.filePath(QStringLiteral("two.png"))).isNull());
        // One page as SVG: its title names the report's page, not the first.
        r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), out.filePath(QStringLiteral("two.svg")),
                       QStringLiteral("--paginate"), QStringLiteral("--page"), QStringLiteral("2")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QFile two(out.filePath(QStringLiteral("two.svg")));
        QVERIFY(two.open(QIODevice::ReadOnly));
        const QByteArray twoSvg = two.readAll();
        QVERIFY2(twoSvg.contains("<title>KRML ReportGen page 2</title>"), twoSvg.left(400).constData());
        QFile first(out.filePath(svgs.first()));
        QVERIFY(first.open(QIODevice::ReadOnly));
        QVERIFY(first.readAll().contains("<title>KRML ReportGen page 1</title>"));
        r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), out.filePath(QStringLiteral("none.pdf")),
                       QStringLiteral("--page"), QStringLiteral("99")});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("no page 99")));
        QVERIFY(!QFileInfo::exists(out.filePath(QStringLiteral("none.pdf"))));
    }

    // A legacy report: a Jet connection to a Windows path, the Access file
    // beside the package under another letter case.
    void accessDatabaseReport()
    {
        using namespace KRML_ReportGen;
        const QString source = QStringLiteral(KRML_SOURCE_DIR "/../shared/testdata/mdb/northwind-jet4.mdb");
        if (!QFileInfo::exists(source))
            QSKIP("third-party test data not found beside the checkout");
        QTemporaryDir folder;
        QVERIFY(QFile::copy(source, folder.filePath(QStringLiteral("northwind-jet4.mdb"))));
        LayoutPage page;
        const int l = page.createLabel();
        page.Label(l).Tag = QStringLiteral("DATA:Shippers.CompanyName");
        page.Label(l).Top = 1000;
        page.Label(l).Width = 4000;
        page.Label(l).Visible = true;
        const QString path = folder.filePath(QStringLiteral("shippers.lrd"));
        QVERIFY(savePackage(page, QStringLiteral("Shippers"), QStringLiteral("SELECT CompanyName, Phone FROM Shippers ORDER BY ShipperID"),
                            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Data\\NORTHWIND-JET4.MDB;Persist Security Info=False"),
                            path));

        const QString out = folder.filePath(QStringLiteral("shippers.pdf"));
        const Result r = reportgen({QStringLiteral("render"), path, QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils not installed");
        const QString text = pdfText(out);
        QVERIFY2(text.contains(QStringLiteral("Speedy Express")) && text.contains(QStringLiteral("Federal Shipping")), qPrintable(text));
    }

    // A package of one list over the example database (a copy of its own)
    // and the given statements besides.
    QString packageOver(const QString &name, const QString &listSql, const QList<QPair<QString, QString>> &more, float side = 11907)
    {
        using namespace KRML_ReportGen;
        const QString db = m_dir.filePath(name + QStringLiteral(".db"));
        QFile::remove(db);
        if (!QFile::copy(example(QStringLiteral("sales.db")), db))
            return QString();
        LayoutPage page;
        page.setWidth(side);
        page.setHeight(side);
        const int i = page.createLabel();
        page.Label(i).Top = 500;
        page.Label(i).Width = 3000;
        page.Label(i).Height = 300;
        page.Label(i).Tag = QStringLiteral("DATA:List.X");
        page.Label(i).Visible = true;
        const QString path = m_dir.filePath(name + QStringLiteral(".lrd"));
        if (!savePackage(page, QStringLiteral("List"), listSql, QStringLiteral("Provider=SQLite;Data Source=%1.db").arg(name), path, {},
                         1252, more))
            return QString();
        return path;
    }

    int orders(const QString &db)
    {
        KRML_ReportGen::DbConnection c(QStringLiteral("Provider=SQLite;Data Source=") + db);
        c.open();
        return c.openRecordset(QStringLiteral("SELECT COUNT(*) FROM Orders"))->field(0).value.toInt();
    }

    void listNeverChangesTheDatabase()
    {
        // A package whose statements delete and never end: list names the
        // first and reads the second's fields without running it.
        const QString package = packageOver(QStringLiteral("attack"), QStringLiteral("SELECT OrderID AS X FROM Orders"),
                                            {{QStringLiteral("Kill"), QStringLiteral("DELETE FROM Orders")},
                                             {QStringLiteral("Endless"), QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL "
                                                                                        "SELECT x + 1 FROM n) SELECT x FROM n")}});
        QVERIFY(!package.isEmpty());
        const int before = orders(m_dir.filePath(QStringLiteral("attack.db")));
        QVERIFY(before > 0);
        QElapsedTimer clock;
        clock.start();
        const Result r = reportgen({QStringLiteral("list"), package});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("  Kill\n      DELETE FROM Orders\n    fields: (The statement \"DELETE FROM Orders\" would "
                                               "change the database, and reports only read it. A connection string with "
                                               "ReadOnly=False allows changes.)\n")),
                 qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("    fields: x\n")), qPrintable(r.out));
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(orders(m_dir.filePath(QStringLiteral("attack.db"))), before);
        // Rendering a list over a deleting statement fails and deletes nothing.
        const Result rendered = reportgen({QStringLiteral("render"),
                                           packageOver(QStringLiteral("deleting"), QStringLiteral("DELETE FROM Orders"), {}),
                                           QStringLiteral("-o"), m_dir.filePath(QStringLiteral("deleting.pdf"))});
        QCOMPARE(rendered.code, 6);
        QVERIFY2(rendered.err.contains(QStringLiteral("would change the database")), qPrintable(rendered.err));
        QCOMPARE(orders(m_dir.filePath(QStringLiteral("deleting.db"))), before);
    }

    void statementsStopAtTheTimeout()
    {
        const QString package = packageOver(QStringLiteral("endless"),
                                            QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                                                           "SELECT count(*) AS X FROM n"),
                                            {});
        QVERIFY(!package.isEmpty());
        QElapsedTimer clock;
        clock.start();
        const Result r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), m_dir.filePath(QStringLiteral("endless.pdf")),
                                    QStringLiteral("--timeout"), QStringLiteral("2")});
        QCOMPARE(r.code, 6);
        QVERIFY2(r.err.contains(QStringLiteral("was stopped after 2 seconds, the longest a statement may run.")), qPrintable(r.err));
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("endless.pdf"))));
        QCOMPARE(reportgen({QStringLiteral("list"), package, QStringLiteral("--timeout"), QStringLiteral("soon")}).code, 1);
    }

    void rasterPagesHaveALimit()
    {
        // 32767 twips square at 1200 dots per inch would be 2.9 GB of pixels.
        const QString package = packageOver(QStringLiteral("huge"), QStringLiteral("SELECT OrderID AS X FROM Orders"), {}, 32767);
        QVERIFY(!package.isEmpty());
        const Result r = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), m_dir.filePath(QStringLiteral("huge.png")),
                                    QStringLiteral("--dpi"), QStringLiteral("1200")});
        QCOMPARE(r.code, 6);
        QVERIFY2(r.err.contains(QStringLiteral("A page of 27306 x 27306 pixels is more than one picture may hold (200 million "
                                               "pixels); choose a lower resolution.")),
                 qPrintable(r.err));
        const Result small = reportgen({QStringLiteral("render"), package, QStringLiteral("-o"), m_dir.filePath(QStringLiteral("huge.png")),
                                        QStringLiteral("--dpi"), QStringLiteral("300")});
        QVERIFY2(small.code == 0, qPrintable(small.err));
    }

    void listsStatementsFieldsAndParameters()
    {
        const Result r = reportgen({QStringLiteral("list"), example(QStringLiteral("sales-by-region.lrd"))});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("Region(Lookup)")));
        QVERIFY(r.out.contains(QStringLiteral("RegionOrders")));
        QVERIFY(r.out.contains(QStringLiteral("fields: OrderID, OrderDate, Customer, Qty, Total, Paid")));
    }

    void progressLineByLineOutsideATerminal()
    {
        using KRML_ReportGen::ProgressLine;
        QByteArray written;
        ProgressLine file(false, [&](const QByteArray &t) { written += t; });
        file.update(1, 10, 200); // nothing in the first second
        file.update(2, 10, 1000);
        file.update(3, 10, 1500); // at most a line a second
        file.update(5, 10, 2100);
        file.update(10, 10, 2200); // the last one always
        file.finish();
        QCOMPARE(written, QByteArray("reportgen: rendering, 2 of 10 objects\n"
                                     "reportgen: rendering, 5 of 10 objects\n"
                                     "reportgen: rendering, 10 of 10 objects\n"));

        written.clear();
        ProgressLine terminal(true, [&](const QByteArray &t) { written += t; });
        terminal.update(1, 10, 200);
        terminal.update(2, 10, 1000);
        terminal.update(3, 10, 1100);
        terminal.finish();
        QCOMPARE(written, QByteArray("\rreportgen: rendering, 2 of 10 objects\rreportgen: rendering, 3 of 10 objects\n"));

        // The pages drawn after the objects laid out, then the rows an
        // export writes: a new count shows at once; on a terminal a shorter
        // line blanks what the longer one left.
        written.clear();
        ProgressLine counts(false, [&](const QByteArray &t) { written += t; });
        counts.update(10, 10, 1000);
        counts.update(1, 4, 1100, QStringLiteral("pages"));
        counts.update(2, 4, 1200, QStringLiteral("pages"));
        counts.update(500, 900, 1300, QStringLiteral("rows"));
        counts.finish();
        QCOMPARE(written, QByteArray("reportgen: rendering, 10 of 10 objects\n"
                                     "reportgen: rendering, 1 of 4 pages\n"
                                     "reportgen: rendering, 500 of 900 rows\n"));
        written.clear();
        ProgressLine shorter(true, [&](const QByteArray &t) { written += t; });
        shorter.update(10, 10, 1000);
        shorter.update(1, 4, 1100, QStringLiteral("pages"));
        shorter.finish();
        QCOMPARE(written, QByteArray("\rreportgen: rendering, 10 of 10 objects\rreportgen: rendering, 1 of 4 pages    \n"));

        // A quick run shows nothing, not even the line end.
        written.clear();
        ProgressLine quick(true, [&](const QByteArray &t) { written += t; });
        quick.update(1, 1, 10);
        quick.finish();
        QCOMPARE(written, QByteArray());
    }

    void workingFolderInTheUsersDataFolder_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("keepsFiles");
        // reportgen works in a private folder inside it, gone at the end.
        QTest::newRow("reportgen") << QStringLiteral(REPORTGEN) << QStringList{"list", "EXAMPLE"} << "reportgen" << false;
        QTest::newRow("reportdesigner") << QStringLiteral(REPORTDESIGNER) << QStringList{"--state"} << "Report Designer" << true;
    }
    void workingFolderInTheUsersDataFolder()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(QString, folder);
        QFETCH(bool, keepsFiles);
        args.replaceInStrings(QStringLiteral("EXAMPLE"), example(QStringLiteral("customers.lrd")));
        QTemporaryDir data, cwd;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
        const Result r = run(program, args, env, cwd.path());
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString working = data.filePath(folder);
        QVERIFY(QFileInfo(working).isDir());
        if (keepsFiles)
            QVERIFY2(r.out.contains(QStringLiteral("Working folder: ") + working + QLatin1Char('\n')), qPrintable(r.out));
        else
            QCOMPARE(QDir(working).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        // Nothing lands in the current folder.
        QCOMPARE(QDir(cwd.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("manPage");
        QTest::newRow("reportgen") << QStringLiteral(REPORTGEN) << "reportgen" << "reportgen.1";
        QTest::newRow("reportdesigner") << QStringLiteral(REPORTDESIGNER) << "Report Designer" << "reportdesigner.1";
    }
    void helpAndVersion()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        QFETCH(QString, manPage);
        // The control's version: major.minor.revision.
        const QString version = QStringLiteral("%1.%2.%3")
                                    .arg(KRML_REPORTGEN_VERSION_MAJOR)
                                    .arg(KRML_REPORTGEN_VERSION_MINOR)
                                    .arg(KRML_REPORTGEN_VERSION_REVISION);
        // Without a display, as from a terminal on a server.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        for (const QString &option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
            const Result r = run(program, {option}, env);
            QCOMPARE(r.code, 0);
            QCOMPARE(r.out, name + QLatin1Char(' ') + version + QLatin1Char('\n'));
        }
        const Result help = run(program, {QStringLiteral("--help")}, env);
        QCOMPARE(help.code, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("Usage: ")), qPrintable(help.out));

        // The manual page describes every option the program takes.
        QFile file(QStringLiteral(KRML_SOURCE_DIR "/docs/man/") + manPage);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString man = QString::fromUtf8(file.readAll());
        man.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        man.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")));
        QStringList options;
        static const QRegularExpression optionPattern(QStringLiteral("^\\s+((?:-[\\w-]+(?:, )?)+)"),
                                                      QRegularExpression::MultilineOption);
        for (auto it = optionPattern.globalMatch(help.out); it.hasNext();)
            options += it.next().captured(1).split(QStringLiteral(", "), Qt::SkipEmptyParts);
        QVERIFY(options.contains(QStringLiteral("--version")));
        QVERIFY(options.size() >= 4);
        for (const QString &option : options)
            QVERIFY2(man.contains(option), qPrintable(manPage + QStringLiteral(" does not describe ") + option));

        // It is a well-formed page where man is installed.
        const QString manTool = QStandardPaths::findExecutable(QStringLiteral("man"));
        if (!manTool.isEmpty()) {
            QProcessEnvironment manEnv = env;
            manEnv.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
            const Result rendered = run(manTool, {QStringLiteral("--warnings"), QStringLiteral("-l"), QStringLiteral("-Tutf8"),
                                                  file.fileName()},
                                        manEnv);
            QCOMPARE(rendered.code, 0);
            QVERIFY2(rendered.err.isEmpty(), qPrintable(rendered.err));
            // Bold and underlined text come as overstrikes (X backspace X).
            QString text = rendered.out;
            text.remove(QRegularExpression(QStringLiteral(".\\x{0008}")));
            QVERIFY2(text.contains(QStringLiteral("SYNOPSIS")), qPrintable(text));
        }
    }

    void passwordsAreNotPrinted_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("secret");
        QTest::addColumn<QString>("hidden");
        QTest::newRow("failing connection") << QStringList{"render", "EXAMPLE", "-o", "OUT.pdf", "--connection",
                                                           "Provider=SQLite;Data Source=/no/such.db;Password=TopSecret1"}
                                            << "TopSecret1" << "Password=***";
        QTest::newRow("server refusing, quoted") << QStringList{"list", "EXAMPLE", "--connection",
                                                                "Provider=PostgreSQL;Host=127.0.0.1;Port=1;User ID=u;PWD='Top;Secret2'"}
                                                 << "Secret2" << "PWD=***";
        QTest::newRow("unknown provider") << QStringList{"render", "EXAMPLE", "-o", "OUT.pdf", "--connection",
                                                         "Provider=Nope;pwd = Secret3;Data Source=x"}
                                          << "Secret3" << "pwd = ***";
    }
    void passwordsAreNotPrinted()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, secret);
        QFETCH(QString, hidden);
        args.replaceInStrings(QStringLiteral("EXAMPLE"), example(QStringLiteral("customers.lrd")));
        args.replaceInStrings(QStringLiteral("OUT"), m_dir.filePath(QStringLiteral("secret-out")));
        const Result r = reportgen(args);
        QVERIFY(r.code != 0 || args.first() == QLatin1String("list"));
        QVERIFY2(!r.err.contains(secret) && !r.out.contains(secret), qPrintable(r.out + r.err));
        QVERIFY2(r.err.contains(hidden) || r.out.contains(hidden), qPrintable(r.out + r.err));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no arguments") << QStringList{} << 1 << "";
        QTest::newRow("unknown command") << QStringList{"draw", "x.lrd"} << 1
                                         << "reportgen: unknown command \"draw\"; the commands are render and list\n\nUsage:";
        QTest::newRow("command without package") << QStringList{"list"} << 1 << "reportgen: list takes one layout package\n\nUsage:";
        QTest::newRow("directory as package") << QStringList{"render", "FOLDER", "-o", "OUT.pdf"} << 2
                                              << "is a directory, not a layout package";
        QTest::newRow("no output") << QStringList{"render", "EXAMPLE"} << 1 << "needs an output file";
        QTest::newRow("wrong output type") << QStringList{"render", "EXAMPLE", "-o", "OUT.txt"} << 1 << ".pdf, .png, .svg, .xlsx, .html or .csv";
        QTest::newRow("bad parameter") << QStringList{"render", "EXAMPLE", "-o", "OUT.pdf", "--param", "novalue"} << 1 << "NAME=VALUE";
        QTest::newRow("png compression out of range") << QStringList{"render", "EXAMPLE", "-o", "OUT.png", "--png-compression", "12"} << 1
                                                      << "from 0 to 9";
        QTest::newRow("unknown code page") << QStringList{"render", "EXAMPLE", "-o", "OUT.pdf", "--codepage", "437"} << 1 << "--codepage";
        QTest::newRow("missing file") << QStringList{"render", "MISSING", "-o", "OUT.pdf"} << 2 << "no such file";
        QTest::newRow("not a package") << QStringList{"render", "DATABASE", "-o", "OUT.pdf"} << 3 << "not a valid layout package";
        QTest::newRow("failing connection") << QStringList{"render", "EXAMPLE", "-o", "OUT.pdf", "--connection", "Provider=SQLite;Data Source=/no/such.db"}
                                            << 4 << "Could not find file";
        QTest::newRow("unknown provider") << QStringList{"render", "EXAMPLE", "-o", "OUT.pdf", "--connection", "Provider=Nope;Data Source=x"}
                                          << 4 << "Provider cannot be found";
        QTest::newRow("unwritable output") << QStringList{"render", "EXAMPLE", "-o", "/no/such/folder/out.pdf"} << 6 << "could not be written";
    }
    void errors()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        for (QString &a : args) {
            a.replace(QStringLiteral("EXAMPLE"), example(QStringLiteral("customers.lrd")));
            a.replace(QStringLiteral("MISSING"), m_dir.filePath(QStringLiteral("missing.lrd")));
            a.replace(QStringLiteral("DATABASE"), example(QStringLiteral("sales.db")));
            a.replace(QStringLiteral("OUT"), m_dir.filePath(QStringLiteral("error-out")));
            a.replace(QStringLiteral("FOLDER"), m_dir.path());
        }
        const Result r = reportgen(args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("error-out.pdf"))));
    }
};

QTEST_APPLESS_MAIN(TestReportgen)
#include "tst_reportgen.moc"
