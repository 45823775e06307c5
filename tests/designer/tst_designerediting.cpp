// The desktop designer's editing without its windows: the selection and
// how it follows removals, delete, the clipboard's layout lines, paste and
// duplicate, aligning, sizing and distributing, the stacking order,
// dragging with snapping, grip snapping, the inspector's rows and lengths,
// the object list; every change undone and redone through the undo stack.

#include "Arrangement.h"
#include "ReportError.h"
#include "DesignerCommands.h"
#include "LayoutClipboard.h"
#include "LayoutPage.h"
#include "LengthText.h"
#include "LocalFileService.h"
#include "ObjectListModel.h"
#include "PropertyTable.h"
#include "ScriptedPrompts.h"
#include "Selection.h"
#include "Sizer.h"
#include "SystemColorNames.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

using namespace KRML_ReportGen;
using Rect = SizerGeometry::Rect;
Q_DECLARE_METATYPE(KRML_ReportGen::SizerGeometry::Rect)

class TestDesignerEditing : public QObject
{
    Q_OBJECT

    LocalFileService m_files;
    std::unique_ptr<LayoutPage> m_page;
    std::unique_ptr<Sizer> m_sizer;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<QUndoStack> m_undo;
    std::unique_ptr<DesignerCommands> m_commands;

    int label(float left, float top, float width, float height, const QString &caption = QString())
    {
        const int i = m_page->createLabel();
        LayoutLabel &l = m_page->Label(i);
        l.Left = left;
        l.Top = top;
        l.Width = width;
        l.Height = height;
        l.Visible = true;
        if (!caption.isEmpty())
            l.Caption = caption;
        return i;
    }
    Selection &selection() { return m_commands->selection(); }
    QStringList captions() const
    {
        QStringList out;
        for (int i = 1; i <= m_page->labelCount(); ++i)
            out << m_page->Label(i).Caption;
        return out;
    }
    static ObjectRef L(int i) { return {ObjectRef::Label, i}; }
    static ObjectRef P(int i) { return {ObjectRef::Picture, i}; }

private slots:
    void init()
    {
        m_page = std::make_unique<LayoutPage>();
        m_sizer = std::make_unique<Sizer>(*m_page);
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_undo = std::make_unique<QUndoStack>();
        m_commands = std::make_unique<DesignerCommands>(*m_page, *m_sizer, *m_prompts, m_files, *m_undo);
    }

    void pageInsertsAndRemovesInTheMiddle()
    {
        label(0, 0, 100, 100, QStringLiteral("a"));
        label(0, 0, 100, 100, QStringLiteral("b"));
        QSignalSpy removed(m_page.get(), &LayoutPage::labelRemoved);
        m_page->removeLabel(1);
        QCOMPARE(captions(), QStringList({QStringLiteral("b")}));
        QCOMPARE(removed.takeFirst().at(0).toInt(), 1);
        LayoutLabel c;
        c.Caption = QStringLiteral("c");
        m_page->insertLabel(1, c);
        QCOMPARE(captions(), QStringList({QStringLiteral("c"), QStringLiteral("b")}));
        // Element 0 (the template) and places past the end are not elements.
        QVERIFY_THROWS_EXCEPTION(ReportError, m_page->removeLabel(0));
        QVERIFY_THROWS_EXCEPTION(ReportError, m_page->insertLabel(4, c));
    }

