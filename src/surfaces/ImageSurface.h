#pragma once

#include "PainterSurface.h"

#include <functional>
#include <vector>

namespace KRML_ReportGen {

// A picture-box surface over a QImage: the preview, and the PNG export.
// The image has dotsPerInch pixels per 1440 twips.
class ImageSurface : public PainterSurface
{
public:
    // The most pixels one page may have (800 MB of memory): a page of
    // 32767 twips square at 1200 dots per inch would take 2.9 GB. Beyond it
    // the surface refuses the size with a ReportError.
    static constexpr qint64 MaxPixels = 200000000;

    explicit ImageSurface(double widthTwips = 11907, double heightTwips = 16839.9, double dotsPerInch = 96);
    ~ImageSurface() override;

    Kind kind() const override { return Kind::PictureBox; }
    void Cls() override;
    double Width() const override { return m_width; }
    void setWidth(double twips) override;
    double Height() const override { return m_height; }
    void setHeight(double twips) override;
    void EndDoc() override;
    // Hands the finished page to the page sink (if any) and clears.
    void NewPage() override;

    // Receives each finished page of a paginated report (1-based number);
    // the last page is handed over by finishPages().
    void setPageSink(std::function<void(const QImage &, int)> sink) { m_sink = std::move(sink); }
    void finishPages();
    int pageNumber() const { return m_page; }

    // The image as drawn so far.
    const QImage &image();
    double dotsPerInch() const { return m_dpi; }

protected:
    QPainter *painter() override;

private:
    QImage newImage() const;
    void reallocate();
    void endPainting();
    void takeFreeBuffer();

    double m_width;
    double m_height;
    double m_dpi;
    QImage m_image;
    std::vector<QImage> m_spare; // finished pages, reused once nobody else holds them
    std::unique_ptr<QPainter> m_painter;
    std::function<void(const QImage &, int)> m_sink;
    int m_page = 1;
};

} // namespace KRML_ReportGen
