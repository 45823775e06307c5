#include "TailRecorder.h"

namespace KRML_ReportGen {

TailRecorder::TailRecorder(QIODevice *target, qsizetype keep) : m_target(target), m_keep(keep) {}

qint64 TailRecorder::writeData(const char *data, qint64 size)
{
    const qint64 done = m_target->write(data, size);
    if (done <= 0)
        return done;
    m_written += done;
    m_tail.append(data, qsizetype(done));
    if (m_tail.size() > 2 * m_keep)
        m_tail.remove(0, m_tail.size() - m_keep);
    return done;
}

} // namespace KRML_ReportGen
