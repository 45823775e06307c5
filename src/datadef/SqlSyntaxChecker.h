#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

// "Check SQL" without the window: keywords in upper case and every word's
// colour class. A word counts as a keyword when it occurs anywhere inside a
// keyword list's text, ignoring case, fragments and single letters
// included; after a word of the second list (DELETE, UPDATE, ...) only
// that list's words are keywords.
class SqlSyntaxChecker
{
public:
    static QString queryKeywords() { return QStringLiteral("SELECT:FROM:WHERE:COUNT:AND:OR:BETWEEN:*:JOIN:INNER:ORDER:BY:ASC:DESC:IS:IN"); }
    static QString commandKeywords() { return QStringLiteral("DELETE:UPDATE:DROP:CREATE:VIEW:TABLE:INSERT:FROM:WHERE:COUNT:AND:OR:BETWEEN:*"); }

    enum class WordClass { Query, Command, Table, Column, Other };
    struct Span
    {
        int start;
        int length;
        WordClass kind;
        friend bool operator==(const Span &, const Span &) = default;
    };
    struct Result
    {
        QString text; // ends with a blank
        QList<Span> spans;
    };

    static Result CheckSyntax(const QString &text, const QStringList &tables, const QStringList &columns);
    // The colour of a class, as red, green, blue.
    static unsigned rgb(WordClass kind);
};

} // namespace KRML_ReportGen
