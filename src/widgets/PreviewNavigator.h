#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace KRML_ReportGen {

// The page controls of a paginated preview: first, previous, next, last
// and "Page n of m".
class PreviewNavigator : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewNavigator(QWidget *parent = nullptr);

    void setPages(int page, int pages);
    int page() const { return m_page; }
    int pages() const { return m_pages; }
    QString text() const;

signals:
    void pageRequested(int page);

private:
    QToolButton *m_first;
    QToolButton *m_previous;
    QToolButton *m_next;
    QToolButton *m_last;
    QLabel *m_label;
    int m_page = 1;
    int m_pages = 1;
};

} // namespace KRML_ReportGen
