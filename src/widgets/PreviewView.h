#pragma once

#include <QWidget>

namespace KRML_ReportGen {

class ImageSurface;

// The preview surface repPreview: shows what the generator drew on the
// control's image surface.
class PreviewView : public QWidget
{
    Q_OBJECT
public:
    PreviewView(ImageSurface *surface, QWidget *parent = nullptr);
    void syncSize();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ImageSurface *m_surface;
};

} // namespace KRML_ReportGen
