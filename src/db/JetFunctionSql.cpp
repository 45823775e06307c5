#include "JetFunctionSql.h"

#include "JetFormatPattern.h"
#include "SqlLiteralScanner.h"

#include <QHash>
#include <functional>

namespace KRML_ReportGen {

namespace {

using Dialect = JetSqlRewriter::Dialect;
using Args = QStringList;

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

QString p(const QString &s)
{
    return QLatin1Char('(') + s + QLatin1Char(')');
}

// ---- PostgreSQL ----------------------------------------------------------

QString pgText(const QString &x)
{
    return QStringLiteral("CAST(%1 AS text)").arg(x);
}
QString pgDouble(const QString &x)
{
    return QStringLiteral("CAST(%1 AS double precision)").arg(x);
}
QString pgInt(const QString &x)
{
    return QStringLiteral("CAST(%1 AS integer)").arg(x);
}
QString pgField(const char *field, const QString &d)
{
    return QStringLiteral("CAST(EXTRACT(%1 FROM %2) AS integer)").arg(QLatin1String(field), d);
}

// Halves to the even neighbour: v - floor(v) = 0.5 picks 2 * floor(v / 2 + 0.25).
QString halfEven(const QString &v)
{
    return QStringLiteral("(CASE WHEN %1 - floor(%1) = 0.5 THEN 2 * floor(%1 / 2 + 0.25) ELSE floor(%1 + 0.5) END)").arg(p(v));
}

QString powerOfTen(const QString &n, Dialect d)
{
    bool ok = false;
    const int digits = n.trimmed().toInt(&ok);
    if (ok && digits >= 0 && digits <= 15)
        return QLatin1Char('1') + QString(digits, QLatin1Char('0'));
    return d == Dialect::PostgreSql ? QStringLiteral("power(CAST(10 AS numeric), %1)").arg(n)
                                    : QStringLiteral("pow(10, %1)").arg(n);
}

QString pgDateSql(const Args &a, int intervalArg, const std::function<QString(const QString &)> &build)
{
    const auto interval = JetFunctionSql::literal(a[intervalArg]);
    if (!interval)
        return QString();
    return build(interval->toLower());
}

QString pgFormat(const QString &value, const QString &pattern)
{
    if (const auto n = JetFormatPattern::number(pattern)) {
        QString mask = n->thousands ? QStringLiteral("FM999,999,999,999,990") : QStringLiteral("FM9999999999999990");
        if (n->decimals > 0)
            mask += QLatin1Char('.') + QString(n->decimals, QLatin1Char('0'));
        const QString v = n->percent ? QStringLiteral("%1 * 100").arg(p(pgDouble(value))) : pgDouble(value);
        QString sql = QStringLiteral("to_char(%1, %2)").arg(v, quoted(mask));
        return n->percent ? QStringLiteral("(%1 || '%')").arg(sql) : sql;
    }
    QString mask;
    for (const JetFormatPattern::Piece &piece : JetFormatPattern::dateParts(pattern)) {
        using P = JetFormatPattern;
        switch (piece.part) {
        case P::Literal: {
            // Text inside double quotes is literal in a to_char pattern.
            QString t = piece.text;
            t.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
            mask += QLatin1Char('"') + t + QLatin1Char('"');
            break;
        }
        case P::Year4: mask += QLatin1String("YYYY"); break;
        case P::Year2: mask += QLatin1String("YY"); break;
        case P::Quarter: mask += QLatin1String("Q"); break;
        case P::DayOfYear: mask += QLatin1String("FMDDD"); break;
        case P::MonthName: mask += QLatin1String("FMMonth"); break;
        case P::MonthAbbrev: mask += QLatin1String("Mon"); break;
        case P::Month2: mask += QLatin1String("MM"); break;
        case P::Month: mask += QLatin1String("FMMM"); break;
        case P::DayName: mask += QLatin1String("FMDay"); break;
        case P::DayAbbrev: mask += QLatin1String("Dy"); break;
        case P::Day2: mask += QLatin1String("DD"); break;
        case P::Day: mask += QLatin1String("FMDD"); break;
        case P::Week: mask += QLatin1String("FMWW"); break;
        case P::Weekday: mask += QLatin1String("D"); break;
        case P::Hour2: mask += QLatin1String("HH24"); break;
        case P::Hour: mask += QLatin1String("FMHH24"); break;
        case P::Minute2: mask += QLatin1String("MI"); break;
        case P::Minute: mask += QLatin1String("FMMI"); break;
        case P::Second2: mask += QLatin1String("SS"); break;
        case P::Second: mask += QLatin1String("FMSS"); break;
        case P::AmPm: mask += QLatin1String("AM"); break;
        case P::AmPmLower: mask += QLatin1String("am"); break;
        }
    }
    return QStringLiteral("to_char(CAST(%1 AS timestamp), %2)").arg(value, quoted(mask));
}

std::optional<QString> postgres(const QString &f, const Args &a)
{
    const qsizetype n = a.size();
    const auto days = [](const QString &d) { return QStringLiteral("CAST(%1 AS date)").arg(d); };
    const auto epoch = [](const QString &d) { return QStringLiteral("EXTRACT(EPOCH FROM CAST(%1 AS timestamp))").arg(d); };
    if (f == QLatin1String("iif") && n == 3)
        return QStringLiteral("(CASE WHEN %1 THEN %2 ELSE %3 END)").arg(a[0], a[1], a[2]);
    if (f == QLatin1String("nz") && n == 2)
        return QStringLiteral("COALESCE(%1, %2)").arg(a[0], a[1]);
    if (f == QLatin1String("nz") && n == 1)
        return QStringLiteral("COALESCE(%1, '')").arg(pgText(a[0]));
    if (f == QLatin1String("ucase") && n == 1)
        return QStringLiteral("upper(%1)").arg(pgText(a[0]));
    if (f == QLatin1String("lcase") && n == 1)
        return QStringLiteral("lower(%1)").arg(pgText(a[0]));
    if (f == QLatin1String("len") && n == 1)
        return QStringLiteral("length(%1)").arg(pgText(a[0]));
    if (f == QLatin1String("left") && n == 2)
        return QStringLiteral("left(%1, %2)").arg(pgText(a[0]), pgInt(a[1]));
    if (f == QLatin1String("right") && n == 2)
        return QStringLiteral("right(%1, %2)").arg(pgText(a[0]), pgInt(a[1]));
    if (f == QLatin1String("mid") && n == 2)
        return QStringLiteral("substr(%1, %2)").arg(pgText(a[0]), pgInt(a[1]));
    if (f == QLatin1String("mid") && n == 3)
        return QStringLiteral("substr(%1, %2, %3)").arg(pgText(a[0]), pgInt(a[1]), pgInt(a[2]));
    if ((f == QLatin1String("trim") || f == QLatin1String("ltrim") || f == QLatin1String("rtrim")) && n == 1)
        return QStringLiteral("%1(%2, ' ')").arg(f == QLatin1String("trim") ? QStringLiteral("btrim") : f, pgText(a[0]));
    if (f == QLatin1String("cstr") && n == 1)
        return pgText(a[0]);
    if ((f == QLatin1String("cint") || f == QLatin1String("clng")) && n == 1)
        return QStringLiteral("CAST(%1 AS integer)").arg(pgDouble(a[0])); // float to integer rounds halves to even
    if ((f == QLatin1String("cdbl") || f == QLatin1String("csng")) && n == 1)
        return pgDouble(a[0]);
    if (f == QLatin1String("ccur") && n == 1)
        return QStringLiteral("CAST(round(CAST(%1 AS numeric), 4) AS double precision)").arg(a[0]);
    if (f == QLatin1String("val") && n == 1)
        return QStringLiteral("COALESCE(CAST(NULLIF(substring(%1 from '^\\s*[-+]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][-+]?[0-9]+)?'), '') "
                              "AS double precision), 0)")
            .arg(pgText(a[0]));
    if (f == QLatin1String("int") && n == 1)
        return QStringLiteral("floor(%1)").arg(pgDouble(a[0]));
    if (f == QLatin1String("fix") && n == 1)
        return QStringLiteral("trunc(%1)").arg(pgDouble(a[0]));
    if (f == QLatin1String("round") && (n == 1 || n == 2)) {
        const QString scale = powerOfTen(n == 2 ? a[1] : QStringLiteral("0"), Dialect::PostgreSql);
        const QString v = QStringLiteral("CAST(%1 AS numeric) * %2").arg(a[0], scale);
        return QStringLiteral("CAST(%1 / %2 AS double precision)").arg(halfEven(v), scale);
    }
    if (f == QLatin1String("abs") && n == 1)
        return QStringLiteral("abs(%1)").arg(a[0]);
    if (f == QLatin1String("sgn") && n == 1)
        return QStringLiteral("CAST(sign(%1) AS integer)").arg(a[0]);
    if (f == QLatin1String("sqr") && n == 1)
        return QStringLiteral("sqrt(%1)").arg(a[0]);
    if (f == QLatin1String("year") && n == 1)
        return pgField("YEAR", a[0]);
    if (f == QLatin1String("month") && n == 1)
        return pgField("MONTH", a[0]);
    if (f == QLatin1String("day") && n == 1)
        return pgField("DAY", a[0]);
    if (f == QLatin1String("hour") && n == 1)
        return pgField("HOUR", a[0]);
    if (f == QLatin1String("minute") && n == 1)
        return pgField("MINUTE", a[0]);
    if (f == QLatin1String("second") && n == 1)
        return QStringLiteral("CAST(floor(EXTRACT(SECOND FROM %1)) AS integer)").arg(a[0]);
    if (f == QLatin1String("weekday") && n == 1)
        return QStringLiteral("(%1 + 1)").arg(pgField("DOW", a[0]));
    if (f == QLatin1String("now") && n == 0)
        return QStringLiteral("LOCALTIMESTAMP(0)");
    if (f == QLatin1String("date") && n == 0)
        return QStringLiteral("CURRENT_DATE");
    if (f == QLatin1String("time") && n == 0)
        return QStringLiteral("LOCALTIME(0)");
    if (f == QLatin1String("dateserial") && n == 3)
        return QStringLiteral("CAST(make_date(%1, 1, 1) + make_interval(months => %2 - 1, days => %3 - 1) AS date)")
            .arg(pgInt(a[0]), pgInt(a[1]), pgInt(a[2]));
    if (f == QLatin1String("dateadd") && n == 3) {
        const QString sql = pgDateSql(a, 0, [&](const QString &i) {
            const QString k = pgInt(a[1]);
            QString interval;
            if (i == QLatin1String("yyyy"))
                interval = QStringLiteral("years => %1").arg(k);
            else if (i == QLatin1String("q"))
                interval = QStringLiteral("months => 3 * %1").arg(k);
            else if (i == QLatin1String("m"))
                interval = QStringLiteral("months => %1").arg(k);
            else if (i == QLatin1String("d") || i == QLatin1String("y") || i == QLatin1String("w"))
                interval = QStringLiteral("days => %1").arg(k);
            else if (i == QLatin1String("ww"))
                interval = QStringLiteral("weeks => %1").arg(k);
            else if (i == QLatin1String("h"))
                interval = QStringLiteral("hours => %1").arg(k);
            else if (i == QLatin1String("n"))
                interval = QStringLiteral("mins => %1").arg(k);
            else if (i == QLatin1String("s"))
                interval = QStringLiteral("secs => %1").arg(k);
            else
                return QString();
            return QStringLiteral("(CAST(%1 AS timestamp) + make_interval(%2))").arg(a[2], interval);
        });
        if (!sql.isEmpty())
            return sql;
    }
    if (f == QLatin1String("datediff") && (n == 3 || n == 4 || n == 5)) {
        const QString x = a[1], y = a[2];
        const QString sql = pgDateSql(a, 0, [&](const QString &i) -> QString {
            const auto field = [&](const char *name, const QString &d) {
                return QStringLiteral("EXTRACT(%1 FROM CAST(%2 AS timestamp))").arg(QLatin1String(name), d);
            };
            if (i == QLatin1String("yyyy"))
                return QStringLiteral("CAST(%1 - %2 AS integer)").arg(field("YEAR", y), field("YEAR", x));
            if (i == QLatin1String("q"))
                return QStringLiteral("CAST((%1 * 4 + %2) - (%3 * 4 + %4) AS integer)")
                    .arg(field("YEAR", y), field("QUARTER", y), field("YEAR", x), field("QUARTER", x));
            if (i == QLatin1String("m"))
                return QStringLiteral("CAST((%1 * 12 + %2) - (%3 * 12 + %4) AS integer)")
                    .arg(field("YEAR", y), field("MONTH", y), field("YEAR", x), field("MONTH", x));
            if (i == QLatin1String("d") || i == QLatin1String("y"))
                return QStringLiteral("(%1 - %2)").arg(days(y), days(x));
            if (i == QLatin1String("w"))
                return QStringLiteral("((%1 - %2) / 7)").arg(days(y), days(x));
            if (i == QLatin1String("ww")) // Sundays crossed: 1899-12-31 was a Sunday
                return QStringLiteral("CAST(floor((%1 - DATE '1899-12-31') / 7.0) - floor((%2 - DATE '1899-12-31') / 7.0) AS integer)")
                    .arg(days(y), days(x));
            const int unit = i == QLatin1String("h") ? 3600 : i == QLatin1String("n") ? 60 : i == QLatin1String("s") ? 1 : 0;
            if (unit == 0)
                return QString();
            return QStringLiteral("CAST(floor(%1 / %3) - floor(%2 / %3) AS bigint)").arg(epoch(y), epoch(x)).arg(unit);
        });
        if (!sql.isEmpty())
            return sql;
    }
    if (f == QLatin1String("datepart") && n >= 2 && n <= 4) {
        const QString d = QStringLiteral("CAST(%1 AS timestamp)").arg(a[1]);
        const QString sql = pgDateSql(a, 0, [&](const QString &i) -> QString {
            if (i == QLatin1String("yyyy"))
                return pgField("YEAR", d);
            if (i == QLatin1String("q"))
                return pgField("QUARTER", d);
            if (i == QLatin1String("m"))
                return pgField("MONTH", d);
            if (i == QLatin1String("y"))
                return pgField("DOY", d);
            if (i == QLatin1String("d"))
                return pgField("DAY", d);
            if (i == QLatin1String("w"))
                return QStringLiteral("(%1 + 1)").arg(pgField("DOW", d));
            if (i == QLatin1String("ww"))
                return QStringLiteral("CAST(floor((EXTRACT(DOY FROM %1) - 1 + EXTRACT(DOW FROM date_trunc('year', %1))) / 7) + 1 AS integer)")
                    .arg(d);
            if (i == QLatin1String("h"))
                return pgField("HOUR", d);
            if (i == QLatin1String("n"))
                return pgField("MINUTE", d);
            if (i == QLatin1String("s"))
                return QStringLiteral("CAST(floor(EXTRACT(SECOND FROM %1)) AS integer)").arg(d);
            return QString();
        });
        if (!sql.isEmpty())
            return sql;
    }
    if (f == QLatin1String("format") && n == 1)
        return pgText(a[0]);
    if (f == QLatin1String("format") && n == 2) {
        if (const auto pattern = JetFunctionSql::literal(a[1]))
            return pgFormat(a[0], *pattern);
    }
    if (f == QLatin1String("first") && n == 1)
        return QStringLiteral("(array_agg(%1))[1]").arg(a[0]);
    if (f == QLatin1String("last") && n == 1)
        return QStringLiteral("(array_agg(%1))[count(*)]").arg(a[0]);
    if (f == QLatin1String("stdev") && n == 1)
        return QStringLiteral("stddev_samp(%1)").arg(a[0]);
    if (f == QLatin1String("stdevp") && n == 1)
        return QStringLiteral("stddev_pop(%1)").arg(a[0]);
    if (f == QLatin1String("var") && n == 1)
        return QStringLiteral("var_samp(%1)").arg(a[0]);
    if (f == QLatin1String("varp") && n == 1)
        return QStringLiteral("var_pop(%1)").arg(a[0]);
    return std::nullopt;
}

// ---- SQLite's own functions (a SQLite file through ODBC) -----------------

QString sqInt(const char *format, const QString &d)
{
    return QStringLiteral("CAST(strftime('%1', %2) AS INTEGER)").arg(QLatin1String(format), d);
}

// A date in the stored text form: midnight as the date alone.
QString sqCanonical(const QString &dateTime)
{
    return QStringLiteral("replace(%1, ' 00:00:00', '')").arg(dateTime);
}

QString sqFormat(const QString &value, const QString &pattern)
{
    if (const auto n = JetFormatPattern::number(pattern)) {
        const QString v = n->percent ? QStringLiteral("(%1) * 100").arg(value) : value;
        const QString fixed = QStringLiteral("printf('%.%1f', %2)").arg(n->decimals).arg(v);
        QString sql = fixed;
        if (n->thousands) {
            const QString whole = QStringLiteral("printf('%,d', CAST(round(%1, %2) AS INTEGER))").arg(v).arg(n->decimals);
            sql = n->decimals > 0 ? QStringLiteral("(%1 || substr(%2, -%3))").arg(whole, fixed).arg(n->decimals + 1) : whole;
        }
        return n->percent ? QStringLiteral("(%1 || '%')").arg(sql) : sql;
    }
    QStringList pieces;
    const auto names = [&](bool months, bool abbreviated) {
        QString sql = QStringLiteral("CASE %1").arg(months ? sqInt("%m", value) : QStringLiteral("(%1 + 1)").arg(sqInt("%w", value)));
        for (int k = 1; k <= (months ? 12 : 7); ++k) {
            const QString name = months ? JetFormatPattern::monthName(k) : JetFormatPattern::dayName(k);
            sql += QStringLiteral(" WHEN %1 THEN %2").arg(k).arg(quoted(abbreviated ? name.left(3) : name));
        }
        return sql + QLatin1String(" END");
    };
    for (const JetFormatPattern::Piece &piece : JetFormatPattern::dateParts(pattern)) {
        using P = JetFormatPattern;
        QString s;
        switch (piece.part) {
        case P::Literal: s = quoted(piece.text); break;
        case P::Year4: s = QStringLiteral("strftime('%Y', %1)").arg(value); break;
        case P::Year2: s = QStringLiteral("substr(strftime('%Y', %1), 3)").arg(value); break;
        case P::Quarter: s = QStringLiteral("((%1 + 2) / 3)").arg(sqInt("%m", value)); break;
        case P::DayOfYear: s = sqInt("%j", value); break;
        case P::MonthName: s = names(true, false); break;
        case P::MonthAbbrev: s = names(true, true); break;
        case P::Month2: s = QStringLiteral("strftime('%m', %1)").arg(value); break;
        case P::Month: s = sqInt("%m", value); break;
        case P::DayName: s = names(false, false); break;
        case P::DayAbbrev: s = names(false, true); break;
        case P::Day2: s = QStringLiteral("strftime('%d', %1)").arg(value); break;
        case P::Day: s = sqInt("%d", value); break;
        case P::Week:
            s = QStringLiteral("((%1 - 1 + %2) / 7 + 1)").arg(sqInt("%j", value), sqInt("%w", QStringLiteral("date(%1, 'start of year')").arg(value)));
            break;
        case P::Weekday: s = QStringLiteral("(%1 + 1)").arg(sqInt("%w", value)); break;
        case P::Hour2: s = QStringLiteral("strftime('%H', %1)").arg(value); break;
        case P::Hour: s = sqInt("%H", value); break;
        case P::Minute2: s = QStringLiteral("strftime('%M', %1)").arg(value); break;
        case P::Minute: s = sqInt("%M", value); break;
        case P::Second2: s = QStringLiteral("strftime('%S', %1)").arg(value); break;
        case P::Second: s = sqInt("%S", value); break;
        case P::AmPm:
        case P::AmPmLower: {
            const bool lower = piece.part == P::AmPmLower;
            s = QStringLiteral("CASE WHEN %1 < 12 THEN '%2' ELSE '%3' END")
                    .arg(sqInt("%H", value), lower ? QStringLiteral("am") : QStringLiteral("AM"),
                         lower ? QStringLiteral("pm") : QStringLiteral("PM"));
            break;
        }
        }
        pieces << s;
    }
    if (pieces.isEmpty())
        return QStringLiteral("''");
    return QStringLiteral("(CASE WHEN %1 IS NULL THEN NULL ELSE %2 END)").arg(value, pieces.join(QLatin1String(" || ")));
}

std::optional<QString> sqliteNative(const QString &f, const Args &a)
{
    const qsizetype n = a.size();
    const auto jd = [](const QString &d) { return QStringLiteral("julianday(date(%1))").arg(d); };
    const auto secs = [](const QString &d) { return QStringLiteral("CAST(strftime('%s', %1) AS INTEGER)").arg(d); };
    if (f == QLatin1String("iif") && n == 3)
        return QStringLiteral("(CASE WHEN %1 THEN %2 ELSE %3 END)").arg(a[0], a[1], a[2]);
    if (f == QLatin1String("nz") && n == 2)
        return QStringLiteral("COALESCE(%1, %2)").arg(a[0], a[1]);
    if (f == QLatin1String("nz") && n == 1)
        return QStringLiteral("COALESCE(%1, '')").arg(a[0]);
    if (f == QLatin1String("ucase") && n == 1)
        return QStringLiteral("upper(%1)").arg(a[0]);
    if (f == QLatin1String("lcase") && n == 1)
        return QStringLiteral("lower(%1)").arg(a[0]);
    if (f == QLatin1String("len") && n == 1)
        return QStringLiteral("length(%1)").arg(a[0]);
    if (f == QLatin1String("left") && n == 2)
        return QStringLiteral("substr(%1, 1, %2)").arg(a[0], a[1]);
    if (f == QLatin1String("right") && n == 2)
        return QStringLiteral("substr(%1, max(length(%1) - %2 + 1, 1))").arg(a[0], p(a[1]));
    if (f == QLatin1String("mid") && (n == 2 || n == 3))
        return QStringLiteral("substr(%1)").arg(a.join(QLatin1String(", ")));
    if ((f == QLatin1String("trim") || f == QLatin1String("ltrim") || f == QLatin1String("rtrim")) && n == 1)
        return QStringLiteral("%1(%2, ' ')").arg(f, a[0]);
    if (f == QLatin1String("cstr") && n == 1)
        return QStringLiteral("CAST(%1 AS TEXT)").arg(a[0]);
    if ((f == QLatin1String("cint") || f == QLatin1String("clng")) && n == 1)
        return QStringLiteral("CAST(%1 AS INTEGER)").arg(halfEven(a[0]));
    if ((f == QLatin1String("cdbl") || f == QLatin1String("csng")) && n == 1)
        return QStringLiteral("CAST(%1 AS REAL)").arg(a[0]);
    if (f == QLatin1String("ccur") && n == 1)
        return QStringLiteral("round(CAST(%1 AS REAL), 4)").arg(a[0]);
    if (f == QLatin1String("val") && n == 1)
        return QStringLiteral("CAST(%1 AS REAL)").arg(a[0]);
    if (f == QLatin1String("int") && n == 1)
        return QStringLiteral("floor(%1)").arg(a[0]);
    if (f == QLatin1String("fix") && n == 1)
        return QStringLiteral("trunc(%1)").arg(a[0]);
    if (f == QLatin1String("round") && (n == 1 || n == 2)) {
        const QString scale = powerOfTen(n == 2 ? a[1] : QStringLiteral("0"), Dialect::SqliteNative);
        // Rounded first to nine places so that 2.675 * 100 is 267.5 again.
        const QString v = QStringLiteral("round(%1 * %2, 9)").arg(p(a[0]), scale);
        return QStringLiteral("(%1 / %2)").arg(halfEven(v), scale);
    }
    if (f == QLatin1String("abs") && n == 1)
        return QStringLiteral("abs(%1)").arg(a[0]);
    if (f == QLatin1String("sgn") && n == 1)
        return QStringLiteral("sign(%1)").arg(a[0]);
    if (f == QLatin1String("sqr") && n == 1)
        return QStringLiteral("sqrt(%1)").arg(a[0]);
    if (f == QLatin1String("year") && n == 1)
        return sqInt("%Y", a[0]);
    if (f == QLatin1String("month") && n == 1)
        return sqInt("%m", a[0]);
    if (f == QLatin1String("day") && n == 1)
        return sqInt("%d", a[0]);
    if (f == QLatin1String("hour") && n == 1)
        return sqInt("%H", a[0]);
    if (f == QLatin1String("minute") && n == 1)
        return sqInt("%M", a[0]);
    if (f == QLatin1String("second") && n == 1)
        return sqInt("%S", a[0]);
    if (f == QLatin1String("weekday") && n == 1)
        return QStringLiteral("(%1 + 1)").arg(sqInt("%w", a[0]));
    if (f == QLatin1String("now") && n == 0)
        return QStringLiteral("datetime('now', 'localtime')");
    if (f == QLatin1String("date") && n == 0)
        return QStringLiteral("date('now', 'localtime')");
    if (f == QLatin1String("time") && n == 0)
        return QStringLiteral("time('now', 'localtime')");
    if (f == QLatin1String("dateserial") && n == 3)
        return QStringLiteral("date(printf('%04d-01-01', %1), printf('%+d months', %2 - 1), printf('%+d days', %3 - 1))")
            .arg(a[0], p(a[1]), p(a[2]));
    if (f == QLatin1String("dateadd") && n == 3) {
        if (const auto interval = JetFunctionSql::literal(a[0])) {
            const QString i = interval->toLower();
            const QString k = p(a[1]), d = a[2];
            const auto shift = [&](const char *unit, const QString &count) {
                return sqCanonical(QStringLiteral("datetime(%1, printf('%+d %2', %3))").arg(d, QLatin1String(unit), count));
            };
            // Months and years keep the day within the month (January 31 and a month is February's last day).
            const auto calendar = [&](const char *unit, const QString &count) {
                const QString moved = QStringLiteral("datetime(%1, printf('%+d %2', %3))").arg(d, QLatin1String(unit), count);
                return sqCanonical(QStringLiteral("(CASE WHEN strftime('%d', %1) = strftime('%d', %2) THEN %1 "
                                                  "ELSE date(%1, 'start of month', '-1 day') || substr(datetime(%2), 11) END)")
                                       .arg(moved, d));
            };
            if (i == QLatin1String("yyyy"))
                return calendar("years", k);
            if (i == QLatin1String("q"))
                return calendar("months", QStringLiteral("3 * %1").arg(k));
            if (i == QLatin1String("m"))
                return calendar("months", k);
            if (i == QLatin1String("d") || i == QLatin1String("y") || i == QLatin1String("w"))
                return shift("days", k);
            if (i == QLatin1String("ww"))
                return shift("days", QStringLiteral("7 * %1").arg(k));
            if (i == QLatin1String("h"))
                return shift("hours", k);
            if (i == QLatin1String("n"))
                return shift("minutes", k);
            if (i == QLatin1String("s"))
                return shift("seconds", k);
        }
    }
    if (f == QLatin1String("datediff") && n >= 3 && n <= 5) {
        if (const auto interval = JetFunctionSql::literal(a[0])) {
            const QString i = interval->toLower();
            const QString x = a[1], y = a[2];
            if (i == QLatin1String("yyyy"))
                return QStringLiteral("(%1 - %2)").arg(sqInt("%Y", y), sqInt("%Y", x));
            if (i == QLatin1String("q"))
                return QStringLiteral("((%1 * 4 + (%2 - 1) / 3) - (%3 * 4 + (%4 - 1) / 3))")
                    .arg(sqInt("%Y", y), sqInt("%m", y), sqInt("%Y", x), sqInt("%m", x));
            if (i == QLatin1String("m"))
                return QStringLiteral("((%1 * 12 + %2) - (%3 * 12 + %4))").arg(sqInt("%Y", y), sqInt("%m", y), sqInt("%Y", x), sqInt("%m", x));
            if (i == QLatin1String("d") || i == QLatin1String("y"))
                return QStringLiteral("CAST(%1 - %2 AS INTEGER)").arg(jd(y), jd(x));
            if (i == QLatin1String("w"))
                return QStringLiteral("CAST((%1 - %2) / 7 AS INTEGER)").arg(jd(y), jd(x));
            if (i == QLatin1String("ww"))
                return QStringLiteral("CAST(floor((%1 - julianday('1899-12-31')) / 7) - floor((%2 - julianday('1899-12-31')) / 7) AS INTEGER)")
                    .arg(jd(y), jd(x));
            const int unit = i == QLatin1String("h") ? 3600 : i == QLatin1String("n") ? 60 : i == QLatin1String("s") ? 1 : 0;
            if (unit == 1)
                return QStringLiteral("(%1 - %2)").arg(secs(y), secs(x));
            if (unit > 1)
                return QStringLiteral("CAST(floor(%1 / %3.0) - floor(%2 / %3.0) AS INTEGER)").arg(secs(y), secs(x)).arg(unit);
        }
    }
    if (f == QLatin1String("datepart") && n >= 2 && n <= 4) {
        if (const auto interval = JetFunctionSql::literal(a[0])) {
            const QString i = interval->toLower();
            const QString d = a[1];
            if (i == QLatin1String("yyyy"))
                return sqInt("%Y", d);
            if (i == QLatin1String("q"))
                return QStringLiteral("((%1 + 2) / 3)").arg(sqInt("%m", d));
            if (i == QLatin1String("m"))
                return sqInt("%m", d);
            if (i == QLatin1String("y"))
                return sqInt("%j", d);
            if (i == QLatin1String("d"))
                return sqInt("%d", d);
            if (i == QLatin1String("w"))
                return QStringLiteral("(%1 + 1)").arg(sqInt("%w", d));
            if (i == QLatin1String("ww"))
                return QStringLiteral("((%1 - 1 + %2) / 7 + 1)").arg(sqInt("%j", d), sqInt("%w", QStringLiteral("date(%1, 'start of year')").arg(d)));
            if (i == QLatin1String("h"))
                return sqInt("%H", d);
            if (i == QLatin1String("n"))
                return sqInt("%M", d);
            if (i == QLatin1String("s"))
                return sqInt("%S", d);
        }
    }
    if (f == QLatin1String("format") && n == 1)
        return QStringLiteral("CAST(%1 AS TEXT)").arg(a[0]);
    if (f == QLatin1String("format") && n == 2) {
        if (const auto pattern = JetFunctionSql::literal(a[1]))
            return sqFormat(a[0], *pattern);
    }
    return std::nullopt;
}

// ---- ODBC escapes ----------------------------------------------------------

std::optional<QString> odbcEscapes(const QString &f, const Args &a)
{
    const qsizetype n = a.size();
    const auto fn = [](const QString &name, const QStringList &args) {
        return QStringLiteral("{fn %1(%2)}").arg(name, args.join(QLatin1String(", ")));
    };
    static const QHash<QString, QString> same = {
        {QStringLiteral("ucase"), QStringLiteral("UCASE")},     {QStringLiteral("lcase"), QStringLiteral("LCASE")},
        {QStringLiteral("len"), QStringLiteral("LENGTH")},      {QStringLiteral("left"), QStringLiteral("LEFT")},
        {QStringLiteral("right"), QStringLiteral("RIGHT")},     {QStringLiteral("ltrim"), QStringLiteral("LTRIM")},
        {QStringLiteral("rtrim"), QStringLiteral("RTRIM")},     {QStringLiteral("year"), QStringLiteral("YEAR")},
        {QStringLiteral("month"), QStringLiteral("MONTH")},     {QStringLiteral("day"), QStringLiteral("DAYOFMONTH")},
        {QStringLiteral("hour"), QStringLiteral("HOUR")},       {QStringLiteral("minute"), QStringLiteral("MINUTE")},
        {QStringLiteral("second"), QStringLiteral("SECOND")},   {QStringLiteral("weekday"), QStringLiteral("DAYOFWEEK")},
        {QStringLiteral("abs"), QStringLiteral("ABS")},         {QStringLiteral("sgn"), QStringLiteral("SIGN")},
        {QStringLiteral("sqr"), QStringLiteral("SQRT")},        {QStringLiteral("int"), QStringLiteral("FLOOR")},
        {QStringLiteral("now"), QStringLiteral("NOW")},         {QStringLiteral("date"), QStringLiteral("CURDATE")},
        {QStringLiteral("time"), QStringLiteral("CURTIME")},
    };
    if (const auto it = same.constFind(f); it != same.constEnd())
        return fn(*it, a);
    if (f == QLatin1String("iif") && n == 3)
        return QStringLiteral("(CASE WHEN %1 THEN %2 ELSE %3 END)").arg(a[0], a[1], a[2]);
    if (f == QLatin1String("nz") && (n == 1 || n == 2))
        return fn(QStringLiteral("IFNULL"), {a[0], n == 2 ? a[1] : QStringLiteral("''")});
    if (f == QLatin1String("mid") && n == 3)
        return fn(QStringLiteral("SUBSTRING"), a);
    if (f == QLatin1String("mid") && n == 2)
        return fn(QStringLiteral("SUBSTRING"), {a[0], a[1], fn(QStringLiteral("LENGTH"), {a[0]})});
    if (f == QLatin1String("trim") && n == 1)
        return fn(QStringLiteral("LTRIM"), {fn(QStringLiteral("RTRIM"), {a[0]})});
    if (f == QLatin1String("cstr") && n == 1)
        return fn(QStringLiteral("CONVERT"), {a[0], QStringLiteral("SQL_VARCHAR")});
    if ((f == QLatin1String("cint") || f == QLatin1String("clng")) && n == 1)
        return fn(QStringLiteral("CONVERT"), {fn(QStringLiteral("ROUND"), {a[0], QStringLiteral("0")}), QStringLiteral("SQL_INTEGER")});
    if ((f == QLatin1String("cdbl") || f == QLatin1String("csng") || f == QLatin1String("val")) && n == 1)
        return fn(QStringLiteral("CONVERT"), {a[0], QStringLiteral("SQL_DOUBLE")});
    if (f == QLatin1String("ccur") && n == 1)
        return fn(QStringLiteral("ROUND"), {fn(QStringLiteral("CONVERT"), {a[0], QStringLiteral("SQL_DOUBLE")}), QStringLiteral("4")});
    if (f == QLatin1String("round") && (n == 1 || n == 2))
        return fn(QStringLiteral("ROUND"), {a[0], n == 2 ? a[1] : QStringLiteral("0")});
    if ((f == QLatin1String("dateadd") || f == QLatin1String("datediff") || f == QLatin1String("datepart")) && n >= 2) {
        const auto interval = JetFunctionSql::literal(a[0]);
        static const QHash<QString, QString> units = {
            {QStringLiteral("yyyy"), QStringLiteral("SQL_TSI_YEAR")},   {QStringLiteral("q"), QStringLiteral("SQL_TSI_QUARTER")},
            {QStringLiteral("m"), QStringLiteral("SQL_TSI_MONTH")},     {QStringLiteral("y"), QStringLiteral("SQL_TSI_DAY")},
            {QStringLiteral("d"), QStringLiteral("SQL_TSI_DAY")},       {QStringLiteral("w"), QStringLiteral("SQL_TSI_DAY")},
            {QStringLiteral("ww"), QStringLiteral("SQL_TSI_WEEK")},     {QStringLiteral("h"), QStringLiteral("SQL_TSI_HOUR")},
            {QStringLiteral("n"), QStringLiteral("SQL_TSI_MINUTE")},    {QStringLiteral("s"), QStringLiteral("SQL_TSI_SECOND")},
        };
        if (!interval || !units.contains(interval->toLower()))
            return std::nullopt;
        const QString i = interval->toLower();
        if (f == QLatin1String("dateadd") && n == 3)
            return fn(QStringLiteral("TIMESTAMPADD"), {units.value(i), a[1], a[2]});
        if (f == QLatin1String("datediff") && n >= 3)
            return fn(QStringLiteral("TIMESTAMPDIFF"), {units.value(i), a[1], a[2]});
        static const QHash<QString, QString> parts = {
            {QStringLiteral("yyyy"), QStringLiteral("YEAR")},     {QStringLiteral("q"), QStringLiteral("QUARTER")},
            {QStringLiteral("m"), QStringLiteral("MONTH")},       {QStringLiteral("y"), QStringLiteral("DAYOFYEAR")},
            {QStringLiteral("d"), QStringLiteral("DAYOFMONTH")},  {QStringLiteral("w"), QStringLiteral("DAYOFWEEK")},
            {QStringLiteral("ww"), QStringLiteral("WEEK")},       {QStringLiteral("h"), QStringLiteral("HOUR")},
            {QStringLiteral("n"), QStringLiteral("MINUTE")},      {QStringLiteral("s"), QStringLiteral("SECOND")},
        };
        if (f == QLatin1String("datepart"))
            return fn(parts.value(i), {a[1]});
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> JetFunctionSql::literal(const QString &argument)
{
    // One 'text' piece and nothing else (a quote inside comes doubled).
    const QString a = argument.trimmed();
    if (a.size() < 2 || a.front() != QLatin1Char('\'') || SqlLiteralScanner::pieceEnd(a, 0) != a.size() || a.back() != QLatin1Char('\''))
        return std::nullopt;
    return JetSqlRewriter::textOf(a);
}

std::optional<QString> JetFunctionSql::call(JetSqlRewriter::Dialect dialect, QStringView name, const QStringList &arguments)
{
    const QString f = name.toString().toLower();
    QStringList a;
    for (const QString &arg : arguments)
        a << arg.trimmed();
    if (a.size() == 1 && a[0].isEmpty())
        a.clear();
    switch (dialect) {
    case JetSqlRewriter::PostgreSql:
        return postgres(f, a);
    case JetSqlRewriter::SqliteNative:
        return sqliteNative(f, a);
    case JetSqlRewriter::Odbc:
        return odbcEscapes(f, a);
    case JetSqlRewriter::Sqlite:
        break;
    }
    return std::nullopt;
}

} // namespace KRML_ReportGen
