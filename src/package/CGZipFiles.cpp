#include "CGZipFiles.h"

#include "DurableFile.h"
#include "ModuleState.h"
#include "ZipMessage.h"
#include "PathNames.h"
#include "ReportError.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <zip.h>

namespace KRML_ReportGen {

namespace {

const QString kPlaceholder = QStringLiteral("querty");

// Info-ZIP's result codes, which callers know.
enum ZipResult : qint32 {
    ZipOk = 0,
    ZipNothingToDo = 12,
    ZipWriteError = 14,
    ZipCannotCreate = 15,
    ZipCannotOpen = 18,
};

} // namespace

CGZipFiles::CGZipFiles()
{
    m_list.append({kPlaceholder, kPlaceholder});
}

void CGZipFiles::AddFile(const QString &path)
{
    for (const auto &e : m_list)
        if (e.first.compare(path, Qt::CaseInsensitive) == 0)
            throw ReportError(AlreadyInList, QStringLiteral("File is already in Zip List"), QStringLiteral("CGZip::AddFile"));
    m_list.append({path, path});
}

void CGZipFiles::RemoveFile(const QString &path)
{
    for (int i = 0; i < m_list.size(); ++i) {
        if (m_list[i].first.compare(path, Qt::CaseInsensitive) == 0) {
            m_list.removeAt(i);
            return;
        }
    }
    throw ReportError(NotInList, QStringLiteral("File is not in Zip List"), QStringLiteral("CGZip::RemoveFile"));
}

QString CGZipFiles::GetLastMessage() const
{
    return ZipMessage::text();
}

QString CGZipFiles::storedName(const QString &path) const
{
    const QString p = PathNames::normalize(path);
    QString root = PathNames::normalize(m_rootDirectory);
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    // The file system's root as base would store whole absolute paths;
    // those carry the user's folders into the archive, so keep the name only.
    if (root != QLatin1String("/") && p.startsWith(root, Qt::CaseInsensitive) && p.size() > root.size())
        return p.mid(root.size());
    return PathNames::baseName(p);
}

qint32 CGZipFiles::MakeZipFile()
{
    if (m_list.size() > MaxEntries)
        throw ReportError(ReportError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"), QStringLiteral("CGZipFiles::MakeZipFile"));
    ZipMessage::clear();

    QList<Entry> entries;
    bool missing = false;
    for (int i = 1; i < m_list.size(); ++i) {
        const QString path = PathNames::resolve(m_list[i].second);
        const QFileInfo fi(path);
        if (fi.isFile()) {
            entries.append({storedName(path), path});
        } else if (fi.isDir()) {
            const QString base = storedName(path);
            entries.append({base + QLatin1Char('/'), QString()});
            if (RecurseFolders()) {
                QDirIterator it(path, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
                while (it.hasNext()) {
                    const QString found = it.next();
                    const QString rel = base + QLatin1Char('/') + QDir(path).relativeFilePath(found);
                    entries.append(it.fileInfo().isDir() ? Entry{rel + QLatin1Char('/'), QString()} : Entry{rel, found});
                }
            }
        } else {
            ZipMessage::say(QStringLiteral("zip warning: name not matched: %1").arg(m_list[i].second));
            missing = true;
        }
    }
    if (missing) {
        ZipMessage::say(QStringLiteral("zip error: Could not open a file to read; the archive was not written"));
        return ZipCannotOpen;
    }
    if (entries.isEmpty()) {
        ZipMessage::say(QStringLiteral("zip error: Nothing to do! (%1)").arg(m_zipFileName));
        return ZipNothingToDo;
    }

    // The archive is built in memory and reaches its file through one
    // checked write, so a disk that fills up on the way never leaves a
    // short archive in place of a good one.
    const QString target = PathNames::normalize(m_zipFileName);
    QByteArray existing;
    if (UpdatingZip() && QFileInfo(target).isFile()) {
        QFile old(target);
        if (!old.open(QIODevice::ReadOnly)) {
            ZipMessage::say(QStringLiteral("zip error: Could not open %1 to update (%2)").arg(m_zipFileName, old.errorString()));
            return ZipCannotCreate;
        }
        existing = old.readAll();
    }
    QList<ArchiveCheck::Member> written;
    QByteArray bytes;
    const qint32 built = build(entries, existing, written, bytes);
    if (built != ZipOk)
        return built;
    try {
        DurableFile::write(target, bytes, [&written](const QString &part) { return ArchiveCheck::verify(part, written); });
    } catch (const ReportError &e) {
        ZipMessage::say(QStringLiteral("zip error: %1").arg(e.description()));
        return ZipWriteError;
    }
    return ZipOk;
}

qint32 CGZipFiles::build(const QList<Entry> &entries, const QByteArray &existing, QList<ArchiveCheck::Member> &written,
                         QByteArray &bytes)
{
    zip_error_t ze;
    zip_error_init(&ze);
    const auto fail = [&](const QString &what, qint32 code) {
        ZipMessage::say(QStringLiteral("zip error: %1").arg(what));
        zip_error_fini(&ze);
        return code;
    };
    // libzip gets a copy of its own (malloc'd, freed by it): when the
    // archive is rewritten, the buffer source may free the data it started
    // with even when told it does not own it.
    void *start = nullptr;
    if (!existing.isEmpty()) {
        start = std::malloc(size_t(existing.size()));
        if (!start)
            return fail(QStringLiteral("Out of memory"), ZipCannotCreate);
        std::memcpy(start, existing.constData(), size_t(existing.size()));
    }
    zip_source_t *buffer = zip_source_buffer_create(start, zip_uint64_t(existing.size()), 1, &ze);
    if (!buffer) {
        std::free(start);
        return fail(QString::fromUtf8(zip_error_strerror(&ze)), ZipCannotCreate);
    }
    zip_t *archive = zip_open_from_source(buffer, existing.isEmpty() ? (ZIP_CREATE | ZIP_TRUNCATE) : ZIP_CREATE, &ze);
    if (!archive) {
        zip_source_free(buffer);
        return fail(QStringLiteral("Could not create the archive %1 (%2)").arg(m_zipFileName, QString::fromUtf8(zip_error_strerror(&ze))),
                    ZipCannotCreate);
    }
    // The buffer outlives the archive: the finished bytes are read from it.
    zip_source_keep(buffer);
    const auto freeBuffer = qScopeGuard([buffer] { zip_source_free(buffer); });

    // The data of every member stays alive until the archive is closed.
    std::vector<std::unique_ptr<QByteArray>> data;
    for (const Entry &e : entries) {
        const QByteArray name = e.name.toUtf8();
        if (e.path.isEmpty()) {
            if (zip_dir_add(archive, name.constData(), ZIP_FL_ENC_GUESS) < 0 && zip_error_code_zip(zip_get_error(archive)) != ZIP_ER_EXISTS) {
                const QString why = QString::fromUtf8(zip_strerror(archive));
                zip_discard(archive);
                return fail(why, ZipWriteError);
            }
            ZipMessage::say(QStringLiteral("  adding: %1").arg(e.name));
            continue;
        }
        QFile f(e.path);
        if (!f.open(QIODevice::ReadOnly)) {
            zip_discard(archive);
            return fail(QStringLiteral("Could not open %1 to read (%2)").arg(e.path, f.errorString()), ZipCannotOpen);
        }
        data.push_back(std::make_unique<QByteArray>(f.readAll()));
        written.append({name, ArchiveCheck::crcOf(*data.back()), qint64(data.back()->size())});
        zip_source_t *src = zip_source_buffer(archive, data.back()->constData(), zip_uint64_t(data.back()->size()), 0);
        const zip_int64_t index = src ? zip_file_add(archive, name.constData(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS) : -1;
        if (index < 0) {
            if (src)
                zip_source_free(src);
            const QString why = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            return fail(why, ZipWriteError);
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0);
        zip_file_set_mtime(archive, zip_uint64_t(index), QFileInfo(e.path).lastModified().toSecsSinceEpoch(), 0);
        ZipMessage::say(QStringLiteral("  adding: %1").arg(e.name));
    }
    if (zip_close(archive) != 0) {
        const QString why = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return fail(why, ZipWriteError);
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_open(buffer) < 0)
        return fail(QString::fromUtf8(zip_error_strerror(zip_source_error(buffer))), ZipWriteError);
    const auto closeBuffer = qScopeGuard([buffer] { zip_source_close(buffer); });
    if (zip_source_stat(buffer, &st) < 0 || !(st.valid & ZIP_STAT_SIZE))
        return fail(QString::fromUtf8(zip_error_strerror(zip_source_error(buffer))), ZipWriteError);
    bytes.resize(qsizetype(st.size));
    if (zip_source_read(buffer, bytes.data(), st.size) != zip_int64_t(st.size))
        return fail(QString::fromUtf8(zip_error_strerror(zip_source_error(buffer))), ZipWriteError);
    zip_error_fini(&ze);
    return ZipOk;
}

} // namespace KRML_ReportGen
