#include "FontMapper.h"
#include "ImageSurface.h"
#include "PdfSurface.h"
#include "PngPageWriter.h"
#include "ReportError.h"
#include "VbColor.h"

#include <QFontInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

namespace {

// The box around every non-white pixel, in pixels.
QRect inkBox(const QImage &img)
{
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

FontDescription arial(float size)
{
    FontDescription f;
    f.name = QStringLiteral("Arial");
    f.size = size;
    return f;
}

} // namespace

class TestSurfaces : public QObject
{
    Q_OBJECT
private slots:
    void rasterPagesHaveALimit_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<bool>("refused");
        QTest::newRow("A4 at 300 dpi") << 16840.0 << 300.0 << false;
        QTest::newRow("the largest page at 1200 dpi") << 32767.0 << 1200.0 << true;
        QTest::newRow("beyond any int") << 1e12 << 1200.0 << true;
    }
    void rasterPagesHaveALimit()
    {
        QFETCH(double, twips);
        QFETCH(double, dpi);
        QFETCH(bool, refused);
        // Only the size is checked here: the small page is grown to it.
        ImageSurface surface(100, 100, dpi);
        try {
            surface.setWidth(twips);
            surface.setHeight(twips);
            QVERIFY(!refused);
        } catch (const KRML_ReportGen::ReportError &e) {
            QVERIFY(refused);
            QCOMPARE(e.number(), 7);
            QVERIFY2(e.description().endsWith(QStringLiteral("is more than one picture may hold (200 million pixels); choose a "
                                                             "lower resolution.")),
                     qPrintable(e.description()));
        }
    }

    void legacyFontsMapToMetricCompatibleOnes_data()
    {
        QTest::addColumn<QString>("legacy");
        QTest::addColumn<QString>("family");
        QTest::newRow("Arial") << "Arial" << "Liberation Sans";
        QTest::newRow("Times New Roman") << "Times New Roman" << "Liberation Serif";
        QTest::newRow("Courier New") << "Courier New" << "Liberation Mono";
        QTest::newRow("MS Sans Serif") << "MS Sans Serif" << "Liberation Sans";
        QTest::newRow("any case") << "aRIAL" << "Liberation Sans";
        QTest::newRow("unknown font") << "No Such Typeface 123" << "Liberation Sans";
    }
    void legacyFontsMapToMetricCompatibleOnes()
    {
        QFETCH(QString, legacy);
        QFETCH(QString, family);
        QCOMPARE(FontMapper::family(legacy), family);
        FontDescription f;
        f.name = legacy;
        // The mapped font is really installed (fonts-liberation).
        QCOMPARE(QFontInfo(FontMapper::toQFont(f)).family(), family);
    }

    void sizesInTwips()
    {
        QCOMPARE(FontMapper::twipsForPoints(8.25), 165);
        QCOMPARE(FontMapper::twipsForPoints(12), 240);
        QCOMPARE(FontMapper::toQFont(arial(10)).pixelSize(), 200);
    }

    void printAdvancesOneLine()
    {
        ImageSurface s(5000, 5000);
        s.setFont(arial(12));
        const double lineHeight = s.TextHeight(QStringLiteral("X"));
        QVERIFY(lineHeight > 240 && lineHeight < 320); // 12 pt with the font's ascent and descent
        s.setCurrentX(700);
        s.setCurrentY(1000);
        s.Print(QStringLiteral("first"));
        QCOMPARE(s.CurrentX(), 0.0);
        QCOMPARE(s.CurrentY(), 1000 + lineHeight);
        s.Print(QString()); // an empty value still takes its line
        QCOMPARE(s.CurrentY(), 1000 + 2 * lineHeight);
        // Far below the surface nothing is drawn, but the position moves on.
        s.setCurrentY(1e7);
        s.Print(QStringLiteral("invisible"));
        QCOMPARE(s.CurrentY(), 1e7 + lineHeight);
    }

    void metricsAreTheSameOnEveryDevice()
    {
        QTemporaryDir dir;
        ImageSurface screen(11907, 16840, 96);
        ImageSurface fine(11907, 16840, 300);
        PdfSurface pdf(dir.filePath(QStringLiteral("m.pdf")));
        const QString text = QStringLiteral("Total sales by region, 2024");
        for (DrawingSurface *s : std::initializer_list<DrawingSurface *>{&screen, &fine, &pdf})
            s->setFont(arial(8.25f));
        const double w = screen.TextWidth(text);
        QVERIFY(w > 1000);
        QCOMPARE(fine.TextWidth(text), w);
        QCOMPARE(pdf.TextWidth(text), w);
        QCOMPARE(fine.TextHeight(), screen.TextHeight());
        // Twice the size, twice the width (no hinting to the pixel grid).
        screen.setFont(arial(16.5f));
        QVERIFY(std::abs(screen.TextWidth(text) / w - 2.0) < 0.02);
        QCOMPARE(screen.TextWidth(QString()), 0.0);
    }

