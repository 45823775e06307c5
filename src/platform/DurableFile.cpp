#include "DurableFile.h"

#include "ReportError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KRML_ReportGen {

namespace {

qint32 numberFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ReportError::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return ReportError::PermissionDenied;
    case ENOENT:
    case ENOTDIR:
        return ReportError::PathNotFound;
    default:
        return ReportError::PathFileAccessError;
    }
}

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes a rename in the folder survive a power cut. A folder that cannot be
// synced (some network file systems) has still taken the rename.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

DurableFile::DurableFile(const QString &target)
{
    // A link is followed, so the file it names is replaced, not the link.
    const QFileInfo fi(target);
    m_target = fi.isSymLink() && fi.exists() ? fi.canonicalFilePath() : fi.absoluteFilePath();
}

DurableFile::~DurableFile()
{
    discard();
}

void DurableFile::fail(int error, const QString &what)
{
    if (m_errorNumber != 0)
        return; // the first failure is the one to report
    m_errorNumber = numberFor(error);
    m_errorText = QStringLiteral("%1 '%2': %3").arg(what, QDir::toNativeSeparators(m_target), systemText(error));
    setErrorString(m_errorText);
}

bool DurableFile::open(OpenMode mode)
{
    if (m_fd >= 0 || !(mode & WriteOnly) || (mode & ReadOnly) || (mode & Append)) {
        fail(EINVAL, QStringLiteral("Cannot write"));
        return false;
    }
    m_errorNumber = 0;
    m_errorText.clear();
    m_written = 0;
    const QFileInfo fi(m_target);
    if (fi.isDir()) {
        fail(EISDIR, QStringLiteral("Cannot write"));
        return false;
    }
    // The part file takes the permissions the target has; a new file the
    // process's usual ones.
    struct stat old;
    const QByteArray targetName = QFile::encodeName(m_target);
    const mode_t permissions = ::stat(targetName.constData(), &old) == 0 ? (old.st_mode & 07777) : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_part = QStringLiteral("%1.part.%2").arg(m_target).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        m_fd = ::open(QFile::encodeName(m_part).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
        if (m_fd >= 0 || errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_part.clear();
        fail(error, QStringLiteral("Cannot create a file beside"));
        return false;
    }
    if (permissions != 0666)
        ::fchmod(m_fd, permissions);
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 DurableFile::readData(char *, qint64)
{
    return -1;
}

qint64 DurableFile::writeData(const char *data, qint64 size)
{
    if (m_fd < 0 || m_errorNumber != 0)
        return -1;
    // write() may take fewer bytes than it was given (a disk filling up, a
    // signal): go on with the rest until it takes none.
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(n < 0 ? errno : ENOSPC, QStringLiteral("Cannot write"));
            return -1;
        }
        done += n;
    }
    m_written += done;
    return done;
}

void DurableFile::closeDescriptor()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void DurableFile::removePart()
{
    if (!m_part.isEmpty()) {
        ::unlink(QFile::encodeName(m_part).constData());
        m_part.clear();
    }
}

void DurableFile::discard()
{
    closeDescriptor();
    removePart();
    if (isOpen())
        QIODevice::close();
}

bool DurableFile::commit()
{
    if (m_fd < 0 || m_errorNumber != 0) {
        if (m_errorNumber == 0)
            fail(EBADF, QStringLiteral("Cannot write"));
        discard();
        return false;
    }
    QIODevice::close();
    struct stat written;
    if (::fsync(m_fd) != 0) {
        fail(errno, QStringLiteral("Cannot write"));
    } else if (::fstat(m_fd, &written) != 0) {
        fail(errno, QStringLiteral("Cannot check"));
    } else if (qint64(written.st_size) != m_written) {
        fail(EIO, QStringLiteral("The file came out %1 bytes long instead of %2:").arg(qint64(written.st_size)).arg(m_written));
    } else {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            fail(errno, QStringLiteral("Cannot write"));
    }
    if (m_errorNumber == 0 && m_check) {
        const QString why = m_check(m_part);
        if (!why.isEmpty()) {
            m_errorNumber = ReportError::PathFileAccessError;
            m_errorText = QStringLiteral("The file written for '%1' is not what was meant: %2").arg(QDir::toNativeSeparators(m_target), why);
            setErrorString(m_errorText);
        }
    }
    if (m_errorNumber == 0
        && ::rename(QFile::encodeName(m_part).constData(), QFile::encodeName(m_target).constData()) != 0)
        fail(errno, QStringLiteral("Cannot replace"));
    if (m_errorNumber != 0) {
        discard();
        return false;
    }
    m_part.clear();
    syncFolder(QFileInfo(m_target).absolutePath());
    return true;
}

void DurableFile::write(const QString &target, const QByteArray &bytes, const Check &check)
{
    DurableFile file(target);
    file.setCheck(check);
    if (!file.open(WriteOnly) || file.QIODevice::write(bytes) != bytes.size() || !file.commit()) {
        const QString text = file.errorText();
        const qint32 number = file.errorNumber() ? file.errorNumber() : ReportError::PathFileAccessError;
        file.discard();
        throw ReportError(number, text);
    }
}

bool DurableFile::isPartName(const QString &fileName)
{
    static const QRegularExpression part(QStringLiteral("^.+\\.part\\.[0-9a-f]{8}$"));
    return part.match(fileName).hasMatch();
}

int DurableFile::removeStaleParts(const QString &folder, int maxAgeSeconds)
{
    const QDir dir(folder);
    if (!dir.exists())
        return 0;
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-maxAgeSeconds);
    int removed = 0;
    for (const QFileInfo &fi : dir.entryInfoList(QStringList{QStringLiteral("*.part.*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (!isPartName(fi.fileName()) || fi.isSymLink() || fi.lastModified().toUTC() > before)
            continue;
        if (QFile::remove(fi.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

} // namespace KRML_ReportGen
