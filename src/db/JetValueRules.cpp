#include "JetValueRules.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace KRML_ReportGen {

namespace {

// Seconds and days on a clock without summer time, for counting boundaries.
qint64 secondsOf(const QDateTime &dt)
{
    return QDateTime(dt.date(), dt.time(), Qt::UTC).toSecsSinceEpoch();
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

// Halves to the even neighbour, as the dialect rounds; a product such as
// 2.675 * 100 that misses the half by the last binary digit counts as one.
double JetValueRules::roundHalfEven(double x, int digits)
{
    const double scale = std::pow(10.0, digits);
    const double v = x * scale;
    const double below = std::floor(v);
    const double fraction = v - below;
    double r;
    if (std::fabs(fraction - 0.5) < 1e-12 * std::max(1.0, std::fabs(v)))
        r = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    else
        r = std::round(v);
    return r / scale;
}

// Halves away from zero, as Format rounds what it shows.
double JetValueRules::roundHalfAway(double x, int digits)
{
    const double scale = std::pow(10.0, std::min(digits, 15));
    const double v = x * scale;
    const double a = std::fabs(v);
    const double below = std::floor(a);
    const double r = (a - below + 1e-12 * std::max(1.0, a) >= 0.5) ? below + 1.0 : below;
    return std::copysign(r, v) / scale;
}

QDateTime JetValueRules::dateAdd(const QString &intervalName, qint64 n, const QDateTime &dt)
{
    const QString interval = intervalName.toLower();
    // Beyond ten million of any step there is no date left.
    if (!dt.isValid() || n > 10000000 || n < -10000000)
        return QDateTime();
    // Calendar steps keep the day within its month (January 31 and a month
    // is the last day of February); the clock steps ignore summer time.
    const QDateTime clock(dt.date(), dt.time(), Qt::UTC);
    QDateTime r;
    if (interval == QLatin1String("yyyy"))
        r = dt.addYears(int(n));
    else if (interval == QLatin1String("q"))
        r = dt.addMonths(int(n * 3));
    else if (interval == QLatin1String("m"))
        r = dt.addMonths(int(n));
    else if (interval == QLatin1String("d") || interval == QLatin1String("y") || interval == QLatin1String("w"))
        r = dt.addDays(n);
    else if (interval == QLatin1String("ww"))
        r = dt.addDays(n * 7);
    else if (interval == QLatin1String("h") || interval == QLatin1String("n") || interval == QLatin1String("s")) {
        const QDateTime moved = clock.addSecs(n * (interval == QLatin1String("h") ? 3600 : interval == QLatin1String("n") ? 60 : 1));
        r = QDateTime(moved.date(), moved.time());
    }
    return r;
}

std::optional<qint64> JetValueRules::dateDiff(const QString &intervalName, const QDateTime &a, const QDateTime &b)
{
    const QString interval = intervalName.toLower();
    if (!a.isValid() || !b.isValid())
        return std::nullopt;
    // Counted as the dialect does: the boundaries crossed between the two.
    const qint64 days = a.date().daysTo(b.date());
    const qint64 sunday = QDate(1899, 12, 31).toJulianDay(); // a Sunday
    qint64 r = 0;
    if (interval == QLatin1String("yyyy"))
        r = b.date().year() - a.date().year();
    else if (interval == QLatin1String("q"))
        r = (b.date().year() * 4 + (b.date().month() - 1) / 3) - (a.date().year() * 4 + (a.date().month() - 1) / 3);
    else if (interval == QLatin1String("m"))
        r = (b.date().year() * 12 + b.date().month()) - (a.date().year() * 12 + a.date().month());
    else if (interval == QLatin1String("d") || interval == QLatin1String("y"))
        r = days;
    else if (interval == QLatin1String("w"))
        r = days / 7;
    else if (interval == QLatin1String("ww"))
        r = floorDiv(b.date().toJulianDay() - sunday, 7) - floorDiv(a.date().toJulianDay() - sunday, 7);
    else if (interval == QLatin1String("h"))
        r = floorDiv(secondsOf(b), 3600) - floorDiv(secondsOf(a), 3600);
    else if (interval == QLatin1String("n"))
        r = floorDiv(secondsOf(b), 60) - floorDiv(secondsOf(a), 60);
    else if (interval == QLatin1String("s"))
        r = secondsOf(b) - secondsOf(a);
    else
        return std::nullopt;
    return r;
}

int JetValueRules::weekOfYear(const QDate &d)
{
    // Week 1 holds January 1; weeks start on Sunday.
    const int firstWeekday = QDate(d.year(), 1, 1).dayOfWeek() % 7; // Sunday 0
    return (d.dayOfYear() - 1 + firstWeekday) / 7 + 1;
}

QString JetValueRules::formatNumber(double v, const JetFormatPattern::Number &n, QChar decimal, QChar group)
{
    if (n.percent)
        v *= 100;
    v = roundHalfAway(v, n.decimals);
    // Thousands with ",", decimals with ".", on every machine.
    static const QLocale c(QLocale::English, QLocale::UnitedStates);
    QString s = n.thousands ? c.toString(v, 'f', n.decimals) : QString::number(v, 'f', n.decimals);
    if (s.startsWith(QLatin1Char('-')) && QStringView(s).mid(1).count(QLatin1Char('0')) + QStringView(s).mid(1).count(QLatin1Char('.'))
                                              + QStringView(s).mid(1).count(QLatin1Char(',')) == s.size() - 1)
        s = s.mid(1); // no "-0.00"
    if (decimal != QLatin1Char('.') || group != QLatin1Char(',')) {
        for (QChar &c : s)
            c = c == QLatin1Char('.') ? decimal : c == QLatin1Char(',') ? group : c;
    }
    return n.percent ? s + QLatin1Char('%') : s;
}

QString JetValueRules::formatDate(const QDateTime &dt, const QString &pattern)
{
    QString out;
    const QDate d = dt.date();
    const QTime t = dt.time();
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    const QList<JetFormatPattern::Piece> pieces = JetFormatPattern::dateParts(pattern);
    // With AM/PM in the pattern the hours count on a twelve-hour clock:
    // 14:30 is "02:30 PM", midnight "12:00 AM".
    const bool twelveHours = std::any_of(pieces.cbegin(), pieces.cend(), [](const JetFormatPattern::Piece &p) {
        return p.part == JetFormatPattern::AmPm || p.part == JetFormatPattern::AmPmLower;
    });
    const int hour = twelveHours ? (t.hour() % 12 == 0 ? 12 : t.hour() % 12) : t.hour();
    for (const JetFormatPattern::Piece &piece : pieces) {
        using P = JetFormatPattern;
        switch (piece.part) {
        case P::Literal: out += piece.text; break;
        case P::Year4: out += QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')); break;
        case P::Year2: out += two(d.year() % 100); break;
        case P::Quarter: out += QString::number((d.month() + 2) / 3); break;
        case P::DayOfYear: out += QString::number(d.dayOfYear()); break;
        case P::MonthName: out += P::monthName(d.month()); break;
        case P::MonthAbbrev: out += P::monthName(d.month()).left(3); break;
        case P::Month2: out += two(d.month()); break;
        case P::Month: out += QString::number(d.month()); break;
        case P::DayName: out += P::dayName(d.dayOfWeek() % 7 + 1); break;
        case P::DayAbbrev: out += P::dayName(d.dayOfWeek() % 7 + 1).left(3); break;
        case P::Day2: out += two(d.day()); break;
        case P::Day: out += QString::number(d.day()); break;
        case P::Week: out += QString::number(weekOfYear(d)); break;
        case P::Weekday: out += QString::number(d.dayOfWeek() % 7 + 1); break;
        case P::Hour2: out += two(hour); break;
        case P::Hour: out += QString::number(hour); break;
        case P::Minute2: out += two(t.minute()); break;
        case P::Minute: out += QString::number(t.minute()); break;
        case P::Second2: out += two(t.second()); break;
        case P::Second: out += QString::number(t.second()); break;
        case P::AmPm: out += t.hour() < 12 ? QLatin1String("AM") : QLatin1String("PM"); break;
        case P::AmPmLower: out += t.hour() < 12 ? QLatin1String("am") : QLatin1String("pm"); break;
        }
    }
    return out;
}

} // namespace KRML_ReportGen
