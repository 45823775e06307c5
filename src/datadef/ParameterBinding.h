#pragma once

#include "BoundStatement.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace KRML_ReportGen {

// Where a statement's parameter markers stand, and the statement with each
// marker replaced by a bound placeholder. The original text is read once,
// left to right: at each place the longest marker that matches there
// (letter case aside) counts, the first of equal markers in list order
// taking it, and what a value will be can never turn into another marker.
// Markers inside 'text', "text" and [names] are the text's own and stay.
class ParameterBinding
{
public:
    // markers in the report's parameter list order.
    ParameterBinding(QString sql, const QStringList &markers);

    // True when the statement uses the parameter at this list index.
    bool uses(int parameter) const;
    // The statement with the markers of the parameters that have a value
    // replaced by placeholders (?1 for the first parameter used, and so
    // on); a parameter without a value keeps its marker as written.
    BoundStatement bind(const QList<std::optional<BoundValue>> &values) const;

private:
    struct Occurrence
    {
        qsizetype start = 0;
        qsizetype length = 0;
        int parameter = 0;
    };
    QString m_sql;
    QList<Occurrence> m_occurrences;
};

} // namespace KRML_ReportGen
