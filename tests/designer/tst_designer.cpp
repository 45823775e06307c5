// The designer without its windows: the sizer's states, the object menu's
// visibility rules, the object commands through scripted prompts (with
// undo and redo), the field drop on a real SQLite database, the picture
// resize rule and the options dialog's checks.

#include "DbConnection.h"
#include "DesignerCommands.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "MetafilePicture.h"
#include "MsgBoxStyle.h"
#include "OptionsModel.h"
#include "PictureLoader.h"
#include "ReportError.h"
#include "Sizer.h"
#include "ScriptedPrompts.h"
#include "SqliteEngine.h"
#include "StatementPalette.h"
#include "TestData.h"
#include "VbColor.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

using namespace KRML_ReportGen;
using Rect = SizerGeometry::Rect;

class TestDesigner : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LocalFileService m_files;
    std::unique_ptr<LayoutPage> m_page;
    std::unique_ptr<Sizer> m_sizer;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<QUndoStack> m_undo;
    std::unique_ptr<DesignerCommands> m_commands;

    int label(float left, float top, float width, float height)
    {
        const int i = m_page->createLabel();
        LayoutLabel &l = m_page->Label(i);
        l.Left = left;
        l.Top = top;
        l.Width = width;
        l.Height = height;
        l.Visible = true;
        return i;
    }
    QString image(const QString &name, int w, int h)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::red);
        const QString path = m_dir.filePath(name);
        img.save(path, "BMP");
        return path;
    }

