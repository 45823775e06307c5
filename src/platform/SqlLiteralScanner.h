#pragma once

#include <QList>
#include <QStringView>

namespace KRML_ReportGen {

// Where the quoted pieces of a report's SQL lie: 'text' and "text" literals
// (a doubled quote stays inside them) and [bracketed names]. Everything that
// reads or rewrites SQL text (the dialect rewriter, the parameter markers,
// the SQL editor's check, the servers' name spelling) leaves these pieces
// alone and finds them the same way. An unclosed piece runs to the end.
class SqlLiteralScanner
{
public:
    struct Range
    {
        qsizetype start = 0; // the opening quote or bracket
        qsizetype end = 0;   // one past the closing one
    };

    static bool opensPiece(QChar c)
    {
        return c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[');
    }
    // One past the end of the piece that opens at start (which must be
    // ' " or [).
    static qsizetype pieceEnd(QStringView sql, qsizetype start);
    // True when a piece opens and the text ends before it closes.
    static bool hasUnclosedPiece(QStringView sql);
    // Every piece, in order.
    static QList<Range> pieces(QStringView sql);
};

} // namespace KRML_ReportGen
