#include "JetFunctions.h"

#include "JetCollation.h"
#include "JetDateText.h"
#include "JetFormatPattern.h"
#include "JetLikePattern.h"
#include "JetValueRules.h"
#include "LegacyNumber.h"
#include "ProviderErrors.h"
#include "ValueText.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>
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

// A value as the dialect turns it into text: numbers as the legacy engine
// writes them, text as it is.
QString textOf(sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return ValueText::of(sqlite3_value_double(v));
    default:
        return text(v);
    }
}

// The date and time a stored value stands for, in any of the forms
// JetDateText reads; invalid when it is none.
QDateTime dateTimeOf(sqlite3_value *v)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return QDateTime();
    const QByteArray bytes(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
    const QVariant d = JetDateText::parse(bytes.trimmed().constData(), int(bytes.trimmed().size()));
    if (d.typeId() == QMetaType::QDate)
        return QDateTime(d.toDate(), QTime(0, 0));
    return d.toDateTime();
}

void resultDateTime(sqlite3_context *ctx, const QDateTime &dt)
{
    if (!dt.isValid())
        return sqlite3_result_null(ctx);
    resultText(ctx, JetDateText::canonical(dt));
}

void nz(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL)
        sqlite3_result_value(ctx, argv[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, argv[1]);
    else
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC); // in a query, Nz without a default gives an empty text
}

void ucase(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(argv[0]).toUpper());
}

void lcase(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(argv[0]).toLower());
}

void len(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, textOf(argv[0]).size());
}

void left(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(argv[0]).left(std::max<qint64>(0, sqlite3_value_int64(argv[1]))));
}

void right(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(argv[0]).right(std::max<qint64>(0, sqlite3_value_int64(argv[1]))));
}

void mid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const qint64 start = std::max<qint64>(1, sqlite3_value_int64(argv[1]));
    const qint64 length = argc > 2 ? std::max<qint64>(0, sqlite3_value_int64(argv[2])) : -1;
    resultText(ctx, textOf(argv[0]).mid(start - 1, length));
}

void cstr(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(argv[0]));
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
        sqlite3_result_double(ctx, JetValueRules::roundHalfEven(*n, 4));
}

// A whole number: an integer when it fits one, else the number itself.
void resultWhole(sqlite3_context *ctx, double v)
{
    if (std::fabs(v) < 9.0e18)
        sqlite3_result_int64(ctx, qint64(v));
    else
        sqlite3_result_double(ctx, v);
}

// CInt (16 bits) and CLng (32 bits): halves go to the even neighbour, as the
// dialect's conversions do; a number beyond the range is an overflow.
template <int Bits>
void cint(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (const auto n = numberOf(ctx, argv[0])) {
        const double r = JetValueRules::roundHalfEven(*n, 0);
        const double limit = Bits == 16 ? 32768.0 : 2147483648.0;
        if (!(r >= -limit && r < limit))
            return sqlite3_result_error(ctx, "Overflow", -1);
        sqlite3_result_int64(ctx, qint64(r));
    }
}

void intPart(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (const auto n = numberOf(ctx, argv[0]))
        resultWhole(ctx, std::floor(*n));
}

void fix(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (const auto n = numberOf(ctx, argv[0]))
        resultWhole(ctx, std::trunc(*n));
}

void sgn(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (const auto n = numberOf(ctx, argv[0]))
        sqlite3_result_int(ctx, *n > 0 ? 1 : *n < 0 ? -1 : 0);
}

void round(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const int digits = argc > 1 ? sqlite3_value_int(argv[1]) : 0;
    if (const auto n = numberOf(ctx, argv[0]))
        sqlite3_result_double(ctx, JetValueRules::roundHalfEven(*n, std::clamp(digits, 0, 15)));
}

void val(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, LegacyNumber::leadingValue(textOf(argv[0])));
}

