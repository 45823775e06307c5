#include "CsvText.h"

#include <QDateTime>
#include <QLocale>

namespace KRML_ReportGen {

QString CsvText::field(const QString &text)
{
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
                       || text.contains(QLatin1Char('\r'));
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvText::raw(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime: {
        const QDateTime at = value.toDateTime();
        return at.time() == QTime(0, 0) ? at.date().toString(Qt::ISODate) : at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    default:
        return value.toString();
    }
}

} // namespace KRML_ReportGen