    void pressesAndTogglesMakeTheSelection()
    {
        const int a = label(100, 100, 500, 200), b = label(100, 400, 800, 200), c = label(100, 700, 300, 200);
        m_commands->pressLabel(a, MouseButton::Left);
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(a)}));
        selection().toggle(L(b));
        selection().toggle(L(c));
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(a), L(b), L(c)}));
        // The sizer frames the one chosen last.
        QCOMPARE(m_sizer->BoundControl(), L(c));
        // Pressing one of them again keeps the others and makes it the measure.
        m_commands->pressLabel(a, MouseButton::Left);
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(b), L(c), L(a)}));
        selection().toggle(L(a));
        QCOMPARE(selection().primary(), L(c));
        // A press outside the selection starts a new one; the empty page ends it.
        const int d = label(2000, 2000, 300, 300);
        m_commands->pressLabel(d, MouseButton::Left);
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(d)}));
        m_commands->clickPage();
        QVERIFY(selection().isEmpty());
        QVERIFY(!m_sizer->isVisible());
        selection().selectAll();
        QCOMPARE(selection().count(), 4);
    }

    void selectionFollowsIndices()
    {
        for (int i = 0; i < 5; ++i)
            label(100, 100 + 300 * i, 500, 200, QString::number(i + 1));
        selection().set({L(2), L(5)});
        m_page->removeLabel(3);
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(2), L(4)}));
        QCOMPARE(m_page->Label(4).Caption, QStringLiteral("5"));
        QCOMPARE(m_sizer->frame(), SizerGeometry::bind(L(4).geometry(*m_page)));
        m_page->insertLabel(1, LayoutLabel());
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(3), L(5)}));
        m_page->removeLabel(5);
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(3)}));
    }

    void deleteAndUndo()
    {
        for (int i = 0; i < 4; ++i)
            label(100, 100 + 300 * i, 500, 200, QString::number(i + 1));
        const int pic = m_page->createPic();
        m_page->Pic(pic).Visible = true;
        selection().set({L(1), L(3), P(1)});
        m_commands->deleteSelected();
        QCOMPARE(captions(), QStringList({QStringLiteral("2"), QStringLiteral("4")}));
        QCOMPARE(m_page->picCount(), 0);
        QVERIFY(selection().isEmpty());
        QCOMPARE(m_undo->count(), 1);
        m_undo->undo();
        QCOMPARE(captions(), QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
        QCOMPARE(m_page->picCount(), 1);
        m_undo->redo();
        QCOMPARE(captions(), QStringList({QStringLiteral("2"), QStringLiteral("4")}));
    }

    void clipboardCarriesLayoutLines()
    {
        const int a = label(1000, 500, 1500, 300, QStringLiteral("Total"));
        m_page->Label(a).Tag = QStringLiteral("DATA:Orders.Total");
        m_page->Label(a).Font.bold = true;
        const int pic = m_page->createPic();
        m_page->Pic(pic).Visible = true;
        QImage red(4, 3, QImage::Format_RGB32);
        red.fill(Qt::red);
        m_page->Pic(pic).Picture = red;
        selection().set({L(a), P(pic)});
        const auto mime = m_commands->copySelected();
        QVERIFY(mime);
        const QString text = QString::fromLatin1(mime->data(LayoutClipboard::mimeType()));
        QVERIFY(text.startsWith(QStringLiteral("KRMLLayoutFile\r\n###########\r\nNumberOfLabels=1\r\nNumberOfPictures=1\r\n")));
        QVERIFY(text.contains(QStringLiteral("Label(1).Tag=DATA:Orders.Total\r\n")));
        QCOMPARE(mime->text(), text);
        QVERIFY(mime->hasFormat(QStringLiteral("application/x-krml-layout-objects-picture-1")));

        // Pasted onto itself: one grid step down and right, selected, one undo step.
        QVERIFY(m_commands->paste(*mime));
        QCOMPARE(m_page->labelCount(), 2);
        QCOMPARE(m_page->Label(2).Left, 1113.0f);
        QCOMPARE(m_page->Label(2).Top, 613.0f);
        QCOMPARE(m_page->Label(2).Tag, QStringLiteral("DATA:Orders.Total"));
        QVERIFY(m_page->Label(2).Font.bold);
        QCOMPARE(m_page->Pic(2).Picture.size(), QSize(4, 3));
        QCOMPARE(m_page->Pic(2).Picture.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(2), P(2)}));
        m_undo->undo();
        QCOMPARE(m_page->labelCount(), 1);
        QCOMPARE(m_page->picCount(), 1);

        // Into another page (another designer window): where they were.
        LayoutPage other;
        Sizer sizer(other);
        QUndoStack undo;
        DesignerCommands elsewhere(other, sizer, *m_prompts, m_files, undo);
        QMimeData plain;
        plain.setText(text);
        QVERIFY(elsewhere.paste(plain));
        QCOMPARE(other.Label(1).Left, 1000.0f);
        QCOMPARE(other.Label(1).Caption, QStringLiteral("Total"));
    }

    void clipboardWithoutLayoutOrDamaged()
    {
        QMimeData words;
        words.setText(QStringLiteral("just some words"));
        QVERIFY(!LayoutClipboard::holdsLayout(words));
        QVERIFY(!m_commands->paste(words));
        QVERIFY(m_prompts->calls.isEmpty());
        QMimeData damaged;
        damaged.setText(QStringLiteral("KRMLLayoutFile\r\n###########\r\nNumberOfLabels=2\r\nNumberOfPictures=0\r\nLabel(1).Top=abc\r\n"));
        QVERIFY(!m_commands->paste(damaged));
        QCOMPARE(m_page->labelCount(), 0);
        QVERIFY(m_prompts->messages().last().startsWith(QStringLiteral("The objects on the clipboard could not be pasted")));
    }

    void duplicate()
    {
        label(1000, 1000, 500, 200, QStringLiteral("x"));
        selection().set({L(1)});
        m_commands->duplicateSelected();
        m_commands->duplicateSelected();
        QCOMPARE(m_page->labelCount(), 3);
        QCOMPARE(m_page->Label(2).Left, 1113.0f);
        QCOMPARE(m_page->Label(3).Left, 1226.0f);
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(3)}));
    }

    void arrangement_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QList<Rect>>("expected");
        // Three objects; the measure is the last one chosen, (1000, 2000, 800, 400).
        const Rect a{100, 100, 400, 200}, b{3000, 900, 1200, 600};
        QTest::newRow("left") << 0 << QList<Rect>{{1000, 100, 400, 200}, {1000, 900, 1200, 600}};
        QTest::newRow("right") << 1 << QList<Rect>{{1400, 100, 400, 200}, {600, 900, 1200, 600}};
        QTest::newRow("top") << 2 << QList<Rect>{{100, 2000, 400, 200}, {3000, 2000, 1200, 600}};
        QTest::newRow("bottom") << 3 << QList<Rect>{{100, 2200, 400, 200}, {3000, 1800, 1200, 600}};
        QTest::newRow("centres horizontally") << 4 << QList<Rect>{{1200, 100, 400, 200}, {800, 900, 1200, 600}};
        QTest::newRow("centres vertically") << 5 << QList<Rect>{{100, 2100, 400, 200}, {3000, 1900, 1200, 600}};
        QTest::newRow("same width") << 6 << QList<Rect>{{100, 100, 800, 200}, {3000, 900, 800, 600}};
        QTest::newRow("same height") << 7 << QList<Rect>{{100, 100, 400, 400}, {3000, 900, 1200, 400}};
        // By position: a (100..500), measure (1000..1800), b (3000..4200):
        // 4100 wide, 2400 occupied, gaps of 850.
        QTest::newRow("distribute horizontally") << 8 << QList<Rect>{a, b};
        Q_UNUSED(a);
        Q_UNUSED(b);
    }

    void arrangement()
    {
        QFETCH(int, command);
        QFETCH(QList<Rect>, expected);
        const int a = label(100, 100, 400, 200), b = label(3000, 900, 1200, 600), m = label(1000, 2000, 800, 400);
        selection().set({L(a), L(b), L(m)});
        using A = Arrangement::Align;
        switch (command) {
        case 0: m_commands->alignSelected(A::Left); break;
        case 1: m_commands->alignSelected(A::Right); break;
        case 2: m_commands->alignSelected(A::Top); break;
        case 3: m_commands->alignSelected(A::Bottom); break;
        case 4: m_commands->alignSelected(A::HorizontalCentre); break;
        case 5: m_commands->alignSelected(A::VerticalCentre); break;
        case 6: m_commands->sizeSelected(Arrangement::Size::Width); break;
        case 7: m_commands->sizeSelected(Arrangement::Size::Height); break;
        case 8: m_commands->distributeSelected(Arrangement::Axis::Horizontal); break;
        }
        QCOMPARE(L(a).geometry(*m_page), expected[0]);
        QCOMPARE(L(b).geometry(*m_page), expected[1]);
        if (command == 8)
            QCOMPARE(L(m).geometry(*m_page), (Rect{1350, 2000, 800, 400}));
        else
            QCOMPARE(L(m).geometry(*m_page), (Rect{1000, 2000, 800, 400}));
        // One undo step takes it all back.
        m_undo->undo();
        QCOMPARE(L(a).geometry(*m_page), (Rect{100, 100, 400, 200}));
        QCOMPARE(L(b).geometry(*m_page), (Rect{3000, 900, 1200, 600}));
        QCOMPARE(L(m).geometry(*m_page), (Rect{1000, 2000, 800, 400}));
    }

    void distributeVertically()
    {
        QCOMPARE(Arrangement::distribute({{0, 0, 10, 100}, {0, 1000, 10, 300}, {0, 250, 10, 100}}, Arrangement::Axis::Vertical),
                 (QList<Rect>{{0, 0, 10, 100}, {0, 1000, 10, 300}, {0, 500, 10, 100}}));
        // Fewer than three stay where they are.
        QCOMPARE(Arrangement::distribute({{0, 0, 10, 100}, {0, 900, 10, 100}}, Arrangement::Axis::Vertical),
                 (QList<Rect>{{0, 0, 10, 100}, {0, 900, 10, 100}}));
    }

    void stackingOrder()
    {
        for (int i = 0; i < 4; ++i)
            label(100, 100 + 300 * i, 500, 200, QString::number(i + 1));
        selection().set({L(1), L(3)});
        m_commands->bringToFront();
        QCOMPARE(captions(), QStringList({QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("3")}));
        QCOMPARE(selection().objects(), QList<ObjectRef>({L(3), L(4)}));
        m_commands->sendToBack();
        QCOMPARE(captions(), QStringList({QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("4")}));
        m_undo->undo();
        m_undo->undo();
        QCOMPARE(captions(), QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    }

    void dragMovesTheSelectionAndSnaps()
    {
        const int a = label(1000, 1000, 500, 200), b = label(3000, 1500, 500, 200);
        selection().set({L(b), L(a)});
        m_commands->setSnapStep(113);
        m_commands->beginDrag();
        m_commands->dragBy(140, -20);
        // a lands on the grid (1130, 1017); b keeps its distance to a.
        QCOMPARE(L(a).geometry(*m_page), (Rect{1130, 1017, 500, 200}));
        QCOMPARE(L(b).geometry(*m_page), (Rect{3130, 1517, 500, 200}));
        QCOMPARE(m_sizer->frame(), SizerGeometry::bind(L(a).geometry(*m_page)));
        m_commands->endDrag();
        QCOMPARE(m_undo->count(), 1);
        m_undo->undo();
        QCOMPARE(L(a).geometry(*m_page), (Rect{1000, 1000, 500, 200}));
        QCOMPARE(L(b).geometry(*m_page), (Rect{3000, 1500, 500, 200}));
        // Without snapping the pointer's offset is taken as it is; a drag
        // that ends where it began is no step.
        m_commands->setSnapStep(0);
        m_commands->beginDrag();
        m_commands->dragBy(7, 9);
        QCOMPARE(L(a).geometry(*m_page), (Rect{1007, 1009, 500, 200}));
        m_commands->dragBy(0, 0);
        m_commands->endDrag();
        QCOMPARE(m_undo->count(), 1);
    }

    void nudgeMovesEverySelected()
    {
        const int a = label(1000, 1000, 500, 200), b = label(3000, 1500, 500, 200);
        selection().set({L(a), L(b)});
        m_commands->nudge(15, 0);
        QCOMPARE(m_page->Label(a).Left, 1015.0f);
        QCOMPARE(m_page->Label(b).Left, 3015.0f);
        QCOMPARE(selection().count(), 2);
        m_undo->undo();
        QCOMPARE(m_page->Label(a).Left, 1000.0f);
        QCOMPARE(m_page->Label(b).Left, 3000.0f);
    }

    void gripsSnapToTheGrid()
    {
        // The object's edge (a grip inside the frame) goes to the grid line.
        const Rect frame{900, 400, 1685, 1070};
        QCOMPARE(SizerGeometry::snapGrip(frame, 7, 113), (Rect{900, 400, 1686, 1056}));
        QCOMPARE(SizerGeometry::snapGrip(frame, 0, 113), (Rect{917, 352, 1668, 1118}));
        QCOMPARE(SizerGeometry::snapGrip(frame, 7, 0), frame);
        const int a = label(1000, 500, 1485, 870);
        m_commands->setSnapStep(113);
        m_commands->pressLabel(a, MouseButton::Left);
        m_sizer->pressGrip(7, MouseButton::Left, 50, 50);
        m_sizer->moveOverGrip(7, MouseButton::Left, 80, 80);
        const auto released = m_sizer->releaseGrip(MouseButton::Left);
        QVERIFY(released);
        const Rect g = L(a).geometry(*m_page);
        QCOMPARE(std::fmod(g.left + g.width, 113.0), 0.0);
        QCOMPARE(std::fmod(g.top + g.height, 113.0), 0.0);
    }

    void lengths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("twips");
        QTest::newRow("mm by default") << QStringLiteral("25") << 1417.5;
        QTest::newRow("mm") << QStringLiteral(" 25 mm ") << 1417.5;
        QTest::newRow("comma") << QStringLiteral("2,5cm") << 1417.5;
        QTest::newRow("inch") << QStringLiteral("1 in") << 1440.0;
        QTest::newRow("points") << QStringLiteral("72pt") << 1440.0;
        QTest::newRow("twips") << QStringLiteral("1417 tw") << 1417.0;
        QTest::newRow("twips long") << QStringLiteral("1417 TWIPS") << 1417.0;
        QTest::newRow("negative") << QStringLiteral("-2") << -113.4;
        QTest::newRow("words") << QStringLiteral("wide") << -1.0;
        QTest::newRow("unit alone") << QStringLiteral("mm") << -1.0;
        QTest::newRow("unknown unit") << QStringLiteral("3 ft") << -1.0;
    }

    void lengths()
    {
        QFETCH(QString, text);
        QFETCH(double, twips);
        const auto value = LengthText::parse(text);
        if (twips == -1.0) {
            QVERIFY(!value);
            return;
        }
        QVERIFY(value);
        QVERIFY2(std::abs(*value - twips) < 1e-6, qPrintable(QString::number(*value)));
        QCOMPARE(LengthText::format(1417.5), QStringLiteral("25 mm (1417.5 tw)"));
        QCOMPARE(LengthText::format(11907), QStringLiteral("210 mm (11907 tw)"));
    }

    void inspectorRows()
    {
        const PropertyTable table = PropertyTable::standard();
        const int text = label(1000, 1000, 500, 200, QStringLiteral("Hello"));
        const int data = label(1000, 2000, 500, 200);
        m_page->Label(data).Tag = QStringLiteral("DATA:Orders.Total");
        const int pic = m_page->createPic();
        const auto keys = [&](const QList<ObjectRef> &objects) {
            QStringList out;
            for (const PropertyDescriptor *row : table.rowsFor(*m_page, objects))
                out << row->key;
            return out;
        };
        QVERIFY(keys({L(text)}).contains(QStringLiteral("Caption")));
        QVERIFY(!keys({L(text)}).contains(QStringLiteral("Statement")));
        QVERIFY(keys({L(data)}).contains(QStringLiteral("Field")));
        QVERIFY(!keys({L(data)}).contains(QStringLiteral("Caption")));
        // Data fields and formulas show their values by a format; fixed text has none.
        QVERIFY(keys({L(data)}).contains(QStringLiteral("Format")));
        QVERIFY(keys({L(data)}).contains(QStringLiteral("NullText")));
        QVERIFY(keys({L(data)}).contains(QStringLiteral("CanGrow")));
        QVERIFY(!keys({L(text)}).contains(QStringLiteral("Format")));
        // A label and a picture share their place and size only.
        QCOMPARE(keys({L(text), P(pic)}),
                 QStringList({QStringLiteral("Kind"), QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"),
                              QStringLiteral("Height")}));
        QCOMPARE(keys({}), QStringList({QStringLiteral("PageWidth"), QStringLiteral("PageHeight")}));
        // Shared values show; differing ones do not.
        const PropertyDescriptor &left = *table.find(QStringLiteral("Left"));
        QCOMPARE(PropertyTable::commonValue(left, *m_page, {L(text), L(data)}), QVariant(1000.0));
        QVERIFY(!PropertyTable::commonValue(*table.find(QStringLiteral("Top")), *m_page, {L(text), L(data)}).isValid());
        QCOMPARE(PropertyTable::display(left, 1000.0), QStringLiteral("17.64 mm (1000 tw)"));
        QCOMPARE(PropertyTable::display(*table.find(QStringLiteral("ForeColor")), uint(0x80000008)),
                 QStringLiteral("Window Text (system)"));
        QCOMPARE(PropertyTable::display(*table.find(QStringLiteral("BackColor")), uint(0x00FF8000)), QStringLiteral("#0080FF"));
        QCOMPARE(SystemColorNames::name(15), QStringLiteral("Button Face"));
    }

    void inspectorEditsAreOneUndoStep()
    {
        const PropertyTable table = PropertyTable::standard();
        const int a = label(1000, 1000, 500, 200), b = label(1000, 2000, 500, 200);
        m_page->Label(b).Tag = QStringLiteral("DATA:Orders.Total");
        m_page->Label(b).Caption = QStringLiteral("Orders.Total");
        selection().set({L(a), L(b)});
        m_commands->setProperty(*table.find(QStringLiteral("Width")), 2000.0);
        QCOMPARE(m_page->Label(a).Width, 2000.0f);
        QCOMPARE(m_page->Label(b).Width, 2000.0f);
        QCOMPARE(m_undo->count(), 1);
        m_undo->undo();
        QCOMPARE(m_page->Label(a).Width, 500.0f);
        QCOMPARE(m_page->Label(b).Width, 500.0f);
        // A binding: the tag and the caption the designer shows.
        selection().set({L(b)});
        m_commands->setProperty(*table.find(QStringLiteral("Field")), QStringLiteral("Qty"));
        QCOMPARE(m_page->Label(b).Tag, QStringLiteral("DATA:Orders.Qty"));
        QCOMPARE(m_page->Label(b).Caption, QStringLiteral("Orders.Qty"));
        // A format, undone in one step.
        m_commands->setProperty(*table.find(QStringLiteral("Format")), QStringLiteral("#,##0.00"));
        QCOMPARE(m_page->Label(b).Format, QStringLiteral("#,##0.00"));
        m_undo->undo();
        QVERIFY(m_page->Label(b).Format.isEmpty());
        m_undo->redo();
        QCOMPARE(m_page->Label(b).Format, QStringLiteral("#,##0.00"));
        // The page's own rows, with nothing selected.
        selection().clear();
        m_commands->setProperty(*table.find(QStringLiteral("PageWidth")), 8392.0);
        QCOMPARE(m_page->Width(), 8392.0f);
        m_undo->undo();
        QCOMPARE(m_page->Width(), 11907.0f);
        m_undo->redo();
        QCOMPARE(m_page->Width(), 8392.0f);
    }

    void objectList()
    {
        ObjectListModel model(*m_page);
        label(850, 600, 7000, 500, QStringLiteral("Customer List"));
        const int data = label(850, 2250, 2900, 270);
        m_page->Label(data).Tag = QStringLiteral("DATA:Customers.Name");
        const int pic = m_page->createPic();
        m_page->Pic(pic).Visible = true;
        QTRY_COMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(0, ObjectListModel::Object).data().toString(), QStringLiteral("Label 1"));
        QCOMPARE(model.index(1, ObjectListModel::Kind).data().toString(), QStringLiteral("Data field"));
        QCOMPARE(model.index(1, ObjectListModel::Content).data().toString(), QStringLiteral("Customers.Name"));
        QCOMPARE(model.index(1, ObjectListModel::Content).data(Qt::ToolTipRole).toString(), QStringLiteral("Customers.Name, at 14.99, 39.68 mm"));
        QCOMPARE(model.index(2, ObjectListModel::Kind).data().toString(), QStringLiteral("Picture"));
        QCOMPARE(model.objectAt(2), P(1));
        m_page->removeLabel(1);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(0, ObjectListModel::Kind).data().toString(), QStringLiteral("Data field"));
        m_page->removeAll();
        QTRY_COMPARE(model.rowCount(), 0);
    }
};

QTEST_MAIN(TestDesignerEditing)
#include "tst_designerediting.moc"
