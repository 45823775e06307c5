#pragma once

#include "MouseButton.h"

#include <QString>

namespace KRML_ReportGen {

struct LayoutLabel;

// Which items of the "&Object" menu show, and which are checked, after the
// last press: a label shows the text items, a picture "Edit &Picture", the
// empty page hides the object's items. Each press sets only the items it
// concerns, so the menu reflects the most recent press.
class ObjectMenuState
{
public:
    enum Item { Object, Move, Coordinate, EditText, FormatText, Alignment, Border, EditPicture, BackColor, ItemCount };
    enum AlignItem { LeftAligned, Centered, RightAligned };

    static QString caption(Item item);
    static QString alignCaption(AlignItem item);

    bool visible(Item item) const { return m_visible[item]; }
    bool borderChecked() const { return m_borderChecked; }
    bool alignChecked(AlignItem item) const { return m_alignChecked[item]; }

    // A right press on a data-field label hides
    // "&Edit Text".
    void pressLabel(const LayoutLabel &label, MouseButton button);
    void pressPicture(MouseButton button);
    void clickPage();
    // "&Border" inverts its check mark; returns the new state.
    bool toggleBorder();

private:
    bool m_visible[ItemCount] = {false, true, true, true, true, true, true, true, true};
    bool m_alignChecked[3] = {false, false, false};
    bool m_borderChecked = false;
};

} // namespace KRML_ReportGen
