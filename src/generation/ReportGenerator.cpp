#include "ReportGenerator.h"

#include "DrawingSurface.h"
#include "FormulaEvaluator.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "ModuleState.h"
#include "PagePlanner.h"
#include "QueryLoader.h"
#include "ReportError.h"
#include "Recordset.h"
#include "StatementCache.h"
#include "StatementPalette.h"
#include "ValueText.h"
#include "VbColor.h"
#include "VbConvert.h"

#include <QScopeGuard>
#include <cmath>

namespace KRML_ReportGen {

namespace {

constexpr double kBorderInset = 50;

// Where a text starts, by the label's alignment, inside its designed frame.
double alignedX(const LayoutLabel &label, double textWidth, bool inset)
{
    const double pad = inset && label.BorderStyle == 1 ? kBorderInset : 0;
    switch (label.Alignment) {
    case 1:
        return label.Left + label.Width - textWidth - pad;
    case 2:
        return label.Left + label.Width / 2 - textWidth / 2;
    default:
        return label.Left + pad;
    }
}

} // namespace

ReportGenerator::ReportGenerator(const LayoutPage &page, QueryLoader &loader, StatementPalette &palette)
    : m_page(page), m_loader(loader), m_palette(palette)
{
}

ReportGenerator::~ReportGenerator() = default;

int ReportGenerator::executions() const
{
    return m_cache ? m_cache->executions() : 0;
}

void ReportGenerator::GenerateOutput(DrawingSurface &surface)
{
    ModuleState &state = ModuleState::current();
    state.FirstQueryPending = true;
    m_cache = std::make_unique<StatementCache>();
    m_loader.setCache(m_cache.get());
    const auto detach = qScopeGuard([this] { m_loader.setCache(nullptr); });

    if (m_palette.selected() < 0) {
        m_palette.setStatements(m_loader.FillStatementList(m_palette.statements()));
        if (state.CurrentReportSQL.isEmpty() && !m_palette.statements().isEmpty()) {
            m_palette.setSelected(0);
            QStringList fields;
            m_loader.RunReportQuery(m_palette.statements().first(), fields);
            m_palette.setFields(fields);
        }
    }

    if (surface.kind() == DrawingSurface::Kind::PictureBox) {
        surface.Cls();
        surface.setWidth(VbConvert::toInt32(m_page.Width()));
        surface.setHeight(VbConvert::toInt32(m_page.Height()));
    }

    m_tops.clear();
    m_extents.clear();
    m_lastListBottom = 0;
    m_runRecordset.reset();
    m_pageCount = 1;
    if (m_paginate) {
        generatePages(surface);
        return;
    }

    const int objects = m_page.labelCount() + m_page.picCount();
    for (int i = 1; i <= m_page.labelCount(); ++i) {
        if (m_progress)
            m_progress(i - 1, objects);
        const LayoutLabel &label = m_page.Label(i);
        // A label nobody sees on the page (a rejected field drop) is not printed.
        if (!label.Visible)
            continue;
        m_tops.append(label.Top);
        switch (LabelTag::kindOf(label.Tag)) {
        case LabelTag::Kind::DataField:
            drawDataField(surface, label);
            break;
        case LabelTag::Kind::Formula:
            drawFormula(surface, label);
            break;
        case LabelTag::Kind::FixedText:
            drawFixedText(surface, label);
            break;
        }
    }

    for (int i = 1; i <= m_page.picCount(); ++i) {
        const LayoutPicture &picture = m_page.Pic(i);
        if (!picture.Visible || picture.Picture.isNull())
            continue;
        surface.setCurrentX(picture.Left);
        surface.setCurrentY(picture.Top);
        surface.PaintPicture(picture.Picture, picture.Left, picture.Top);
    }

    if (m_progress)
        m_progress(objects, objects);
    if (surface.kind() == DrawingSurface::Kind::Printer)
        surface.EndDoc();
}

QString ReportGenerator::pageCaption(const QString &caption, int page, int pages)
{
    if (!caption.contains(QLatin1Char('[')))
        return caption;
    QString out = caption;
    out.replace(QLatin1String("[Page]"), QString::number(page));
    out.replace(QLatin1String("[Pages]"), QString::number(pages));
    return out;
}

void ReportGenerator::setPageRange(int first, int last)
{
    m_firstPage = std::max(1, first);
    m_lastPage = std::max(m_firstPage, last);
}

void ReportGenerator::drawTextAt(DrawingSurface &surface, const LayoutLabel &label, double left, double top,
                                 const QString &caption)
{
    surface.setFont(label.Font);
    surface.setForeColor(label.ForeColor);
    if (label.BackColor != VbColor::White)
        surface.Line(left, top, left + label.Width, top + label.Height, label.BackColor, DrawingSurface::LineStyle::FilledBox);
    if (label.BorderStyle == 1)
        surface.Line(left, top, left + label.Width, top + label.Height, 0, DrawingSurface::LineStyle::Box);
    surface.setCurrentY(top);
    LayoutLabel placed = label;
    placed.Left = float(left);
    surface.setCurrentX(alignedX(placed, surface.TextWidth(caption), false));
    surface.Print(caption);
}

void ReportGenerator::drawFixedText(DrawingSurface &surface, const LayoutLabel &label)
{
    surface.setFont(label.Font);
    m_extents.append(0);
    surface.setForeColor(label.ForeColor);
    // A list of millions of rows ends beyond what 32 bits of twips hold:
    // the position stays a double here.
    const auto moved = overlapTop(label);
    const double top = moved ? std::nearbyint(*moved) : double(VbConvert::toInt32(label.Top));
    drawTextAt(surface, label, VbConvert::toInt32(label.Left), top, pageCaption(label.Caption, 1, 1));
}

int ReportGenerator::printRows(DrawingSurface &surface, const LayoutLabel &label, Recordset &rs,
                               const std::function<QString(Recordset &)> &textOf)
{
    const int count = rs.recordCount();
    const double lineHeight = surface.TextHeight();
    surface.setCurrentY(label.Top);
    rs.moveFirst();
    int lines = 0;
    while (!rs.isEOF()) {
        if (surface.CurrentY() >= surface.Height()) {
            // The rest of the list lies below the surface: nothing of it can
            // be seen, so only the print position moves on.
            const int remaining = (count == 1 ? 1 : count) - lines;
            surface.setCurrentY(surface.CurrentY() + remaining * lineHeight);
            lines += remaining;
            break;
        }
        const QString text = textOf(rs);
        if (!text.isNull())
            surface.setCurrentX(alignedX(label, surface.TextWidth(text), true));
        surface.Print(text);
        ++lines;
        if (count == 1)
            break;
        rs.moveNext();
    }
    return lines;
}

std::unique_ptr<Recordset> ReportGenerator::openStatement(const QString &statement, const BoundStatement &sql)
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

void ReportGenerator::drawDataField(DrawingSurface &surface, const LayoutLabel &label)
{
    const QString field = LabelTag::fieldName(label.Tag);
    const QString statement = LabelTag::statementName(label.Tag);

    m_runRecordset.reset();
    QStringList fields = m_palette.fields();
    const BoundStatement sql = m_loader.GetStatementSQL(statement, fields, true);
    m_palette.setFields(fields);
    m_runRecordset = openStatement(statement, sql);
    Recordset &rs = *m_runRecordset;

    if (!rs.isEOF()) {
        const int column = rs.fieldIndex(field);
        if (column < 0)
            throw ReportError(Recordset::ItemNotFound,
                              QStringLiteral("The statement \"%1\" has no field \"%2\".").arg(statement, field));
        surface.setFont(label.Font);
        surface.setForeColor(label.ForeColor);
        const int count = rs.recordCount();
        const double lineHeight = surface.TextHeight();
        const int lines = count == 1 ? 1 : count;
        const double bottom = count < 2 ? label.Top + label.Height : label.Top + lines * lineHeight;
        // The background goes under the text: drawn first, so the text is
        // printed once and stays selectable in a PDF.
        if (label.BackColor != VbColor::White)
            surface.Line(label.Left, label.Top, label.Left + label.Width, bottom, label.BackColor,
                         DrawingSurface::LineStyle::FilledBox);
        printRows(surface, label, rs, [column](Recordset &r) {
            const QVariant v = r.field(column).value;
            return v.isNull() ? QString() : ValueText::of(v);
        });
        m_lastListBottom = surface.CurrentY();
        m_extents.append(m_lastListBottom - label.Top);
        if (label.BorderStyle == 1)
            surface.Line(label.Left, label.Top, label.Left + label.Width, bottom, 0, DrawingSurface::LineStyle::Box);
    } else {
        m_lastListBottom = surface.CurrentY();
        m_extents.append(m_lastListBottom - label.Top);
        if (label.BorderStyle == 1)
            surface.Line(label.Left, label.Top, label.Left + label.Width, label.Top + label.Height, 0,
                         DrawingSurface::LineStyle::Box);
    }
    ModuleState::current().FirstQueryPending = false;
}

void ReportGenerator::drawFormula(DrawingSurface &surface, const LayoutLabel &label)
{
    if (!m_runRecordset)
        throw ReportError(91, QStringLiteral("Object variable or With block variable not set: the formula \"%1\" comes "
                                             "before every data list, so it has no rows to work on.")
                                  .arg(label.Caption));
    Recordset &rs = *m_runRecordset;
    double extent = 0;
    if (rs.recordCount() > 0) {
        surface.setFont(label.Font);
        surface.setForeColor(label.ForeColor);
        const QString formula = label.Caption;
        printRows(surface, label, rs, [&formula](Recordset &r) {
            // Each row is evaluated on its own; a row that cannot be worked
            // out (a null field, a division by zero) prints an empty line.
            try {
                const QString result = FormulaEvaluator::evaluateCurrentRow(formula, r);
                return result.isNull() ? QStringLiteral("") : result;
            } catch (const ReportError &) {
                return QString();
            }
        });
        extent = surface.CurrentY() - label.Top;
    }
    m_extents.append(extent);
    if (label.BorderStyle == 1)
        surface.Line(label.Left, label.Top, label.Left + label.Width, label.Top + label.Height, 0,
                     DrawingSurface::LineStyle::Box);
}

struct ReportGenerator::Plan
{
    enum Kind { Fixed, List, Formula, Picture };
    Kind kind = Fixed;
    int index = 0;        // label or picture index
    bool header = false;  // repeated on every page
    int page = 1;         // fixed texts and pictures below the header
    double left = 0;
    double top = 0;
    std::unique_ptr<Recordset> rs; // lists and formulas: their rows
    int column = -1;
    int count = 0;
    double lineHeight = 0;
    int perPage = 1;
    int pages = 1;
    int row = 0; // where rs stands
};

void ReportGenerator::generatePages(DrawingSurface &surface)
{
    ModuleState &state = ModuleState::current();
    double headerLimit = -std::numeric_limits<double>::infinity();
    bool anyList = false;
    double lowest = 0;
    for (int i = 1; i <= m_page.labelCount(); ++i) {
        const LayoutLabel &l = m_page.Label(i);
        if (!l.Visible)
            continue;
        lowest = std::max(lowest, double(l.Top) + l.Height);
        if (LabelTag::kindOf(l.Tag) == LabelTag::Kind::DataField) {
            headerLimit = anyList ? std::min(headerLimit, double(l.Top)) : double(l.Top);
            anyList = true;
        }
    }
    for (int i = 1; i <= m_page.picCount(); ++i)
        if (m_page.Pic(i).Visible)
            lowest = std::max(lowest, double(m_page.Pic(i).Top) + m_page.Pic(i).Height);
    const double bodyEnd = PagePlanner::bodyEnd(m_page.Height(), lowest);

    // Lay every label out, in label order, as the one-page run would meet them.
    std::vector<Plan> plans;
    std::vector<int> listOfTop; // for each entry of m_tops: its plan, or -1
    BoundStatement lastListSql; // the statement the formulas work on
    const auto rowsPlan = [&](Plan &plan, const LayoutLabel &label) {
        surface.setFont(label.Font);
        plan.count = plan.rs->recordCount();
        plan.lineHeight = surface.TextHeight();
        plan.perPage = PagePlanner::linesPerPage(label.Top, plan.lineHeight, bodyEnd);
        plan.pages = PagePlanner::pagesFor(plan.count, plan.perPage);
        plan.rs->moveFirst();
    };
    for (int i = 1; i <= m_page.labelCount(); ++i) {
        const LayoutLabel &label = m_page.Label(i);
        if (!label.Visible)
            continue;
        m_tops.append(label.Top);
        Plan plan;
        plan.index = i;
        plan.header = label.Top < headerLimit;
        plan.left = label.Left;
        plan.top = label.Top;
        switch (LabelTag::kindOf(label.Tag)) {
        case LabelTag::Kind::DataField: {
            plan.kind = Plan::List;
            const QString statement = LabelTag::statementName(label.Tag);
            const QString field = LabelTag::fieldName(label.Tag);
            QStringList fields = m_palette.fields();
            const BoundStatement sql = m_loader.GetStatementSQL(statement, fields, true);
            m_palette.setFields(fields);
            m_runRecordset = openStatement(statement, sql);
            lastListSql = sql;
            plan.rs = m_loader.open(sql);
            plan.column = plan.rs->fieldIndex(field);
            if (plan.column < 0 && plan.rs->recordCount() > 0)
                throw ReportError(Recordset::ItemNotFound,
                                  QStringLiteral("The statement \"%1\" has no field \"%2\".").arg(statement, field));
            rowsPlan(plan, label);
            m_extents.append(plan.count * plan.lineHeight);
            state.FirstQueryPending = false;
            break;
        }
        case LabelTag::Kind::Formula: {
            if (!m_runRecordset)
                throw ReportError(91, QStringLiteral("Object variable or With block variable not set: the formula \"%1\" "
                                                     "comes before every data list, so it has no rows to work on.")
                                          .arg(label.Caption));
            plan.kind = Plan::Formula;
            plan.rs = m_loader.open(lastListSql);
            rowsPlan(plan, label);
            m_extents.append(plan.count * plan.lineHeight);
            break;
        }
        case LabelTag::Kind::FixedText: {
            plan.kind = Plan::Fixed;
            m_extents.append(0);
            if (plan.header)
                break;
            // The first earlier list whose (one-page) range holds this top.
            const int n = int(m_tops.size()) - 1;
            for (int k = 0; k < n; ++k) {
                if (m_tops[k] < label.Top && label.Top < m_tops[k] + m_extents[k]) {
                    if (listOfTop[size_t(k)] < 0)
                        break;
                    const Plan *list = &plans[size_t(listOfTop[size_t(k)])];
                    const int lastLines = list->count <= 0 ? 0 : list->count - (list->pages - 1) * list->perPage;
                    const double lastBottom = list->top + lastLines * list->lineHeight;
                    const auto placed = PagePlanner::afterList(list->top, list->pages, lastBottom,
                                                               label.Height, bodyEnd);
                    plan.page = placed.page;
                    plan.top = VbConvert::toInt32(placed.top);
                    break;
                }
            }
            break;
        }
        }
        listOfTop.push_back(plan.kind == Plan::List || plan.kind == Plan::Formula ? int(plans.size()) : -1);
        plans.push_back(std::move(plan));
    }
    for (int i = 1; i <= m_page.picCount(); ++i) {
        const LayoutPicture &picture = m_page.Pic(i);
        if (!picture.Visible || picture.Picture.isNull())
            continue;
        Plan plan;
        plan.kind = Plan::Picture;
        plan.index = i;
        plan.header = picture.Top < headerLimit;
        plans.push_back(std::move(plan));
    }

    int pages = 1;
    for (const Plan &p : plans) {
        if (p.kind == Plan::List || p.kind == Plan::Formula)
            pages = std::max(pages, p.header ? 1 : p.pages);
        else if (!p.header)
            pages = std::max(pages, p.page);
    }
    m_pageCount = pages;

    bool drawnBefore = false;
    for (int page = 1; page <= pages; ++page) {
        const bool draw = page >= m_firstPage && page <= m_lastPage;
        if (draw && drawnBefore)
            surface.NewPage();
        for (Plan &plan : plans)
            drawPlanOnPage(surface, plan, page, draw);
        drawnBefore = drawnBefore || draw;
        if (m_progress)
            m_progress(page, pages);
    }
    if (surface.kind() == DrawingSurface::Kind::Printer)
        surface.EndDoc();
}

void ReportGenerator::drawPlanOnPage(DrawingSurface &surface, Plan &plan, int page, bool draw)
{
    if (plan.kind == Plan::Picture) {
        const LayoutPicture &picture = m_page.Pic(plan.index);
        if (draw && (plan.header || page == 1)) {
            surface.setCurrentX(picture.Left);
            surface.setCurrentY(picture.Top);
            surface.PaintPicture(picture.Picture, picture.Left, picture.Top);
        }
        return;
    }
    const LayoutLabel &label = m_page.Label(plan.index);
    if (plan.kind == Plan::Fixed) {
        if (draw && (plan.header || plan.page == page))
            drawTextAt(surface, label, plan.left, plan.top, pageCaption(label.Caption, page, m_pageCount));
        return;
    }

    // A list: the rows of this page, or those of page 1 again in the header.
    const int slice = plan.header ? 1 : page;
    if (slice > plan.pages || plan.count <= 0) {
        if (draw && slice == 1 && label.BorderStyle == 1)
            surface.Line(label.Left, label.Top, label.Left + label.Width, label.Top + label.Height, 0,
                         DrawingSurface::LineStyle::Box);
        return;
    }
    const int first = (slice - 1) * plan.perPage;
    const int last = std::min(plan.count, slice * plan.perPage);
    Recordset &rs = *plan.rs;
    if (plan.row > first) {
        rs.moveFirst();
        plan.row = 0;
    }
    for (; plan.row < first; ++plan.row)
        rs.moveNext();
    if (!draw) {
        for (; plan.row < last; ++plan.row)
            rs.moveNext();
        return;
    }
    const double bottom = plan.count < 2 ? label.Top + label.Height : label.Top + (last - first) * plan.lineHeight;
    if (plan.kind == Plan::List && label.BackColor != VbColor::White)
        surface.Line(label.Left, label.Top, label.Left + label.Width, bottom, label.BackColor, DrawingSurface::LineStyle::FilledBox);
    surface.setFont(label.Font);
    surface.setForeColor(label.ForeColor);
    double y = label.Top;
    for (; plan.row < last; ++plan.row) {
        QString text;
        if (plan.kind == Plan::List) {
            const QVariant v = rs.field(plan.column).value;
            text = v.isNull() ? QString() : ValueText::of(v);
        } else {
            try {
                text = FormulaEvaluator::evaluateCurrentRow(label.Caption, rs);
            } catch (const ReportError &) {
                text = QString();
            }
        }
        surface.setCurrentY(y);
        if (!text.isNull())
            surface.setCurrentX(label.Alignment == 0 ? alignedX(label, 0, true) : alignedX(label, surface.TextWidth(text), true));
        surface.Print(text);
        y += plan.lineHeight;
        rs.moveNext();
    }
    if (label.BorderStyle == 1)
        surface.Line(label.Left, label.Top, label.Left + label.Width, plan.kind == Plan::List ? bottom : label.Top + label.Height, 0,
                     DrawingSurface::LineStyle::Box);
}

std::optional<double> ReportGenerator::overlapTop(const LayoutLabel &label) const
{
    const int n = std::min(m_tops.size(), m_extents.size());
    for (int i = 0; i < n; ++i) {
        const double top = m_tops[i];
        const double bottom = m_tops[i] + m_extents[i];
        if (top < label.Top && label.Top < bottom)
            return std::max(bottom, double(label.Top));
    }
    return std::nullopt;
}

bool ReportGenerator::CheckForPrintOverlap(const LayoutLabel &label, qint32 &returnLeft, qint32 &returnTop) const
{
    returnTop = VbConvert::toInt32(label.Top);
    returnLeft = VbConvert::toInt32(label.Left);
    const auto moved = overlapTop(label);
    if (!moved)
        return false;
    if (*moved > returnTop)
        returnTop = VbConvert::toInt32(*moved);
    return true;
}

} // namespace KRML_ReportGen
