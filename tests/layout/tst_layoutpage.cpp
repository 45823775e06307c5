#include "DrawingLayer.h"
#include "GridBuilder.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "PictureScaling.h"
#include "SizerGeometry.h"
#include "ReportError.h"

#include <QSignalSpy>
#include <QtTest>

using namespace KRML_ReportGen;

class TestLayoutPage : public QObject
{
    Q_OBJECT
private slots:
    void newPageHoldsOnlyTemplates()
    {
        LayoutPage page;
        QCOMPARE(page.labelCount(), 0);
        QCOMPARE(page.picCount(), 0);
        QCOMPARE(page.Width(), 11907.0f);
        QCOMPARE(page.Height(), 16839.9f);
        QVERIFY(!page.Label(0).Visible);
        QVERIFY_THROWS_EXCEPTION(ReportError, page.Label(1));
    }

    void newObjectsCopyTheTemplate()
    {
        LayoutPage page;
        const int i = page.createLabel();
        QCOMPARE(i, 1);
        const LayoutLabel &l = page.Label(i);
        QCOMPARE(l.Caption, QStringLiteral("Label1"));
        QCOMPARE(l.Left, 1425.0f);
        QCOMPARE(l.Top, 210.0f);
        QCOMPARE(l.Width, 1485.0f);
        QCOMPARE(l.Height, 870.0f);
        QCOMPARE(l.BackColor, 0xFFFFFFu);
        QCOMPARE(l.ForeColor, 0x80000008u);
        QCOMPARE(l.Font.name, QStringLiteral("MS Sans Serif"));
        QCOMPARE(l.Font.size, 8.25f);
        QVERIFY(l.Tag.isEmpty());
        QVERIFY(!l.Visible); // the caller shows it

        const int p = page.createPic();
        QCOMPARE(p, 1);
        QCOMPARE(page.Pic(p).Left, 120.0f);
        QCOMPARE(page.Pic(p).Top, 705.0f);
        QCOMPARE(page.Pic(p).Width, 1215.0f);
        QCOMPARE(page.Pic(p).Height, 495.0f);
        QVERIFY(page.Pic(p).Picture.isNull());
    }

    void templateChangesReachNewObjectsOnly()
    {
        LayoutPage page;
        page.createLabel();
        page.Label(0).Font.name = QStringLiteral("Arial");
        page.createLabel();
        QCOMPARE(page.Label(1).Font.name, QStringLiteral("MS Sans Serif"));
        QCOMPARE(page.Label(2).Font.name, QStringLiteral("Arial"));
    }

    void indicesStayContiguous()
    {
        LayoutPage page;
        QSignalSpy added(&page, &LayoutPage::labelAdded);
        QCOMPARE(page.createLabel(), 1);
        QCOMPARE(page.createLabel(), 2);
        QCOMPARE(page.createLabel(), 3);
        QCOMPARE(page.createPic(), 1);
        QCOMPARE(page.labelCount(), 3);
        QCOMPARE(page.picCount(), 1);
        QCOMPARE(added.count(), 3);
        QCOMPARE(added.at(2).at(0).toInt(), 3);

        QSignalSpy cleared(&page, &LayoutPage::cleared);
        page.Label(0).Caption = QStringLiteral("template kept");
        page.removeAll();
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(page.labelCount(), 0);
        QCOMPARE(page.picCount(), 0);
        QCOMPARE(page.Label(0).Caption, QStringLiteral("template kept"));
        QCOMPARE(page.createLabel(), 1); // numbering starts again at 1
    }

