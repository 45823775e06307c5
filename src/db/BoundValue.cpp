#include "BoundValue.h"

#include "VbConvert.h"

#include <cmath>
#include <limits>

namespace KRML_ReportGen {

BoundValue BoundValue::integer(qint64 value)
{
    return BoundValue(Type::Integer, QVariant(qlonglong(value)));
}

BoundValue BoundValue::number(double value)
{
    return BoundValue(Type::Double, QVariant(value));
}

BoundValue BoundValue::text(const QString &value)
{
    return BoundValue(Type::Text, QVariant(value.isNull() ? QStringLiteral("") : value));
}

BoundValue BoundValue::date(const QDateTime &value)
{
    // Dates carry whole seconds, as the dialect's dates do.
    const QTime t = value.time();
    return BoundValue(Type::Date, QVariant(QDateTime(value.date(), QTime(t.hour(), t.minute(), t.second()))));
}

BoundValue BoundValue::boolean(bool value)
{
    return BoundValue(Type::Boolean, QVariant(value));
}

BoundValue BoundValue::fromVariant(const QVariant &value)
{
    if (value.isNull())
        return BoundValue();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return integer(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (value.toULongLong() <= quint64(std::numeric_limits<qint64>::max()))
            return integer(value.toLongLong());
        return number(value.toDouble());
    case QMetaType::Double:
    case QMetaType::Float:
        return number(value.toDouble());
    case QMetaType::Bool:
        return boolean(value.toBool());
    case QMetaType::QDate:
        return date(value.toDate());
    case QMetaType::QDateTime:
        return date(value.toDateTime());
    default:
        return text(value.toString());
    }
}

QString BoundValue::literal() const
{
    switch (m_type) {
    case Type::Null:
        return QStringLiteral("Null");
    case Type::Integer:
        return QString::number(m_value.toLongLong());
    case Type::Double:
        return VbConvert::formatDouble(m_value.toDouble());
    case Type::Text: {
        QString escaped = m_value.toString();
        escaped.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + escaped + QLatin1Char('\'');
    }
    case Type::Date: {
        const QDateTime dt = m_value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return QLatin1Char('#') + dt.date().toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char('#');
        return QLatin1Char('#') + dt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QLatin1Char('#');
    }
    case Type::Boolean:
        return m_value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    }
    return QString();
}

bool BoundValue::operator==(const BoundValue &other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case Type::Null:
        return true;
    case Type::Integer:
        return m_value.toLongLong() == other.m_value.toLongLong();
    case Type::Double: {
        const double a = m_value.toDouble(), b = other.m_value.toDouble();
        return a == b || (std::isnan(a) && std::isnan(b));
    }
    case Type::Text:
        return m_value.toString() == other.m_value.toString();
    case Type::Date:
        return m_value.toDateTime() == other.m_value.toDateTime();
    case Type::Boolean:
        return m_value.toBool() == other.m_value.toBool();
    }
    return false;
}

} // namespace KRML_ReportGen