// The operators "Mod" and "\": both sides rounded to whole numbers first.
template <bool Division>
void wholeOperation(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const auto a = numberOf(ctx, argv[0]);
    if (!a)
        return;
    const auto b = numberOf(ctx, argv[1]);
    if (!b)
        return;
    const double rx = JetValueRules::roundHalfEven(*a, 0), ry = JetValueRules::roundHalfEven(*b, 0);
    if (!(std::fabs(rx) < 9.0e18 && std::fabs(ry) < 9.0e18))
        return sqlite3_result_error(ctx, "Overflow", -1);
    const qint64 x = qint64(rx), y = qint64(ry);
    if (y == 0) {
        sqlite3_result_error(ctx, "Division by zero", -1);
        return;
    }
    sqlite3_result_int64(ctx, Division ? x / y : x % y);
}

void power(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const auto a = numberOf(ctx, argv[0]);
    if (!a)
        return;
    if (const auto b = numberOf(ctx, argv[1]))
        sqlite3_result_double(ctx, std::pow(*a, *b));
}

// "&": text joined; a Null side counts as empty, and only two Nulls give Null.
void concat(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    QString out;
    bool allNull = true;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            continue;
        allNull = false;
        out += textOf(argv[i]);
    }
    if (allNull)
        return sqlite3_result_null(ctx);
    resultText(ctx, out);
}

template <int Part>
void datePart(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QDateTime dt = dateTimeOf(argv[0]);
    if (!dt.isValid())
        return sqlite3_result_null(ctx);
    const QDate d = dt.date();
    const QTime t = dt.time();
    const int values[] = {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), d.dayOfWeek() % 7 + 1};
    sqlite3_result_int(ctx, values[Part]);
}

void now(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, JetDateText::canonical(QDateTime::currentDateTime()));
}

void today(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, JetDateText::canonical(QDate::currentDate()));
}

void timeNow(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
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
    resultText(ctx, JetDateText::canonical(d));
}

void dateAdd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultDateTime(ctx, JetValueRules::dateAdd(text(argv[0]), sqlite3_value_int64(argv[1]), dateTimeOf(argv[2])));
}

void dateDiff(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const auto r = JetValueRules::dateDiff(text(argv[0]), dateTimeOf(argv[1]), dateTimeOf(argv[2]));
    if (!r)
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, *r);
}

void datePartOf(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const QString interval = text(argv[0]).toLower();
    const QDateTime dt = dateTimeOf(argv[1]);
    if (!dt.isValid())
        return sqlite3_result_null(ctx);
    const QDate d = dt.date();
    int r = 0;
    if (interval == QLatin1String("yyyy"))
        r = d.year();
    else if (interval == QLatin1String("q"))
        r = (d.month() + 2) / 3;
    else if (interval == QLatin1String("m"))
        r = d.month();
    else if (interval == QLatin1String("y"))
        r = d.dayOfYear();
    else if (interval == QLatin1String("d"))
        r = d.day();
    else if (interval == QLatin1String("w"))
        r = d.dayOfWeek() % 7 + 1;
    else if (interval == QLatin1String("ww"))
        r = JetValueRules::weekOfYear(d);
    else if (interval == QLatin1String("h"))
        r = dt.time().hour();
    else if (interval == QLatin1String("n"))
        r = dt.time().minute();
    else if (interval == QLatin1String("s"))
        r = dt.time().second();
    else
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, r);
}

// Format(value, pattern): a number pattern formats numbers (and text that
// is one), a date pattern dates (JetFormatPattern).
void format(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const QString pattern = argc > 1 ? text(argv[1]) : QString();
    if (pattern.isEmpty())
        return resultText(ctx, textOf(argv[0]));
    if (const auto n = JetFormatPattern::number(pattern)) {
        const int type = sqlite3_value_type(argv[0]);
        std::optional<double> v;
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            v = sqlite3_value_double(argv[0]);
        else
            v = LegacyNumber::convert(text(argv[0]));
        return resultText(ctx, v ? JetValueRules::formatNumber(*v, *n) : textOf(argv[0]));
    }
    const QDateTime dt = dateTimeOf(argv[0]);
    if (!dt.isValid())
        return resultText(ctx, textOf(argv[0]));
    resultText(ctx, JetValueRules::formatDate(dt, pattern));
}

