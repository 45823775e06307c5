#include "JetFunctions.h"

#include "LegacyNumber.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cmath>
#include <optional>
#include <sqlite3.h>

namespace KRML_ReportGen {

namespace {

QString text(sqlite3_value *v)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

// The date a stored value stands for (text yyyy-MM-dd[ HH:mm:ss]).
QDate dateOf(sqlite3_value *v)
{
    return QDate::fromString(text(v).left(10), QStringLiteral("yyyy-MM-dd"));
}

void nz(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL)
        sqlite3_result_value(ctx, argv[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, argv[1]);
    else
        sqlite3_result_int(ctx, 0);
}

void ucase(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, text(argv[0]).toUpper());
}

void lcase(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, text(argv[0]).toLower());
}

void len(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, text(argv[0]).size());
}

void left(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, text(argv[0]).left(std::max<qint64>(0, sqlite3_value_int64(argv[1]))));
}

void right(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, text(argv[0]).right(std::max<qint64>(0, sqlite3_value_int64(argv[1]))));
}

void mid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const qint64 start = std::max<qint64>(1, sqlite3_value_int64(argv[1]));
    const qint64 length = argc > 2 ? std::max<qint64>(0, sqlite3_value_int64(argv[2])) : -1;
    resultText(ctx, text(argv[0]).mid(start - 1, length));
}

void cstr(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT)
        return resultText(ctx, QString::number(sqlite3_value_double(argv[0]), 'g', 15));
    resultText(ctx, text(argv[0]));
}

// The conversions (CDbl, CInt, ...) take a whole number or fail the
// statement with a type mismatch, as the legacy engine does; Val alone reads
// the leading number of any text.
std::optional<double> numberOf(sqlite3_context *ctx, sqlite3_value *v)
{
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return sqlite3_value_double(v);
    const auto n = LegacyNumber::convert(text(v));
    if (!n) {
        sqlite3_result_error(ctx, "Data type mismatch in conversion function", -1);
        sqlite3_result_error_code(ctx, SQLITE_MISMATCH);
    }
    return n;
}

void cdbl(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (const auto n = numberOf(ctx, argv[0]))
        sqlite3_result_double(ctx, *n);
}

void ccur(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    // Currency keeps four decimals; halves to the even neighbour.
    if (const auto n = numberOf(ctx, argv[0]))
        sqlite3_result_double(ctx, std::nearbyint(*n * 10000.0) / 10000.0);
}

void cint(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    // Halves go to the even neighbour, as the dialect's conversions do.
    if (const auto n = numberOf(ctx, argv[0]))
        sqlite3_result_int64(ctx, qint64(std::nearbyint(*n)));
}

void intPart(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (const auto n = numberOf(ctx, argv[0]))
        sqlite3_result_int64(ctx, qint64(std::floor(*n)));
}

void val(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, LegacyNumber::leadingValue(text(argv[0])));
}

template <int Part>
void datePart(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QDate d = dateOf(argv[0]);
    if (!d.isValid())
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, Part == 0 ? d.year() : Part == 1 ? d.month() : d.day());
}

