#include "SqlSyntaxChecker.h"

#include "SqlWordScanner.h"

namespace KRML_ReportGen {

namespace {

bool containsIgnoringCase(const QStringList &names, const QString &word)
{
    for (const QString &n : names)
        if (n.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    return false;
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

SqlSyntaxChecker::Result SqlSyntaxChecker::CheckSyntax(const QString &input, const QStringList &tables,
                                                       const QStringList &columns)
{
    Result r;
    r.text = input;
    if (!r.text.endsWith(QLatin1Char(' ')))
        r.text += QLatin1Char(' ');
    const QString listA = queryKeywords();
    const QString listB = commandKeywords();
    // Upper-casing keeps every length, so one scan serves both passes.
    const QList<SqlWordScanner::Word> words = SqlWordScanner::words(r.text);

    // First pass: keywords in upper case, everywhere their text occurs.
    bool query = true;
    for (const auto &w : words) {
        bool keyword = false;
        if (query && listA.contains(w.text, Qt::CaseInsensitive)) {
            keyword = true;
        } else if (listB.contains(w.text, Qt::CaseInsensitive)) {
            keyword = true;
            query = false;
        }
        if (keyword) {
            const QString upper = w.text.toUpper();
            if (upper.size() == w.text.size())
                r.text.replace(w.text, upper, Qt::CaseSensitive);
        }
    }

    // Second pass: the colour of every word, on the upper-cased text.
    query = true;
    for (const auto &w : words) {
        const QString word = r.text.mid(w.start, w.text.size());
        WordClass kind = WordClass::Other;
        if (query && listA.contains(word, Qt::CaseInsensitive)) {
            kind = WordClass::Query;
        } else if (listB.contains(word, Qt::CaseInsensitive)) {
            kind = WordClass::Command;
            query = false;
        } else if (containsIgnoringCase(tables, word)) {
            kind = WordClass::Table;
        } else if (containsIgnoringCase(columns, word)) {
            kind = WordClass::Column;
        }
        r.spans.append({w.start, int(w.text.size()), kind});
    }
    return r;
}

} // namespace KRML_ReportGen
