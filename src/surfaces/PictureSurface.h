#pragma once

#include "PainterSurface.h"

#include <QList>
#include <QPicture>

namespace KRML_ReportGen {

// A surface that records each page as a QPicture in twips: a preview that
// draws at any zoom without losing sharpness, and small thumbnails, from
// one run of the generator.
class PictureSurface : public PainterSurface
{
public:
    explicit PictureSurface(double widthTwips = 11907, double heightTwips = 16839.9);
    ~PictureSurface() override;

    Kind kind() const override { return Kind::PictureBox; }
    // Forgets every page and starts an empty first one.
    void Cls() override;
    double Width() const override { return m_width; }
    void setWidth(double twips) override { m_width = twips; }
    double Height() const override { return m_height; }
    void setHeight(double twips) override { m_height = twips; }
    void NewPage() override;
    void EndDoc() override;

    // The pages drawn so far, the one under way included.
    const QList<QPicture> &pages();

protected:
    QPainter *painter() override;

private:
    void finishPage();

    double m_width;
    double m_height;
    QList<QPicture> m_pages;
    QPicture m_current;
    std::unique_ptr<QPainter> m_painter;
    bool m_started = false;
};

} // namespace KRML_ReportGen
