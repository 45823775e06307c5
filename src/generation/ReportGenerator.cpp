#include "ReportGenerator.h"

#include "DrawingSurface.h"
#include "FormulaEvaluator.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "ModuleState.h"
#include "QueryLoader.h"
#include "ReportError.h"
#include "Recordset.h"
#include "StatementCache.h"
#include "StatementPalette.h"
#include "ValueText.h"
#include "VbColor.h"
#include "VbConvert.h"

#include <QScopeGuard>

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

void ReportGenerator::drawFixedText(DrawingSurface &surface, const LayoutLabel &label)
{
    surface.setFont(label.Font);
    m_extents.append(0);
    surface.setForeColor(label.ForeColor);
    qint32 left = 0, top = 0;
    CheckForPrintOverlap(label, left, top);
    if (label.BackColor != VbColor::White)
        surface.Line(left, top, left + label.Width, top + label.Height, label.BackColor, DrawingSurface::LineStyle::FilledBox);
    if (label.BorderStyle == 1)
        surface.Line(left, top, left + label.Width, top + label.Height, 0, DrawingSurface::LineStyle::Box);
    surface.setCurrentY(top);
    LayoutLabel placed = label;
    placed.Left = float(left);
    surface.setCurrentX(alignedX(placed, surface.TextWidth(label.Caption), false));
    surface.Print(label.Caption);
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

void ReportGenerator::drawDataField(DrawingSurface &surface, const LayoutLabel &label)
{
    const QString field = LabelTag::fieldName(label.Tag);
    const QString statement = LabelTag::statementName(label.Tag);

    m_runRecordset.reset();
    QStringList fields = m_palette.fields();
    const QString sql = m_loader.GetStatementSQL(statement, fields, true);
    m_palette.setFields(fields);
    m_runRecordset = m_loader.open(sql);
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

bool ReportGenerator::CheckForPrintOverlap(const LayoutLabel &label, qint32 &returnLeft, qint32 &returnTop) const
{
    returnTop = VbConvert::toInt32(label.Top);
    returnLeft = VbConvert::toInt32(label.Left);
    const int n = std::min(m_tops.size(), m_extents.size());
    for (int i = 0; i < n; ++i) {
        const double top = m_tops[i];
        const double bottom = m_tops[i] + m_extents[i];
        if (top < label.Top && label.Top < bottom) {
            if (bottom > returnTop)
                returnTop = VbConvert::toInt32(bottom);
            return true;
        }
    }
    return false;
}

} // namespace KRML_ReportGen
