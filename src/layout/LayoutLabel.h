#pragma once

#include "FontDescription.h"

#include <QString>
#include <QtGlobal>

namespace KRML_ReportGen {

// A text object of the page: fixed text, a data field or a formula,
// depending on its Tag (see LabelTag). Positions and sizes in twips.
struct LayoutLabel
{
    float Top = 210;
    float Left = 1425;
    float Height = 870;
    float Width = 1485;
    QString Caption = QStringLiteral("Label1");
    FontDescription Font;
    quint32 ForeColor = 0x80000008; // the system's window-text colour
    quint32 BackColor = 0xFFFFFF;   // white: no background box in the report
    qint16 Alignment = 0;           // 0 left, 1 right, 2 centred
    qint16 BorderStyle = 0;         // 0 none, 1 single line
    QString Tag;
    bool Visible = false;
    // Beyond the legacy layout text file (kept in the package's
    // "Layout.ext"): how a data-field or formula label shows its values.
    QString Format;   // a Format pattern; empty: the value as it is
    QString NullText; // what a Null prints
    bool CanGrow = false;

    friend bool operator==(const LayoutLabel &a, const LayoutLabel &b)
    {
        return a.Top == b.Top && a.Left == b.Left && a.Height == b.Height && a.Width == b.Width && a.Caption == b.Caption
            && a.Font == b.Font && a.ForeColor == b.ForeColor && a.BackColor == b.BackColor && a.Alignment == b.Alignment
            && a.BorderStyle == b.BorderStyle && a.Tag == b.Tag && a.Visible == b.Visible && a.Format == b.Format
            && a.NullText == b.NullText && a.CanGrow == b.CanGrow;
    }
    friend bool operator!=(const LayoutLabel &a, const LayoutLabel &b) { return !(a == b); }
};

} // namespace KRML_ReportGen
