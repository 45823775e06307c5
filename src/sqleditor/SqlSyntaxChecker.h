#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "SqlWordScanner.h"

namespace KRML_ReportGen {

// "Check SQL" without the window: keywords in upper case and every word's
// colour class. A word is a keyword when it equals an entry of a keyword
// list, ignoring case; after a word of the second list (DELETE, UPDATE, ...)
// only that list's words are keywords. The check never changes what the
// SQL means: text between quotes and [bracketed names] is neither a word
// nor upper-cased, and only whole words are. Linear in the text's length.
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
    // The words of text that the check classifies: the scanner's words
    // outside quotes and brackets.
    static QList<SqlWordScanner::Word> words(const QString &text);
    // The colour of a class, as red, green, blue.
    static unsigned rgb(WordClass kind);
};

} // namespace KRML_ReportGen
