#include "ReportGenerator.h"

#include "DrawingSurface.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "PageDrawer.h"
#include "QueryLoader.h"
#include "ReportLayout.h"
#include "StatementCache.h"
#include "VbConvert.h"

#include <QScopeGuard>
#include <algorithm>

namespace KRML_ReportGen {

ReportGenerator::ReportGenerator(const LayoutPage &page, QueryLoader &loader)
    : m_page(page), m_loader(loader), m_layout(std::make_unique<ReportLayout>(page, loader))
{
}

ReportGenerator::~ReportGenerator() = default;

int ReportGenerator::executions() const
{
    return m_cache ? m_cache->executions() : 0;
}

const QList<double> &ReportGenerator::LabelTops() const
{
    return m_layout->LabelTops();
}

const QList<double> &ReportGenerator::LabelExtents() const
{
    return m_layout->LabelExtents();
}

bool ReportGenerator::CheckForPrintOverlap(const LayoutLabel &label, qint32 &returnLeft, qint32 &returnTop) const
{
    return m_layout->CheckForPrintOverlap(label, returnLeft, returnTop);
}

bool ReportGenerator::paginate() const
{
    switch (m_pagination) {
    case Pagination::On:
        return true;
    case Pagination::Off:
        return false;
    case Pagination::FromLayout:
        break;
    }
    return m_page.extension().Paginate;
}

const QList<CutList> &ReportGenerator::cutLists() const
{
    return m_layout->cutLists();
}

int ReportGenerator::pageCount() const
{
    return m_layout->pageCount();
}

void ReportGenerator::setPageRange(int first, int last)
{
    m_firstPage = std::max(1, first);
    m_lastPage = std::max(m_firstPage, last);
}

void ReportGenerator::GenerateOutput(DrawingSurface &surface)
{
    if (surface.kind() == DrawingSurface::Kind::PictureBox) {
        surface.Cls();
        surface.setWidth(VbConvert::toInt32(m_page.Width()));
        surface.setHeight(VbConvert::toInt32(m_page.Height()));
    }

    layOut(surface);
    drawPages(surface);
}

void ReportGenerator::layOut(DrawingSurface &surface)
{
    // Within one run each distinct statement is asked for once.
    m_cache = std::make_unique<StatementCache>();
    m_loader.setCache(m_cache.get());
    const auto detach = qScopeGuard([this] { m_loader.setCache(nullptr); });
    m_layout = std::make_unique<ReportLayout>(m_page, m_loader);
    m_layout->layOut(surface, paginate(), m_progress);
}

QList<ReportGenerator::ListedStatement> ReportGenerator::listedStatements() const
{
    QList<ListedStatement> listed;
    for (const PlacedItem &item : m_layout->items()) {
        if (item.kind != PlacedItem::Kind::DataList || !item.rows)
            continue;
        const QString name = LabelTag::statementName(m_page.Label(item.index).Tag);
        const bool known = std::any_of(listed.cbegin(), listed.cend(), [&](const ListedStatement &s) {
            return s.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!known)
            listed.append({name, item.rows.get()});
    }
    return listed;
}

int ReportGenerator::listedRows() const
{
    int rows = 0;
    for (const ListedStatement &statement : listedStatements())
        rows += statement.rows->recordCount();
    return rows;
}

void ReportGenerator::drawPages(DrawingSurface &surface)
{
    const int pages = m_layout->pageCount();
    const int first = std::min(m_firstPage, pages);
    const int last = std::min(m_lastPage, pages);
    PageDrawer drawer(m_page, surface);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            surface.NewPage();
        drawer.draw(*m_layout, page);
        if (m_pageProgress)
            m_pageProgress(page - first + 1, last - first + 1);
    }
    if (surface.kind() == DrawingSurface::Kind::Printer)
        surface.EndDoc();
}

} // namespace KRML_ReportGen
