#pragma once

#include <QStringView>
#include <optional>

namespace KRML_ReportGen {

// How the legacy platform reads a number out of text. There are exactly two
// rules, and every part of the system uses one of them:
//
// - leadingValue is the Val rule: blanks, tabs and line breaks are skipped
//   anywhere, then the longest number at the start counts ("12abc" is 12,
//   "1 2" is 12, "1e3" is 1000, "&H10" is 16) and anything else is 0. Only
//   "." separates decimals. Formulas and the SQL function Val use it.
// - convert is the full-conversion rule of CDbl and of a typed entry: the
//   whole text, blanks around it aside, must be one number (a sign, digits
//   with one "." or ",", an exponent, or &H / &O notation); otherwise there
//   is no value.
//
// &H and &O integers are 16-bit up to four hex digits (or an octal value up
// to &O177777) and 32-bit above, signed, so &HFFFF is -1.
class LegacyNumber
{
public:
    static double leadingValue(QStringView text);
    static std::optional<double> convert(QStringView text);
    static bool isNumber(QStringView text) { return convert(text).has_value(); }
};

} // namespace KRML_ReportGen