// LIKE with the dialect's wildcards, lists and letter case. The pattern is
// read once per statement while it stays the same.
void like(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    char32_t escape = 0;
    if (argc > 2) {
        const QList<uint> e = text(argv[2]).toUcs4();
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0];
    }
    const auto *collation = static_cast<const JetCollation *>(sqlite3_user_data(ctx));
    if (const auto *kept = static_cast<const JetLikePattern *>(sqlite3_get_auxdata(ctx, 0)))
        return sqlite3_result_int(ctx, kept->matches(textOf(argv[1]), *collation) ? 1 : 0);
    auto *pattern = new JetLikePattern(textOf(argv[0]), JetLikePattern::Ansi92, escape);
    const bool matched = pattern->matches(textOf(argv[1]), *collation);
    // SQLite keeps it for the next row, or deletes it at once.
    sqlite3_set_auxdata(ctx, 0, pattern, [](void *p) { delete static_cast<JetLikePattern *>(p); });
    sqlite3_result_int(ctx, matched ? 1 : 0);
}

void like89(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, JetLikePattern(textOf(argv[0]), JetLikePattern::Ansi89).toAnsi92());
}

void param(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const auto *values = static_cast<const QHash<QString, QVariant> *>(sqlite3_user_data(ctx));
    const QString name = text(argv[0]);
    const auto it = values ? values->constFind(name.toLower()) : QHash<QString, QVariant>::const_iterator();
    if (!values || it == values->constEnd()) {
        const QByteArray message = ProviderErrors::missingParameter(name).description().toUtf8();
        sqlite3_result_error(ctx, message.constData(), int(message.size()));
        return;
    }
    const QVariant &v = *it;
    switch (v.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return sqlite3_result_null(ctx);
    case QMetaType::Bool:
        return sqlite3_result_int(ctx, v.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_result_int64(ctx, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_result_double(ctx, v.toDouble());
    case QMetaType::QDate:
        return resultText(ctx, JetDateText::canonical(v.toDate()));
    case QMetaType::QDateTime:
        return resultText(ctx, JetDateText::canonical(v.toDateTime()));
    default:
        if (v.isNull())
            return sqlite3_result_null(ctx);
        return resultText(ctx, v.toString());
    }
}

// True when a stored text already is in the one form of dates, which is
// how the embedded engine and every import store them.
bool canonicalDate(const unsigned char *s, int n)
{
    const auto digits = [s](int from, int to) {
        for (int i = from; i < to; ++i)
            if (s[i] < '0' || s[i] > '9')
                return false;
        return true;
    };
    if (n != 10 && n != 19)
        return false;
    if (!digits(0, 4) || s[4] != '-' || !digits(5, 7) || s[7] != '-' || !digits(8, 10))
        return false;
    if (n == 10)
        return true;
    return s[10] == ' ' && digits(11, 13) && s[13] == ':' && digits(14, 16) && s[16] == ':' && digits(17, 19)
        && std::memcmp(s + 11, "00:00:00", 8) != 0;
}

void dateText(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    // A stored date in the one text form; anything else as it is.
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT
        || canonicalDate(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0])))
        return sqlite3_result_value(ctx, argv[0]);
    const QDateTime dt = dateTimeOf(argv[0]);
    if (dt.isValid())
        return resultText(ctx, JetDateText::canonical(dt));
    sqlite3_result_value(ctx, argv[0]);
}

// First and Last: the value of the first and the last row of a group.
template <bool Last>
void edgeStep(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    auto **kept = static_cast<sqlite3_value **>(sqlite3_aggregate_context(ctx, sizeof(sqlite3_value *) + sizeof(bool)));
    if (!kept)
        return sqlite3_result_error_nomem(ctx);
    bool &seen = *reinterpret_cast<bool *>(kept + 1);
    if (seen && !Last)
        return;
    sqlite3_value_free(*kept);
    *kept = sqlite3_value_dup(argv[0]);
    seen = true;
}

void edgeFinal(sqlite3_context *ctx)
{
    auto **kept = static_cast<sqlite3_value **>(sqlite3_aggregate_context(ctx, 0));
    if (!kept || !*kept)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, *kept);
    sqlite3_value_free(*kept);
    *kept = nullptr;
}

// StDev, StDevP, Var, VarP over the non-empty values.
struct Spread
{
    qint64 n;
    double mean;
    double m2;
};

