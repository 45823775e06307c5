#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// The one text form of a date on the embedded engine: "yyyy-MM-dd" for a
// value at midnight (a date without a time, as the legacy engine sees it)
// and "yyyy-MM-dd HH:mm:ss" otherwise. Because a date alone is a prefix of
// the same day with a time, plain text order is date order: a date-only
// literal is midnight of its day for =, <, <= and BETWEEN alike. Date
// literals, bound Date parameters and imported Access dates all take this
// form; stored values are read in it and in the looser forms other programs
// write ("T" between date and time, "/" between the parts, no seconds).
class JetDateText
{
public:
    static QString canonical(const QDateTime &value);
    static QString canonical(const QDate &date) { return canonical(QDateTime(date, QTime(0, 0))); }

    // A stored value: a QDate when it has no time part, a QDateTime when it
    // has one, an invalid QVariant when the text is not a date.
    static QVariant parse(const char *text, int length);
    static QVariant parse(const QString &text);
};

} // namespace KRML_ReportGen
