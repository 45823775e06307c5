#pragma once

#include <QPicture>
#include <QWidget>

namespace KRML_ReportGen {

// One page of a previewed report, drawn from its recording at the zoom in
// effect, as a sheet on the window's background.
class PreviewPageWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr double TwipsPerPixel = 15; // at 100 %
    static constexpr int Margin = 16;

    explicit PreviewPageWidget(QWidget *parent = nullptr);

    void setPage(const QPicture &page, double widthTwips, double heightTwips);
    void setZoom(double percent);
    double zoom() const { return m_zoom; }
    // The zoom at which the page fills a viewport (whole page, or its width).
    double fitPageZoom(const QSize &viewport) const;
    double fitWidthZoom(const QSize &viewport) const;

    // The page drawn into an image of the given width (thumbnails, tests).
    static QImage render(const QPicture &page, double widthTwips, double heightTwips, int pixelWidth);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void resizeToPage();

    QPicture m_page;
    double m_width = 11907;
    double m_height = 16839.9;
    double m_zoom = 100;
};

} // namespace KRML_ReportGen
