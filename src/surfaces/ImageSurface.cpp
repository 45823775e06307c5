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

QImage ImageSurface::newImage() const
{
    const int w = std::max(1, static_cast<int>(std::ceil(m_width * m_dpi / 1440.0)));
    const int h = std::max(1, static_cast<int>(std::ceil(m_height * m_dpi / 1440.0)));
    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(m_dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(m_dpi / 0.0254)));
    return image;
}

void ImageSurface::reallocate()
{
    endPainting();
    m_spare.clear(); // of the old size
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
    m_image = newImage();
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
    if (!m_image.isDetached())
        takeFreeBuffer();
    Cls();
}

void ImageSurface::takeFreeBuffer()
{
    // The sink still holds the finished page (an encoder working on it):
    // rather than a new image for every page, take one whose holder has
    // let go. Pages of a long report then cycle through a few buffers.
    constexpr size_t kMaxSpare = 16;
    m_spare.push_back(std::move(m_image));
    const auto free = std::find_if(m_spare.begin(), m_spare.end(), [](const QImage &i) { return i.isDetached(); });
    if (free != m_spare.end()) {
        m_image = std::move(*free);
        m_spare.erase(free);
    } else {
        m_image = newImage();
    }
    if (m_spare.size() > kMaxSpare)
        m_spare.erase(m_spare.begin());
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
        painterStarted();
    }
    return m_painter.get();
}

} // namespace KRML_ReportGen
