// The designer on the offscreen platform: selecting and sizing with the
// pointer, the arrow keys, zoom with the mouse position, the object menu,
// a field dropped from the palette, the options dialog, undo, and a
// picture of the whole designer written to a PNG file.

#include "ControlServices.h"
#include "DbConnection.h"
#include "DesignerCommands.h"
#include "DesignerView.h"
#include "FieldPalette.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "MemorySettingsStore.h"
#include "ModuleState.h"
#include "ObjectMenu.h"
#include "OptionsDialog.h"
#include "ProcessTempNames.h"
#include "ReportGenOCX.h"
#include "ScriptedPrompts.h"
#include "Selection.h"
#include "Sizer.h"
#include "SqliteEngine.h"

#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

using namespace KRML_ReportGen;

class TestDesignerView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;
    std::shared_ptr<ScriptedPrompts> m_prompts;

    std::unique_ptr<ReportGenOCX> control()
    {
        ControlServices services{std::make_shared<MemorySettingsStore>(), m_prompts, std::make_shared<LocalFileService>(),
                                 std::make_shared<ProcessTempNames>(),
                                 nullptr}; // the standard SQL editor dialogs
        auto c = std::make_unique<ReportGenOCX>(nullptr, services);
        c->setCurrentMode(ReportGenOCX::DesignerMode);
        c->resize(900, 700);
        c->show();
        return c;
    }
    static QPoint at(DesignerView &view, double x, double y) { return view.fromTwips(QPointF(x, y)); }

