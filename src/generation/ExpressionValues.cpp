#include "ExpressionValues.h"

#include "JetDateText.h"
#include "JetValueRules.h"
#include "LegacyNumber.h"
#include "ReportError.h"
#include "ValueText.h"

#include <cmath>

namespace KRML_ReportGen {

namespace {

using Op = ExpressionNode::Op;

QVariant numberResult(double v)
{
    if (!std::isfinite(v))
        throw ReportError::overflow();
    return v;
}

// The whole number an operand of \ and Mod stands for: rounded half to even.
double whole(const QVariant &v)
{
    const double d = JetValueRules::roundHalfEven(ExpressionValues::number(v), 0);
    if (std::fabs(d) > 9.2e18)
        throw ReportError::overflow();
    return d;
}

} // namespace

bool ExpressionValues::isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool ExpressionValues::isDate(const QVariant &v)
{
    return v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate;
}

double ExpressionValues::number(const QVariant &v)
{
    if (isNumber(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0;
    if (v.typeId() == QMetaType::QString) {
        if (const auto n = LegacyNumber::convert(v.toString()))
            return *n;
    }
    if (isNull(v))
        throw ReportError(ReportError::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
    throw ReportError::typeMismatch();
}

QString ExpressionValues::text(const QVariant &v)
{
    if (isNull(v))
        return QString();
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    return ValueText::of(v);
}

QDateTime ExpressionValues::date(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    if (v.typeId() == QMetaType::QString) {
        const QVariant d = JetDateText::parse(v.toString().trimmed());
        if (d.typeId() == QMetaType::QDate)
            return QDateTime(d.toDate(), QTime(0, 0));
        if (d.typeId() == QMetaType::QDateTime)
            return d.toDateTime();
    }
    if (isNull(v))
        throw ReportError(ReportError::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
    throw ReportError::typeMismatch();
}

bool ExpressionValues::truth(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return number(v) != 0.0;
}

int ExpressionValues::compare(const QVariant &a, const QVariant &b)
{
    const auto sign = [](double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; };
    if (isDate(a) || isDate(b)) {
        const QDateTime x = date(a), y = date(b);
        return x < y ? -1 : y < x ? 1 : 0;
    }
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return sign(a.toString().compare(b.toString(), Qt::CaseSensitive));
    return sign(number(a) - number(b));
}

QVariant ExpressionValues::unary(Op op, const QVariant &a)
{
    if (isNull(a))
        return QVariant();
    if (op == Op::Not)
        return !truth(a);
    return numberResult(-number(a));
}

QVariant ExpressionValues::binary(Op op, const QVariant &a, const QVariant &b)
{
    switch (op) {
    case Op::Concat:
        if (isNull(a) && isNull(b))
            return QVariant();
        return text(a) + text(b);
    case Op::And:
        // False wins over Null, Null over True.
        if ((!isNull(a) && !truth(a)) || (!isNull(b) && !truth(b)))
            return false;
        if (isNull(a) || isNull(b))
            return QVariant();
        return true;
    case Op::Or:
        if ((!isNull(a) && truth(a)) || (!isNull(b) && truth(b)))
            return true;
        if (isNull(a) || isNull(b))
            return QVariant();
        return false;
    default:
        break;
    }
    if (isNull(a) || isNull(b))
        return QVariant();
    switch (op) {
    case Op::Add:
        if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
            return a.toString() + b.toString();
        if (isDate(a) && !isDate(b))
            return date(a).addMSecs(qint64(std::llround(number(b) * 86400000.0)));
        if (isDate(b) && !isDate(a))
            return date(b).addMSecs(qint64(std::llround(number(a) * 86400000.0)));
        return numberResult(number(a) + number(b));
    case Op::Subtract:
        if (isDate(a) && isDate(b))
            return double(date(b).msecsTo(date(a))) / 86400000.0;
        if (isDate(a))
            return date(a).addMSecs(-qint64(std::llround(number(b) * 86400000.0)));
        return numberResult(number(a) - number(b));
    case Op::Multiply:
        return numberResult(number(a) * number(b));
    case Op::Divide: {
        const double x = number(a), y = number(b);
        if (y == 0.0) {
            if (x == 0.0)
                throw ReportError::overflow();
            throw ReportError(ReportError::DivisionByZero, QStringLiteral("Division by zero"));
        }
        return numberResult(x / y);
    }
    case Op::IntDivide:
    case Op::Mod: {
        const double x = whole(a), y = whole(b);
        if (y == 0.0)
            throw ReportError(ReportError::DivisionByZero, QStringLiteral("Division by zero"));
        return op == Op::Mod ? std::fmod(x, y) : std::trunc(x / y);
    }
    case Op::Power:
        return numberResult(std::pow(number(a), number(b)));
    case Op::Equal:
        return compare(a, b) == 0;
    case Op::NotEqual:
        return compare(a, b) != 0;
    case Op::Less:
        return compare(a, b) < 0;
    case Op::LessEqual:
        return compare(a, b) <= 0;
    case Op::Greater:
        return compare(a, b) > 0;
    case Op::GreaterEqual:
        return compare(a, b) >= 0;
    default:
        return QVariant();
    }
}

} // namespace KRML_ReportGen
