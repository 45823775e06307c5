#include "ProcessTempNames.h"

#include "ReportError.h"

#include <QDir>
#include <QFileInfo>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace KRML_ReportGen {

namespace {

const QString kFolderPrefix = QStringLiteral("krml-reportgen-");
const char kOwnerFile[] = "/.krml-owner";

} // namespace

ProcessTempNames::ProcessTempNames()
{
    removeStaleFolders(QDir::tempPath());
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QLatin1Char('/') + kFolderPrefix + QStringLiteral("XXXXXX"));
    if (m_dir->isValid()) {
        m_lock = ::open(QFile::encodeName(m_dir->path() + QLatin1String(kOwnerFile)).constData(),
                        O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_lock >= 0)
            ::flock(m_lock, LOCK_EX | LOCK_NB);
    }
}

ProcessTempNames::~ProcessTempNames()
{
    m_dir.reset();
    if (m_lock >= 0)
        ::close(m_lock);
}

int ProcessTempNames::removeStaleFolders(const QString &parent, int maxAgeSeconds)
{
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-maxAgeSeconds);
    int removed = 0;
    const QDir dir(parent);
    for (const QFileInfo &fi : dir.entryInfoList(QStringList{kFolderPrefix + QStringLiteral("??????")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (fi.isSymLink() || !fi.isDir() || fi.lastModified().toUTC() > before)
            continue;
        // A folder with an owner file whose lock nobody holds. A process
        // makes its owner file right after the folder, so a folder older
        // than the limit without one was left by a process killed between
        // the two.
        const int fd = ::open(QFile::encodeName(fi.absoluteFilePath() + QLatin1String(kOwnerFile)).constData(),
                              O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            if (errno == ENOENT && QDir(fi.absoluteFilePath()).removeRecursively())
                ++removed;
            continue;
        }
        const bool orphaned = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (orphaned && QDir(fi.absoluteFilePath()).removeRecursively())
            ++removed;
        ::close(fd);
    }
    return removed;
}

QString ProcessTempNames::folder() const
{
    return m_dir->path();
}

QString ProcessTempNames::newName(const QString &prefix, const QString &extension)
{
    if (!m_dir->isValid())
        throw ReportError(ReportError::PathNotFound,
                          QStringLiteral("The temporary folder could not be created: %1").arg(m_dir->errorString()));
    QString ext = extension;
    if (!ext.isEmpty() && !ext.startsWith(QLatin1Char('.')))
        ext.prepend(QLatin1Char('.'));
    for (;;) {
        const quint32 salt = QRandomGenerator::global()->generate() & 0xFFFF;
        const QString name = QStringLiteral("%1%2%3%4")
                                 .arg(prefix)
                                 .arg(++m_counter, 4, 16, QLatin1Char('0'))
                                 .arg(salt, 4, 16, QLatin1Char('0'))
                                 .arg(ext);
        const QString path = m_dir->filePath(name);
        if (!QFileInfo::exists(path))
            return path;
    }
}

} // namespace KRML_ReportGen
