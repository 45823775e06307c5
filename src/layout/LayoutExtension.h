#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace KRML_ReportGen {

// What a layout carries beyond the legacy layout text file: page settings
// that older readers never knew about, kept in the package's "Layout.ext"
// member. A legacy layout has all of them at their defaults.
//
// Keys this version does not know (written by a newer one) are kept, in
// the order they were read, and written back unchanged.
struct LayoutExtension
{
    static constexpr float DefaultBottomMargin = 567; // 1 cm

    // The distance between the page body's end and the page's foot, in twips.
    float BottomMargin = DefaultBottomMargin;
    // The report takes as many pages as its lists need, wherever it is shown.
    bool Paginate = false;
    // "Page.Key" or "Label(i).Key", and the value, exactly as read.
    QList<QPair<QString, QString>> otherKeys;

    // Nothing to store: a package saved with it has no "Layout.ext".
    bool isDefault() const { return BottomMargin == DefaultBottomMargin && !Paginate && otherKeys.isEmpty(); }
};

} // namespace KRML_ReportGen
