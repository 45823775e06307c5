#pragma once

#include "StartupChooserModel.h"

#include <QWidget>

class QTimer;

namespace KRML_ReportGen {

// "Please Wait": a bar bouncing from side to side while a long operation
// runs. The operation calls tick() as it goes (or the window's own timer
// moves the bar while the event loop runs).
class PleaseWaitWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PleaseWaitWindow(QWidget *parent = nullptr);
    void tick();
    int barLeft() const { return m_bar.left; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    BouncingBar m_bar;
    QTimer *m_timer;
    qint64 m_lastTick = 0;
};

} // namespace KRML_ReportGen
