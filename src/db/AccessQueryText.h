#pragma once

#include <QList>
#include <QString>

namespace KRML_ReportGen {

// The SQL text of a query saved in an Access file. Access keeps a saved
// query not as text but as rows of its system table MSysQueries (one row per
// source table, output column, join, criterion, grouping and ordering); this
// puts the rows of one query back together as the Jet SQL Access would show.
class AccessQueryText
{
public:
    // One row of MSysQueries, in the file's order.
    struct Row
    {
        int attribute = 0;
        QString name1;
        QString name2;
        QString expression;
        int flag = 0;
    };

    // The query's SELECT statement; empty for anything else (action,
    // crosstab, union, pass-through and data-definition queries), for
    // queries that ask for parameters, which cannot stand as a view, and for
    // rows whose pieces would not make one statement (a ";" that ends it
    // early, as a hostile file may hold).
    static QString selectText(const QList<Row> &rows);
    // True when the text is one statement as SQLite reads it: no ";" ends
    // a statement before the text's end.
    static bool isOneStatement(const QString &sql);

    enum Attribute {
        Type = 1,
        Parameter = 2,
        Flags = 3,
        Table = 5,
        Column = 6,
        Join = 7,
        Where = 8,
        GroupBy = 9,
        Having = 10,
        OrderBy = 11,
    };
    enum QueryType { Select = 1 };
    enum FlagBits { SelectStar = 1, Distinct = 2, DistinctRow = 8, Top = 16, Percent = 32 };
    enum JoinType { InnerJoin = 1, LeftJoin = 2, RightJoin = 3 };
};

} // namespace KRML_ReportGen
