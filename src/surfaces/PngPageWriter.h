#pragma once

#include <QImage>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QWaitCondition>
#include <map>

namespace KRML_ReportGen {

// Writes the pages of a report as PNG files while the next pages are
// drawn: pages are independent once drawn, so each is encoded on a thread
// of its own pool, as many at a time as there are cores. At most a few
// pages wait for encoding, so memory stays bounded however long the report.
//
// Each file is written whole or not at all (DurableFile). A failure is
// handed back by the next write() or by finish(), as a ReportError.
class PngPageWriter
{
public:
    // compression: 0 (fastest, largest) to 9 (smallest), -1 the encoder's
    // default. threads: 0 encodes on the caller's thread, in write().
    explicit PngPageWriter(int compression = -1, int threads = -1);
    ~PngPageWriter();

    PngPageWriter(const PngPageWriter &) = delete;
    PngPageWriter &operator=(const PngPageWriter &) = delete;

    // Queues page for fileName; waits while too many pages are queued.
    void write(const QImage &page, const QString &fileName);
    // Waits for every page; returns the files written, in the order given.
    QStringList finish();
    // Waits for the pages being encoded; the files written so far (also
    // after a failure, so they can be removed).
    QStringList written();

    // Encodes one image into a file (DurableFile), or throws a ReportError.
    static void encode(const QImage &page, const QString &fileName, int compression);

private:
    void rethrow();

    int m_compression;
    int m_limit;
    QThreadPool m_pool;
    mutable QMutex m_mutex;
    QWaitCondition m_done;
    int m_pending = 0;
    int m_next = 0;
    std::map<int, QString> m_files; // order given -> file written
    QString m_failure;
    qint32 m_failureNumber = 0;
};

} // namespace KRML_ReportGen
