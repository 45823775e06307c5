#include "ListLineText.h"

#include "Expression.h"
#include "ExpressionError.h"
#include "ExpressionValues.h"
#include "FormulaEvaluator.h"
#include "LabelExpressionScope.h"
#include "LayoutPage.h"
#include "PlacedItem.h"
#include "ReportError.h"
#include "ValueFormat.h"
#include "ValueText.h"

namespace KRML_ReportGen {

ListLineText::ListLineText(const LayoutPage &page) : m_page(page), m_locale(ValueFormat::localeOf(page.extension().Locale)) {}

QString ListLineText::of(const LayoutLabel &label, PlacedItem &item, const QVariant &value) const
{
    // Most labels have no settings: their values print as they always did.
    const bool plain = label.Format.isEmpty() && label.NullText.isEmpty() && m_page.extension().Locale.isEmpty();
    if (item.kind == PlacedItem::Kind::DataList) {
        if (plain)
            return value.isNull() ? QString() : ValueText::of(value);
        return ValueFormat::forLabel(value, label.Format, label.NullText, m_locale);
    }
    if (item.expression) {
        // An expression that cannot be worked out ends the run, naming the
        // label and the place in its formula.
        item.scope->standOn(item.rows.get(), item.row);
        try {
            const QVariant v = item.expression->evaluate(*item.scope);
            if (plain)
                return ExpressionValues::isNull(v) ? QString() : ExpressionValues::text(v);
            return ValueFormat::forLabel(v, label.Format, label.NullText, m_locale);
        } catch (const ExpressionError &e) {
            throw e.forLabel(item.index, label.Caption);
        }
    }
    // Each row of a legacy formula is evaluated on its own; a row that
    // cannot be worked out (a null field, a division by zero) prints an
    // empty line.
    QString result;
    try {
        result = FormulaEvaluator::evaluateCurrentRow(label.Caption, *item.rows);
    } catch (const ReportError &) {
        return label.NullText.isEmpty() ? QString() : label.NullText;
    }
    if (result.isNull())
        result = QStringLiteral("");
    return label.Format.isEmpty() ? result : ValueFormat::format(result, label.Format, m_locale);
}

} // namespace KRML_ReportGen
