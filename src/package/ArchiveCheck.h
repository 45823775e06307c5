#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace KRML_ReportGen {

// Reads a freshly written zip archive back before it may replace anything:
// every member meant to be in it must be there with its size and CRC, and
// every member of the archive must inflate whole.
class ArchiveCheck
{
public:
    struct Member
    {
        QByteArray name; // as stored
        quint32 crc = 0;
        qint64 size = 0;
    };

    static quint32 crcOf(const QByteArray &data);
    // Why the archive at path is not what was meant, or an empty text.
    static QString verify(const QString &path, const QList<Member> &members);
};

} // namespace KRML_ReportGen
