#include "LabelExpressionScope.h"

#include "LayoutExtension.h"
#include "LegacyNumber.h"
#include "Recordset.h"

namespace KRML_ReportGen {

LabelExpressionScope::LabelExpressionScope(Opener open, QString defaultStatement, ExpressionFunctions::Settings settings)
    : m_open(std::move(open)), m_default(std::move(defaultStatement)), m_settings(std::move(settings))
{
}

ExpressionFunctions::Settings LabelExpressionScope::settingsOf(const LayoutExtension &ext)
{
    ExpressionFunctions::Settings settings;
    settings.locale = ext.Locale;
    if (const auto rate = LegacyNumber::convert(ext.TaxRate))
        settings.taxRate = *rate;
    return settings;
}

std::pair<int, int> LabelExpressionScope::pageRows(const QString &statement) const
{
    return m_pageRows ? m_pageRows(statement) : std::pair<int, int>{0, -1};
}

} // namespace KRML_ReportGen
