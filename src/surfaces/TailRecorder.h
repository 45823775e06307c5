#pragma once

#include <QByteArray>
#include <QIODevice>

namespace KRML_ReportGen {

// A write-only device that passes everything on to another device and
// keeps the last bytes written and their count: a PDF's trailer, read back
// to add to a file that cannot be read (a QSaveFile being written).
class TailRecorder : public QIODevice
{
public:
    TailRecorder(QIODevice *target, qsizetype keep);

    const QByteArray &tail() const { return m_tail; }
    qint64 written() const { return m_written; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    QIODevice *m_target;
    qsizetype m_keep;
    QByteArray m_tail;
    qint64 m_written = 0;
};

} // namespace KRML_ReportGen
