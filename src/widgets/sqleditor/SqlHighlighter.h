#pragma once

#include <QStringList>
#include <QSyntaxHighlighter>

namespace KRML_ReportGen {

// Live colouring of the SQL box while the user types: the colours of the
// check (keywords, table and column names) without changing any text. A
// thin adapter over SqlSyntaxChecker, run once per change of the document.
class SqlHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    explicit SqlHighlighter(QTextDocument *document);
    void setNames(const QStringList &tables, const QStringList &columns);

protected:
    void highlightBlock(const QString &text) override;

private:
    void refresh();

    QStringList m_tables;
    QStringList m_columns;
    int m_revision = -1;
    struct Span
    {
        int position; // in the document
        int length;
        unsigned rgb;
    };
    QList<Span> m_spans; // in document order
};

} // namespace KRML_ReportGen
