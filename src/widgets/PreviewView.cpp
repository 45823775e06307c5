#include "PreviewView.h"

#include "ImageSurface.h"
#include "Twips.h"

#include <QPainter>

namespace KRML_ReportGen {

PreviewView::PreviewView(ImageSurface *surface, QWidget *parent) : QWidget(parent), m_surface(surface)
{
    setObjectName(QStringLiteral("repPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    syncSize();
}

void PreviewView::syncSize()
{
    resize(Twips::toPixels(m_surface->Width()), Twips::toPixels(m_surface->Height()));
    update();
}

void PreviewView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QImage &img = m_surface->image();
    p.drawImage(QRectF(0, 0, m_surface->Width() / Twips::PerPixel, m_surface->Height() / Twips::PerPixel), img);
}

} // namespace KRML_ReportGen
