#pragma once

#include "PainterSurface.h"

namespace KRML_ReportGen {

// A picture-box surface over a QImage: the preview, and the PNG export.
// The image has dotsPerInch pixels per 1440 twips.
class ImageSurface : public PainterSurface
{
public:
    explicit ImageSurface(double widthTwips = 11907, double heightTwips = 16839.9, double dotsPerInch = 96);
    ~ImageSurface() override;

    Kind kind() const override { return Kind::PictureBox; }
    void Cls() override;
    double Width() const override { return m_width; }
    void setWidth(double twips) override;
    double Height() const override { return m_height; }
    void setHeight(double twips) override;
    void EndDoc() override;

    // The image as drawn so far.
    const QImage &image();
    double dotsPerInch() const { return m_dpi; }

protected:
    QPainter *painter() override;

private:
    void reallocate();
    void endPainting();

    double m_width;
    double m_height;
    double m_dpi;
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace KRML_ReportGen
