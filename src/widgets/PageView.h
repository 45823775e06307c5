#pragma once

#include <QWidget>

namespace KRML_ReportGen {

class LayoutPage;

// The page as the control shows it: white paper, the drawing layer (grid,
// boxes) and every visible object, drawn from the page model.
class PageView : public QWidget
{
    Q_OBJECT
public:
    explicit PageView(LayoutPage *page, QWidget *parent = nullptr);

    // Sizes the widget to the page.
    void syncSize();

signals:
    void mouseMovedTwips(double x, double y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    LayoutPage *m_page;
};

} // namespace KRML_ReportGen
