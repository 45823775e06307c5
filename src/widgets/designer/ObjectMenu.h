#pragma once

#include "ObjectMenuState.h"

#include <QMenu>
#include <functional>

namespace KRML_ReportGen {

class DesignerCommands;

// The "&Object" menu: its items run the designer's commands; which are
// shown and checked follows the last press (ObjectMenuState). A host may
// put it into its own menu bar, where it shows while an object is selected.
class ObjectMenu : public QMenu
{
    Q_OBJECT
public:
    ObjectMenu(DesignerCommands &commands, QWidget *parent = nullptr);

    // "Coordinate Positioning" opens its dialog through this.
    void setCoordinateDialog(std::function<void()> open) { m_coordinate = std::move(open); }
    // Shows the items as the last press left them.
    void refresh();
    void popupAt(const QPoint &globalPos);
    QAction *item(ObjectMenuState::Item item) const { return m_items[item]; }
    QAction *alignItem(ObjectMenuState::AlignItem item) const { return m_align[item]; }

private:
    DesignerCommands &m_commands;
    QAction *m_items[ObjectMenuState::ItemCount] = {};
    QAction *m_align[3] = {};
    QMenu *m_alignMenu;
    std::function<void()> m_coordinate;
};

} // namespace KRML_ReportGen
