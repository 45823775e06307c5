#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace KRML_ReportGen {

class JetCollation;

// A pattern of the legacy engine's LIKE. Statements sent through its data
// access use the ANSI-92 wildcards: "%" any run of characters, "_" one
// character. Queries saved in an Access file use the older ones: "*", "?"
// and "#" (one digit). Both know character lists: "[abc]", "[a-z]",
// "[!a-z]" (any character but those), and a list of one character is that
// character itself ("[%]", "[*]"). Letter case never matters; a range holds
// the characters that sort between its ends (JetCollation).
//
// The pattern can be matched here (the embedded engine's LIKE), or written
// for a server: as ANSI-92 text, as a regular expression, or as plain LIKE
// patterns with the character lists spelled out.
class JetLikePattern
{
public:
    enum Wildcards { Ansi92, Ansi89 };

    // escape: a character whose next character is taken literally (the
    // ESCAPE clause some engines have); none by default.
    explicit JetLikePattern(QStringView pattern, Wildcards wildcards = Ansi92, char32_t escape = 0);

    bool matches(QStringView text, const JetCollation &collation) const;
    bool hasCharacterLists() const;

    // The same pattern with the ANSI-92 wildcards.
    QString toAnsi92() const;
    // An anchored POSIX regular expression for the same texts (to be
    // matched without regard to case).
    QString toRegex() const;

    // The pattern as plain LIKE patterns that know only "%" and "_": a text
    // matches when it matches one of `any` and none of `none`. Literal "%",
    // "_" and "\" are written after a "\" (an ESCAPE '\' clause is needed
    // when `escaped` is set). Nothing when the lists would take more than
    // `limit` patterns, or when a "[!…]" list stands between two runs of
    // "%" (no set of plain patterns says that).
    struct Plain
    {
        QStringList any;
        QStringList none;
        bool escaped = false;
    };
    std::optional<Plain> toPlain(int limit = 64) const;

private:
    struct Range
    {
        char32_t low;
        char32_t high;
    };
    struct Element
    {
        enum Kind { Char, One, Many, List } kind = Char;
        char32_t ch = 0;      // Char
        QList<Range> ranges;  // List
        bool negated = false; // List
        static Element of(Kind kind, char32_t ch = 0)
        {
            Element e;
            e.kind = kind;
            e.ch = ch;
            return e;
        }
    };
    static bool inList(const Element &e, char32_t c, const JetCollation &collation);
    QList<Element> m_elements;
};

} // namespace KRML_ReportGen