private slots:
    void init()
    {
        m_page = std::make_unique<LayoutPage>();
        m_sizer = std::make_unique<Sizer>(*m_page);
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_undo = std::make_unique<QUndoStack>();
        m_commands = std::make_unique<DesignerCommands>(*m_page, *m_sizer, *m_prompts, m_files, *m_undo);
    }

    void sizerBindsDragsAndReleases()
    {
        const int i = label(1000, 500, 1485, 870);
        m_commands->pressLabel(i, MouseButton::Left);
        QVERIFY(m_sizer->isVisible());
        QCOMPARE(m_sizer->frame(), (Rect{900, 400, 1685, 1070}));
        QCOMPARE(m_sizer->grips()[7], (Rect{1585, 970, 100, 100}));
        // A grip drag changes the frame only.
        m_sizer->pressGrip(7, MouseButton::Left, 50, 50);
        m_sizer->moveOverGrip(7, MouseButton::Left, 300, 100);
        QCOMPARE(m_sizer->frame(), (Rect{900, 400, 1985, 1170}));
        QCOMPARE(m_page->Label(i).Width, 1485.0f);
        // Release fits the object into the interior.
        const auto before = m_sizer->releaseGrip(MouseButton::Left);
        QCOMPARE(m_page->Label(i).Width, 1785.0f);
        QCOMPARE(m_page->Label(i).Height, 970.0f);
        QCOMPARE(m_page->Label(i).Left, 1000.0f);
        QVERIFY(before);
        QCOMPARE(*before, (Rect{1000, 500, 1485, 870}));
        // The right button: pointer and outline, no size change.
        m_sizer->pressGrip(0, MouseButton::Right, 10, 10);
        QCOMPARE(m_sizer->pointerShape(), PointerShape::SizeNWSE);
        QVERIFY(m_sizer->pressOutlineShown());
        m_sizer->moveOverGrip(0, MouseButton::Right, 500, 500);
        QCOMPARE(m_sizer->frame(), (Rect{900, 400, 1985, 1170}));
        QVERIFY(!m_sizer->releaseGrip(MouseButton::Right));
    }

    void sizerGetsStuck()
    {
        const int i = label(1000, 500, 300, 300);
        m_commands->pressLabel(i, MouseButton::Left);
        m_sizer->pressGrip(4, MouseButton::Left, 0, 0);
        m_sizer->moveOverGrip(4, MouseButton::Left, -350, 0); // 500 - 350 = 150 wide
        QCOMPARE(m_sizer->frame().width, 150.0);
        const auto grips = m_sizer->grips();
        m_sizer->moveOverGrip(4, MouseButton::Left, 400, 0);
        QCOMPARE(m_sizer->frame().width, 150.0); // stuck
        QCOMPARE(m_sizer->grips(), grips);        // and not laid out again
        m_commands->pressLabel(i, MouseButton::Left);             // binding again frees it
        m_sizer->moveOverGrip(4, MouseButton::Left, 100, 0);
        QCOMPARE(m_sizer->frame().width, 600.0);
    }

    void moveModeMovesBoth()
    {
        const int i = label(1000, 500, 400, 300);
        m_commands->pressLabel(i, MouseButton::Left);
        m_commands->startMove();
        QVERIFY(m_sizer->MoveState());
        m_sizer->pressBody(MouseButton::Left, 200, 200);
        m_sizer->moveBody(MouseButton::Left, 250, 230); // relative to the frame
        QCOMPARE(m_page->Label(i).Left, 1050.0f);
        QCOMPARE(m_page->Label(i).Top, 530.0f);
        QCOMPARE(m_sizer->frame().left, 950.0);
        QCOMPARE(m_sizer->frame().top, 430.0);
        m_sizer->moveBody(MouseButton::Left, 200, 200); // back under the anchor: no move
        QCOMPARE(m_page->Label(i).Left, 1050.0f);
        const auto before = m_sizer->releaseBody();
        QVERIFY(before);
        m_commands->objectResized({ObjectRef::Label, i}, *before);
        m_undo->undo();
        QCOMPARE(m_page->Label(i).Left, 1000.0f);
        m_undo->redo();
        QCOMPARE(m_page->Label(i).Left, 1050.0f);
        m_commands->pressLabel(i, MouseButton::Left);
        QVERIFY(!m_sizer->MoveState()); // binding ends move mode
    }

    void menuVisibility_data()
    {
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("shown"); // M C E F A B P K: move, coordinate, edit text, format, align, border, picture, back colour
        QTest::newRow("label, left") << "label 1" << "MCEFAB.K";
        QTest::newRow("data label, right") << "data 2" << "MC.FAB.K";
        QTest::newRow("data label, left") << "data 1" << "MCEFAB.K";
        QTest::newRow("picture, left") << "picture 1" << "MC....PK";
        QTest::newRow("label then picture right") << "label 1,picture 2" << "MCEFAB.K";
        QTest::newRow("label then page") << "label 1,page" << "MC..A...";
        QTest::newRow("picture then page") << "picture 1,page" << "MC......";
    }
    void menuVisibility()
    {
        QFETCH(QString, press);
        QFETCH(QString, shown);
        const int plain = label(100, 100, 500, 200);
        const int data = label(100, 400, 500, 200);
        m_page->Label(data).Tag = QStringLiteral("DATA:Orders.Total");
        const int pic = m_page->createPic();
        for (const QString &step : press.split(QLatin1Char(','))) {
            const QStringList parts = step.split(QLatin1Char(' '));
            if (parts[0] == QLatin1String("label"))
                m_commands->pressLabel(plain, MouseButton(parts[1].toInt()));
            else if (parts[0] == QLatin1String("data"))
                m_commands->pressLabel(data, MouseButton(parts[1].toInt()));
            else if (parts[0] == QLatin1String("picture"))
                m_commands->pressPicture(pic, MouseButton(parts[1].toInt()));
            else
                m_commands->clickPage();
        }
        using M = ObjectMenuState;
        const M &menu = m_commands->menu();
        QString got;
        const char letters[] = "MCEFABPK";
        const M::Item items[] = {M::Move, M::Coordinate, M::EditText, M::FormatText, M::Alignment, M::Border, M::EditPicture, M::BackColor};
        for (int i = 0; i < 8; ++i)
            got += menu.visible(items[i]) ? QLatin1Char(letters[i]) : QLatin1Char('.');
        QCOMPARE(got, shown);
        QCOMPARE(menu.visible(M::Object), !press.endsWith(QLatin1String("page")));
    }

    void textCommandsWithUndo()
    {
        const int i = label(100, 100, 800, 300);
        m_commands->pressLabel(i, MouseButton::Left);
        // Edit Text: an empty answer changes nothing.
        m_prompts->answer(QString());
        m_commands->editText();
        QCOMPARE(m_page->Label(i).Caption, QStringLiteral("Label1"));
        QCOMPARE(m_prompts->calls.last().text, QStringLiteral("Please enter the text"));
        m_prompts->answer(QStringLiteral("Total sales"));
        m_commands->editText();
        QCOMPARE(m_page->Label(i).Caption, QStringLiteral("Total sales"));
        // Border twice: on, then off; the check mark follows.
        m_commands->toggleBorder();
        QCOMPARE(m_page->Label(i).BorderStyle, qint16(1));
        QVERIFY(m_commands->menu().borderChecked());
        m_commands->toggleBorder();
        QCOMPARE(m_page->Label(i).BorderStyle, qint16(0));
        // Alignment: the check marks follow at the next press.
        m_commands->align(2);
        QCOMPARE(m_page->Label(i).Alignment, qint16(2));
        m_commands->pressLabel(i, MouseButton::Left);
        QVERIFY(m_commands->menu().alignChecked(ObjectMenuState::Centered));
        // BackColor through the colour dialog (the scripted dialog answers Cancel first).
        m_commands->backColor();
        QCOMPARE(m_page->Label(i).BackColor, 0xFFFFFFu);
        // Undo walks back through every change, redo forward again.
        QCOMPARE(m_undo->count(), 4);
        m_undo->undo(); // alignment
        QCOMPARE(m_page->Label(i).Alignment, qint16(0));
        m_undo->undo();
        m_undo->undo();
        m_undo->undo(); // the text
        QCOMPARE(m_page->Label(i).Caption, QStringLiteral("Label1"));
        m_undo->redo();
        QCOMPARE(m_page->Label(i).Caption, QStringLiteral("Total sales"));
    }

    void coordinatePositioning()
    {
        const int i = label(1000, 500, 400, 300);
        m_commands->pressLabel(i, MouseButton::Left);
        QVERIFY(!m_commands->moveTo(QStringLiteral("12x"), QStringLiteral("40")));
        QCOMPARE(m_prompts->calls.last().style, MsgBoxStyle::Exclamation);
        QCOMPARE(m_page->Label(i).Left, 1000.0f);
        QVERIFY(m_commands->moveTo(QStringLiteral("2000"), QStringLiteral("700")));
        QCOMPARE(m_page->Label(i).Left, 2000.0f);
        QCOMPARE(m_page->Label(i).Top, 700.0f);
        // The sizer's corner, not its interior, lands on the point.
        QCOMPARE(m_sizer->frame().left, 2000.0);
        QCOMPARE(m_sizer->frame().top, 700.0);
    }

    void insertsAndUndoRemovesTheLastObject()
    {
        const int i = m_commands->insertLabel();
        QCOMPARE(i, 1);
        QCOMPARE(m_page->Label(1).Left, 100.0f);
        QVERIFY(m_page->Label(1).Visible);
        QCOMPARE(m_sizer->BoundControl(), (ObjectRef{ObjectRef::Label, 1}));
        QCOMPARE(m_commands->insertFormula(QString()), 0);
        QCOMPARE(m_page->labelCount(), 1);
        const int f = m_commands->insertFormula(QStringLiteral("{Orders.Total}/{Orders.Qty}"));
        QCOMPARE(m_page->Label(f).Tag, QStringLiteral("FORMULA:{Orders.Total}/{Orders.Qty}"));
        QCOMPARE(m_sizer->BoundControl(), (ObjectRef{ObjectRef::Label, 2}));
        const int p = m_commands->insertPicture();
        QCOMPARE(p, 1);
        QVERIFY(m_commands->menu().visible(ObjectMenuState::EditPicture));
        m_undo->undo();
        QCOMPARE(m_page->picCount(), 0);
        m_undo->undo();
        QCOMPARE(m_page->labelCount(), 1);
        m_undo->redo();
        QCOMPARE(m_page->labelCount(), 2);
        QCOMPARE(m_page->Label(2).Tag, QStringLiteral("FORMULA:{Orders.Total}/{Orders.Qty}"));
    }

    void pictures()
    {
        const int p = m_commands->insertPicture();
        LayoutPicture &pic = m_page->Pic(p);
        pic.Width = 1500;
        pic.Height = 1500;
        // Not a picture: the message, nothing changes.
        const QString text = m_dir.filePath(QStringLiteral("notes.bmp"));
        m_files.writeBytes(text, "not a picture");
        m_prompts->answer(text);
        m_commands->editPicture();
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("Unrecognised Picture Format"));
        QCOMPARE(m_prompts->calls.last().style, 48);
        QVERIFY(pic.Tag.isEmpty());
        // A real picture: scaled into the box, its file in the Tag.
        const QString file = image(QStringLiteral("red.bmp"), 200, 100);
        m_prompts->answer(file);
        m_commands->editPicture();
        QCOMPARE(m_prompts->calls.last().filter, QStringLiteral("All Files (*.*)|*.*|Pictures (*.bmp;*.jpg;*.jpeg;*.gif;*.ico;*.cur;*.emf;*.rle)|"
                          "*.bmp;*.jpg;*.jpeg;*.gif;*.ico;*.cur;*.emf;*.rle"));
        QCOMPARE(m_prompts->calls.last().filterIndex, 2);
        QCOMPARE(pic.Tag, file);
        QCOMPARE(pic.Picture.size(), QSize(100, 100));
        // Resized at Left 100: scaled again; at Left 40: keeps its image.
        const QImage first = pic.Picture;
        const Rect before{pic.Left, pic.Top, pic.Width, pic.Height};
        pic.Width = 3000;
        m_commands->objectResized({ObjectRef::Picture, p}, before);
        QCOMPARE(pic.Picture.size(), QSize(200, 100));
        pic.Left = 40;
        const QImage kept = pic.Picture;
        const Rect before2{pic.Left, pic.Top, pic.Width, pic.Height};
        pic.Width = 900;
        m_commands->objectResized({ObjectRef::Picture, p}, before2);
        QCOMPARE(pic.Picture, kept);
        Q_UNUSED(first);
    }

    void everyPictureOfTheFilterLoads_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *f : {"hopper.gif", "dispose_bgnd.gif", "hopper.jpg", "pil_sample_cmyk.jpg", "hopper.ico", "python.ico",
                              "deerstalker.cur", "hopper_rle8.rle", "drawing.emf", "drawing.wmf"})
            QTest::newRow(f) << QString::fromLatin1(f);
    }
    void everyPictureOfTheFilterLoads()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, file);
        const int p = m_commands->insertPicture();
        LayoutPicture &pic = m_page->Pic(p);
        pic.Width = 1500;
        pic.Height = 1500;
        const QString path = TestData::path(QStringLiteral("img/") + file);
        m_prompts->answer(path);
        m_commands->editPicture();
        QCOMPARE(m_prompts->messages(), QStringList());
        QCOMPARE(pic.Tag, path);
        QCOMPARE(pic.Picture.size(), QSize(100, 100));
        int ink = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                ink += pic.Picture.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY2(ink > 100, qPrintable(QString::number(ink))); // a 16 x 16 icon at least
    }

    void metafilesAsWindowsDrawsThem_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("naturalTwips");
        // The EMF's frame is 28.99 mm; the WMF's box 1369 units at 1200 an inch.
        QTest::newRow("EMF") << "drawing.emf" << "drawing_emf_ref.png" << int(MetafilePicture::Kind::Emf) << 2899 * 1440.0 / 2540;
        QTest::newRow("WMF") << "drawing.wmf" << "drawing_wmf_ref.png" << int(MetafilePicture::Kind::Wmf) << 1369 * 1440.0 / 1200;
    }
    void metafilesAsWindowsDrawsThem()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, file);
        QFETCH(QString, reference);
        QFETCH(int, kind);
        QFETCH(double, naturalTwips);
        const QByteArray bytes = m_files.readBytes(TestData::path(QStringLiteral("img/") + file));
        QCOMPARE(int(MetafilePicture::kindOf(bytes)), kind);
        const MetafilePicture picture(bytes);
        QVERIFY(qAbs(picture.naturalSize().width() - naturalTwips) < 1);
        QVERIFY(qAbs(picture.naturalSize().height() - naturalTwips) < 1);
        // Drawn at its natural size, centred: (3000 - 60 - natural) / 2.
        const QImage drawn = PictureLoader::scaledInto(picture, 3000, 3000);
        const double side = naturalTwips / 15, at = (2940 - naturalTwips) / 2 / 15;
        const QImage expected = QImage(TestData::path(QStringLiteral("img/") + reference))
                                    .convertToFormat(QImage::Format_RGB32)
                                    .scaled(int(side), int(side), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage got = drawn.copy(int(at + 0.5), int(at + 0.5), expected.width(), expected.height());
        // Same picture: the red disc in its place, the corners white.
        int differing = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) {
                const QColor a = expected.pixelColor(x, y), b = got.pixelColor(x, y);
                differing += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) > 150;
            }
        QVERIFY2(differing < expected.width() * expected.height() / 20,
                 qPrintable(QStringLiteral("%1 of %2 pixels differ").arg(differing).arg(expected.width() * expected.height())));
        QCOMPARE(got.pixelColor(got.width() / 2, got.height() / 2), QColor(Qt::red));
        QCOMPARE(drawn.pixelColor(1, 1), QColor(Qt::white));
    }

    void damagedMetafilesAreRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("keep");
        QTest::newRow("EMF header only") << "drawing.emf" << 100;
        QTest::newRow("EMF cut short") << "drawing.emf" << 300;
        QTest::newRow("WMF cut short") << "drawing.wmf" << 200;
        QTest::newRow("WMF placeable header only") << "drawing.wmf" << 22;
    }
    void damagedMetafilesAreRefused()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, file);
        QFETCH(int, keep);
        const QString path = m_dir.filePath(QStringLiteral("cut-") + file);
        m_files.writeBytes(path, m_files.readBytes(TestData::path(QStringLiteral("img/") + file)).left(keep));
        const int p = m_commands->insertPicture();
        m_prompts->answer(path);
        m_commands->editPicture();
        QCOMPARE(m_prompts->messages(), QStringList{"Unrecognised Picture Format"});
        QVERIFY(m_page->Pic(p).Tag.isEmpty());
    }

    void backColorOfAPicture()
    {
        const int p = m_commands->insertPicture();
        LayoutPicture &pic = m_page->Pic(p);
        pic.Width = 1500;
        pic.Height = 1500;
        QVERIFY(m_commands->menu().visible(ObjectMenuState::BackColor));
        const quint32 blue = VbColor::rgb(0, 0, 255), green = VbColor::rgb(0, 255, 0);
        // An empty box takes the colour.
        m_prompts->answer(blue);
        m_commands->backColor();
        QCOMPARE(pic.BackColor, blue);
        QCOMPARE(pic.Picture.size(), QSize(100, 100));
        QCOMPARE(pic.Picture.pixelColor(50, 50), QColor(Qt::blue));
        // A picture is drawn on it: the margins show the colour.
        m_prompts->answer(image(QStringLiteral("wide.bmp"), 80, 20));
        m_commands->editPicture();
        QCOMPARE(pic.Picture.pixelColor(50, 50), QColor(Qt::red));
        QCOMPARE(pic.Picture.pixelColor(50, 5), QColor(Qt::blue));
        // Changed again: drawn anew from its file on the new colour.
        m_prompts->answer(green);
        m_commands->backColor();
        QCOMPARE(pic.Picture.pixelColor(50, 50), QColor(Qt::red));
        QCOMPARE(pic.Picture.pixelColor(50, 5), QColor(Qt::green));
        // Undo brings the old colour back.
        m_undo->undo();
        QCOMPARE(pic.BackColor, blue);
        QCOMPARE(pic.Picture.pixelColor(50, 5), QColor(Qt::blue));
        // Without its file (a reopened layout) the image stays over the colour.
        pic.Tag.clear();
        pic.Width = 3000; // the box grew since
        m_prompts->answer(green);
        m_commands->backColor();
        QCOMPARE(pic.Picture.size(), QSize(200, 100));
        QCOMPARE(pic.Picture.pixelColor(50, 50), QColor(Qt::red));
        QCOMPARE(pic.Picture.pixelColor(150, 50), QColor(Qt::green));
    }

    void fieldDrop_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("SMALLINT") << "Small" << 2 << true;
        QTest::newRow("INTEGER") << "Whole" << 3 << true;
        QTest::newRow("SINGLE") << "Single1" << 4 << true;
        QTest::newRow("DOUBLE") << "Real1" << 5 << true;
        QTest::newRow("REAL") << "Real2" << 5 << true;
        QTest::newRow("CURRENCY") << "Money" << 6 << true;
        QTest::newRow("DATE") << "Day" << 7 << true;
        QTest::newRow("YESNO") << "Flag" << 11 << true;
        QTest::newRow("BYTE") << "Tiny" << 17 << true;
        QTest::newRow("BIGINT") << "Big" << 20 << true;
        QTest::newRow("DECIMAL") << "Dec" << 131 << true;
        QTest::newRow("VARCHAR") << "Name" << 202 << true;
        QTest::newRow("MEMO") << "Note" << 203 << true;
        QTest::newRow("BLOB") << "Picture" << 205 << false;
    }
    void fieldDrop()
    {
        QFETCH(QString, field);
        QFETCH(int, type);
        QFETCH(bool, accepted);
        const QString db = m_dir.filePath(QStringLiteral("types.db"));
        if (!QFileInfo::exists(db))
            SqliteEngine::create(db)->runScript(QStringLiteral(
                "CREATE TABLE T (Small SMALLINT, Whole INTEGER, Single1 SINGLE, Real1 DOUBLE, Real2 REAL, Money CURRENCY,"
                " Day DATE, Flag YESNO, Tiny BYTE, Big BIGINT, Dec DECIMAL, Name VARCHAR(20), Note MEMO, Picture BLOB);"
                "INSERT INTO T VALUES (1, 2, 1.5, 2.5, 3.5, 3.25, '2024-01-01', 1, 7, 9000000000, 4.5, 'x', 'y', x'00');"));
        DbConnection connection(QStringLiteral("Provider=SQLite;Data Source=") + db);
        connection.open();
        const int i = m_commands->dropField(QStringLiteral("Stock"), field, 2500, 3100, connection,
                                              BoundStatement(QStringLiteral("SELECT * FROM T")));
        QCOMPARE(i, 1);
        const LayoutLabel &l = m_page->Label(i);
        if (accepted) {
            QVERIFY(m_prompts->calls.isEmpty());
            QCOMPARE(l.Caption, "Stock." + field);
            QCOMPARE(l.Tag, "DATA:Stock." + field);
            QVERIFY(l.Visible);
            // Where it was dropped, not at the template's position.
            QCOMPARE(l.Left, 2500.0f);
            QCOMPARE(l.Top, 3100.0f);
        } else {
            QCOMPARE(m_prompts->messages(), QStringList{"Unknown Data Type: " + QString::number(type)});
            QCOMPARE(m_prompts->calls.last().style, 64);
            QVERIFY(!l.Visible);
            QCOMPARE(l.Tag, "Stock." + field);
        }
        QVERIFY(!m_sizer->isVisible()); // a dropped field is not selected
        // The statement runs with its bound values.
        m_prompts->calls.clear();
        const int bound = m_commands->dropField(QStringLiteral("Stock"), field, 0, 0, connection,
                                                BoundStatement(QStringLiteral("SELECT * FROM T WHERE Whole = ?1"), {BoundValue::integer(2)}));
        QCOMPARE(bound, 2);
        QCOMPARE(m_page->Label(bound).Visible, accepted);
        // A failing lookup is told and creates nothing.
        QCOMPARE(m_commands->dropField(QStringLiteral("Stock"), field, 0, 0, connection,
                                       BoundStatement(QStringLiteral("SELECT * FROM Nowhere"))),
                 0);
        QCOMPARE(m_page->labelCount(), 2);
    }

    void nudgeAndBox()
    {
        const int i = label(1000, 500, 400, 300);
        m_commands->nudge(113, 0); // nothing selected yet
        QCOMPARE(m_page->Label(i).Left, 1000.0f);
        m_commands->pressLabel(i, MouseButton::Left);
        m_commands->nudge(113, -15);
        QCOMPARE(m_page->Label(i).Left, 1113.0f);
        QCOMPARE(m_page->Label(i).Top, 485.0f);
        QCOMPARE(m_sizer->frame().left, 1013.0); // the frame follows
        m_undo->undo();
        QCOMPARE(m_page->Label(i).Left, 1000.0f);
        QVERIFY(!m_commands->createBox(QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("4")));
        QVERIFY(m_commands->createBox(QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("3000"), QStringLiteral("900")));
        QCOMPARE(m_page->drawing().strokes().last(),
                 (DrawingLayer::Stroke{DrawingLayer::Style::Box, 100, 200, 3000, 900, 0}));
    }

    void options_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("message");
        QTest::addColumn<double>("heightTwips");
        QTest::addColumn<double>("widthTwips");
        QTest::newRow("A4") << "2" << "297" << "210" << "" << 16840.0 << 11907.0;
        QTest::newRow("letter") << "5" << "279.4" << "215.9" << "" << 15842.0 << 12242.0;
        QTest::newRow("no grid size") << "" << "297" << "210" << QStringLiteral("Please enter the grid size") << 0.0 << 0.0;
        QTest::newRow("bad height") << "2" << "tall" << "abc" << QStringLiteral("Please enter the page height") << 0.0 << 0.0;
        QTest::newRow("bad width") << "2" << "297" << "abc" << QStringLiteral("Please enter the page width") << 0.0 << 0.0;
    }
    void options()
    {
        QFETCH(QString, grid);
        QFETCH(QString, height);
        QFETCH(QString, width);
        QFETCH(QString, message);
        QFETCH(double, heightTwips);
        QFETCH(double, widthTwips);
        const auto shown = OptionsModel::textsOf({2, 16839.9, 11907, QStringLiteral("C:\\data\\sales.mdb")});
        QCOMPARE(shown.pageHeight, QStringLiteral("297"));
        QCOMPARE(shown.pageWidth, QStringLiteral("210"));
        OptionsModel::Field focus = OptionsModel::DBPath;
        const auto values = OptionsModel::ok({grid, height, width, QStringLiteral("x.mdb")}, *m_prompts, &focus);
        if (message.isEmpty()) {
            QVERIFY(values);
            QCOMPARE(values->pageHeight, heightTwips);
            QCOMPARE(values->pageWidth, widthTwips);
            QCOMPARE(values->dbPath, QStringLiteral("x.mdb"));
        } else {
            QVERIFY(!values);
            QCOMPARE(m_prompts->messages(), QStringList{message});
            QCOMPARE(m_prompts->calls.last().style, 48);
        }
    }

    void paletteBeforeAReport()
    {
        StatementPalette palette;
        QSignalSpy listed(&palette, &StatementPalette::statementsChanged);
        QStringList asked;
        const auto fieldsOf = [&](const QString &statement) {
            asked << statement;
            return QStringList{statement + QStringLiteral(".A"), statement + QStringLiteral(".B")};
        };
        // A statement ran before: the list only.
        palette.prepareForReport({QStringLiteral("Orders"), QStringLiteral("Regions")}, false, fieldsOf);
        QCOMPARE(palette.statements(), (QStringList{"Orders", "Regions"}));
        QCOMPARE(palette.selected(), -1);
        QVERIFY(asked.isEmpty());
        QCOMPARE(listed.count(), 1);

        // None ran yet: the first is chosen and its fields listed.
        palette.prepareForReport({QStringLiteral("Orders"), QStringLiteral("Regions")}, true, fieldsOf);
        QCOMPARE(palette.selected(), 0);
        QCOMPARE(palette.fields(), (QStringList{"Orders.A", "Orders.B"}));
        QCOMPARE(asked, QStringList{"Orders"});

        // With a selection nothing changes.
        palette.prepareForReport({QStringLiteral("Other")}, true, fieldsOf);
        QCOMPARE(palette.statements(), (QStringList{"Orders", "Regions"}));
        QCOMPARE(asked.size(), 1);

        // A statement that fails leaves the fields as they were.
        palette.clear();
        palette.setFields({QStringLiteral("kept")});
        palette.prepareForReport({QStringLiteral("Broken")}, true,
                                 [](const QString &) -> QStringList { throw ReportError(449, QStringLiteral("no value")); });
        QCOMPARE(palette.selected(), 0);
        QCOMPARE(palette.fields(), QStringList{"kept"});
    }
};

QTEST_MAIN(TestDesigner)
#include "tst_designer.moc"
