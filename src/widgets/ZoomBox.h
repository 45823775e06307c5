#pragma once

#include <QComboBox>
#include <optional>

namespace KRML_ReportGen {

// The zoom level, shown and editable: "Fit Page", "Fit Width" and the usual
// percentages to choose, or any percentage typed ("120", "120 %").
class ZoomBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ZoomBox(QWidget *parent = nullptr);

    // Shows the zoom in effect (the widget's owner calls it after zooming).
    void showZoom(double percent);
    // A typed text as a percentage, or nothing.
    static std::optional<double> parsePercent(const QString &text);

signals:
    void zoomRequested(double percent);
    void fitPageRequested();
    void fitWidthRequested();

private:
    void choose(const QString &text);
    double m_shown = 100;
};

} // namespace KRML_ReportGen
