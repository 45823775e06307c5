#pragma once

#include "MemoryRecordset.h"
#include "RowsExpressionScope.h"

#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace KRML_ReportGen {

class LayoutPage;
class Recordset;

// What a data-field or formula label prints on the first row of its
// statement, with a Format and a NullText that are still being typed: the
// designer's preview of a label's formatting. The rows come from a loader
// (the formula editor's sample rows) and are read once per statement until
// clear(), so trying formats never goes back to the database.
class FirstValuePreview
{
public:
    using Loader = std::function<std::optional<MemoryRecordset>(const QString &statement)>;

    explicit FirstValuePreview(Loader loader);

    struct Result
    {
        bool ok = false;  // text is the value; otherwise why there is none
        QString text;
    };
    // Label label of the page (a data field or a formula) with format and
    // nullText in place of its own.
    Result preview(const LayoutPage &page, int label, const QString &format, const QString &nullText);
    // Forgets the rows read (another selection, another report SQL file).
    void clear();

private:
    Loader m_loader;
    std::unique_ptr<RowsExpressionScope> m_rows; // keeps the rows read, by statement
    QSet<QString> m_failed;      // statements that gave no rows (lower case)
};

} // namespace KRML_ReportGen
