#include "FirstValuePreview.h"

#include "Expression.h"
#include "ExpressionError.h"
#include "LabelExpressionScope.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "ListLineText.h"
#include "PlacedItem.h"
#include "ReportError.h"
#include "ValueFormat.h"

namespace KRML_ReportGen {

FirstValuePreview::FirstValuePreview(Loader loader) : m_loader(std::move(loader))
{
    clear();
}

void FirstValuePreview::clear()
{
    m_rows = std::make_unique<RowsExpressionScope>();
    m_failed.clear();
    // A statement that gave nothing is not asked for again either.
    m_rows->setLoader([this](const QString &statement) -> std::optional<MemoryRecordset> {
        if (m_failed.contains(statement.toLower()) || !m_loader)
            return std::nullopt;
        std::optional<MemoryRecordset> rows = m_loader(statement);
        if (!rows)
            m_failed.insert(statement.toLower());
        return rows;
    });
}

FirstValuePreview::Result FirstValuePreview::preview(const LayoutPage &page, int index, const QString &format,
                                                     const QString &nullText)
{
    // The label as it would print with the settings being typed.
    LayoutLabel label = page.Label(index);
    label.Format = format;
    label.NullText = nullText;
    const QString noRows = QStringLiteral("\"%1\" has no rows to show a value on.");
    PlacedItem item;
    item.index = index;
    try {
        QVariant value;
        switch (LabelTag::kindOf(label.Tag)) {
        case LabelTag::Kind::DataField: {
            item.kind = PlacedItem::Kind::DataList;
            const QString statement = LabelTag::statementName(label.Tag);
            item.rows = m_rows->openRows(statement);
            if (item.rows->recordCount() <= 0)
                return {false, noRows.arg(statement)};
            item.column = item.rows->fieldIndex(LabelTag::fieldName(label.Tag));
            if (item.column < 0)
                return {false, QStringLiteral("The statement \"%1\" has no field \"%2\".").arg(statement, LabelTag::fieldName(label.Tag))};
            value = item.rows->field(item.column).value;
            break;
        }
        case LabelTag::Kind::Formula: {
            item.kind = PlacedItem::Kind::Formula;
            // A formula works on the rows of the last data list before it.
            QString statement;
            for (int i = 1; i < index; ++i)
                if (LabelTag::kindOf(page.Label(i).Tag) == LabelTag::Kind::DataField)
                    statement = LabelTag::statementName(page.Label(i).Tag);
            if (Expression::isExpression(label.Caption)) {
                item.expression = std::make_shared<Expression>(label.Caption);
                item.scope = std::make_shared<LabelExpressionScope>([this](const QString &s) { return m_rows->openRows(s); }, statement,
                                                                    LabelExpressionScope::settingsOf(page.extension()));
                item.expression->bind(*item.scope);
                if (item.expression->printsOnce())
                    return {true, ValueFormat::forLabel(item.expression->evaluate(*item.scope), label.Format, label.NullText,
                                                        ValueFormat::localeOf(page.extension().Locale))};
                statement = item.expression->rowStatement();
            } else if (statement.isEmpty()) {
                return {false, QStringLiteral("The formula comes before every data list, so it has no rows to work on.")};
            }
            item.rows = m_rows->openRows(statement);
            if (item.rows->recordCount() <= 0)
                return {false, noRows.arg(statement)};
            break;
        }
        case LabelTag::Kind::FixedText:
            return {false, QString()};
        }
        return {true, ListLineText(page).of(label, item, value)};
    } catch (const ReportError &e) { // expressions' errors as well
        return {false, e.description()};
    }
}

} // namespace KRML_ReportGen