    void textLandsAtTheSameTwipsAtAnyResolution()
    {
        QRectF boxes[2];
        const double dpis[2] = {96, 288};
        for (int i = 0; i < 2; ++i) {
            ImageSurface s(6000, 3000, dpis[i]);
            s.setFont(arial(12));
            s.setForeColor(0);
            s.setCurrentX(1440);
            s.setCurrentY(1440);
            s.Print(QStringLiteral("HHHH"));
            const QRect ink = inkBox(s.image());
            QVERIFY(!ink.isNull());
            const double toTwips = 1440.0 / dpis[i];
            boxes[i] = QRectF(ink.left() * toTwips, ink.top() * toTwips, ink.width() * toTwips, ink.height() * toTwips);
        }
        // Within a pixel of the coarser device.
        QVERIFY2(std::abs(boxes[0].left() - boxes[1].left()) <= 15, qPrintable(QStringLiteral("%1 %2").arg(boxes[0].left()).arg(boxes[1].left())));
        QVERIFY(std::abs(boxes[0].top() - boxes[1].top()) <= 15);
        QVERIFY(std::abs(boxes[0].width() - boxes[1].width()) <= 30);
        // The text starts at CurrentX and its capitals sit below CurrentY.
        QVERIFY(boxes[1].left() >= 1440 && boxes[1].left() < 1440 + 60);
        QVERIFY(boxes[1].top() > 1440 && boxes[1].top() < 1440 + 120);
    }

    void boxesAndLines()
    {
        ImageSurface s(1440, 1440, 96); // 96 x 96 pixels
        QCOMPARE(s.image().size(), QSize(96, 96));
        s.Line(150, 150, 750, 750, VbColor::rgb(255, 0, 0), DrawingSurface::LineStyle::FilledBox);
        QCOMPARE(QColor(s.image().pixel(30, 30)), QColor(255, 0, 0));
        s.Line(900, 150, 1350, 600, 0, DrawingSurface::LineStyle::Box);
        QCOMPARE(QColor(s.image().pixel(60, 20)), QColor(0, 0, 0)); // on the outline
        QCOMPARE(QColor(s.image().pixel(75, 25)), QColor(Qt::white)); // inside stays white
        s.Line(0, 1200, 1440, 1200, VbColor::rgb(0, 0, 255));
        QCOMPARE(QColor(s.image().pixel(48, 80)), QColor(0, 0, 255));
        // System colours resolve to the scheme's colour.
        s.Line(0, 1350, 1440, 1350, VbColor::WindowText);
        QCOMPARE(QColor(s.image().pixel(48, 90)), QColor(0, 0, 0));

        s.setCurrentX(10);
        s.setCurrentY(20);
        s.Cls();
        QCOMPARE(s.CurrentX(), 0.0);
        QCOMPARE(s.CurrentY(), 0.0);
        QVERIFY(inkBox(s.image()).isNull());
    }

    void sizingReallocates()
    {
        ImageSurface s(100, 100, 96);
        s.setWidth(11907);
        s.setHeight(16839.9);
        QCOMPARE(s.Width(), 11907.0);
        QCOMPARE(s.image().size(), QSize(794, 1123)); // ceil(11907/15), ceil(16839.9/15)
    }

    void picturesAtNaturalSize()
    {
        QImage pic(100, 50, QImage::Format_RGB32);
        pic.fill(QColor(0, 128, 0));
        pic.setDotsPerMeterX(qRound(96 / 0.0254));
        pic.setDotsPerMeterY(qRound(96 / 0.0254));
        QCOMPARE(PainterSurface::naturalSize(pic), QSizeF(1500, 750));
        QImage hires = pic;
        hires.setDotsPerMeterX(qRound(192 / 0.0254));
        hires.setDotsPerMeterY(qRound(192 / 0.0254));
        QVERIFY(std::abs(PainterSurface::naturalSize(hires).width() - 750) < 1);

        ImageSurface s(3000, 3000, 96);
        s.PaintPicture(pic, 150, 300); // pixel (10, 20)
        QCOMPARE(inkBox(s.image()), QRect(10, 20, 100, 50));
    }

