#include "ExpressionFunctions.h"

#include "ExpressionValues.h"
#include "JetValueRules.h"
#include "ReportError.h"
#include "ValueFormat.h"

#include <QDateTime>
#include <cmath>

namespace KRML_ReportGen {

namespace {

ReportError invalidCall(const QString &why)
{
    return ReportError(ReportError::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument: %1").arg(why));
}

// A count of characters: a whole number from 0 on.
qsizetype countOf(const QVariant &v, const char *what)
{
    const double d = JetValueRules::roundHalfEven(ExpressionValues::number(v), 0);
    if (d < 0 || d > 2147483647.0)
        throw invalidCall(QString::fromLatin1(what));
    return qsizetype(d);
}

double rateOf(const QList<QVariant> &args, const ExpressionFunctions::Settings &settings)
{
    if (args.size() > 1)
        return ExpressionValues::number(args[1]);
    if (ExpressionValues::isNull(settings.taxRate))
        throw invalidCall(QStringLiteral("the tax rate is neither an argument nor the report's Report.TaxRate"));
    return ExpressionValues::number(settings.taxRate);
}

QVariant finite(double v)
{
    if (!std::isfinite(v))
        throw ReportError::overflow();
    return v;
}

} // namespace

const QList<ExpressionFunctions::Function> &ExpressionFunctions::all()
{
    static const QList<Function> functions = {
        {Round, "Round", 1, 2, false, "Round(number, decimals): halves to the even digit"},
        {Percent, "Percent", 2, 2, false, "Percent(part, whole): part as a percentage of whole"},
        {AddTax, "AddTax", 1, 2, false, "AddTax(value, rate): value plus rate percent (Report.TaxRate when no rate)"},
        {MinusTax, "MinusTax", 1, 2, false, "MinusTax(value, rate): value without the rate percent it holds"},
        {Now, "Now", 0, 0, false, "Now: the date and time the report runs"},
        {DateTimeFormat, "DateTimeFormat", 2, 2, false, "DateTimeFormat(date, pattern): the date as \"dd/mm/yyyy\" or \"Long Date\""},
        {Format, "Format", 2, 2, false, "Format(value, pattern): the value by a pattern such as \"#,##0.00\""},
        {Abs, "Abs", 1, 1, false, "Abs(number): without its sign"},
        {Int, "Int", 1, 1, false, "Int(number): the whole number at or below it"},
        {Fix, "Fix", 1, 1, false, "Fix(number): the whole part"},
        {Len, "Len", 1, 1, false, "Len(text): its number of characters"},
        {Left, "Left", 2, 2, false, "Left(text, n): its first n characters"},
        {Right, "Right", 2, 2, false, "Right(text, n): its last n characters"},
        {Mid, "Mid", 2, 3, false, "Mid(text, start, n): n characters from start (1 is the first)"},
        {UCase, "UCase", 1, 1, false, "UCase(text): in upper case"},
        {LCase, "LCase", 1, 1, false, "LCase(text): in lower case"},
        {Trim, "Trim", 1, 1, false, "Trim(text): without blanks at either end"},
        {Year, "Year", 1, 1, false, "Year(date)"},
        {Month, "Month", 1, 1, false, "Month(date): 1 to 12"},
        {Day, "Day", 1, 1, false, "Day(date): 1 to 31"},
        {DateAdd, "DateAdd", 3, 3, false, "DateAdd(interval, n, date): interval \"yyyy\", \"q\", \"m\", \"d\", \"ww\", \"h\", \"n\", \"s\""},
        {DateDiff, "DateDiff", 3, 3, false, "DateDiff(interval, date1, date2): the intervals between two dates"},
        {IIf, "IIf", 3, 3, false, "IIf(condition, then, else)"},
        {IsNull, "IsNull", 1, 1, false, "IsNull(value): True when the value is Null"},
        {Nz, "Nz", 1, 2, false, "Nz(value, instead): instead (or 0) when the value is Null"},
        {Sum, "Sum", 1, 1, true, "Sum(value): over the statement's rows, Null skipped"},
        {Avg, "Avg", 1, 1, true, "Avg(value): the average over the statement's rows, Null skipped"},
        {Count, "Count", 1, 1, true, "Count(value): the rows where it is not Null; Count(*) all rows"},
        {Min, "Min", 1, 1, true, "Min(value): the smallest over the statement's rows"},
        {Max, "Max", 1, 1, true, "Max(value): the largest over the statement's rows"},
        {RunningSum, "RunningSum", 1, 1, true, "RunningSum(value): the sum up to this row"},
        {PageSum, "PageSum", 1, 1, true, "PageSum(value): the sum over the rows of this page"},
    };
    return functions;
}

int ExpressionFunctions::find(const QString &name)
{
    const QList<Function> &f = all();
    for (int i = 0; i < f.size(); ++i)
        if (name.compare(QLatin1String(f[i].name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant ExpressionFunctions::call(Id id, const QList<QVariant> &args, const Settings &settings)
{
    using V = ExpressionValues;
    switch (id) {
    case IsNull:
        return V::isNull(args[0]);
    case Nz:
        if (!V::isNull(args[0]))
            return args[0];
        return args.size() > 1 ? args[1] : QVariant(0.0);
    case Now:
        return QDateTime::currentDateTime();
    default:
        break;
    }
    // The rest give Null for a Null argument.
    for (const QVariant &a : args)
        if (V::isNull(a))
            return QVariant();
    switch (id) {
    case Round: {
        const double digits = args.size() > 1 ? V::number(args[1]) : 0.0;
        if (digits < 0 || digits > 15)
            throw invalidCall(QStringLiteral("Round takes 0 to 15 decimals"));
        return JetValueRules::roundHalfEven(V::number(args[0]), int(digits));
    }
    case Percent: {
        const double whole = V::number(args[1]);
        if (whole == 0.0)
            throw ReportError(ReportError::DivisionByZero, QStringLiteral("Division by zero"));
        return finite(V::number(args[0]) / whole * 100.0);
    }
    case AddTax:
        return finite(V::number(args[0]) * (1.0 + rateOf(args, settings) / 100.0));
    case MinusTax: {
        const double factor = 1.0 + rateOf(args, settings) / 100.0;
        if (factor == 0.0)
            throw ReportError(ReportError::DivisionByZero, QStringLiteral("Division by zero"));
        return finite(V::number(args[0]) / factor);
    }
    case DateTimeFormat:
    case Format:
        return ValueFormat::format(args[0], V::text(args[1]), ValueFormat::localeOf(settings.locale));
    case Abs:
        return std::fabs(V::number(args[0]));
    case Int:
        return std::floor(V::number(args[0]));
    case Fix:
        return std::trunc(V::number(args[0]));
    case Len:
        return double(V::text(args[0]).size());
    case Left:
        return V::text(args[0]).left(countOf(args[1], "Left needs a count from 0 on"));
    case Right:
        return V::text(args[0]).right(countOf(args[1], "Right needs a count from 0 on"));
    case Mid: {
        const qsizetype start = countOf(args[1], "Mid starts at 1 or later");
        if (start < 1)
            throw invalidCall(QStringLiteral("Mid starts at 1 or later"));
        const QString s = V::text(args[0]);
        return args.size() > 2 ? s.mid(start - 1, countOf(args[2], "Mid needs a count from 0 on")) : s.mid(start - 1);
    }
    case UCase:
        return V::text(args[0]).toUpper();
    case LCase:
        return V::text(args[0]).toLower();
    case Trim:
        return V::text(args[0]).trimmed();
    case Year:
        return double(V::date(args[0]).date().year());
    case Month:
        return double(V::date(args[0]).date().month());
    case Day:
        return double(V::date(args[0]).date().day());
    case DateAdd: {
        const double n = V::number(args[1]);
        const QDateTime r = JetValueRules::dateAdd(V::text(args[0]), qint64(std::trunc(n)), V::date(args[2]));
        if (!r.isValid())
            throw invalidCall(QStringLiteral("DateAdd knows the intervals yyyy, q, m, y, d, w, ww, h, n and s"));
        return r;
    }
    case DateDiff: {
        const auto r = JetValueRules::dateDiff(V::text(args[0]), V::date(args[1]), V::date(args[2]));
        if (!r)
            throw invalidCall(QStringLiteral("DateDiff knows the intervals yyyy, q, m, y, d, w, ww, h, n and s"));
        return double(*r);
    }
    default:
        throw invalidCall(QStringLiteral("an aggregate is worked out over rows"));
    }
}

} // namespace KRML_ReportGen
