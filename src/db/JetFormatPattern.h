#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace KRML_ReportGen {

// The patterns of the dialect's Format function, read once for every
// engine: the embedded engine formats with them, and the servers' SQL is
// written from them.
//
// Date patterns: yyyy, yy, q (quarter), y (day of the year), mmmm, mmm, mm,
// m, dddd, ddd, dd, d, ww (week of the year), w (weekday), hh, h, nn, n, ss,
// s, AM/PM, am/pm; "m" and "mm" right after an hour (separators aside) are
// minutes; "quoted text" and \x are literal. Named ones: "Short Date"
// (yyyy-mm-dd), "Long Date" (d mmmm yyyy), "Short Time" (hh:nn) and "Long
// Time" (hh:nn:ss). Number patterns: "0.00", "#,##0.00" (a "," asks for
// thousands separators, the digits after "." give the decimals), and the
// named "Fixed", "Standard", "Currency" and "Percent"; "," and "." on every
// machine.
class JetFormatPattern
{
public:
    enum Part {
        Literal,
        Year4, Year2, Quarter, DayOfYear,
        MonthName, MonthAbbrev, Month2, Month,
        DayName, DayAbbrev, Day2, Day,
        Week, Weekday,
        Hour2, Hour, Minute2, Minute, Second2, Second,
        AmPm, AmPmLower,
    };
    struct Piece
    {
        Part part = Literal;
        QString text; // Literal
    };
    static QList<Piece> dateParts(QStringView pattern);

    struct Number
    {
        int decimals = 0;
        bool thousands = false;
        bool percent = false;
    };
    // The number format a pattern asks for; nothing when it is no number pattern.
    static std::optional<Number> number(QStringView pattern);

    static QString monthName(int month);  // "January"
    static QString dayName(int weekday);  // 1 Sunday … 7 Saturday
};

} // namespace KRML_ReportGen
