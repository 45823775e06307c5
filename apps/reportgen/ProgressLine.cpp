#include "ProgressLine.h"

namespace KRML_ReportGen {

namespace {
constexpr qint64 kQuietMs = 1000;
constexpr qint64 kLineEveryMs = 1000;
} // namespace

ProgressLine::ProgressLine(bool terminal, Writer write) : m_terminal(terminal), m_write(std::move(write)) {}

QString ProgressLine::text(int done, int total, const QString &counting)
{
    return QStringLiteral("reportgen: rendering, %1 of %2 %3").arg(done).arg(total).arg(counting);
}

void ProgressLine::update(int done, int total, qint64 elapsedMs, const QString &counting)
{
    if (elapsedMs < kQuietMs)
        return;
    if (m_terminal) {
        // Blanks over what a longer line before left.
        const QString line = text(done, total, counting);
        m_write("\r" + line.leftJustified(m_shownWidth).toLocal8Bit());
        m_shownWidth = line.size();
        m_shown = true;
        return;
    }
    // A new count (the pages after the objects) shows at once.
    const bool newCount = counting != m_counting;
    m_counting = counting;
    if (!newCount && m_lastLine >= 0 && elapsedMs - m_lastLine < kLineEveryMs && done < total)
        return;
    m_lastLine = elapsedMs;
    m_write(text(done, total, counting).toLocal8Bit() + '\n');
}

void ProgressLine::finish()
{
    if (m_terminal && m_shown)
        m_write("\n");
    m_shown = false;
}

} // namespace KRML_ReportGen
