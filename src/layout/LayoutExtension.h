#pragma once

#include <QList>
#include <QMap>
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
    // How a data-field or formula label shows its values.
    struct LabelSettings
    {
        QString Format;   // a Format pattern; empty: the value as it is
        QString NullText; // what a Null prints
        bool CanGrow = false;

        bool isDefault() const { return Format.isEmpty() && NullText.isEmpty() && !CanGrow; }
        friend bool operator==(const LabelSettings &a, const LabelSettings &b)
        {
            return a.Format == b.Format && a.NullText == b.NullText && a.CanGrow == b.CanGrow;
        }
    };

    static constexpr float DefaultBottomMargin = 567; // 1 cm

    // The distance between the page body's end and the page's foot, in twips.
    float BottomMargin = DefaultBottomMargin;
    // The report takes as many pages as its lists need, wherever it is shown.
    bool Paginate = false;
    // The report's locale for separators, the currency symbol and the date
    // order ("de_DE"); empty: the system's.
    QString Locale;
    // The tax rate in percent that AddTax and MinusTax use without a rate
    // of their own; empty: none.
    QString TaxRate;
    // By label index, as the member is read and written; labels at their
    // defaults are not listed. The page keeps them with its labels
    // (LayoutPage::applyLabelSettings, extensionToSave).
    QMap<int, LabelSettings> labels;
    // "Page.Key", "Report.Key" or "Label(i).Key", and the value, exactly as read.
    QList<QPair<QString, QString>> otherKeys;

    LabelSettings label(int index) const { return labels.value(index); }

    // Nothing to store: a package saved with it has no "Layout.ext".
    bool isDefault() const
    {
        return BottomMargin == DefaultBottomMargin && !Paginate && Locale.isEmpty() && TaxRate.isEmpty() && labels.isEmpty()
            && otherKeys.isEmpty();
    }
};

} // namespace KRML_ReportGen
