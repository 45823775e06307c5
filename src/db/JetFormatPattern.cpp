#include "JetFormatPattern.h"

namespace KRML_ReportGen {

QString JetFormatPattern::monthName(int month)
{
    static const char *names[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
    return month >= 1 && month <= 12 ? QString::fromLatin1(names[month - 1]) : QString();
}

QString JetFormatPattern::dayName(int weekday)
{
    static const char *names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return weekday >= 1 && weekday <= 7 ? QString::fromLatin1(names[weekday - 1]) : QString();
}

QList<JetFormatPattern::Piece> JetFormatPattern::dateParts(QStringView given)
{
    QString pattern = given.toString();
    const QString lower = pattern.trimmed().toLower();
    if (lower == QLatin1String("short date"))
        pattern = QStringLiteral("yyyy-mm-dd");
    else if (lower == QLatin1String("long date"))
        pattern = QStringLiteral("d mmmm yyyy");
    else if (lower == QLatin1String("short time"))
        pattern = QStringLiteral("hh:nn");
    else if (lower == QLatin1String("long time"))
        pattern = QStringLiteral("hh:nn:ss");

    QList<Piece> parts;
    const auto literal = [&parts](const QString &text) {
        if (!parts.isEmpty() && parts.last().part == Literal)
            parts.last().text += text;
        else
            parts.append(Piece{Literal, text});
    };
    bool afterHour = false; // only separators since the last hour
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = pattern[i];
        const QChar l = c.toLower();
        if (c == QLatin1Char('"')) {
            const qsizetype close = pattern.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? n : close;
            literal(pattern.mid(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (c == QLatin1Char('\\') && i + 1 < n) {
            literal(pattern.mid(i + 1, 1));
            i += 2;
            continue;
        }
        if (pattern.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            parts.append(Piece{pattern.mid(i, 5) == QLatin1String("am/pm") ? AmPmLower : AmPm, QString()});
            i += 5;
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && pattern[i + run].toLower() == l)
            ++run;
        Part part = Literal;
        qsizetype used = run;
        if (l == QLatin1Char('y')) {
            part = run >= 4 ? Year4 : run >= 2 ? Year2 : DayOfYear;
            used = run >= 4 ? 4 : run >= 2 ? 2 : 1;
        } else if (l == QLatin1Char('q')) {
            part = Quarter;
            used = 1;
        } else if (l == QLatin1Char('m')) {
            if (afterHour && run <= 2) {
                part = run == 2 ? Minute2 : Minute;
            } else {
                used = std::min<qsizetype>(run, 4);
                part = used == 4 ? MonthName : used == 3 ? MonthAbbrev : used == 2 ? Month2 : Month;
            }
        } else if (l == QLatin1Char('d')) {
            used = std::min<qsizetype>(run, 4);
            part = used == 4 ? DayName : used == 3 ? DayAbbrev : used == 2 ? Day2 : Day;
        } else if (l == QLatin1Char('w')) {
            used = std::min<qsizetype>(run, 2);
            part = used == 2 ? Week : Weekday;
        } else if (l == QLatin1Char('h')) {
            used = std::min<qsizetype>(run, 2);
            part = used == 2 ? Hour2 : Hour;
        } else if (l == QLatin1Char('n')) {
            used = std::min<qsizetype>(run, 2);
            part = used == 2 ? Minute2 : Minute;
        } else if (l == QLatin1Char('s')) {
            used = std::min<qsizetype>(run, 2);
            part = used == 2 ? Second2 : Second;
        }
        if (part == Literal) {
            literal(pattern.mid(i, 1));
            // Separators keep an hour's claim on a following "m".
            if (c.isLetterOrNumber())
                afterHour = false;
            i += 1;
            continue;
        }
        parts.append(Piece{part, QString()});
        afterHour = part == Hour2 || part == Hour;
        i += used;
    }
    return parts;
}

std::optional<JetFormatPattern::Number> JetFormatPattern::number(QStringView pattern)
{
    const QString lower = pattern.trimmed().toString().toLower();
    if (lower == QLatin1String("fixed"))
        return Number{2, false, false};
    if (lower == QLatin1String("standard") || lower == QLatin1String("currency"))
        return Number{2, true, false};
    if (lower == QLatin1String("percent"))
        return Number{2, false, true};
    if (lower.isEmpty())
        return std::nullopt;
    Number n;
    bool digits = false;
    bool afterDot = false;
    for (const QChar c : lower) {
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            digits = true;
            if (afterDot)
                ++n.decimals;
        } else if (c == QLatin1Char('.')) {
            if (afterDot)
                return std::nullopt;
            afterDot = true;
        } else if (c == QLatin1Char(',')) {
            n.thousands = true;
        } else if (c == QLatin1Char('%')) {
            n.percent = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    return n;
}

} // namespace KRML_ReportGen
