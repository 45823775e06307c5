// The command-line renderer as a user runs it: real packages, a real
// database, real PDF and PNG files, and its exit codes.

#include <QImage>
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

    Result run(const QString &program, const QStringList &args)
    {
        QProcess p;
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

    void listsStatementsFieldsAndParameters()
    {
        const Result r = reportgen({QStringLiteral("list"), example(QStringLiteral("sales-by-region.lrd"))});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("Region(Lookup)")));
        QVERIFY(r.out.contains(QStringLiteral("RegionOrders")));
        QVERIFY(r.out.contains(QStringLiteral("fields: OrderID, OrderDate, Customer, Qty, Total, Paid")));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no arguments") << QStringList{} << 1 << "";
        QTest::newRow("unknown command") << QStringList{"draw", "x.lrd"} << 1 << "";
        QTest::newRow("no output") << QStringList{"render", "EXAMPLE"} << 1 << "needs an output file";
        QTest::newRow("wrong output type") << QStringList{"render", "EXAMPLE", "-o", "OUT.txt"} << 1 << ".pdf or .png";
        QTest::newRow("bad parameter") << QStringList{"render", "EXAMPLE", "-o", "OUT.pdf", "--param", "novalue"} << 1 << "NAME=VALUE";
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
        }
        const Result r = reportgen(args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("error-out.pdf"))));
    }
};

QTEST_APPLESS_MAIN(TestReportgen)
#include "tst_reportgen.moc"
