#pragma once

#include "JetFormatPattern.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace KRML_ReportGen {

// The value rules of the dialect that do not depend on where a value comes
// from: rounding, date arithmetic and the Format patterns (JetFormatPattern).
// The embedded engine's functions and the formula language both use them,
// so that a value reads the same in a statement and on a label.
class JetValueRules
{
public:
    // Halves to the even neighbour, as Round does.
    static double roundHalfEven(double x, int digits);
    // Halves away from zero, as Format rounds what it shows.
    static double roundHalfAway(double x, int digits);

    // DateAdd and DateDiff with the intervals yyyy, q, m, y, d, w, ww, h, n
    // and s; an interval not among them (or a step beyond any date) gives
    // an invalid date or nothing.
    static QDateTime dateAdd(const QString &interval, qint64 n, const QDateTime &dt);
    static std::optional<qint64> dateDiff(const QString &interval, const QDateTime &a, const QDateTime &b);
    // Week 1 holds January 1; weeks start on Sunday.
    static int weekOfYear(const QDate &d);

    // A number by a number pattern, with the decimal and thousands
    // separators given ("." and "," in statements, on every machine).
    static QString formatNumber(double v, const JetFormatPattern::Number &n, QChar decimal = QLatin1Char('.'),
                                QChar group = QLatin1Char(','));
    // A date and time by a date pattern.
    static QString formatDate(const QDateTime &dt, const QString &pattern);
};

} // namespace KRML_ReportGen
