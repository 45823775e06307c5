#pragma once

#include <QString>
#include <QtGlobal>

namespace KRML_ReportGen {

// The conversion rules of the report platform: numbers round halves to the
// even neighbour, integer conversions fail with error 6 "Overflow" instead of
// wrapping, text that is not a number fails with error 13 "Type mismatch"
// (LegacyNumber::convert decides what is a number). Numbers are written with
// "." whatever the locale.
class VbConvert
{
public:
    static double roundHalfEven(double value);

    static qint16 toInt16(double value);
    static qint32 toInt32(double value);
    static float toSingle(double value);

    static qint16 toInt16(const QString &text);
    static qint32 toInt32(const QString &text);
    static float toSingle(const QString &text);
    static double toDouble(const QString &text);

    // At most seven significant digits, no trailing zeros, exponent form
    // ("1.234568E+07", "1E-05") only where the digits would not show the value.
    static QString formatSingle(float value);
    // The same with fifteen significant digits.
    static QString formatDouble(double value);
};

} // namespace KRML_ReportGen
