#include "PreviewNavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace KRML_ReportGen {

PreviewNavigator::PreviewNavigator(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("previewNavigator"));
    setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    const auto button = [&](const QString &name, const QString &text, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(tip);
        layout->addWidget(b);
        return b;
    };
    m_first = button(QStringLiteral("cmdFirstPage"), QStringLiteral("|<"), QStringLiteral("First page"));
    m_previous = button(QStringLiteral("cmdPreviousPage"), QStringLiteral("<"), QStringLiteral("Previous page"));
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblPage"));
    layout->addWidget(m_label);
    m_next = button(QStringLiteral("cmdNextPage"), QStringLiteral(">"), QStringLiteral("Next page"));
    m_last = button(QStringLiteral("cmdLastPage"), QStringLiteral(">|"), QStringLiteral("Last page"));
    connect(m_first, &QToolButton::clicked, this, [this] { emit pageRequested(1); });
    connect(m_previous, &QToolButton::clicked, this, [this] { emit pageRequested(std::max(1, m_page - 1)); });
    connect(m_next, &QToolButton::clicked, this, [this] { emit pageRequested(std::min(m_pages, m_page + 1)); });
    connect(m_last, &QToolButton::clicked, this, [this] { emit pageRequested(m_pages); });
    setPages(1, 1);
}

QString PreviewNavigator::text() const
{
    return m_label->text();
}

void PreviewNavigator::setPages(int page, int pages)
{
    m_page = page;
    m_pages = pages;
    m_label->setText(QStringLiteral("Page %1 of %2").arg(page).arg(pages));
    m_first->setEnabled(page > 1);
    m_previous->setEnabled(page > 1);
    m_next->setEnabled(page < pages);
    m_last->setEnabled(page < pages);
    adjustSize();
}

} // namespace KRML_ReportGen
