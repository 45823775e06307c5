#include "CGZipFiles.h"

#include "ModuleState.h"
#include "ZipMessage.h"
#include "PathNames.h"
#include "ReportError.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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

    struct Entry
    {
        QString name;
        QString path; // empty for a folder entry
    };
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

    int error = 0;
    const int flags = UpdatingZip() ? ZIP_CREATE : (ZIP_CREATE | ZIP_TRUNCATE);
    zip_t *archive = zip_open(QFile::encodeName(PathNames::normalize(m_zipFileName)).constData(), flags, &error);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        ZipMessage::say(QStringLiteral("zip error: Could not create the archive %1 (%2)").arg(m_zipFileName, QString::fromUtf8(zip_error_strerror(&ze))));
        zip_error_fini(&ze);
        return ZipCannotCreate;
    }

    // The data of every member stays alive until the archive is closed.
    std::vector<std::unique_ptr<QByteArray>> data;
    for (const Entry &e : entries) {
        const QByteArray name = e.name.toUtf8();
        if (e.path.isEmpty()) {
            if (zip_dir_add(archive, name.constData(), ZIP_FL_ENC_GUESS) < 0 && zip_error_code_zip(zip_get_error(archive)) != ZIP_ER_EXISTS) {
                ZipMessage::say(QStringLiteral("zip error: %1").arg(QString::fromUtf8(zip_strerror(archive))));
                zip_discard(archive);
                return ZipWriteError;
            }
            ZipMessage::say(QStringLiteral("  adding: %1").arg(e.name));
            continue;
        }
        QFile f(e.path);
        if (!f.open(QIODevice::ReadOnly)) {
            ZipMessage::say(QStringLiteral("zip error: Could not open %1 to read (%2)").arg(e.path, f.errorString()));
            zip_discard(archive);
            return ZipCannotOpen;
        }
        data.push_back(std::make_unique<QByteArray>(f.readAll()));
        zip_source_t *src = zip_source_buffer(archive, data.back()->constData(), zip_uint64_t(data.back()->size()), 0);
        const zip_int64_t index = src ? zip_file_add(archive, name.constData(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS) : -1;
        if (index < 0) {
            if (src)
                zip_source_free(src);
            ZipMessage::say(QStringLiteral("zip error: %1").arg(QString::fromUtf8(zip_strerror(archive))));
            zip_discard(archive);
            return ZipWriteError;
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0);
        zip_file_set_mtime(archive, zip_uint64_t(index), QFileInfo(e.path).lastModified().toSecsSinceEpoch(), 0);
        ZipMessage::say(QStringLiteral("  adding: %1").arg(e.name));
    }
    if (zip_close(archive) != 0) {
        ZipMessage::say(QStringLiteral("zip error: %1").arg(QString::fromUtf8(zip_strerror(archive))));
        zip_discard(archive);
        return ZipWriteError;
    }
    return ZipOk;
}

} // namespace KRML_ReportGen
