#pragma once

#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// The text a value prints as: the one number-to-text conversion of the
// system, for reports, formulas, the SQL editor's grid and its CSV export.
// A number is the legacy default text of a Double: up to 15 significant
// digits, no trailing zeros, exponent form only where the digits cannot
// show the value, and the decimal separator of the user's regional
// settings (QLocale's default, which is the system's unless the host sets
// another). Dates read 2024-03-15 (with the time when there is one), truth
// values True and False.
class ValueText
{
public:
    static QString of(const QVariant &value);
    static QString number(double value);
};

} // namespace KRML_ReportGen
