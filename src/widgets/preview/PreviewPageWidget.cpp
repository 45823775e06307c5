#include "PreviewPageWidget.h"

#include <QPainter>
#include <QPaintEvent>
#include <cmath>

namespace KRML_ReportGen {

PreviewPageWidget::PreviewPageWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("previewPage"));
    resizeToPage();
}

void PreviewPageWidget::setPage(const QPicture &page, double widthTwips, double heightTwips)
{
    m_page = page;
    m_width = widthTwips;
    m_height = heightTwips;
    resizeToPage();
    update();
}

void PreviewPageWidget::setZoom(double percent)
{
    m_zoom = std::clamp(percent, 10.0, 800.0);
    resizeToPage();
    update();
}

double PreviewPageWidget::fitPageZoom(const QSize &viewport) const
{
    const double w = (viewport.width() - 2 * Margin) * TwipsPerPixel / m_width;
    const double h = (viewport.height() - 2 * Margin) * TwipsPerPixel / m_height;
    return std::max(10.0, std::min(w, h) * 100);
}

double PreviewPageWidget::fitWidthZoom(const QSize &viewport) const
{
    return std::max(10.0, (viewport.width() - 2 * Margin) * TwipsPerPixel / m_width * 100);
}

void PreviewPageWidget::resizeToPage()
{
    const double scale = m_zoom / 100.0 / TwipsPerPixel;
    setFixedSize(int(std::ceil(m_width * scale)) + 2 * Margin, int(std::ceil(m_height * scale)) + 2 * Margin);
}

void PreviewPageWidget::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Dark));
    const double scale = m_zoom / 100.0 / TwipsPerPixel;
    const QRectF sheet(Margin, Margin, m_width * scale, m_height * scale);
    p.fillRect(sheet.translated(3, 3), QColor(0, 0, 0, 60));
    p.fillRect(sheet, Qt::white);
    p.setClipRect(sheet);
    // The recording counts on a painter in its first state: a widget's
    // painter starts with the widget's font and colours.
    p.setPen(QPen(Qt::black));
    p.setBrush(Qt::NoBrush);
    p.setFont(QFont());
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(sheet.topLeft());
    p.scale(scale, scale);
    p.drawPicture(0, 0, m_page);
}

QImage PreviewPageWidget::render(const QPicture &page, double widthTwips, double heightTwips, int pixelWidth)
{
    const double scale = pixelWidth / widthTwips;
    QImage image(pixelWidth, std::max(1, int(std::ceil(heightTwips * scale))), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
    p.drawPicture(0, 0, page);
    return image;
}

} // namespace KRML_ReportGen
