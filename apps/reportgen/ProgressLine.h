#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace KRML_ReportGen {

// The renderer's progress on stderr. On a terminal one line is rewritten in
// place; into a file or a pipe, where a carriage return would join every
// update into one long line, each update is a line of its own, at most one
// a second. Nothing is shown for the first second.
class ProgressLine
{
public:
    using Writer = std::function<void(const QByteArray &)>;

    ProgressLine(bool terminal, Writer write);

    // done of total things counted ("objects" laid out, "pages" drawn,
    // "rows" written), elapsedMs since the rendering began.
    void update(int done, int total, qint64 elapsedMs, const QString &counting = QStringLiteral("objects"));
    // Ends the line on a terminal, when anything was shown.
    void finish();

    static QString text(int done, int total, const QString &counting);

private:
    bool m_terminal;
    Writer m_write;
    bool m_shown = false;
    qint64 m_lastLine = -1;
    QString m_counting;
    qsizetype m_shownWidth = 0;
};

} // namespace KRML_ReportGen
