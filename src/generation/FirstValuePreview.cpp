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

void FirstValuePreview::clear()
{
    m_rows.clear();
    m_failed.clear();
}

std::unique_ptr<Recordset> FirstValuePreview::open(const QString &statement)
{
    const QString key = statement.toLower();
    auto it = m_rows.find(key);
    if (it == m_rows.end() && !m_failed.contains(key) && m_loader) {
        if (std::optional<MemoryRecordset> loaded = m_loader(statement))
            it = m_rows.insert_or_assign(key, std::move(*loaded)).first;
        else
            m_failed.insert(key);
    }
    if (it == m_rows.end())
        throw ReportError(ExpressionError::UnknownName, QStringLiteral("\"%1\" gives no rows to show.").arg(statement));
    auto rows = std::make_unique<MemoryRecordset>(it->second);
    if (rows->recordCount() > 0)
        rows->moveFirst();
    return rows;
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
            item.rows = open(statement);
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
                item.scope = std::make_shared<LabelExpressionScope>([this](const QString &s) { return open(s); }, statement,
                                                                    LabelExpressionScope::settingsOf(page.extension()));
                item.expression->bind(*item.scope);
                if (item.expression->printsOnce())
                    return {true, ValueFormat::forLabel(item.expression->evaluate(*item.scope), label.Format, label.NullText,
                                                        ValueFormat::localeOf(page.extension().Locale))};
                statement = item.expression->rowStatement();
            } else if (statement.isEmpty()) {
                return {false, QStringLiteral("The formula comes before every data list, so it has no rows to work on.")};
            }
            item.rows = open(statement);
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
