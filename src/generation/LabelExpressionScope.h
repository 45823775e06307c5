#pragma once

#include "ExpressionScope.h"

#include <functional>

namespace KRML_ReportGen {

struct LayoutExtension;

// What the expression of a formula label works on during a report run: the
// report's statements as the run opens them, the row the label's list is
// printing and the rows of the page being drawn.
class LabelExpressionScope : public ExpressionScope
{
public:
    using Opener = std::function<std::unique_ptr<Recordset>(const QString &statement)>;
    using PageRows = std::function<std::pair<int, int>(const QString &statement)>;

    LabelExpressionScope(Opener open, QString defaultStatement, ExpressionFunctions::Settings settings);
    // What the functions read of a layout's settings (Report.Locale, Report.TaxRate).
    static ExpressionFunctions::Settings settingsOf(const LayoutExtension &ext);

    std::unique_ptr<Recordset> openRows(const QString &statement) override { return m_open(statement); }
    QString defaultStatement() const override { return m_default; }
    Recordset *currentRows() override { return m_current; }
    int currentRow() const override { return m_row; }
    std::pair<int, int> pageRows(const QString &statement) const override;
    const ExpressionFunctions::Settings &settings() const override { return m_settings; }

    void standOn(Recordset *rows, int row)
    {
        m_current = rows;
        m_row = row;
    }
    void setPageRows(PageRows pageRows) { m_pageRows = std::move(pageRows); }

private:
    Opener m_open;
    QString m_default;
    ExpressionFunctions::Settings m_settings;
    Recordset *m_current = nullptr;
    int m_row = 0;
    PageRows m_pageRows;
};

} // namespace KRML_ReportGen
