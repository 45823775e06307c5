#include "BitmapFile.h"
#include "LayoutFile.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ReportError.h"
#include "TestData.h"
#include "Windows1252Codec.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

namespace {

QImage testImage(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    for (int x = 0; x < w; ++x)
        img.setPixelColor(x, x % h, QColor(x * 7 % 256, 40, 200));
    return img;
}

int addLabel(LayoutPage &page, const QString &caption, const QString &tag = QString())
{
    const int i = page.createLabel();
    page.Label(i).Caption = caption;
    page.Label(i).Tag = tag;
    page.Label(i).Visible = true;
    return i;
}

// tolerance: per channel, for 16-bit pixels whose 5 and 6 bits widen to 8
// in more than one accepted way.
bool samePixels(const QImage &a, const QImage &b, int tolerance = 0)
{
    if (a.size() != b.size())
        return false;
    const QImage ca = a.convertToFormat(QImage::Format_RGB32), cb = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < ca.height(); ++y)
        for (int x = 0; x < ca.width(); ++x)
        {
            const QRgb p = ca.pixel(x, y), q = cb.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance
                || std::abs(qBlue(p) - qBlue(q)) > tolerance)
                return false;
        }
    return true;
}

} // namespace

class TestLayoutFile : public QObject
{
    Q_OBJECT
private slots:
    void exactText()
    {
        LayoutPage page;
        const int i = addLabel(page, QStringLiteral("a=b"), QStringLiteral("DATA:Orders.Total"));
        LayoutLabel &l = page.Label(i);
        l.Font.bold = true;
        l.ForeColor = 0x80000008;
        l.BackColor = 0x00FF00;
        l.Alignment = 2;
        l.BorderStyle = 1;
        page.createPic();
        page.Pic(1).Picture = testImage(4, 4, Qt::red);
        QCOMPARE(LayoutFile::toText(page),
                 QStringLiteral("KRMLLayoutFile\r\n###########\r\nNumberOfLabels=1\r\nNumberOfPictures=1\r\n"
                                "PageHeight=16839.9\r\nPageWidth=11907\r\n"
                                "Label(1).Top=210\r\nLabel(1).Left=1425\r\nLabel(1).Height=870\r\nLabel(1).Width=1485\r\n"
                                "Label(1).Caption=a=b\r\nLabel(1).FontName=MS Sans Serif\r\nLabel(1).FontSize=8.25\r\n"
                                "Label(1).FontBold=True\r\nLabel(1).FontItalic=False\r\nLabel(1).FontUnderline=False\r\n"
                                "Label(1).FontStrikeThru=False\r\nLabel(1).ForeColor=-2147483640\r\nLabel(1).BackColor=65280\r\n"
                                "Label(1).Alignment=2\r\nLabel(1).Border=1\r\nLabel(1).Tag=DATA:Orders.Total\r\n"
                                "Pic(1).Top=705\r\nPic(1).Left=120\r\nPic(1).Height=495\r\nPic(1).Width=1215\r\n"
                                "Pic(1).PictureName=Picture1\r\n"));
    }

    void emptyPageIsSixLines()
    {
        LayoutPage page;
        page.setWidth(10000);
        page.setHeight(12000.5f);
        const QString text = LayoutFile::toText(page);
        QCOMPARE(text.count(QStringLiteral("\r\n")), 6);
        LayoutPage back;
        LayoutFile::read(Windows1252Codec::encode(text), back, [](const QString &) { return QByteArray(); });
        QCOMPARE(back.Width(), 10000.0f);
        QCOMPARE(back.Height(), 12000.0f); // rounded to 16 bits, halves to even
        QCOMPARE(back.labelCount(), 0);
    }