void spreadStep(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    auto *s = static_cast<Spread *>(sqlite3_aggregate_context(ctx, sizeof(Spread)));
    if (!s)
        return sqlite3_result_error_nomem(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    const double x = sqlite3_value_double(argv[0]);
    ++s->n;
    const double delta = x - s->mean;
    s->mean += delta / double(s->n);
    s->m2 += delta * (x - s->mean);
}

template <bool Root, bool Population>
void spreadFinal(sqlite3_context *ctx)
{
    auto *s = static_cast<Spread *>(sqlite3_aggregate_context(ctx, 0));
    const qint64 n = s ? s->n : 0;
    if (n < (Population ? 1 : 2))
        return sqlite3_result_null(ctx);
    const double variance = s->m2 / double(Population ? n : n - 1);
    sqlite3_result_double(ctx, Root ? std::sqrt(variance) : variance);
}

} // namespace

void JetFunctions::install(sqlite3 *db, const QHash<QString, QVariant> *parameters)
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
        {"cint", 1, cint<16>}, {"clng", 1, cint<32>}, {"cdbl", 1, cdbl}, {"csng", 1, cdbl}, {"ccur", 1, ccur}, {"val", 1, val},
        {"int", 1, intPart}, {"fix", 1, fix}, {"sgn", 1, sgn}, {"round", 1, round}, {"round", 2, round},
        {"year", 1, datePart<0>}, {"month", 1, datePart<1>}, {"day", 1, datePart<2>}, {"hour", 1, datePart<3>},
        {"minute", 1, datePart<4>}, {"second", 1, datePart<5>}, {"weekday", 1, datePart<6>},
        {"dateserial", 3, dateSerial}, {"dateadd", 3, dateAdd}, {"datediff", 3, dateDiff}, {"datediff", 4, dateDiff},
        {"datediff", 5, dateDiff}, {"datepart", 2, datePartOf}, {"datepart", 3, datePartOf}, {"datepart", 4, datePartOf},
        {"format", 1, format}, {"format", 2, format}, {"jet_like89", 1, like89}, {"jet_concat", 2, concat},
        {"jet_mod", 2, wholeOperation<false>}, {"jet_intdiv", 2, wholeOperation<true>}, {"jet_power", 2, power},
        {"jet_datetext", 1, dateText},
    };
    for (const Function &f : functions)
        sqlite3_create_function_v2(db, f.name, f.args, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, f.fn, nullptr, nullptr, nullptr);
    // The clock: the same within a statement, never taken for a constant.
    sqlite3_create_function_v2(db, "now", 0, SQLITE_UTF8, nullptr, now, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "date", 0, SQLITE_UTF8, nullptr, today, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "time", 0, SQLITE_UTF8, nullptr, timeNow, nullptr, nullptr, nullptr);
    // A parameter keeps its value while a statement runs.
    sqlite3_create_function_v2(db, "jet_param", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, const_cast<QHash<QString, QVariant> *>(parameters), param,
                               nullptr, nullptr, nullptr);
    // One collation for both forms of LIKE; the second one deletes it.
    auto *collation = new JetCollation;
    sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, collation, like, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, collation, like, nullptr, nullptr,
                               [](void *c) { delete static_cast<JetCollation *>(c); });
    sqlite3_create_function_v2(db, "first", 1, SQLITE_UTF8, nullptr, nullptr, edgeStep<false>, edgeFinal, nullptr);
    sqlite3_create_function_v2(db, "last", 1, SQLITE_UTF8, nullptr, nullptr, edgeStep<true>, edgeFinal, nullptr);
    sqlite3_create_function_v2(db, "stdev", 1, SQLITE_UTF8, nullptr, nullptr, spreadStep, spreadFinal<true, false>, nullptr);
    sqlite3_create_function_v2(db, "stdevp", 1, SQLITE_UTF8, nullptr, nullptr, spreadStep, spreadFinal<true, true>, nullptr);
    sqlite3_create_function_v2(db, "var", 1, SQLITE_UTF8, nullptr, nullptr, spreadStep, spreadFinal<false, false>, nullptr);
    sqlite3_create_function_v2(db, "varp", 1, SQLITE_UTF8, nullptr, nullptr, spreadStep, spreadFinal<false, true>, nullptr);
    JetCollation::install(db);
}

} // namespace KRML_ReportGen
