#include "PictureSurface.h"

namespace KRML_ReportGen {

PictureSurface::PictureSurface(double widthTwips, double heightTwips) : m_width(widthTwips), m_height(heightTwips) {}

PictureSurface::~PictureSurface()
{
    if (m_painter)
        m_painter->end();
}

void PictureSurface::Cls()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    m_pages.clear();
    m_current = QPicture();
    m_started = false;
    resetState();
}

QPainter *PictureSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_current);
        m_painter->setRenderHint(QPainter::TextAntialiasing, true);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painterStarted();
        m_started = true;
    }
    return m_painter.get();
}

void PictureSurface::finishPage()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    // A page nothing was drawn on is still a page.
    m_pages.append(m_current);
    m_current = QPicture();
    m_started = false;
}

void PictureSurface::NewPage()
{
    finishPage();
    resetState();
}

void PictureSurface::EndDoc()
{
    if (m_started || m_pages.isEmpty())
        finishPage();
}

const QList<QPicture> &PictureSurface::pages()
{
    EndDoc();
    return m_pages;
}

} // namespace KRML_ReportGen
