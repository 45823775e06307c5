#include "DesignerEditActions.h"

#include "DesignerCommands.h"
#include "DesignerView.h"
#include "LayoutClipboard.h"
#include "Selection.h"
#include "ThemeIcon.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>

namespace KRML_ReportGen {

DesignerEditActions::DesignerEditActions(DesignerView &view, QObject *parent) : QObject(parent), m_view(view)
{
    DesignerCommands &c = view.commands();
    QUndoStack &undo = view.undoStack();
    m_actions[Undo] = undo.createUndoAction(this, QStringLiteral("&Undo"));
    m_actions[Undo]->setShortcut(QKeySequence::Undo);
    m_actions[Undo]->setIcon(ThemeIcon::get(QStringLiteral("edit-undo")));
    m_actions[Undo]->setObjectName(QStringLiteral("mnuUndo"));
    m_actions[Redo] = undo.createRedoAction(this, QStringLiteral("&Redo"));
    m_actions[Redo]->setShortcut(QKeySequence::Redo);
    m_actions[Redo]->setIcon(ThemeIcon::get(QStringLiteral("edit-redo")));
    m_actions[Redo]->setObjectName(QStringLiteral("mnuRedo"));

    connect(add(Cut, QStringLiteral("Cu&t"), QStringLiteral("edit-cut"), QKeySequence::Cut), &QAction::triggered, this,
            &DesignerEditActions::cut);
    connect(add(Copy, QStringLiteral("&Copy"), QStringLiteral("edit-copy"), QKeySequence::Copy), &QAction::triggered, this,
            &DesignerEditActions::copy);
    connect(add(Paste, QStringLiteral("&Paste"), QStringLiteral("edit-paste"), QKeySequence::Paste), &QAction::triggered, this,
            &DesignerEditActions::paste);
    connect(add(Delete, QStringLiteral("&Delete"), QStringLiteral("edit-delete"), QKeySequence::Delete), &QAction::triggered, this,
            [&c] { c.deleteSelected(); });
    connect(add(Duplicate, QStringLiteral("D&uplicate"), QStringLiteral("edit-duplicate"), QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, [&c] { c.duplicateSelected(); });
    connect(add(SelectAll, QStringLiteral("Select &All"), QStringLiteral("edit-select-all"), QKeySequence::SelectAll),
            &QAction::triggered, this, [&c] { c.selectAll(); });

    using A = Arrangement::Align;
    const struct
    {
        Id id;
        const char *text;
        const char *icon;
        A edge;
    } aligns[] = {{AlignLeft, "Align &Left Edges", "align-horizontal-left", A::Left},
                  {AlignRight, "Align &Right Edges", "align-horizontal-right", A::Right},
                  {AlignTop, "Align &Top Edges", "align-vertical-top", A::Top},
                  {AlignBottom, "Align &Bottom Edges", "align-vertical-bottom", A::Bottom},
                  {AlignHorizontalCentre, "Align Centres &Horizontally", "align-horizontal-center", A::HorizontalCentre},
                  {AlignVerticalCentre, "Align Centres &Vertically", "align-vertical-center", A::VerticalCentre}};
    for (const auto &a : aligns) {
        const A edge = a.edge;
        connect(add(a.id, QString::fromLatin1(a.text), QString::fromLatin1(a.icon)), &QAction::triggered, this,
                [&c, edge] { c.alignSelected(edge); });
    }
    connect(add(SameWidth, QStringLiteral("Same &Width"), QStringLiteral("krml-same-width")), &QAction::triggered, this,
            [&c] { c.sizeSelected(Arrangement::Size::Width); });
    connect(add(SameHeight, QStringLiteral("Same H&eight"), QStringLiteral("krml-same-height")), &QAction::triggered, this,
            [&c] { c.sizeSelected(Arrangement::Size::Height); });
    connect(add(DistributeHorizontally, QStringLiteral("Distribute Hori&zontally"), QStringLiteral("distribute-horizontal")),
            &QAction::triggered, this, [&c] { c.distributeSelected(Arrangement::Axis::Horizontal); });
    connect(add(DistributeVertically, QStringLiteral("Distribute Verticall&y"), QStringLiteral("distribute-vertical")),
            &QAction::triggered, this, [&c] { c.distributeSelected(Arrangement::Axis::Vertical); });
    connect(add(BringToFront, QStringLiteral("Bring to &Front"), QStringLiteral("object-order-front"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight)),
            &QAction::triggered, this, [&c] { c.bringToFront(); });
    connect(add(SendToBack, QStringLiteral("Send to Bac&k"), QStringLiteral("object-order-back"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft)),
            &QAction::triggered, this, [&c] { c.sendToBack(); });
    QAction *snap = add(SnapToGrid, QStringLiteral("&Snap to Grid"), QStringLiteral("view-grid"));
    snap->setCheckable(true);
    snap->setChecked(view.snapToGrid());
    connect(snap, &QAction::toggled, this, [this](bool on) { m_view.setSnapToGrid(on); });

    connect(&c.selection(), &Selection::changed, this, &DesignerEditActions::updateEnabled);
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, &DesignerEditActions::updateEnabled);
    updateEnabled();
}

QAction *DesignerEditActions::add(Id id, const QString &text, const QString &icon, const QKeySequence &shortcut)
{
    auto *a = new QAction(ThemeIcon::get(icon), text, this);
    a->setShortcut(shortcut);
    QString tip = text;
    tip.remove(QLatin1Char('&'));
    a->setToolTip(shortcut.isEmpty() ? tip : QStringLiteral("%1 (%2)").arg(tip, shortcut.toString(QKeySequence::NativeText)));
    m_actions[id] = a;
    return a;
}

void DesignerEditActions::updateEnabled()
{
    const int n = m_view.commands().selection().count();
    for (Id id : {Cut, Copy, Delete, Duplicate, BringToFront, SendToBack})
        m_actions[id]->setEnabled(n >= 1);
    for (Id id : {AlignLeft, AlignRight, AlignTop, AlignBottom, AlignHorizontalCentre, AlignVerticalCentre, SameWidth, SameHeight})
        m_actions[id]->setEnabled(n >= 2);
    for (Id id : {DistributeHorizontally, DistributeVertically})
        m_actions[id]->setEnabled(n >= 3);
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *mime = clipboard ? clipboard->mimeData() : nullptr;
    m_actions[Paste]->setEnabled(mime && LayoutClipboard::holdsLayout(*mime));
}

void DesignerEditActions::fillEditMenu(QMenu *menu) const
{
    menu->addAction(m_actions[Undo]);
    menu->addAction(m_actions[Redo]);
    menu->addSeparator();
    for (Id id : {Cut, Copy, Paste, Delete})
        menu->addAction(m_actions[id]);
    menu->addSeparator();
    menu->addAction(m_actions[Duplicate]);
    menu->addAction(m_actions[SelectAll]);
}

void DesignerEditActions::fillArrangeMenu(QMenu *menu) const
{
    for (Id id : {AlignLeft, AlignRight, AlignTop, AlignBottom, AlignHorizontalCentre, AlignVerticalCentre})
        menu->addAction(m_actions[id]);
    menu->addSeparator();
    for (Id id : {SameWidth, SameHeight, DistributeHorizontally, DistributeVertically})
        menu->addAction(m_actions[id]);
    menu->addSeparator();
    menu->addAction(m_actions[BringToFront]);
    menu->addAction(m_actions[SendToBack]);
    menu->addSeparator();
    menu->addAction(m_actions[SnapToGrid]);
}

void DesignerEditActions::cut()
{
    copy();
    m_view.commands().deleteSelected();
}

void DesignerEditActions::copy()
{
    if (auto mime = m_view.commands().copySelected())
        QGuiApplication::clipboard()->setMimeData(mime.release());
}

void DesignerEditActions::paste()
{
    if (const QMimeData *mime = QGuiApplication::clipboard()->mimeData())
        m_view.commands().paste(*mime);
}

} // namespace KRML_ReportGen
