#include "SqlHighlighter.h"

#include "SqlSyntaxChecker.h"

#include <QTextDocument>

namespace KRML_ReportGen {

SqlHighlighter::SqlHighlighter(QTextDocument *document) : QSyntaxHighlighter(document) {}

void SqlHighlighter::setNames(const QStringList &tables, const QStringList &columns)
{
    m_tables = tables;
    m_columns = columns;
    m_revision = -1;
    rehighlight();
}

void SqlHighlighter::refresh()
{
    QTextDocument *doc = document();
    if (!doc || doc->revision() == m_revision)
        return;
    m_revision = doc->revision();
    m_spans.clear();
    // The document's own line separators are single characters, so
    // positions in its plain text are document positions.
    const auto result = SqlSyntaxChecker::CheckSyntax(doc->toPlainText(), m_tables, m_columns);
    for (const auto &span : result.spans)
        if (span.kind != SqlSyntaxChecker::WordClass::Other)
            m_spans.append({span.start, span.length, SqlSyntaxChecker::rgb(span.kind)});
}

void SqlHighlighter::highlightBlock(const QString &text)
{
    refresh();
    const int start = currentBlock().position();
    const int end = start + int(text.size());
    auto it = std::lower_bound(m_spans.cbegin(), m_spans.cend(), start,
                               [](const Span &span, int pos) { return span.position + span.length <= pos; });
    for (; it != m_spans.cend() && it->position < end; ++it) {
        const int from = std::max(it->position, start);
        const int to = std::min(it->position + it->length, end);
        if (to > from)
            setFormat(from - start, to - from, QColor::fromRgb(it->rgb));
    }
}

} // namespace KRML_ReportGen
