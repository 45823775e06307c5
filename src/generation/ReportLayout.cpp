#include "ReportLayout.h"

#include "DrawingSurface.h"
#include "Expression.h"
#include "ExpressionError.h"
#include "LabelExpressionScope.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "ListLineText.h"
#include "PageDrawer.h"
#include "PagePlanner.h"
#include "QueryLoader.h"
#include "ReportError.h"
#include "TextWrapper.h"
#include "ValueFormat.h"
#include "VbConvert.h"

#include <QScopeGuard>
#include <cmath>
#include <limits>

namespace KRML_ReportGen {

ReportLayout::ReportLayout(const LayoutPage &page, QueryLoader &loader) : m_page(page), m_loader(loader) {}

ReportLayout::~ReportLayout() = default;

void ReportLayout::layOut(DrawingSurface &surface, bool paginate, const std::function<void(int, int)> &progress)
{
    m_items.clear();
    m_tops.clear();
    m_extents.clear();
    m_cut.clear();
    m_pageCount = 1;
    m_paginate = paginate;
    m_printY = surface.CurrentY();
    m_surfaceEnd = surface.Height();
    m_firstList = true;
    m_haveList = false;
    m_lastListSql.clear();
    m_lastListStatement.clear();
    m_statementSql.clear();
    m_statementNames.clear();
    m_listLines.clear();
    // Measuring sets the surface's font; drawing starts from the font it had.
    const FontDescription fontBefore = surface.Font();
    const auto restoreFont = qScopeGuard([&] { surface.setFont(fontBefore); });

    constexpr double infinity = std::numeric_limits<double>::infinity();
    m_headerEnd = -infinity;
    m_bodyEnd = infinity;
    if (paginate) {
        // The body ends at the bottom margin whatever lies below it: what
        // does is the footer, drawn on every page. The header is what lies
        // above the highest list of the body.
        m_bodyEnd = PagePlanner::bodyEnd(m_page.Height(), m_page.extension().BottomMargin);
        for (int i = 1; i <= m_page.labelCount(); ++i) {
            const LayoutLabel &l = m_page.Label(i);
            if (l.Visible && LabelTag::kindOf(l.Tag) == LabelTag::Kind::DataField && l.Top < m_bodyEnd)
                m_headerEnd = m_headerEnd == -infinity ? double(l.Top) : std::min(m_headerEnd, double(l.Top));
        }
    }
    const auto zone = [&](PlacedItem &item, float top) {
        item.footer = top >= m_bodyEnd;
        item.header = !item.footer && top < m_headerEnd;
    };

    const int objects = m_page.labelCount() + m_page.picCount();
    for (int i = 1; i <= m_page.labelCount(); ++i) {
        if (progress)
            progress(i - 1, objects);
        const LayoutLabel &label = m_page.Label(i);
        // A label nobody sees on the page (a rejected field drop) is not printed.
        if (!label.Visible)
            continue;
        m_tops.append(label.Top);
        PlacedItem item;
        item.index = i;
        zone(item, label.Top);
        switch (LabelTag::kindOf(label.Tag)) {
        case LabelTag::Kind::DataField:
            placeDataList(surface, label, item);
            break;
        case LabelTag::Kind::Formula:
            placeFormula(surface, label, item);
            break;
        case LabelTag::Kind::FixedText:
            placeFixedText(surface, label, item);
            break;
        }
        m_items.push_back(std::move(item));
    }
    for (int i = 1; i <= m_page.picCount(); ++i) {
        const LayoutPicture &picture = m_page.Pic(i);
        if (!picture.Visible || picture.Picture.isNull())
            continue;
        PlacedItem item;
        item.kind = PlacedItem::Kind::Picture;
        item.index = i;
        zone(item, picture.Top);
        m_items.push_back(std::move(item));
    }
    if (progress)
        progress(objects, objects);

    for (const PlacedItem &item : m_items) {
        if (item.everyPage())
            continue;
        if (item.isList())
            m_pageCount = std::max(m_pageCount, item.pages);
        else if (item.kind == PlacedItem::Kind::FixedText)
            m_pageCount = std::max(m_pageCount, item.page);
    }
}

double ReportLayout::placeRows(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item, const QString &statement)
{
    surface.setFont(label.Font);
    item.lineHeight = surface.TextHeight();
    // Lists that neither grow nor share their lines with one that does
    // keep the arithmetic of lines of one height.
    const QString key = QStringLiteral("%1|%2|%3").arg(statement.toLower()).arg(double(label.Top)).arg(item.everyPage());
    ListLines &lines = m_listLines[key];
    if (label.CanGrow || lines.grown)
        return placeGrownRows(surface, label, item, key);
    lines.members.append(int(m_items.size()));
    if (m_paginate && !item.everyPage()) {
        item.linesPerPage = PagePlanner::linesPerPage(label.Top, item.lineHeight, m_bodyEnd);
        item.pages = PagePlanner::pagesFor(item.count, item.linesPerPage);
    } else {
        item.linesPerPage = std::max(1, item.count);
        item.pages = 1;
    }
    // The lines one after the other, as the print position moves; from
    // the surface's foot on nothing is drawn, the position only moves on.
    double y = label.Top;
    for (int line = 0; line < item.count; ++line) {
        if (y >= m_surfaceEnd) {
            y += (item.count - line) * item.lineHeight;
            break;
        }
        y += item.lineHeight;
    }
    return y;
}

double ReportLayout::placeGrownRows(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item, const QString &key)
{
    ListLines &lines = m_listLines[key];
    if (!lines.grown) {
        lines.grown = std::make_shared<GrownRows>();
        for (int k : lines.members)
            lines.grown->include(m_items[size_t(k)].count, m_items[size_t(k)].lineHeight);
    }
    GrownRows &rows = *lines.grown;
    rows.include(item.count, item.lineHeight);
    if (label.CanGrow)
        measureGrowth(surface, label, item, rows);
    const bool pages = m_paginate && !item.everyPage();
    rows.paginate(label.Top, pages ? m_bodyEnd : std::numeric_limits<double>::infinity());
    lines.members.append(int(m_items.size()));
    // The lists placed before on these lines move with them: their pages
    // and what they reach on one long page (the overlap rule reads it).
    for (int k : lines.members) {
        PlacedItem &other = k == int(m_items.size()) ? item : m_items[size_t(k)];
        other.grown = lines.grown;
        other.pages = rows.pages();
        other.linesPerPage = std::max(1, other.count);
        if (k < int(m_extents.size()))
            m_extents[k] = rows.extent();
    }
    return label.Top + rows.extent();
}

void ReportLayout::measureGrowth(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item, GrownRows &rows) const
{
    const ListLineText lineText(m_page);
    const double room = PageDrawer::textRoom(label);
    Recordset &rs = *item.rows;
    rs.moveFirst();
    // One page: the rows below the surface's foot are never seen; they
    // count one line each, as for lists that do not grow.
    double y = label.Top;
    for (item.row = 0; item.row < item.count && (m_paginate || y < m_surfaceEnd); ++item.row) {
        const QVariant value = item.kind == PlacedItem::Kind::DataList ? rs.field(item.column).value : QVariant();
        const qsizetype n = TextWrapper::lines(surface, lineText.of(label, item, value), room).size();
        rows.raise(item.row, double(n) * item.lineHeight);
        y += rows.height(item.row);
        rs.moveNext();
    }
    rs.moveFirst();
    item.row = 0;
}

void ReportLayout::placeDataList(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item)
{
    item.kind = PlacedItem::Kind::DataList;
    const QString statement = LabelTag::statementName(label.Tag);
    const QString field = LabelTag::fieldName(label.Tag);
    QStringList fields;
    const BoundStatement sql = m_loader.GetStatementSQL(statement, fields, true, m_firstList);
    m_firstList = false;
    item.rows = openStatement(statement, sql);
    item.statement = statement;
    m_statementSql.insert(statement.toLower(), sql);
    m_lastListStatement = statement;
    m_lastListSql = sql;
    m_haveList = true;
    item.count = item.rows->recordCount();
    if (item.count > 0) {
        item.column = item.rows->fieldIndex(field);
        if (item.column < 0)
            throw ReportError(Recordset::ItemNotFound,
                              QStringLiteral("The statement \"%1\" has no field \"%2\".").arg(statement, field));
        m_printY = placeRows(surface, label, item, statement);
        noteIfCut(label, item, statement);
    }
    // A list without rows prints nothing: its range runs from its Top to
    // wherever the print position stands.
    m_extents.append(m_printY - label.Top);
}

std::unique_ptr<Recordset> ReportLayout::openStatement(const QString &statement, const BoundStatement &sql)
{
    try {
        return m_loader.open(sql);
    } catch (const ReportError &e) {
        // The provider's message does not say which of the report's
        // statements failed, nor that the statement is not there at all.
        QString what = QStringLiteral("The statement \"%1\" failed");
        if (sql.sql.trimmed().isEmpty())
            what = m_loader.FillStatementList().contains(statement) ? QStringLiteral("The statement \"%1\" has no SQL text")
                                                                    : QStringLiteral("The report SQL file has no statement \"%1\"");
        throw ReportError(e.number(), what.arg(statement) + QStringLiteral(": ") + e.description(), e.source());
    }
}

void ReportLayout::placeFormula(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item)
{
    if (Expression::isExpression(label.Caption))
        return placeExpression(surface, label, item);
    if (!m_haveList)
        throw ReportError(ReportError::ObjectVariableNotSet,
                          QStringLiteral("Object variable or With block variable not set: the formula \"%1\" comes "
                                         "before every data list, so it has no rows to work on.")
                              .arg(label.Caption));
    item.kind = PlacedItem::Kind::Formula;
    item.rows = m_loader.open(m_lastListSql);
    placeFormulaRows(surface, label, item);
}

void ReportLayout::placeFormulaRows(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item)
{
    item.count = item.rows->recordCount();
    double extent = 0;
    if (item.count > 0) {
        const QString statement = item.statement.isEmpty() ? m_lastListStatement : item.statement;
        m_printY = placeRows(surface, label, item, statement);
        noteIfCut(label, item, statement);
        extent = m_printY - label.Top;
    }
    m_extents.append(extent);
}

std::unique_ptr<Recordset> ReportLayout::openNamed(const QString &statement)
{
    auto it = m_statementSql.find(statement.toLower());
    if (it == m_statementSql.end()) {
        if (m_statementNames.isEmpty())
            m_statementNames = m_loader.FillStatementList();
        const auto named = std::find_if(m_statementNames.cbegin(), m_statementNames.cend(),
                                        [&](const QString &n) { return n.compare(statement, Qt::CaseInsensitive) == 0; });
        if (named == m_statementNames.cend())
            throw ReportError(ExpressionError::UnknownName, QStringLiteral("The report SQL file has no statement \"%1\"").arg(statement));
        QStringList fields;
        const BoundStatement sql = m_loader.GetStatementSQL(*named, fields, true, m_firstList);
        m_firstList = false;
        it = m_statementSql.insert(statement.toLower(), sql);
    }
    return openStatement(statement, *it);
}

void ReportLayout::placeExpression(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item)
{
    const LayoutExtension &ext = m_page.extension();
    const ExpressionFunctions::Settings settings = LabelExpressionScope::settingsOf(ext);
    try {
        item.expression = std::make_shared<Expression>(label.Caption);
        item.scope = std::make_shared<LabelExpressionScope>([this](const QString &s) { return openNamed(s); },
                                                            m_lastListStatement, settings);
        item.expression->bind(*item.scope);
        if (item.expression->printsOnce()) {
            // One line, where it was designed or, inside a list, after the
            // list's last line: a totals line.
            item.computed = true;
            if (!item.expression->usesPage())
                item.text = ValueFormat::forLabel(item.expression->evaluate(*item.scope), label.Format, label.NullText,
                                                  ValueFormat::localeOf(ext.Locale));
            placeFixedText(surface, label, item);
            return;
        }
        item.kind = PlacedItem::Kind::Formula;
        item.statement = item.expression->rowStatement();
        item.rows = openNamed(item.statement);
    } catch (const ExpressionError &e) {
        throw e.forLabel(item.index, label.Caption);
    }
    placeFormulaRows(surface, label, item);
}

void ReportLayout::placeFixedText(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item)
{
    item.kind = PlacedItem::Kind::FixedText;
    m_extents.append(0);
    // Its place on one long page: header and footer stay where they were designed.
    bool moved = false;
    item.left = VbConvert::toInt32(label.Left);
    item.top = VbConvert::toInt32(label.Top);
    if (!item.everyPage()) {
        const int i = firstOverlap(label.Top);
        moved = i >= 0;
        if (moved)
            item.top = std::max(item.top, std::nearbyint(m_tops[i] + m_extents[i]));
    }
    surface.setFont(label.Font);
    m_printY = item.top + surface.TextHeight();
    if (!moved || !m_paginate)
        return;

    // On pages: below the list's last line, on its last page; on the next
    // page at the list's own Top when it does not fit there.
    const int k = firstOverlap(label.Top);
    const PlacedItem &list = m_items[size_t(k)];
    const double listTop = m_tops[k];
    const double lastBottom = list.pages == 1 ? listTop + m_extents[k] : listTop + list.spanOn(list.pages);
    const PagePlanner::Placement placed = PagePlanner::afterList(listTop, list.pages, lastBottom, label.Height, m_bodyEnd);
    item.page = placed.page;
    if (placed.page != list.pages)
        item.top = std::nearbyint(placed.top);
    else if (list.pages > 1)
        item.top = std::nearbyint(lastBottom);
}

void ReportLayout::noteIfCut(const LayoutLabel &label, const PlacedItem &item, const QString &statement)
{
    // One page cuts a long list (of values or of a formula's results) at
    // its foot: the caller is told.
    if (m_paginate)
        return;
    const int printed = item.grown ? item.grown->rowsAbove(label.Top, m_surfaceEnd)
                                   : PagePlanner::linesAbove(label.Top, item.lineHeight, item.count, m_surfaceEnd);
    if (printed < item.count)
        noteCut(statement, printed, item.count);
}

void ReportLayout::noteCut(const QString &statement, int printed, int total)
{
    // Several lists of one statement: the one that printed fewest rows.
    for (CutList &cut : m_cut)
        if (cut.statement == statement) {
            cut.printed = std::min(cut.printed, printed);
            return;
        }
    m_cut.append({statement, printed, total});
}

int ReportLayout::firstOverlap(double top) const
{
    const int n = int(std::min(m_tops.size(), m_extents.size()));
    for (int i = 0; i < n; ++i)
        if (m_tops[i] < top && top < m_tops[i] + m_extents[i])
            return i;
    return -1;
}

bool ReportLayout::CheckForPrintOverlap(const LayoutLabel &label, qint32 &returnLeft, qint32 &returnTop) const
{
    returnTop = VbConvert::toInt32(label.Top);
    returnLeft = VbConvert::toInt32(label.Left);
    const int i = firstOverlap(label.Top);
    if (i < 0)
        return false;
    const double bottom = m_tops[i] + m_extents[i];
    if (bottom > returnTop)
        returnTop = VbConvert::toInt32(bottom);
    return true;
}

} // namespace KRML_ReportGen
