#include "ValueText.h"

#include "VbConvert.h"

#include <QDateTime>

namespace KRML_ReportGen {

QString ValueText::of(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::Double:
        return VbConvert::formatDouble(value.toDouble());
    case QMetaType::Float:
        return VbConvert::formatSingle(value.toFloat());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QByteArray:
        return QStringLiteral("(binary data)");
    default:
        return value.toString();
    }
}

} // namespace KRML_ReportGen
