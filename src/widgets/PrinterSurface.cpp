#include "PrinterSurface.h"

#include "ReportError.h"

#include <QPrinter>

namespace KRML_ReportGen {

PrinterSurface::PrinterSurface(QPrinter *printer) : m_printer(printer) {}

PrinterSurface::~PrinterSurface()
{
    if (m_painter)
        m_painter->end();
}

void PrinterSurface::Cls()
{
    resetState();
}

double PrinterSurface::Width() const
{
    // The printable page in twips.
    return m_printer->pageLayout().paintRectPoints().width() * 20.0;
}

double PrinterSurface::Height() const
{
    return m_printer->pageLayout().paintRectPoints().height() * 20.0;
}

QPainter *PrinterSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(m_printer)) {
            m_painter.reset();
            throw ReportError(ReportError::PrinterError, QStringLiteral("Printer error"));
        }
        const double scale = m_printer->resolution() / 1440.0;
        m_painter->scale(scale, scale);
    }
    return m_painter.get();
}

void PrinterSurface::NewPage()
{
    painter();
    m_printer->newPage();
    resetState();
}

void PrinterSurface::EndDoc()
{
    painter();
    m_painter->end();
    m_painter.reset();
}

} // namespace KRML_ReportGen
