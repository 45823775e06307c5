#include "ValueText.h"

#include "VbConvert.h"

#include <QDateTime>
#include <QLocale>

namespace KRML_ReportGen {

namespace {

// VbConvert writes numbers with "."; the user's settings may want another
// separator. Only a number with a fraction pays for the look-up.
QString withLocaleSeparator(QString text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return text;
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(dot, 1, point);
    return text;
}

} // namespace

QString ValueText::number(double value)
{
    return withLocaleSeparator(VbConvert::formatDouble(value));
}

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
        return number(value.toDouble());
    case QMetaType::Float:
        // A host's single-precision value keeps the seven digits it has.
        return withLocaleSeparator(VbConvert::formatSingle(value.toFloat()));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QByteArray:
        return QStringLiteral("(binary data)");
    default:
        return value.toString();
    }
}

} // namespace KRML_ReportGen
