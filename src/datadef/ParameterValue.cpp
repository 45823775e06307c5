#include "ParameterValue.h"

#include "AdoType.h"
#include "JetSqlRewriter.h"
#include "LegacyNumber.h"
#include "ParameterMarker.h"
#include "ValueText.h"
#include "clsParameter.h"

#include <QRegularExpression>
#include <cmath>

namespace KRML_ReportGen {

namespace {

// The largest whole number a double holds exactly.
constexpr double kExactInteger = 9007199254740992.0;

bool isDateVariant(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

bool isNumberVariant(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

std::optional<double> numberOf(const QVariant &given)
{
    if (isNumberVariant(given)) {
        const double d = given.toDouble();
        return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
    }
    if (given.typeId() == QMetaType::Bool)
        return given.toBool() ? -1.0 : 0.0;
    if (isDateVariant(given))
        return std::nullopt;
    return LegacyNumber::convert(given.toString());
}

std::optional<BoundValue> dateValue(const QVariant &given)
{
    if (given.typeId() == QMetaType::QDate)
        return given.toDate().isValid() ? std::optional<BoundValue>(BoundValue::date(given.toDate())) : std::nullopt;
    if (given.typeId() == QMetaType::QDateTime)
        return given.toDateTime().isValid() ? std::optional<BoundValue>(BoundValue::date(given.toDateTime())) : std::nullopt;
    QString text = given.toString().trimmed();
    // The dialect's literal form, as a user may copy it from a statement.
    if (text.size() > 2 && text.startsWith(QLatin1Char('#')) && text.endsWith(QLatin1Char('#')))
        text = text.mid(1, text.size() - 2);
    const auto dt = ParameterValue::dateOf(text);
    return dt ? std::optional<BoundValue>(BoundValue::date(*dt)) : std::nullopt;
}

} // namespace

std::optional<QDateTime> ParameterValue::dateOf(const QString &text)
{
    // Year first only: 03/04/2024 means one date to one reader and another
    // to the next, so it is refused rather than guessed.
    static const QRegularExpression yearFirst(QStringLiteral(R"(^\s*\d{4}[-/])"));
    if (!yearFirst.match(text).hasMatch())
        return std::nullopt;
    QString t = text.trimmed();
    t.replace(QLatin1Char('T'), QLatin1Char(' '));
    return JetSqlRewriter::parseDateLiteral(t);
}

std::optional<BoundValue> ParameterValue::convert(int type, const QVariant &given)
{
    if (given.isNull() && !given.isValid())
        return std::nullopt;
    switch (type) {
    case clsParameter::Date:
        return dateValue(given);
    case clsParameter::Number: {
        const auto d = numberOf(given);
        if (!d)
            return std::nullopt;
        // Whole numbers go as integers (a count, a key, a TOP), the rest as doubles.
        if (*d == std::trunc(*d) && std::fabs(*d) <= kExactInteger)
            return BoundValue::integer(qint64(*d));
        return BoundValue::number(*d);
    }
    case clsParameter::String:
    case clsParameter::Lookup:
        return BoundValue::text(given.typeId() == QMetaType::QString ? given.toString() : ValueText::of(given));
    default:
        return std::nullopt;
    }
}

BoundValue ParameterValue::of(const QString &name, int type, const QVariant &given)
{
    const auto v = convert(type, given);
    if (!v)
        throw invalid(name, type, ValueText::of(given));
    return *v;
}

std::optional<BoundValue> ParameterValue::forColumnType(const QVariant &given, int adoType)
{
    if (given.isNull())
        return BoundValue();
    switch (adoType) {
    case AdoType::SmallInt:
    case AdoType::Integer:
    case AdoType::TinyInt:
    case AdoType::UnsignedTinyInt:
    case 18: // unsigned small integer
    case 19: // unsigned integer
    case AdoType::BigInt:
    case 21: { // unsigned big integer
        const auto d = numberOf(given);
        if (!d || *d != std::trunc(*d) || std::fabs(*d) > kExactInteger)
            return std::nullopt;
        return BoundValue::integer(qint64(*d));
    }
    case AdoType::Single:
    case AdoType::Double:
    case AdoType::Currency:
    case 14: // decimal
    case AdoType::Numeric:
    case 139: { // variable numeric
        const auto d = numberOf(given);
        return d ? std::optional<BoundValue>(BoundValue::number(*d)) : std::nullopt;
    }
    case AdoType::Date:
    case 133: // date
    case 134: // time
    case 135: // date and time
        return dateValue(given);
    case AdoType::Boolean: {
        if (given.typeId() == QMetaType::Bool)
            return BoundValue::boolean(given.toBool());
        const QString t = given.toString().trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0)
            return BoundValue::boolean(true);
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0)
            return BoundValue::boolean(false);
        const auto d = numberOf(given);
        return d ? std::optional<BoundValue>(BoundValue::boolean(*d != 0.0)) : std::nullopt;
    }
    default:
        if (given.typeId() == QMetaType::QString)
            return BoundValue::text(given.toString());
        return BoundValue::fromVariant(given);
    }
}

ReportError ParameterValue::missing(const QString &name, int type)
{
    return ReportError(Missing,
                       QStringLiteral("The report needs a value for the parameter \"%1\" (%2).")
                           .arg(name, ParameterMarker::typeName(type)),
                       QStringLiteral("Parameter"));
}

ReportError ParameterValue::invalid(const QString &name, int type, const QString &given)
{
    QString why;
    switch (type) {
    case clsParameter::Date:
        why = QStringLiteral("is not a date (write it year first, as 2024-03-15)");
        break;
    case clsParameter::Number:
        why = QStringLiteral("is not a number");
        break;
    default:
        why = QStringLiteral("is neither one of its lookup's values nor a text the lookup shows");
        break;
    }
    return ReportError(Invalid,
                       QStringLiteral("The value \"%1\" given for the parameter \"%2\" (%3) %4.")
                           .arg(given, name, ParameterMarker::typeName(type), why),
                       QStringLiteral("Parameter"));
}

} // namespace KRML_ReportGen
