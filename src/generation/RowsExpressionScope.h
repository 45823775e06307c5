#pragma once

#include "ExpressionScope.h"
#include "MemoryRecordset.h"

#include <functional>
#include <map>
#include <optional>

namespace KRML_ReportGen {

// An expression scope over rows held in memory: what the formula editor
// works a sample result out on (the first rows of the report's
// statements), and what tests and the fuzz target use.
class RowsExpressionScope : public ExpressionScope
{
public:
    // Statement names are compared without regard to letter case; the
    // first one added is the default statement.
    void addStatement(const QString &name, const MemoryRecordset &rows);
    // Where the rows of a statement not added come from, when they are
    // first asked for (nothing: the report has no such statement).
    void setLoader(std::function<std::optional<MemoryRecordset>(const QString &)> loader) { m_loader = std::move(loader); }
    void setDefaultStatement(const QString &name) { m_default = name; }
    void setSettings(const ExpressionFunctions::Settings &settings) { m_settings = settings; }
    // Stands on a row of a statement, for a per-row expression.
    void standOn(const QString &statement, int row);
    void setPageRows(int first, int end) { m_page = {first, end}; }

    std::unique_ptr<Recordset> openRows(const QString &statement) override;
    QString defaultStatement() const override { return m_default; }
    Recordset *currentRows() override { return m_current.get(); }
    int currentRow() const override { return m_row; }
    std::pair<int, int> pageRows(const QString &) const override { return m_page; }
    const ExpressionFunctions::Settings &settings() const override { return m_settings; }

private:
    std::map<QString, MemoryRecordset> m_rows;
    std::function<std::optional<MemoryRecordset>(const QString &)> m_loader;
    QString m_default;
    ExpressionFunctions::Settings m_settings;
    std::unique_ptr<Recordset> m_current;
    int m_row = 0;
    std::pair<int, int> m_page{0, -1};
};

} // namespace KRML_ReportGen
