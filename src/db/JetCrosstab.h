#pragma once

#include "Recordset.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace KRML_ReportGen {

// A crosstab statement of the dialect:
//
//   TRANSFORM Sum(Qty) SELECT Region FROM Sales GROUP BY Region PIVOT Year
//
// gives one row per Region and one column per value of Year, in ascending
// order (or the columns a PIVOT … IN (…) list names, in its order), each
// holding the TRANSFORM aggregate over the rows of that value; rows whose
// pivot is Null go to a column named "<>". No engine has this statement, so
// it is run as plain SQL of the dialect in two steps: first the pivot's
// values (valuesQuery, unless the IN list gives them), then a grouped SELECT
// with one conditional aggregate per value (select). Both are Jet SQL for
// JetSqlRewriter like any other statement.
class JetCrosstab
{
public:
    // Nothing when the statement is no crosstab.
    static std::optional<JetCrosstab> parse(const QString &sql);

    // True when the columns come from the data (no IN list).
    bool needsValues() const { return m_fixed.isEmpty(); }
    // The distinct values of the pivot, in order (one column).
    QString valuesQuery() const;
    // The statement that gives the crosstab for these pivot values (ignored
    // when an IN list names the columns).
    QString select(const QList<QVariant> &values = {}) const;

    // A value as a literal of the dialect.
    static QString literal(const QVariant &value);

    // Runs a crosstab statement with an engine's own run (which rewrites
    // each of the two statements for itself); nullptr when the statement is
    // no crosstab.
    using Runner = std::function<std::unique_ptr<Recordset>(const QString &)>;
    static std::unique_ptr<Recordset> run(const QString &sql, const Runner &run);

private:
    QString m_parameters; // a PARAMETERS declaration at the head, kept for both statements
    QString m_transform;  // the aggregate
    QString m_list;       // the row headings (the SELECT list)
    QString m_from;       // FROM … WHERE …
    QString m_rest;       // GROUP BY … HAVING … ORDER BY …
    QString m_pivot;
    QStringList m_fixed;  // the IN list's literals
};

} // namespace KRML_ReportGen