    void atMost32767Objects()
    {
        LayoutPage page;
        for (int i = 1; i <= LayoutPage::MaxObjects; ++i)
            page.createPic();
        QCOMPARE(page.picCount(), 32767);
        try {
            page.createPic();
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 6);
        }
        QCOMPARE(page.picCount(), 32767);
    }

    void tags_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::newRow("data field") << "DATA:Orders.Total" << int(LabelTag::Kind::DataField) << "Orders" << "Total" << "Orders.Total";
        QTest::newRow("split at last dot") << "DATA:Orders.Customer.Name" << int(LabelTag::Kind::DataField)
                                           << "Orders.Customer" << "Name" << "Orders.Customer.Name";
        QTest::newRow("formula") << "FORMULA:{Orders.Total}/2" << int(LabelTag::Kind::Formula) << "" << "" << "";
        QTest::newRow("data wins over formula") << "FORMULA:DATA" << int(LabelTag::Kind::DataField) << "" << "" << "";
        QTest::newRow("empty is fixed text") << "" << int(LabelTag::Kind::FixedText) << "" << "" << "";
        QTest::newRow("lower case is fixed text to the generator") << "data:Orders.Total" << int(LabelTag::Kind::FixedText)
                                                                   << "" << "" << "";
    }
    void tags()
    {
        QFETCH(QString, tag);
        QFETCH(int, kind);
        QFETCH(QString, statement);
        QFETCH(QString, field);
        QFETCH(QString, caption);
        QCOMPARE(int(LabelTag::kindOf(tag)), kind);
        if (kind == int(LabelTag::Kind::DataField) && !statement.isEmpty()) {
            QCOMPARE(LabelTag::statementName(tag), statement);
            QCOMPARE(LabelTag::fieldName(tag), field);
            QCOMPARE(LabelTag::dataCaption(tag), caption);
            QCOMPARE(LabelTag::dataTag(statement, field), tag);
        }
    }

    void tagPrefixesTakenByPosition()
    {
        QCOMPARE(LabelTag::formulaText(QStringLiteral("FORMULA:{a.b}/{a.c}")), QStringLiteral("{a.b}/{a.c}"));
        QCOMPARE(LabelTag::formulaTag(QStringLiteral("x")), QStringLiteral("FORMULA:x"));
        // The designer's search ignores case.
        QVERIFY(LabelTag::isDataFieldForDesigner(QStringLiteral("data:x.y")));
        QVERIFY(!LabelTag::isDataFieldForDesigner(QStringLiteral("FORMULA:x")));
        QCOMPARE(LabelTag::statementName(QStringLiteral("DATA:nodot")), QString());
    }

    void gridStep_data()
    {
        QTest::addColumn<int>("gridSize");
        QTest::addColumn<int>("step");
        QTest::newRow("default 2 mm") << 2 << 113;
        QTest::newRow("1 mm") << 1 << 57; // 56.7
        QTest::newRow("5 mm") << 5 << 284; // 283.5 to even
        QTest::newRow("off") << 0 << 0;
        QTest::newRow("negative") << -1 << -57;
    }
    void gridStep()
    {
        QFETCH(int, gridSize);
        QFETCH(int, step);
        QCOMPARE(int(GridBuilder::stepFor(qint16(gridSize))), step);
    }

    void defaultGrid()
    {
        DrawingLayer layer;
        GridBuilder::draw(layer, 113, 11907, 16839.9f);
        const auto &s = layer.strokes();
        // x = 0, 113, ... <= 11907: 106 lines; y <= 16840: 150 lines.
        QCOMPARE(s.size(), 106 + 150);
        QCOMPARE(s[0], (DrawingLayer::Stroke{DrawingLayer::Style::Line, 0, 0, 0, 16839.9f, GridBuilder::Dark}));
        QCOMPARE(s[1].color, GridBuilder::Light);
        QCOMPARE(s[5].color, GridBuilder::Silver); // 565
        QCOMPARE(s[10].x1, 1130.0f);
        QCOMPARE(s[10].color, GridBuilder::Dark);
        // The horizontal lines come after the vertical ones and span the page.
        QCOMPARE(s[106], (DrawingLayer::Stroke{DrawingLayer::Style::Line, 0, 0, 11907, 0, GridBuilder::Dark}));
        QCOMPARE(s.last().y1, 149.0f * 113);
    }

    void gridOffClearsTheLayer()
    {
        DrawingLayer layer;
        layer.box(0, 0, 10, 10, 0, true);
        GridBuilder::draw(layer, 0, 11907, 16839.9f);
        QVERIFY(layer.isEmpty());
    }

    void pictureFit_data()
    {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<double>("drawnW");
        QTest::addColumn<double>("drawnH");
        QTest::addColumn<double>("factor");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        // All into an area of 1000 x 1000 twips.
        QTest::newRow("fits: natural size, centred") << 100.0 << 50.0 << 100.0 << 50.0 << 1.0 << 450.0 << 475.0;
        QTest::newRow("too wide") << 2000.0 << 1000.0 << 1000.0 << 500.0 << 2.0 << 0.0 << 250.0;
        QTest::newRow("too high") << 1000.0 << 2000.0 << 500.0 << 1000.0 << 2.0 << 250.0 << 0.0;
        QTest::newRow("too large both ways alike") << 2000.0 << 2000.0 << 1000.0 << 1000.0 << 2.0 << 0.0 << 0.0;
        QTest::newRow("exactly the area") << 1000.0 << 1000.0 << 1000.0 << 1000.0 << 1.0 << 0.0 << 0.0;
        QTest::newRow("never enlarged") << 10.0 << 990.0 << 10.0 << 990.0 << 1.0 << 495.0 << 5.0;
    }
    void pictureFit()
    {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(double, drawnW);
        QFETCH(double, drawnH);
        QFETCH(double, factor);
        QFETCH(double, x);
        QFETCH(double, y);
        const auto f = PictureScaling::fit(w, h, 1000, 1000);
        QCOMPARE(f.width, drawnW);
        QCOMPARE(f.height, drawnH);
        QCOMPARE(f.factor, factor);
        const auto c = PictureScaling::centre(f.width, f.height, 1000, 1000);
        QCOMPARE(c.x, x);
        QCOMPARE(c.y, y);
    }

    void pictureAreaAndUnits()
    {
        QCOMPARE(PictureScaling::areaOf(1215), 1155.0); // 4 pixels of 15 twips
        QCOMPARE(PictureScaling::himetricToTwips(2540), 1440.0);
        QVERIFY_THROWS_EXCEPTION(ReportError, PictureScaling::fit(100, 100, 0, 1000));
        QVERIFY_THROWS_EXCEPTION(ReportError, PictureScaling::fit(100, 0, 1000, 1000));
    }

    void sizerBinding()
    {
        using R = SizerGeometry::Rect;
        const R frame = SizerGeometry::bind(R{1000, 500, 1485, 870});
        QCOMPARE(frame, (R{900, 400, 1685, 1070}));
        QCOMPARE(SizerGeometry::grip(7, frame.width, frame.height), (R{1585, 970, 100, 100}));
        QCOMPARE(SizerGeometry::grip(1, frame.width, frame.height), (R{792.5, 0, 100, 100}));
        QCOMPARE(SizerGeometry::grip(3, frame.width, frame.height), (R{0, 485, 100, 100}));
        QCOMPARE(SizerGeometry::interior(frame), (R{1000, 500, 1485, 870}));
        QCOMPARE(SizerGeometry::gripAt(1600, 1000, frame.width, frame.height), 7);
        QCOMPARE(SizerGeometry::gripAt(800, 500, frame.width, frame.height), -1);
        QCOMPARE(SizerGeometry::pointerShape(0), PointerShape::SizeNWSE);
        QCOMPARE(SizerGeometry::pointerShape(4), PointerShape::SizeWE);
    }

    void sizerDrags_data()
    {
        QTest::addColumn<int>("grip");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QRectF>("expected");
        // The frame of the bound label above: 900, 400, 1685 x 1070.
        QTest::newRow("top left") << 0 << 50.0 << 30.0 << QRectF(950, 430, 1635, 1040);
        QTest::newRow("top centre") << 1 << 50.0 << -40.0 << QRectF(900, 360, 1685, 1110);
        QTest::newRow("top right") << 2 << 50.0 << 30.0 << QRectF(900, 430, 1735, 1040);
        QTest::newRow("middle left") << 3 << -60.0 << 30.0 << QRectF(840, 400, 1745, 1070);
        QTest::newRow("middle right") << 4 << 60.0 << 30.0 << QRectF(900, 400, 1745, 1070);
        QTest::newRow("bottom left") << 5 << 60.0 << 30.0 << QRectF(960, 400, 1625, 1100);
        QTest::newRow("bottom centre") << 6 << 60.0 << 30.0 << QRectF(900, 400, 1685, 1100);
        QTest::newRow("bottom right") << 7 << 60.0 << 30.0 << QRectF(900, 400, 1745, 1100);
    }
    void sizerDrags()
    {
        QFETCH(int, grip);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QRectF, expected);
        const auto f = SizerGeometry::dragGrip(SizerGeometry::Rect{900, 400, 1685, 1070}, grip, x, y);
        QCOMPARE(QRectF(f.left, f.top, f.width, f.height), expected);
    }

    void sizerGetsStuck()
    {
        using R = SizerGeometry::Rect;
        R f{900, 400, 1685, 1070};
        f = SizerGeometry::dragGrip(f, 4, -1490, 0); // 195 wide: stuck
        QCOMPARE(f.width, 195.0);
        QCOMPARE(SizerGeometry::dragGrip(f, 4, 500, 0), f);
        QVERIFY(!SizerGeometry::laysOut(R{0, 0, 200, 500}));
        QVERIFY(SizerGeometry::laysOut(R{0, 0, 201, 201}));
        // Releasing fits the object into the interior.
        QCOMPARE(SizerGeometry::release(R{900, 400, 1745, 1100}), (R{1000, 500, 1545, 900}));
    }

    void gridOverflowRules()
    {
        DrawingLayer layer;
        // Wider than a 16-bit bound: not a single line.
        QVERIFY_THROWS_EXCEPTION(ReportError, GridBuilder::draw(layer, 113, 40000, 16839.9f));
        QVERIFY(layer.isEmpty());

        // Within one step below 32767: the verticals are drawn, then the
        // counter overflows before any horizontal line.
        try {
            GridBuilder::draw(layer, 113, 32700, 16839.9f);
            QFAIL("no overflow");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 6);
        }
        QCOMPARE(layer.strokes().size(), 290); // 0 .. 32657
        for (const auto &s : layer.strokes())
            QCOMPARE(s.x1, s.x2);

        // A step whose tenfold product passes 16 bits fails at the first colour.
        layer.clear();
        QVERIFY_THROWS_EXCEPTION(ReportError, GridBuilder::draw(layer, 3300, 11907, 16839.9f));
        QVERIFY(layer.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestLayoutPage)
#include "tst_layoutpage.moc"
