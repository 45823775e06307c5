#include "ImageSurface.h"

#include "ReportError.h"

#include <algorithm>
#include <cmath>

namespace KRML_ReportGen {

ImageSurface::ImageSurface(double widthTwips, double heightTwips, double dotsPerInch)
    : m_width(widthTwips), m_height(heightTwips), m_dpi(dotsPerInch)
{
    reallocate();
}

ImageSurface::~ImageSurface()
{
    endPainting();
}

void ImageSurface::endPainting()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

void ImageSurface::reallocate()
{
    endPainting();
    // Checked in floating point first: the product of two page sides at a
    // high resolution does not fit an int, let alone memory.
    const double wide = std::max(1.0, std::ceil(m_width * m_dpi / 1440.0));
    const double high = std::max(1.0, std::ceil(m_height * m_dpi / 1440.0));
    if (!(wide * high <= double(MaxPixels)))
        throw ReportError(ReportError::OutOfMemory,
                          QStringLiteral("A page of %1 x %2 pixels is more than one picture may hold (%3 million pixels); "
                                         "choose a lower resolution.")
                              .arg(wide, 0, 'f', 0)
                              .arg(high, 0, 'f', 0)
                              .arg(MaxPixels / 1000000));
    const int w = static_cast<int>(wide);
    const int h = static_cast<int>(high);
    m_image = QImage(w, h, QImage::Format_RGB32);
    m_image.setDotsPerMeterX(static_cast<int>(std::lround(m_dpi / 0.0254)));
    m_image.setDotsPerMeterY(static_cast<int>(std::lround(m_dpi / 0.0254)));
    m_image.fill(Qt::white);
}

void ImageSurface::Cls()
{
    endPainting();
    m_image.fill(Qt::white);
    resetState();
}

void ImageSurface::setWidth(double twips)
{
    if (twips == m_width)
        return;
    m_width = twips;
    reallocate();
}

void ImageSurface::setHeight(double twips)
{
    if (twips == m_height)
        return;
    m_height = twips;
    reallocate();
}

void ImageSurface::EndDoc()
{
    endPainting();
}

void ImageSurface::NewPage()
{
    endPainting();
    if (m_sink)
        m_sink(m_image, m_page);
    ++m_page;
    Cls();
}

void ImageSurface::finishPages()
{
    endPainting();
    if (m_sink)
        m_sink(m_image, m_page);
}

const QImage &ImageSurface::image()
{
    endPainting();
    return m_image;
}

QPainter *ImageSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, true);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        m_painter->scale(m_dpi / 1440.0, m_dpi / 1440.0);
    }
    return m_painter.get();
}

} // namespace KRML_ReportGen
