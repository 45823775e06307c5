#include "ObjectMenu.h"

#include "DesignerCommands.h"

namespace KRML_ReportGen {

ObjectMenu::ObjectMenu(DesignerCommands &commands, QWidget *parent)
    : QMenu(ObjectMenuState::caption(ObjectMenuState::Object), parent), m_commands(commands)
{
    setObjectName(QStringLiteral("mnuObject"));
    using S = ObjectMenuState;
    m_items[S::Object] = menuAction();
    const auto add = [this](S::Item item, const char *name, std::function<void()> run) {
        QAction *a = addAction(S::caption(item));
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [run] { run(); });
        m_items[item] = a;
    };
    add(S::Move, "mnuMove", [this] { m_commands.startMove(); });
    add(S::Coordinate, "mnuCoordinate", [this] {
        if (m_coordinate)
            m_coordinate();
    });
    add(S::EditText, "mnuEditText", [this] { m_commands.editText(); });
    add(S::FormatText, "mnuFormatText", [this] { m_commands.formatText(); });
    m_alignMenu = addMenu(S::caption(S::Alignment));
    m_alignMenu->setObjectName(QStringLiteral("mnuAlignment"));
    m_items[S::Alignment] = m_alignMenu->menuAction();
    const struct
    {
        S::AlignItem item;
        const char *name;
        int alignment;
    } aligns[] = {{S::LeftAligned, "mnuLeftAligned", 0}, {S::Centered, "mnuCentered", 2}, {S::RightAligned, "mnuRightAligned", 1}};
    for (const auto &a : aligns) {
        QAction *action = m_alignMenu->addAction(S::alignCaption(a.item));
        action->setObjectName(QLatin1String(a.name));
        action->setCheckable(true);
        const int alignment = a.alignment;
        connect(action, &QAction::triggered, this, [this, alignment] { m_commands.align(alignment); });
        m_align[a.item] = action;
    }
    add(S::Border, "mnuBorder", [this] { m_commands.toggleBorder(); });
    m_items[S::Border]->setCheckable(true);
    add(S::EditPicture, "mnuEditPicture", [this] { m_commands.editPicture(); });
    add(S::BackColor, "mnuBackColor", [this] { m_commands.backColor(); });
    connect(this, &QMenu::aboutToShow, this, &ObjectMenu::refresh);
    refresh();
}

void ObjectMenu::refresh()
{
    const ObjectMenuState &state = m_commands.menu();
    for (int i = 0; i < ObjectMenuState::ItemCount; ++i)
        m_items[i]->setVisible(state.visible(ObjectMenuState::Item(i)));
    m_items[ObjectMenuState::Border]->setChecked(state.borderChecked());
    for (int a = 0; a < 3; ++a)
        m_align[a]->setChecked(state.alignChecked(ObjectMenuState::AlignItem(a)));
}

void ObjectMenu::popupAt(const QPoint &globalPos)
{
    refresh();
    popup(globalPos);
}

} // namespace KRML_ReportGen
