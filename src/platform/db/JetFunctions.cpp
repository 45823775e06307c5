#include "JetFunctions.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cmath>
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

double leadingNumber(const QString &s)
{
    bool ok = false;
    QString digits;
    for (const QChar c : s.trimmed()) {
        if (c.isDigit() || c == QLatin1Char('.') || ((c == QLatin1Char('-') || c == QLatin1Char('+')) && digits.isEmpty()))
            digits += c;
        else
            break;
    }
    const double v = digits.toDouble(&ok);
    return ok ? v : 0.0;
}

double numberOf(sqlite3_value *v)
{
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return sqlite3_value_double(v);
    return leadingNumber(text(v));
}

void cdbl(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, numberOf(argv[0]));
}

void cint(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    // Halves go to the even neighbour, as the dialect's conversions do.
    sqlite3_result_int64(ctx, qint64(std::nearbyint(numberOf(argv[0]))));
}

void intPart(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, qint64(std::floor(numberOf(argv[0]))));
}

void val(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, leadingNumber(text(argv[0])));
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
        {"cint", 1, cint}, {"clng", 1, cint}, {"cdbl", 1, cdbl}, {"val", 1, val}, {"int", 1, intPart},
        {"year", 1, datePart<0>}, {"month", 1, datePart<1>}, {"day", 1, datePart<2>}, {"now", 0, now},
        {"dateserial", 3, dateSerial},
    };
    for (const Function &f : functions)
        sqlite3_create_function_v2(db, f.name, f.args, SQLITE_UTF8 | (f.fn == now ? 0 : SQLITE_DETERMINISTIC), nullptr, f.fn,
                                   nullptr, nullptr, nullptr);
}

} // namespace KRML_ReportGen
