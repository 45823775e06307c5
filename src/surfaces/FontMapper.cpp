#include "FontMapper.h"

#include <QFontDatabase>
#include <QHash>
#include <cmath>

namespace KRML_ReportGen {

QString FontMapper::family(const QString &legacyName)
{
    static const QHash<QString, QString> map = {
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("microsoft sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("tahoma"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("verdana"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("arial narrow"), QStringLiteral("Liberation Sans Narrow")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("times"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("ms serif"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("courier"), QStringLiteral("Liberation Mono")},
    };
    const QString key = legacyName.trimmed().toLower();
    const auto it = map.constFind(key);
    if (it != map.constEnd())
        return *it;
    if (!key.isEmpty() && QFontDatabase::hasFamily(legacyName.trimmed()))
        return legacyName.trimmed();
    return QStringLiteral("Liberation Sans");
}

int FontMapper::twipsForPoints(double points)
{
    // One point is 20 twips.
    const int px = static_cast<int>(std::lround(points * 20.0));
    return px < 1 ? 1 : px;
}

QFont FontMapper::toQFont(const FontDescription &font)
{
    QFont f(family(font.name));
    f.setPixelSize(twipsForPoints(font.size));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikethru);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

} // namespace KRML_ReportGen
