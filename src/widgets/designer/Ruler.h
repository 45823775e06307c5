#pragma once

#include <QPointer>
#include <QWidget>

namespace KRML_ReportGen {

class DesignerView;

// A ruler in millimetres along the top or the left of the designer's page.
// It follows the page's zoom and scrolling, marks the pointer's position
// and, in a lighter band, where the selected objects lie.
class Ruler : public QWidget
{
    Q_OBJECT
public:
    Ruler(Qt::Orientation orientation, DesignerView &view, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Where page millimetre 0 lies on the ruler, and pixels per millimetre.
    double origin() const;
    double pixelsPerMm() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void pointerAt(double xTwips, double yTwips);
    void followSelection();

    Qt::Orientation m_orientation;
    QPointer<DesignerView> m_view;
    double m_pointer = -1;  // twips, -1 when not over the page
    double m_bandFrom = 0;  // the selection's extent, twips
    double m_bandTo = 0;
};

} // namespace KRML_ReportGen