private slots:
    void init()
    {
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_app.path());
        m_prompts = std::make_shared<ScriptedPrompts>();
    }

    void selectAndSizeWithThePointer()
    {
        auto c = control();
        QVERIFY(QTest::qWaitForWindowExposed(c.get()));
        DesignerView &view = c->designer();
        const int i = c->page().createLabel();
        LayoutLabel &l = c->page().Label(i);
        l.Left = 1500;
        l.Top = 1500;
        l.Width = 1500;
        l.Height = 600;
        l.Visible = true;
        c->page().notifyLabelChanged(i);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(view, 2000, 1700));
        QVERIFY(view.sizer().isVisible());
        QCOMPARE(view.sizer().BoundControl(), (ObjectRef{ObjectRef::Label, i}));
        // Drag the bottom-right grip: its top-left corner comes under the
        // pointer, 650 twips right and 350 down of where it was.
        const QPoint grip = at(view, 3000 + 50, 2100 + 50);
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, grip);
        QTest::mouseMove(view.viewport(), at(view, 3650, 2450));
        QCOMPARE(l.Width, 1500.0f); // the frame only, until the release
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at(view, 3650, 2450));
        QVERIFY2(std::abs(l.Width - 2150) <= 15, qPrintable(QString::number(l.Width)));
        QVERIFY2(std::abs(l.Height - 950) <= 15, qPrintable(QString::number(l.Height)));
        view.undoStack().undo();
        QCOMPARE(l.Width, 1500.0f);
        // Clicking the bare page hides the sizer.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(view, 8000, 9000));
        QVERIFY(!view.sizer().isVisible());
    }

    void directEditingWithThePointer()
    {
        auto c = control();
        QVERIFY(QTest::qWaitForWindowExposed(c.get()));
        DesignerView &view = c->designer();
        const auto add = [&](float left, float top) {
            const int i = c->page().createLabel();
            LayoutLabel &l = c->page().Label(i);
            l.Left = left;
            l.Top = top;
            l.Width = 1000;
            l.Height = 300;
            l.Visible = true;
            c->page().notifyLabelChanged(i);
            return i;
        };
        const int a = add(1000, 1000), b = add(3000, 1000), far = add(8000, 9000);
        // As the control always was: dragging a label's body moves nothing.
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(view, 1500, 1100));
        QTest::mouseMove(view.viewport(), at(view, 2500, 2100));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at(view, 2500, 2100));
        QCOMPARE(c->page().Label(a).Left, 1000.0f);

        view.setDirectEditing(true);
        // A rubber band from the empty page takes what it touches.
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(view, 500, 500));
        QTest::mouseMove(view.viewport(), at(view, 3200, 1200));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at(view, 3200, 1200));
        QCOMPARE(view.commands().selection().objects(), QList<ObjectRef>({{ObjectRef::Label, a}, {ObjectRef::Label, b}}));
        // Shift-click adds, Ctrl-click takes away again.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, at(view, 8500, 9100));
        QCOMPARE(view.commands().selection().count(), 3);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, at(view, 8500, 9100));
        QCOMPARE(view.commands().selection().count(), 2);
        QVERIFY(!view.commands().selection().contains({ObjectRef::Label, far}));
        // A body drag moves all of them, one undo step.
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(view, 3500, 1100));
        QTest::mouseMove(view.viewport(), at(view, 3800, 1400));
        QTest::mouseMove(view.viewport(), at(view, 4100, 1700));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at(view, 4100, 1700));
        QVERIFY2(std::abs(c->page().Label(a).Left - 1600) <= 15, qPrintable(QString::number(c->page().Label(a).Left)));
        QVERIFY(std::abs(c->page().Label(b).Top - 1600) <= 15);
        view.undoStack().undo();
        QCOMPARE(c->page().Label(a).Left, 1000.0f);
        QCOMPARE(c->page().Label(b).Top, 1000.0f);
        // Escape lets go of everything.
        QTest::keyClick(&view, Qt::Key_Escape);
        QVERIFY(view.commands().selection().isEmpty());
    }

    void arrowKeysAndZoom()
    {
        auto c = control();
        QVERIFY(QTest::qWaitForWindowExposed(c.get()));
        c->LoadGrid();
        DesignerView &view = c->designer();
        c->InsertLabel();
        LayoutLabel &l = c->page().Label(1);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(l.Left, 100.0f + 113);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(l.Top, 115.0f);
        // At 200 % the page is twice as large and MousePos still counts millimetres.
        const int width100 = view.width();
        view.setZoom(200);
        QVERIFY(std::abs(view.width() - 2 * width100) <= 1);
        qint32 mx = -1, my = -1;
        connect(c.get(), &ReportGenOCX::MousePos, this, [&](qint32 &x, qint32 &y) {
            mx = x;
            my = y;
        });
        QTest::mouseMove(view.viewport(), QPoint(200, 80)); // 1500 x 600 twips
        QTRY_COMPARE(mx, 26);
        QCOMPARE(my, 11);
        view.setZoom(1000);
        QCOMPARE(view.zoom(), 400.0);
        view.fitWidth(600);
        QVERIFY(std::abs(view.width() - 600) <= 1);
    }

    void objectMenuFollowsThePress()
    {
        auto c = control();
        QVERIFY(QTest::qWaitForWindowExposed(c.get()));
        DesignerView &view = c->designer();
        c->InsertLabel();
        c->page().Label(1).Tag = QStringLiteral("DATA:Orders.Total");
        ObjectMenu &menu = view.objectMenu();
        view.commands().pressLabel(1, MouseButton::Right);
        menu.refresh();
        QVERIFY(!menu.item(ObjectMenuState::EditText)->isVisible());
        QVERIFY(menu.item(ObjectMenuState::Border)->isVisible());
        QCOMPARE(menu.item(ObjectMenuState::Move)->text(), QStringLiteral("&Move"));
        menu.item(ObjectMenuState::Border)->trigger();
        QCOMPARE(c->page().Label(1).BorderStyle, qint16(1));
        view.commands().clickPage();
        menu.refresh();
        QVERIFY(!menu.menuAction()->isVisible());
    }

    void fieldDroppedOnThePage()
    {
        const QString db = m_app.filePath(QStringLiteral("f.db"));
        SqliteEngine::create(db)->runScript(QStringLiteral("CREATE TABLE T (Name VARCHAR(20), Note MEMO, Picture BLOB); INSERT INTO T VALUES ('a', 'b', x'00');"));
        auto connection = std::make_shared<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=") + db);
        connection->open();
        ModuleState::current().data().setRDDataConnection(connection);
        ModuleState::current().setCurrentReportSQL(BoundStatement(QStringLiteral("SELECT * FROM T WHERE Name = ?1"), {BoundValue::text(QStringLiteral("a"))}));
        auto c = control();
        QVERIFY(QTest::qWaitForWindowExposed(c.get()));
        DesignerView &view = c->designer();
        auto drop = [&](const QString &field, QPoint pos) {
            QMimeData mime;
            mime.setData(FieldPalette::mimeType(), (QStringLiteral("Stock\n") + field).toUtf8());
            QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view.viewport(), &enter);
            QDropEvent dropEvent(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view.viewport(), &dropEvent);
        };
        drop(QStringLiteral("Name"), at(view, 3000, 4500));
        QCOMPARE(c->page().labelCount(), 1);
        QCOMPARE(c->page().Label(1).Tag, QStringLiteral("DATA:Stock.Name"));
        QVERIFY(std::abs(c->page().Label(1).Left - 3000) <= 15);
        // Onto that label: nothing.
        drop(QStringLiteral("Name"), at(view, 3100, 4600));
        QCOMPARE(c->page().labelCount(), 1);
        drop(QStringLiteral("Picture"), at(view, 6000, 8000));
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("Unknown Data Type: 205"));
        // Memo text prints like any text.
        drop(QStringLiteral("Note"), at(view, 6000, 10000));
        QCOMPARE(c->page().Label(c->page().labelCount()).Tag, QStringLiteral("DATA:Stock.Note"));
    }

    void optionsDialog()
    {
        auto c = control();
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Options"));
            QCOMPARE(dialog->field(OptionsModel::PageWidth)->text(), QStringLiteral("210"));
            QCOMPARE(dialog->field(OptionsModel::PageHeight)->text(), QStringLiteral("297"));
            dialog->field(OptionsModel::PageWidth)->setText(QStringLiteral("abc"));
            dialog->ok();
            QVERIFY(dialog->isVisible());
            QCOMPARE(m_prompts->messages().last(), QStringLiteral("Please enter the page width"));
            dialog->field(OptionsModel::PageWidth)->setText(QStringLiteral("148"));
            dialog->field(OptionsModel::GridSize)->setText(QStringLiteral("5"));
            dialog->ok();
            checked = true;
        });
        c->ShowOptions();
        QVERIFY(checked);
        QCOMPARE(c->PageWidth(), 8392);
        QCOMPARE(c->GridSize(), short(5));
        QCOMPARE(c->gridStep(), qint16(284));
    }

    void screenshot()
    {
        auto c = control();
        QVERIFY(QTest::qWaitForWindowExposed(c.get()));
        c->LoadGrid();
        c->InsertLabel();
        c->page().Label(1).Caption = QStringLiteral("Sales by Region");
        c->page().Label(1).BorderStyle = 1;
        c->page().notifyLabelChanged(1);
        c->InsertPicture();
        c->InsertDataField();
        c->InsertLabel(); // selected: the grips show
        QCoreApplication::processEvents();
        const QImage shot = c->grab().toImage();
        const QString file = QDir(QStringLiteral(KRML_BINARY_DIR)).filePath(QStringLiteral("designer-offscreen.png"));
        QVERIFY(shot.save(file));
        // Grid lines, the label's text and the grips' highlight colour are on it.
        int dark = 0, grid = 0, highlight = 0;
        const QColor hl = QPalette().color(QPalette::Highlight);
        for (int y = 0; y < shot.height(); y += 1)
            for (int x = 0; x < shot.width(); x += 1) {
                const QColor px = shot.pixelColor(x, y);
                dark += qGray(px.rgb()) < 80;
                grid += px == QColor(0xE1, 0xE1, 0xE1);
                highlight += px == hl;
            }
        QVERIFY(dark > 50);
        QVERIFY(grid > 1000);
        QVERIFY(highlight > 20);
    }
};

QTEST_MAIN(TestDesignerView)
#include "tst_designerview.moc"
