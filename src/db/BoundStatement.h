#pragma once

#include "KRMLReportGenExport.h"
#include "BoundValue.h"

#include <QList>
#include <QString>

namespace KRML_ReportGen {

// A statement with its values kept apart from its text. Each value stands
// in the text as a numbered placeholder ?1, ?2, ... (outside quotes and
// [names]); one placeholder may occur several times and always means the
// same value. The numbers survive the dialect's rewriting, which may move
// pieces of a statement around; each engine binds them its own way.
class KRML_REPORTGEN_EXPORT BoundStatement
{
public:
    BoundStatement() = default;
    // A statement without values: its text runs as written.
    explicit BoundStatement(QString sql, QList<BoundValue> values = {})
        : sql(std::move(sql)), values(std::move(values))
    {
    }

    QString sql;
    // values[0] is ?1.
    QList<BoundValue> values;

    bool isEmpty() const { return sql.isEmpty(); }
    void clear()
    {
        sql.clear();
        values.clear();
    }
    // The text with every placeholder shown as its value's literal, for a
    // person to read (a message, a log). Never run it.
    QString displayText() const;

    static QString placeholder(int number) { return QLatin1Char('?') + QString::number(number); }

    // Where the placeholders of a text lie, in text order: start, length
    // and number (1-based). Placeholders inside quoted pieces do not count.
    struct Placeholder
    {
        qsizetype start = 0;
        qsizetype length = 0;
        int number = 0;
    };
    static QList<Placeholder> placeholders(QStringView sql);

    bool operator==(const BoundStatement &other) const { return sql == other.sql && values == other.values; }
    bool operator!=(const BoundStatement &other) const { return !(*this == other); }
};

} // namespace KRML_ReportGen
