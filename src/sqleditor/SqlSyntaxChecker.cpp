#include "SqlSyntaxChecker.h"

#include "SqlLiteralScanner.h"

#include <QSet>

namespace KRML_ReportGen {

namespace {

QSet<QString> entries(const QString &list)
{
    QSet<QString> set;
    for (const QString &e : list.split(QLatin1Char(':')))
        set.insert(e.toUpper());
    return set;
}

QSet<QString> lowerCased(const QStringList &names)
{
    QSet<QString> set;
    set.reserve(names.size());
    for (const QString &n : names)
        set.insert(n.toLower());
    return set;
}

} // namespace

unsigned SqlSyntaxChecker::rgb(WordClass kind)
{
    switch (kind) {
    case WordClass::Query: return 0x0000FF;
    case WordClass::Command: return 0x00FF00;
    case WordClass::Table: return 0xFF00FF;
    case WordClass::Column: return 0x00FFFF;
    default: return 0x000000;
    }
}

QList<SqlWordScanner::Word> SqlSyntaxChecker::words(const QString &text)
{
    const QList<SqlLiteralScanner::Range> literals = SqlLiteralScanner::pieces(text);
    QList<SqlWordScanner::Word> out;
    int next = 0; // the first literal range that may still hold a word
    for (const auto &w : SqlWordScanner::words(text)) {
        while (next < literals.size() && literals[next].end <= w.start)
            ++next;
        const int end = w.start + int(w.text.size());
        if (next < literals.size() && literals[next].start < end)
            continue; // inside (or running into) quoted text or a bracketed name
        out.append(w);
    }
    return out;
}

SqlSyntaxChecker::Result SqlSyntaxChecker::CheckSyntax(const QString &input, const QStringList &tables,
                                                       const QStringList &columns)
{
    static const QSet<QString> listA = entries(queryKeywords());
    static const QSet<QString> listB = entries(commandKeywords());
    Result r;
    r.text = input;
    if (!r.text.endsWith(QLatin1Char(' ')))
        r.text += QLatin1Char(' ');
    const QList<SqlWordScanner::Word> words = SqlSyntaxChecker::words(r.text);

    // First pass: the words used as keywords somewhere. Every whole-word
    // occurrence of the same text is then written in upper case.
    QSet<QString> keywordTexts;
    bool query = true;
    for (const auto &w : words) {
        const QString upper = w.text.toUpper();
        if (query && listA.contains(upper)) {
            keywordTexts.insert(w.text);
        } else if (listB.contains(upper)) {
            keywordTexts.insert(w.text);
            query = false;
        }
    }
    for (const auto &w : words)
        if (keywordTexts.contains(w.text))
            r.text.replace(w.start, w.text.size(), w.text.toUpper()); // same length: positions hold

    // Second pass: the colour of every word, on the upper-cased text.
    const QSet<QString> tableNames = lowerCased(tables);
    const QSet<QString> columnNames = lowerCased(columns);
    query = true;
    for (const auto &w : words) {
        const QString upper = w.text.toUpper();
        WordClass kind = WordClass::Other;
        if (query && listA.contains(upper)) {
            kind = WordClass::Query;
        } else if (listB.contains(upper)) {
            kind = WordClass::Command;
            query = false;
        } else if (tableNames.contains(w.text.toLower())) {
            kind = WordClass::Table;
        } else if (columnNames.contains(w.text.toLower())) {
            kind = WordClass::Column;
        }
        r.spans.append({w.start, int(w.text.size()), kind});
    }
    return r;
}

} // namespace KRML_ReportGen
