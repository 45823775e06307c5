#include "ParameterLiteral.h"

#include "AdoType.h"
#include "ValueText.h"

#include <QDateTime>

namespace KRML_ReportGen {

QString ParameterLiteral::date(const QDate &date)
{
    return QLatin1Char('#') + date.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char('#');
}

QString ParameterLiteral::number(const QString &typed)
{
    return typed;
}

QString ParameterLiteral::text(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString ParameterLiteral::valueText(const QVariant &value)
{
    return ValueText::of(value);
}

QDate ParameterLiteral::dateOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    const QString text = value.toString().trimmed();
    for (const char *format : {"yyyy-MM-dd", "yyyy/MM/dd", "yyyy-M-d", "yyyy/M/d"}) {
        const QDate d = QDate::fromString(text.left(10).trimmed(), QLatin1String(format));
        if (d.isValid())
            return d;
        const QDate shortDate = QDate::fromString(text.section(QLatin1Char(' '), 0, 0), QLatin1String(format));
        if (shortDate.isValid())
            return shortDate;
    }
    return QDate();
}

QString ParameterLiteral::lookupForPreview(const QVariant &value, int adoType)
{
    switch (adoType) {
    case AdoType::Integer:
        return valueText(value);
    case AdoType::Date:
        return date(dateOf(value));
    case AdoType::VarWChar:
        return text(valueText(value));
    default:
        return QString();
    }
}

QString ParameterLiteral::lookupForReport(const QVariant &value, int adoType)
{
    switch (adoType) {
    case AdoType::Integer:
        return valueText(value);
    case AdoType::Date:
        return date(dateOf(value));
    default:
        return text(valueText(value));
    }
}

} // namespace KRML_ReportGen
