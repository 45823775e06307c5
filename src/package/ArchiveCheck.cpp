#include "ArchiveCheck.h"

#include <QFile>
#include <QScopeGuard>
#include <zip.h>
#include <zlib.h>

namespace KRML_ReportGen {

quint32 ArchiveCheck::crcOf(const QByteArray &data)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const uInt n = uInt(std::min<qsizetype>(left, 1 << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef *>(p), n);
        p += n;
        left -= n;
    }
    return quint32(crc);
}

QString ArchiveCheck::verify(const QString &path, const QList<Member> &members)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        const QString why = QStringLiteral("the archive does not open (%1)").arg(QString::fromUtf8(zip_error_strerror(&ze)));
        zip_error_fini(&ze);
        return why;
    }
    const auto close = qScopeGuard([archive] { zip_discard(archive); });
    for (const Member &m : members) {
        zip_stat_t st;
        if (zip_stat(archive, m.name.constData(), ZIP_FL_ENC_RAW, &st) != 0)
            return QStringLiteral("%1 is missing").arg(QString::fromUtf8(m.name));
        if (!(st.valid & ZIP_STAT_SIZE) || qint64(st.size) != m.size)
            return QStringLiteral("%1 holds %2 bytes instead of %3").arg(QString::fromUtf8(m.name)).arg(qint64(st.size)).arg(m.size);
        if (!(st.valid & ZIP_STAT_CRC) || st.crc != m.crc)
            return QStringLiteral("%1 has another CRC than its data").arg(QString::fromUtf8(m.name));
    }
    // Inflating each member checks its data against its CRC.
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    char buffer[65536];
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_file_t *member = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!member)
            return QStringLiteral("member %1 does not open (%2)").arg(i).arg(QString::fromUtf8(zip_strerror(archive)));
        zip_int64_t n = 0;
        while ((n = zip_fread(member, buffer, sizeof buffer)) > 0) {
        }
        const QString why = n < 0 ? QString::fromUtf8(zip_file_strerror(member)) : QString();
        zip_fclose(member);
        if (n < 0)
            return QStringLiteral("member %1 does not read back (%2)").arg(i).arg(why);
    }
    return QString();
}

} // namespace KRML_ReportGen
