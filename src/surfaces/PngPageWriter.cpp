#include "PngPageWriter.h"

#include "DurableFile.h"
#include "ReportError.h"

#include <QImageWriter>
#include <QMutexLocker>
#include <QThread>

namespace KRML_ReportGen {

PngPageWriter::PngPageWriter(int compression, int threads) : m_compression(compression)
{
    const int cores = threads < 0 ? std::max(1, QThread::idealThreadCount()) : threads;
    m_pool.setMaxThreadCount(std::max(1, cores));
    // Enough queued pages to keep every encoder busy, no more.
    m_limit = threads == 0 ? 0 : cores + 1;
}

PngPageWriter::~PngPageWriter()
{
    m_pool.waitForDone();
}

void PngPageWriter::encode(const QImage &page, const QString &fileName, int compression)
{
    // Checked and durable, as every file the system writes.
    DurableFile file(fileName);
    QImageWriter writer(&file, "png");
    // Qt's PNG writer takes a quality from 100 (zlib level 0) to 0 (level
    // 9): quality q gives level (100 - q) * 9 / 91.
    if (compression >= 0)
        writer.setQuality(100 - (std::min(compression, 9) * 91 + 8) / 9);
    if (!file.open(QIODevice::WriteOnly) || !writer.write(page) || !file.commit()) {
        const QString why = file.errorText().isEmpty() ? writer.errorString() : file.errorText();
        throw ReportError(file.errorNumber() ? file.errorNumber() : ReportError::PathFileAccessError,
                          QStringLiteral("cannot write %1: %2").arg(fileName, why));
    }
}

void PngPageWriter::rethrow()
{
    if (!m_failure.isEmpty())
        throw ReportError(m_failureNumber, m_failure);
}

void PngPageWriter::write(const QImage &page, const QString &fileName)
{
    const int order = m_next++;
    if (m_limit == 0) {
        encode(page, fileName, m_compression);
        m_files[order] = fileName;
        return;
    }
    QMutexLocker lock(&m_mutex);
    rethrow();
    while (m_pending >= m_limit)
        m_done.wait(&m_mutex);
    rethrow();
    ++m_pending;
    lock.unlock();
    m_pool.start([this, page, fileName, order] {
        QString failure;
        qint32 number = 0;
        try {
            encode(page, fileName, m_compression);
        } catch (const ReportError &e) {
            failure = e.description();
            number = e.number();
        }
        QMutexLocker done(&m_mutex);
        if (failure.isEmpty()) {
            m_files[order] = fileName;
        } else if (m_failure.isEmpty()) {
            m_failure = failure;
            m_failureNumber = number;
        }
        --m_pending;
        m_done.wakeAll();
    });
}

QStringList PngPageWriter::finish()
{
    m_pool.waitForDone();
    QMutexLocker lock(&m_mutex);
    rethrow();
    QStringList files;
    for (const auto &[order, name] : m_files)
        files << name;
    return files;
}

QStringList PngPageWriter::written()
{
    m_pool.waitForDone();
    QMutexLocker lock(&m_mutex);
    QStringList files;
    for (const auto &[order, name] : m_files)
        files << name;
    return files;
}

} // namespace KRML_ReportGen
