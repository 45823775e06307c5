#pragma once

#include "JetLikePattern.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace KRML_ReportGen {

// Rewrites the SQL that reports are written in (the Jet dialect) into what
// an engine understands, so that a statement means on every engine what it
// meant to the legacy engine:
//
// - date literals (#2024/03/15#, #2024-03-15#, the US form #03/15/2024#,
//   with an optional time) in the engine's date form;
// - "&" joining text (a Null side counts as empty), "/" dividing with a
//   fraction even between whole numbers, Mod, "\" and "^";
//   True, False, Yes and No; DISTINCTROW; "text" as a text literal;
// - SELECT TOP n and TOP n PERCENT (rounded up), with the rows tied with
//   the last one when the statement is ordered;
// - LIKE with "%", "_" and the character lists [abc], [a-z], [!a-z], never
//   minding letter case (and, for queries saved in Access, "*", "?", "#");
// - PARAMETERS declarations: the declared names become the statement's
//   parameters;
// - the dialect's functions, where the engine does not know them itself
//   (JetFunctionSql).
//
// Text inside quotes and [bracketed names] is never rewritten, only
// re-quoted where an engine quotes differently, and numbered placeholders
// (?1, ?2) stay as they are wherever the rewriting moves them.
class JetSqlRewriter
{
public:
    enum Dialect {
        // The embedded engine (SQLite with the dialect's functions, LIKE and
        // text order installed): dates as the text they are stored in,
        // TOP as LIMIT, text literals compared in the legacy order.
        Sqlite,
        // PostgreSQL, in its own SQL (nothing may be created on a report
        // connection): DATE '…' and TIMESTAMP '…', [Name] as Name (or "Name"
        // when it is not a plain word), FETCH FIRST … WITH TIES.
        PostgreSql,
        // Any other ODBC driver: the ODBC escapes {d '…'}, {ts '…'} and
        // {fn …}; TOP passed on (WITH TIES when ordered).
        Odbc,
        // A SQLite database reached through ODBC: SQLite's own functions only.
        SqliteNative,
    };

    struct Options
    {
        // The LIKE wildcards of the text: ANSI-92 for statements, ANSI-89
        // for queries saved in Access.
        JetLikePattern::Wildcards like = JetLikePattern::Ansi92;
    };

    struct Result
    {
        QString sql;
        // The names a PARAMETERS declaration at the head declared, in order,
        // and their declared types (DateTime, Text, Long, …).
        QStringList parameters;
        QStringList parameterTypes;
        // On the servers, parameter i of that list is the placeholder
        // ?(firstPlaceholder + i); the embedded engine reads them by name.
        int firstPlaceholder = 0;
    };

    static Result translate(const QString &sql, Dialect dialect, const Options &options);
    static Result translate(const QString &sql, Dialect dialect);
    static QString rewrite(const QString &sql, Dialect dialect, const Options &options)
    {
        return translate(sql, dialect, options).sql;
    }
    static QString rewrite(const QString &sql, Dialect dialect) { return translate(sql, dialect).sql; }
    static QString toSqlite(const QString &sql) { return rewrite(sql, Sqlite); }
    // The date (and time) a literal's text between the "#" names, if any.
    static std::optional<QDateTime> parseDateLiteral(const QString &text, bool *hasTime = nullptr);
    // The text a 'text' or "text" literal stands for (a doubled quote
    // inside is one).
    static QString textOf(QStringView literal);
    // How a bang-separated or bracketed reference is written as a parameter
    // name: [Forms]![Orders]![OrderID] is Forms!Orders!OrderID.
    static QString parameterName(QStringView reference);
};

} // namespace KRML_ReportGen
