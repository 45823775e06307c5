#pragma once

#include <QList>
#include <QString>

namespace KRML_ReportGen {

// The SQL text of a query saved in an Access file. Access keeps a saved
// query not as text but as rows of its system table MSysQueries (one row per
// source table, output column, join, criterion, grouping and ordering, and
// for a union query the text of its parts); this puts the rows of one query
// back together as the Jet SQL Access would show.
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

    enum QueryType {
        Select = 1,
        MakeTable = 2,
        Append = 3,
        Update = 4,
        Delete = 5,
        Crosstab = 6,
        DataDefinition = 7,
        PassThrough = 8,
        Union = 9,
    };
    static int queryType(const QList<Row> &rows);
    // True for the queries that only read: select, union and crosstab.
    static bool reads(int queryType) { return queryType == Select || queryType == Union || queryType == Crosstab; }

    // The query's statement: a SELECT, a UNION of SELECTs or a TRANSFORM …
    // PIVOT, led by a PARAMETERS declaration when it asks for values: its
    // declared parameters, and the form controls it reads ([Forms]![Orders]!
    // [OrderID]), which Access asks for like parameters when no form is
    // open. Empty for action, data-definition and pass-through queries, and
    // for rows that make no statement.
    // The text of a query is one statement, or nothing: pieces whose ";"
    // would end it early (as a hostile file may hold) make none.
    static QString sqlText(const QList<Row> &rows);
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
    enum FlagBits { SelectStar = 1, Distinct = 2, DistinctRow = 8, Top = 16, Percent = 32 };
    // The union keeps duplicates unless this flag is set (UNION, not UNION ALL).
    enum UnionFlags { UnionDistinct = 2 };
    // Crosstab columns and groupings: the pivot, and the row headings.
    enum CrosstabFlags { CrosstabValue = 0, CrosstabPivot = 1, CrosstabRowHeading = 2 };
    enum JoinType { InnerJoin = 1, LeftJoin = 2, RightJoin = 3 };
};

} // namespace KRML_ReportGen
