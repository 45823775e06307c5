#include "PleaseWaitWindow.h"

#include <QDateTime>
#include <QPainter>
#include <QTimer>

namespace KRML_ReportGen {

namespace {
constexpr int kBarWidth = 60;
}

PleaseWaitWindow::PleaseWaitWindow(QWidget *parent) : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Please Wait"));
    setObjectName(QStringLiteral("frmPleaseWait"));
    setWindowModality(Qt::ApplicationModal);
    resize(320, 60);
    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &PleaseWaitWindow::tick);
    m_timer->start();
}

void PleaseWaitWindow::tick()
{
    // A long operation calls this as often as it likes; the bar moves
    // every 100 ms.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastTick < 100)
        return;
    m_lastTick = now;
    m_bar.advance(width() - 8, kBarWidth);
    repaint();
}

void PleaseWaitWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(palette().windowText().color());
    p.drawText(QRect(0, 4, width(), 20), Qt::AlignCenter, windowTitle());
    p.fillRect(QRect(4 + m_bar.left, 32, kBarWidth, 16), QColor(0, 0, 128));
}

} // namespace KRML_ReportGen
