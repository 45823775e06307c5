#include "ProgressLine.h"

namespace KRML_ReportGen {

namespace {
constexpr qint64 kQuietMs = 1000;
constexpr qint64 kLineEveryMs = 1000;
} // namespace

ProgressLine::ProgressLine(bool terminal, Writer write) : m_terminal(terminal), m_write(std::move(write)) {}

QString ProgressLine::text(int done, int total)
{
    return QStringLiteral("reportgen: rendering, %1 of %2 objects").arg(done).arg(total);
}

void ProgressLine::update(int done, int total, qint64 elapsedMs)
{
    if (elapsedMs < kQuietMs)
        return;
    if (m_terminal) {
        m_write("\r" + text(done, total).toLocal8Bit());
        m_shown = true;
        return;
    }
    if (m_lastLine >= 0 && elapsedMs - m_lastLine < kLineEveryMs && done < total)
        return;
    m_lastLine = elapsedMs;
    m_write(text(done, total).toLocal8Bit() + '\n');
}

void ProgressLine::finish()
{
    if (m_terminal && m_shown)
        m_write("\n");
    m_shown = false;
}

} // namespace KRML_ReportGen