    void pdfAppearsOnlyWhenEnded()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("report.pdf"));
        {
            PdfSurface pdf(file, 11907, 16839.9);
            pdf.setFont(arial(12));
            pdf.setCurrentX(1440);
            pdf.setCurrentY(1440);
            pdf.Print(QStringLiteral("Quarterly Report Ünïcödé €"));
            QVERIFY(!QFileInfo::exists(file));
            pdf.EndDoc();
        }
        QVERIFY(QFileInfo(file).size() > 0);

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdftotext.isEmpty() || pdfinfo.isEmpty())
            QSKIP("poppler-utils not installed");
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), file, QStringLiteral("-")});
        QVERIFY(p.waitForFinished());
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("Quarterly Report Ünïcödé €")));
        p.start(pdfinfo, {file});
        QVERIFY(p.waitForFinished());
        const QString info = QString::fromUtf8(p.readAllStandardOutput());
        // 11907 x 16839.9 twips is A4 (595.35 x 841.995 points; PDF pages
        // are whole points).
        QVERIFY2(info.contains(QStringLiteral("595 x 842")), qPrintable(info));
    }

    void abandonedPdfLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("abandoned.pdf"));
        {
            PdfSurface pdf(file);
            pdf.Print(QStringLiteral("half a report"));
        }
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void fontsSwitchBackAndForth()
    {
        // Each font is made once per surface; switching back gives the same metrics.
        ImageSurface s(2000, 2000, 96);
        FontDescription small;
        small.name = QStringLiteral("Arial");
        small.size = 9;
        FontDescription big = small;
        big.size = 18;
        big.bold = true;
        s.setFont(small);
        const double h9 = s.TextHeight();
        const double w9 = s.TextWidth(QStringLiteral("Total"));
        s.setFont(big);
        QVERIFY(s.TextHeight() > h9 * 1.5);
        s.setFont(small);
        QCOMPARE(s.TextHeight(), h9);
        QCOMPARE(s.TextWidth(QStringLiteral("Total")), w9);
    }

    void pagesCycleThroughFewBuffers()
    {
        // Pages kept by a sink (an encoder still at work) are not drawn over;
        // once let go, their buffers serve later pages.
        ImageSurface s(1440, 1440, 96);
        QList<QImage> kept;
        s.setPageSink([&](const QImage &page, int) {
            kept.append(page);
            if (kept.size() > 2)
                kept.removeFirst();
        });
        QList<const uchar *> buffers;
        for (int page = 1; page <= 12; ++page) {
            s.setCurrentX(0);
            s.setCurrentY(0);
            s.Line(0, 0, 1440, 1440, 0, DrawingSurface::LineStyle::FilledBox);
            s.NewPage();
            const uchar *bits = std::as_const(s.image()).constBits();
            if (!buffers.contains(bits))
                buffers << bits;
        }
        QVERIFY2(buffers.size() <= 4, qPrintable(QString::number(buffers.size())));
        for (const QImage &page : kept)
            QCOMPARE(page.pixel(10, 10), qRgb(0, 0, 0)); // still the finished page
        QCOMPARE(s.image().pixel(10, 10), qRgb(255, 255, 255)); // the new page is blank
    }

    void pngPagesOnAllCores_data()
    {
        QTest::addColumn<int>("threads");
        QTest::newRow("on the caller's thread") << 0;
        QTest::newRow("one encoder") << 1;
        QTest::newRow("as many as cores") << -1;
    }
    void pngPagesOnAllCores()
    {
        QFETCH(int, threads);
        QTemporaryDir dir;
        QStringList names;
        QList<QByteArray> sizes;
        for (int level : {0, 9}) {
            PngPageWriter writer(level, threads);
            for (int page = 1; page <= 6; ++page) {
                QImage image(200, 100, QImage::Format_RGB32);
                image.fill(Qt::white);
                image.setPixel(page, page, qRgb(0, 0, 0));
                const QString name = dir.filePath(QStringLiteral("l%1-p%2.png").arg(level).arg(page));
                writer.write(image, name);
                if (level == 0)
                    names << name;
            }
            const QStringList written = writer.finish();
            if (level == 0)
                QCOMPARE(written, names); // in the order given
            QCOMPARE(written.size(), 6);
            for (int page = 1; page <= 6; ++page) {
                const QImage back(written[page - 1]);
                QCOMPARE(back.pixel(page, page), qRgb(0, 0, 0));
            }
        }
        // Level 0 stores, level 9 packs.
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("l0-p1.png"))).size() > 10 * QFileInfo(dir.filePath(QStringLiteral("l9-p1.png"))).size());
    }

    void pngFailureReachesTheCaller()
    {
        PngPageWriter writer(-1, 2);
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        writer.write(image, QStringLiteral("/no/such/folder/p-1.png"));
        try {
            writer.finish();
            QFAIL("no failure");
        } catch (const ReportError &e) {
            QVERIFY2(e.description().contains(QStringLiteral("/no/such/folder/p-1.png")), qPrintable(e.description()));
        }
    }
};

QTEST_MAIN(TestSurfaces)
#include "tst_surfaces.moc"
