#include "LengthText.h"

#include "LegacyNumber.h"

#include <QRegularExpression>
#include <cmath>

namespace KRML_ReportGen {

namespace {

QString trimmedNumber(double value, int decimals)
{
    QString t = QString::number(value, 'f', decimals);
    if (t.contains(QLatin1Char('.'))) {
        while (t.endsWith(QLatin1Char('0')))
            t.chop(1);
        if (t.endsWith(QLatin1Char('.')))
            t.chop(1);
    }
    return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

} // namespace

QString LengthText::millimetres(double twips)
{
    return trimmedNumber(twips / TwipsPerMm, 2);
}

QString LengthText::twips(double twips)
{
    return trimmedNumber(twips, 1);
}

QString LengthText::format(double value)
{
    return QStringLiteral("%1 mm (%2 tw)").arg(millimetres(value), twips(value));
}

std::optional<double> LengthText::parse(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*([-+]?[0-9]*[.,]?[0-9]+)\\s*(mm|cm|in|pt|tw|twips)?\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QString number = m.captured(1);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    const auto value = LegacyNumber::convert(number);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    const QString unit = m.captured(2).toLower();
    if (unit == QLatin1String("cm"))
        return *value * 10 * TwipsPerMm;
    if (unit == QLatin1String("in"))
        return *value * 1440;
    if (unit == QLatin1String("pt"))
        return *value * 20;
    if (unit == QLatin1String("tw") || unit == QLatin1String("twips"))
        return *value;
    return *value * TwipsPerMm;
}

} // namespace KRML_ReportGen
