#include "ObjectMenuState.h"

#include "LayoutLabel.h"

namespace KRML_ReportGen {

QString ObjectMenuState::caption(Item item)
{
    switch (item) {
    case Object: return QStringLiteral("&Object");
    case Move: return QStringLiteral("&Move");
    case Coordinate: return QStringLiteral("Coordinate Positioning");
    case EditText: return QStringLiteral("&Edit Text");
    case FormatText: return QStringLiteral("&Format Text");
    case Alignment: return QStringLiteral("&Alignment");
    case Border: return QStringLiteral("&Border");
    case EditPicture: return QStringLiteral("Edit &Picture");
    case BackColor: return QStringLiteral("BackColor");
    default: return QString();
    }
}

QString ObjectMenuState::alignCaption(AlignItem item)
{
    switch (item) {
    case LeftAligned: return QStringLiteral("&Left Align");
    case Centered: return QStringLiteral("&Centered");
    default: return QStringLiteral("&Right Align");
    }
}

void ObjectMenuState::pressLabel(const LayoutLabel &label, MouseButton button)
{
    for (Item i : {Object, EditText, Move, FormatText, BackColor, Alignment, Border, Coordinate})
        m_visible[i] = true;
    m_visible[EditPicture] = false;
    m_alignChecked[LeftAligned] = label.Alignment == 0;
    m_alignChecked[RightAligned] = label.Alignment == 1;
    m_alignChecked[Centered] = label.Alignment == 2;
    m_borderChecked = label.BorderStyle == 1;
    if (button == MouseButton::Right)
        m_visible[EditText] = !label.Tag.contains(QLatin1String("DATA"), Qt::CaseInsensitive);
}

void ObjectMenuState::pressPicture(MouseButton button)
{
    if (button != MouseButton::Left)
        return; // the right button only shows the menu as it is
    for (Item i : {Object, EditPicture, Move, BackColor, Coordinate})
        m_visible[i] = true;
    for (Item i : {Alignment, EditText, FormatText, Border})
        m_visible[i] = false;
}

void ObjectMenuState::clickPage()
{
    for (Item i : {Object, EditText, EditPicture, FormatText, BackColor, Border})
        m_visible[i] = false;
}

bool ObjectMenuState::toggleBorder()
{
    m_borderChecked = !m_borderChecked;
    return m_borderChecked;
}

} // namespace KRML_ReportGen