    void roundTrip()
    {
        LayoutPage page;
        page.setWidth(16839.9f);
        page.setHeight(11907);
        addLabel(page, QStringLiteral("Sales by region"));
        const int data = addLabel(page, QStringLiteral("Orders.Total"), QStringLiteral("DATA:Orders.Total"));
        const int formula = addLabel(page, QStringLiteral("{Orders.Total}/2"), QStringLiteral("FORMULA:{Orders.Total}/2"));
        const int text = addLabel(page, QStringLiteral("Café — €5, Straße"));
        const int empty = addLabel(page, QString());
        page.Label(data).Font = FontDescription{QStringLiteral("Arial"), 8.25f, true, true, true, true};
        page.Label(data).ForeColor = 0x80000012;
        page.Label(data).BackColor = 0xC0C0C0;
        page.Label(formula).Top = 1234.5f;
        page.Label(formula).Left = -15.25f;
        page.Label(formula).Alignment = 1;
        page.Label(text).Font.name = QStringLiteral("Times New Roman");
        page.Label(text).Font.size = 12.75f;
        for (int i = 0; i < 2; ++i) {
            const int p = page.createPic();
            page.Pic(p).Top = 3000 + i * 1000;
            page.Pic(p).Left = 500.5f;
            page.Pic(p).Width = 2000;
            page.Pic(p).Height = 1500;
            page.Pic(p).Picture = testImage(30 + i, 20, i ? Qt::blue : Qt::yellow);
            page.Pic(p).Tag = QStringLiteral("/home/user/logo.png");
            page.Pic(p).Visible = true;
        }

        QTemporaryDir dir;
        LocalFileService files;
        LayoutFile::WriteLayoutFile(files, dir.path(), page);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"Layout.krml", "Picture1.bmp", "Picture2.bmp"}));
        // The file is Windows-1252.
        QVERIFY(files.readBytes(dir.filePath(QStringLiteral("Layout.krml"))).contains("Caf\xE9 \x97 \x80" "5, Stra\xDF" "e\r\n"));

        LayoutPage back;
        LayoutFile::ReadLayoutFile(files, dir.path(), back);
        QCOMPARE(back.Width(), 16840.0f);
        QCOMPARE(back.Height(), 11907.0f);
        QCOMPARE(back.labelCount(), 5);
        for (int i = 1; i <= 5; ++i)
            QVERIFY2(back.Label(i) == page.Label(i), qPrintable(QString::number(i)));
        QCOMPARE(back.Label(empty).Caption, QString());
        QCOMPARE(back.picCount(), 2);
        for (int i = 1; i <= 2; ++i) {
            QCOMPARE(back.Pic(i).Top, page.Pic(i).Top);
            QCOMPARE(back.Pic(i).Left, page.Pic(i).Left);
            QCOMPARE(back.Pic(i).Width, page.Pic(i).Width);
            QCOMPARE(back.Pic(i).Height, page.Pic(i).Height);
            QVERIFY(samePixels(back.Pic(i).Picture, page.Pic(i).Picture));
            QVERIFY(back.Pic(i).Tag.isEmpty()); // the chosen file is not kept
            QVERIFY(back.Pic(i).Visible);
        }
    }

    void numbersIgnoreTheLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        LayoutPage page;
        addLabel(page, QStringLiteral("x"));
        page.Label(1).Font.size = 8.25f;
        const QString text = LayoutFile::toText(page);
        QLocale::setDefault(saved);
        QVERIFY(text.contains(QStringLiteral("FontSize=8.25\r\n")));
        // A comma written by a German machine reads too.
        QString german = text;
        german.replace(QStringLiteral("FontSize=8.25"), QStringLiteral("FontSize=8,25"));
        LayoutPage back;
        LayoutFile::read(Windows1252Codec::encode(german), back, [](const QString &) { return QByteArray(); });
        QCOMPARE(back.Label(1).Font.size, 8.25f);
    }

    void fileWithoutPageSizeLines()
    {
        const QByteArray file = "KRMLLayoutFile\r\n###########\r\nNumberOfLabels=1\r\nNumberOfPictures=0\r\n"
                                "Label(1).Top=100\r\nLabel(1).Left=200\r\nLabel(1).Height=300\r\nLabel(1).Width=400\r\n"
                                "Label(1).Caption=Old report\r\nLabel(1).FontName=Arial\r\nLabel(1).FontSize=10\r\n"
                                "Label(1).FontBold=-1\r\nLabel(1).FontItalic=0\r\nLabel(1).FontUnderline=false\r\n"
                                "Label(1).FontStrikeThru=TRUE\r\nLabel(1).ForeColor=255\r\nLabel(1).BackColor=16777215\r\n"
                                "Label(1).Alignment=0\r\nLabel(1).Border=0\r\nLabel(1).Tag=\r\n";
        LayoutPage page;
        page.setWidth(9000);
        page.setHeight(8000);
        LayoutFile::read(file, page, [](const QString &) { return QByteArray(); });
        QCOMPARE(page.Width(), 9000.0f);
        QCOMPARE(page.Height(), 8000.0f);
        QCOMPARE(page.labelCount(), 1);
        const LayoutLabel &l = page.Label(1);
        QCOMPARE(l.Top, 100.0f);
        QCOMPARE(l.Width, 400.0f);
        QCOMPARE(l.Caption, QStringLiteral("Old report"));
        QVERIFY(l.Font.bold);
        QVERIFY(!l.Font.italic);
        QVERIFY(!l.Font.underline);
        QVERIFY(l.Font.strikethru);
        QCOMPARE(l.ForeColor, 255u);
        QVERIFY(l.Visible);
    }

    void anyLineEndOpens_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
    }
    void anyLineEndOpens()
    {
        QFETCH(QByteArray, lineEnd);
        LayoutPage written;
        written.setWidth(10000);
        written.setHeight(12000);
        addLabel(written, QStringLiteral("First"), QStringLiteral("DATA:Orders.Total"));
        addLabel(written, QStringLiteral("Second"));
        QByteArray file = Windows1252Codec::encode(LayoutFile::toText(written));
        file.replace("\r\n", lineEnd);
        LayoutPage page;
        LayoutFile::read(file, page, [](const QString &) { return QByteArray(); });
        QCOMPARE(page.Width(), 10000.0f);
        QCOMPARE(page.Height(), 12000.0f);
        QCOMPARE(page.labelCount(), 2);
        QCOMPARE(page.Label(1).Caption, QStringLiteral("First"));
        QCOMPARE(page.Label(1).Tag, QStringLiteral("DATA:Orders.Total"));
        QCOMPARE(page.Label(2).Caption, QStringLiteral("Second"));
        QCOMPARE(page.Label(2).Tag, QString());
    }

    void getTextAfterEquals_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("reported");
        QTest::newRow("plain") << "Label(1).Top=210" << "210" << false;
        QTest::newRow("further equals kept") << "Label(1).Caption=a=b" << "a=b" << false;
        QTest::newRow("equals last") << "Label(1).Caption=" << "" << false;
        QTest::newRow("no equals") << "Label(1).Caption" << "" << true;
        QTest::newRow("empty line") << "" << "" << true;
    }
    void getTextAfterEquals()
    {
        QFETCH(QString, line);
        QFETCH(QString, value);
        QFETCH(bool, reported);
        QStringList messages;
        QCOMPARE(LayoutFile::GetTextAfterEquals(line, [&](const QString &m) { messages << m; }), value);
        QCOMPARE(!messages.isEmpty(), reported);
        if (reported)
            QVERIFY(messages[0].startsWith(QStringLiteral("Error in GetTextAfterEquals ")));
    }

    void readerFailures_data()
    {
        QTest::addColumn<QString>("replace");
        QTest::addColumn<QString>("with");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("labelsLeft");
        QTest::newRow("truncated") << "TRUNCATE" << "" << 62 << 3;
        QTest::newRow("count not a number") << "NumberOfLabels=3" << "NumberOfLabels=three" << 13 << 0;
        QTest::newRow("count beyond 16 bits") << "NumberOfLabels=3" << "NumberOfLabels=40000" << 6 << 0;
        QTest::newRow("page size beyond 16 bits") << "PageHeight=16839.9" << "PageHeight=99999" << 6 << 0;
        QTest::newRow("top not a number") << "Label(2).Top=210" << "Label(2).Top=high" << 13 << 2;
        QTest::newRow("empty number") << "Label(2).Left=1425" << "Label(2).Left=" << 13 << 2;
        QTest::newRow("number line without equals") << "Label(2).Left=1425" << "Label(2).Left" << 13 << 2;
        QTest::newRow("bad truth value") << "Label(3).FontBold=False" << "Label(3).FontBold=maybe" << 13 << 3;
        QTest::newRow("bad colour") << "Label(1).BackColor=16777215" << "Label(1).BackColor=white" << 13 << 1;
        QTest::newRow("alignment beyond 16 bits") << "Label(1).Alignment=0" << "Label(1).Alignment=70000" << 6 << 1;
        QTest::newRow("missing bitmap") << "Pic(1).PictureName=Picture1" << "Pic(1).PictureName=Nowhere" << 53 << 3;
        QTest::newRow("bitmap outside the folder") << "Pic(1).PictureName=Picture1" << "Pic(1).PictureName=../Picture1" << 53 << 3;
    }
    void readerFailures()
    {
        QFETCH(QString, replace);
        QFETCH(QString, with);
        QFETCH(int, number);
        QFETCH(int, labelsLeft);
        LayoutPage page;
        for (int i = 0; i < 3; ++i)
            addLabel(page, QStringLiteral("L%1").arg(i));
        page.createPic();
        page.Pic(1).Picture = testImage(5, 5, Qt::green);
        QTemporaryDir dir;
        LocalFileService files;
        LayoutFile::WriteLayoutFile(files, dir.path(), page);
        const QString path = dir.filePath(QStringLiteral("Layout.krml"));
        QString text = Windows1252Codec::decode(files.readBytes(path));
        if (replace == QLatin1String("TRUNCATE"))
            text = text.left(text.indexOf(QStringLiteral("Label(3).Top")));
        else
            text.replace(replace, with);
        files.writeBytes(path, Windows1252Codec::encode(text));

        LayoutPage back;
        try {
            LayoutFile::ReadLayoutFile(files, dir.path(), back);
            QFAIL("read without error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), number);
        }
        // What was read before the fault stays on the page.
        QCOMPARE(back.labelCount(), labelsLeft);
    }

    void corruptBitmapFails()
    {
        QTemporaryDir dir;
        LocalFileService files;
        LayoutPage page;
        page.createPic();
        page.Pic(1).Picture = testImage(5, 5, Qt::green);
        LayoutFile::WriteLayoutFile(files, dir.path(), page);
        files.writeBytes(dir.filePath(QStringLiteral("Picture1.bmp")), "BM this is not a bitmap at all");
        LayoutPage back;
        try {
            LayoutFile::ReadLayoutFile(files, dir.path(), back);
            QFAIL("read without error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), BitmapFile::InvalidPicture);
        }
    }

    void bmpSuiteGood_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reference");
        QTest::newRow("pal1") << "good/pal1.bmp" << "reference/pal1.png";
        QTest::newRow("pal4") << "good/pal4.bmp" << "reference/pal4.png";
        QTest::newRow("pal4rle") << "good/pal4rle.bmp" << "reference/pal4.png";
        QTest::newRow("pal8") << "good/pal8.bmp" << "reference/pal8.png";
        QTest::newRow("pal8rle") << "good/pal8rle.bmp" << "reference/pal8.png";
        QTest::newRow("pal8topdown") << "good/pal8topdown.bmp" << "reference/pal8.png";
        QTest::newRow("pal8os2") << "good/pal8os2.bmp" << "reference/pal8.png";
        QTest::newRow("rgb16-565") << "good/rgb16-565.bmp" << "reference/rgb16-565.png";
        QTest::newRow("rgb24") << "good/rgb24.bmp" << "reference/rgb24.png";
        QTest::newRow("rgb32") << "good/rgb32.bmp" << "reference/rgb24.png";
    }
    void bmpSuiteGood()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, file);
        QFETCH(QString, reference);
        LocalFileService files;
        const QImage img = BitmapFile::load(files.readBytes(TestData::path(QStringLiteral("bmp/") + file)));
        const QImage ref(TestData::path(QStringLiteral("bmp/") + reference));
        QVERIFY(!ref.isNull());
        const int tolerance = file.contains(QStringLiteral("rgb16")) ? 8 : 0;
        QVERIFY(samePixels(img, ref, tolerance));
        // And what we write reads back the same.
        QVERIFY(samePixels(BitmapFile::load(BitmapFile::save(img)), img));
    }

    void bmpSuiteOddAndBad_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("mustFail");
        QTest::newRow("pal4rlecut") << "questionable/pal4rlecut.bmp" << false;
        QTest::newRow("pal8rletrns") << "questionable/pal8rletrns.bmp" << false;
        QTest::newRow("rgba32-1") << "questionable/rgba32-1.bmp" << false;
        QTest::newRow("badbitcount") << "bad/badbitcount.bmp" << true;
        QTest::newRow("badheadersize") << "bad/badheadersize.bmp" << true;
        QTest::newRow("badrle") << "bad/badrle.bmp" << false;
        QTest::newRow("reallybig") << "bad/reallybig.bmp" << true;
        QTest::newRow("rletopdown") << "bad/rletopdown.bmp" << true;
        QTest::newRow("shortfile") << "bad/shortfile.bmp" << true;
    }
    void bmpSuiteOddAndBad()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, file);
        QFETCH(bool, mustFail);
        LocalFileService files;
        const QByteArray bytes = files.readBytes(TestData::path(QStringLiteral("bmp/") + file));
        bool failed = false;
        try {
            const QImage img = BitmapFile::load(bytes);
            QVERIFY(!img.isNull());
        } catch (const ReportError &e) {
            failed = true;
            QCOMPARE(e.number(), BitmapFile::InvalidPicture);
            QVERIFY(e.description().startsWith(QStringLiteral("Invalid picture")));
        }
        if (mustFail)
            QVERIFY(failed);
        // Every truncation of the file either loads or fails cleanly.
        for (int n = 0; n < bytes.size(); n += 97)
            try {
                BitmapFile::load(bytes.left(n));
            } catch (const ReportError &) {
            }
    }
};

QTEST_MAIN(TestLayoutFile)
#include "tst_layoutfile.moc"
