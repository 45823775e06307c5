#pragma once

#include "Arrangement.h"

#include <QKeySequence>
#include <QObject>

class QAction;
class QMenu;
class QToolBar;

namespace KRML_ReportGen {

class DesignerView;

// The editing commands of a desktop designer as actions with icons and the
// standard shortcuts, for a window's menus and toolbars: undo and redo;
// delete, cut, copy, paste (the system clipboard), duplicate, select all;
// align, same size, distribute, stacking order; snap to the grid. Each is
// enabled while it can act on the designer's selection.
class DesignerEditActions : public QObject
{
    Q_OBJECT
public:
    enum Id {
        Undo, Redo, Cut, Copy, Paste, Delete, Duplicate, SelectAll,
        AlignLeft, AlignRight, AlignTop, AlignBottom, AlignHorizontalCentre, AlignVerticalCentre,
        SameWidth, SameHeight, DistributeHorizontally, DistributeVertically,
        BringToFront, SendToBack, SnapToGrid, Count
    };

    DesignerEditActions(DesignerView &view, QObject *parent = nullptr);

    QAction *action(Id id) const { return m_actions[id]; }
    // "&Edit" and "&Arrange" menus filled with the actions.
    void fillEditMenu(QMenu *menu) const;
    void fillArrangeMenu(QMenu *menu) const;

    // The page's commands on the system clipboard.
    void cut();
    void copy();
    void paste();

private:
    void updateEnabled();
    QAction *add(Id id, const QString &text, const QString &icon, const QKeySequence &shortcut = {});

    DesignerView &m_view;
    QAction *m_actions[Count] = {};
};

} // namespace KRML_ReportGen
