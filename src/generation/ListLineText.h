#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

class LayoutPage;
struct LayoutLabel;
struct PlacedItem;

// The text a list prints for one row: a data field's value or the label's
// formula worked out on the row its cursor stands on, formatted with the
// label's Format and NullText in the report's locale. A null value without
// a NullText is a null text (an empty line that does not move the print
// position across). Laying out (the lines of a label that grows) and
// drawing read the same text.
class ListLineText
{
public:
    explicit ListLineText(const LayoutPage &page);

    // value: the field of a data list's row; formulas read their rows.
    QString of(const LayoutLabel &label, PlacedItem &item, const QVariant &value) const;

private:
    const LayoutPage &m_page;
    QLocale m_locale; // the report's
};

} // namespace KRML_ReportGen
