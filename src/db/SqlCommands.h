#pragma once

#include <QString>

namespace KRML_ReportGen {

// What a statement's text holds at its top level, as a database server
// reads it: text between quotes ('…' with '' inside, E'…' with backslash
// escapes, "…", […], $tag$…$tag$) and comments (-- and nested /* */) are
// passed over, so a ";" inside them separates nothing. Servers run every
// command of a text they are sent; a report statement is one.
class SqlCommands
{
public:
    // The number of commands: pieces between top-level ";" that hold more
    // than blanks and comments.
    static int count(const QString &sql);
    // The first word of the text, upper-cased, past blanks, comments and
    // opening parentheses ("SELECT", "WITH", "DELETE"…).
    static QString firstWord(const QString &sql);
};

} // namespace KRML_ReportGen