void now(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void dateSerial(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    // Months and days beyond their range carry over, as in the dialect.
    const QDate d = QDate(int(sqlite3_value_int(argv[0])), 1, 1)
                        .addMonths(sqlite3_value_int(argv[1]) - 1)
                        .addDays(sqlite3_value_int(argv[2]) - 1);
    if (!d.isValid())
        return sqlite3_result_null(ctx);
    resultText(ctx, d.toString(QStringLiteral("yyyy-MM-dd")));
}

QDateTime dateTimeOf(sqlite3_value *v)
{
    const QString t = text(v).trimmed();
    QDateTime dt = QDateTime::fromString(t.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime(QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    return dt;
}

void resultDateTime(sqlite3_context *ctx, const QDateTime &dt)
{
    if (!dt.isValid())
        return sqlite3_result_null(ctx);
    resultText(ctx, dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("yyyy-MM-dd"))
                                              : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void dateAdd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QString interval = text(argv[0]).toLower();
    const qint64 n = sqlite3_value_int64(argv[1]);
    const QDateTime dt = dateTimeOf(argv[2]);
    if (!dt.isValid())
        return sqlite3_result_null(ctx);
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
    else if (interval == QLatin1String("h"))
        r = dt.addSecs(n * 3600);
    else if (interval == QLatin1String("n"))
        r = dt.addSecs(n * 60);
    else if (interval == QLatin1String("s"))
        r = dt.addSecs(n);
    resultDateTime(ctx, r);
}

void dateDiff(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QString interval = text(argv[0]).toLower();
    const QDateTime a = dateTimeOf(argv[1]), b = dateTimeOf(argv[2]);
    if (!a.isValid() || !b.isValid())
        return sqlite3_result_null(ctx);
    // Counted as the dialect does: the boundaries crossed between the two.
    qint64 r = 0;
    if (interval == QLatin1String("yyyy"))
        r = b.date().year() - a.date().year();
    else if (interval == QLatin1String("q"))
        r = (b.date().year() * 4 + (b.date().month() - 1) / 3) - (a.date().year() * 4 + (a.date().month() - 1) / 3);
    else if (interval == QLatin1String("m"))
        r = (b.date().year() * 12 + b.date().month()) - (a.date().year() * 12 + a.date().month());
    else if (interval == QLatin1String("d") || interval == QLatin1String("y"))
        r = a.date().daysTo(b.date());
    else if (interval == QLatin1String("w") || interval == QLatin1String("ww"))
        r = a.date().daysTo(b.date()) / 7;
    else if (interval == QLatin1String("h"))
        r = a.secsTo(b) / 3600;
    else if (interval == QLatin1String("n"))
        r = a.secsTo(b) / 60;
    else if (interval == QLatin1String("s"))
        r = a.secsTo(b);
    else
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, r);
}

// Format(value, pattern): the date patterns (yyyy, yy, mmmm, mmm, mm, m,
// dd, d, hh, nn, ss, "Short Date", "Long Date") and the number patterns
// ("0.00", "#,##0.00", "Fixed", "Standard", "Currency", "Percent").
void format(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const QString pattern = argc > 1 ? text(argv[1]) : QString();
    const int type = sqlite3_value_type(argv[0]);
    const QString lower = pattern.toLower();
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        const double v = sqlite3_value_double(argv[0]);
        // Thousands with ",", decimals with ".", on every machine.
        const QLocale c(QLocale::English, QLocale::UnitedStates);
        if (lower == QLatin1String("percent"))
            return resultText(ctx, QString::number(v * 100, 'f', 2) + QLatin1Char('%'));
        if (lower == QLatin1String("fixed"))
            return resultText(ctx, QString::number(v, 'f', 2));
        if (lower == QLatin1String("standard"))
            return resultText(ctx, c.toString(v, 'f', 2));
        if (lower == QLatin1String("currency"))
            return resultText(ctx, c.toString(v, 'f', 2));
        if (pattern.contains(QLatin1Char('0')) || pattern.contains(QLatin1Char('#'))) {
            const int dot = pattern.indexOf(QLatin1Char('.'));
            const int decimals = dot < 0 ? 0 : int(pattern.size() - dot - 1);
            const QString digits = pattern.contains(QLatin1Char(',')) ? c.toString(v, 'f', decimals) : QString::number(v, 'f', decimals);
            return resultText(ctx, digits);
        }
        return resultText(ctx, QString::number(v, 'g', 15));
    }
    const QDateTime dt = dateTimeOf(argv[0]);
    if (!dt.isValid() || pattern.isEmpty())
        return resultText(ctx, text(argv[0]));
    if (lower == QLatin1String("short date"))
        return resultText(ctx, dt.date().toString(QStringLiteral("yyyy-MM-dd")));
    if (lower == QLatin1String("long date"))
        return resultText(ctx, QLocale::c().toString(dt.date(), QStringLiteral("d MMMM yyyy")));
    // The dialect writes minutes as "nn" and months as "m": Qt's letters differ.
    QString qt;
    for (int i = 0; i < pattern.size();) {
        const QChar ch = pattern[i].toLower();
        int run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == ch)
            ++run;
        const QString same(run, ch);
        if (ch == QLatin1Char('m'))
            qt += QString(run, QLatin1Char('M'));
        else if (ch == QLatin1Char('n'))
            qt += QString(run, QLatin1Char('m'));
        else if (ch == QLatin1Char('h'))
            qt += QString(run, QLatin1Char('H'));
        else if (ch == QLatin1Char('y') || ch == QLatin1Char('d') || ch == QLatin1Char('s'))
            qt += same;
        else
            qt += QLatin1Char('\'') + pattern.mid(i, run).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
        i += run;
    }
    resultText(ctx, QLocale::c().toString(dt, qt));
}

} // namespace

void JetFunctions::install(sqlite3 *db)
{
    struct Function
    {
        const char *name;
        int args;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
    };
    static const Function functions[] = {
        {"nz", 1, nz}, {"nz", 2, nz}, {"ucase", 1, ucase}, {"lcase", 1, lcase}, {"len", 1, len},
        {"jet_left", 2, left}, {"jet_right", 2, right}, {"mid", 2, mid}, {"mid", 3, mid}, {"cstr", 1, cstr},
        {"cint", 1, cint}, {"clng", 1, cint}, {"cdbl", 1, cdbl}, {"csng", 1, cdbl}, {"ccur", 1, ccur}, {"val", 1, val}, {"int", 1, intPart},
        {"year", 1, datePart<0>}, {"month", 1, datePart<1>}, {"day", 1, datePart<2>}, {"now", 0, now},
        {"dateserial", 3, dateSerial}, {"dateadd", 3, dateAdd}, {"datediff", 3, dateDiff},
        {"format", 1, format}, {"format", 2, format},
    };
    for (const Function &f : functions)
        sqlite3_create_function_v2(db, f.name, f.args, SQLITE_UTF8 | (f.fn == now ? 0 : SQLITE_DETERMINISTIC), nullptr, f.fn,
                                   nullptr, nullptr, nullptr);
}

} // namespace KRML_ReportGen
