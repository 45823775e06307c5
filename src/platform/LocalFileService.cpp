#include "LocalFileService.h"

#include "DurableFile.h"
#include "PathNames.h"
#include "ReportError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace KRML_ReportGen {

namespace {

ReportError fileError(qint32 number, const QString &what, const QString &path, const QString &detail = QString())
{
    QString d = QStringLiteral("%1: '%2'").arg(what, QDir::toNativeSeparators(path));
    if (!detail.isEmpty())
        d += QStringLiteral(" (%1)").arg(detail);
    return ReportError(number, d);
}

} // namespace

QString LocalFileService::resolve(const QString &path) const
{
    return PathNames::resolve(path);
}

bool LocalFileService::fileExists(const QString &path) const
{
    const QFileInfo fi(resolve(path));
    return fi.exists() && fi.isFile();
}

bool LocalFileService::folderExists(const QString &path) const
{
    const QFileInfo fi(resolve(path));
    return fi.exists() && fi.isDir();
}

void LocalFileService::createFolder(const QString &path)
{
    const QString p = resolve(path);
    if (QFileInfo(p).isDir())
        throw fileError(58, QStringLiteral("File already exists"), p);
    if (!QDir().mkpath(p))
        throw fileError(ReportError::PathNotFound, QStringLiteral("Path not found"), p);
}

void LocalFileService::deleteFile(const QString &path)
{
    const QString p = resolve(path);
    if (!QFileInfo(p).isFile())
        throw fileError(ReportError::FileNotFound, QStringLiteral("File not found"), p);
    QFile f(p);
    if (!f.remove())
        throw fileError(ReportError::PermissionDenied, QStringLiteral("Permission denied"), p, f.errorString());
}

void LocalFileService::deleteFolder(const QString &path)
{
    const QString p = resolve(path);
    if (!QFileInfo(p).isDir())
        throw fileError(ReportError::PathNotFound, QStringLiteral("Path not found"), p);
    if (!QDir().rmdir(p))
        throw fileError(ReportError::PathFileAccessError, QStringLiteral("Path/File access error"), p,
                        QStringLiteral("the folder is not empty"));
}

void LocalFileService::copyFile(const QString &from, const QString &to)
{
    const QString src = resolve(from);
    if (!QFileInfo(src).isFile())
        throw fileError(ReportError::FileNotFound, QStringLiteral("File not found"), src);
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly))
        throw fileError(ReportError::PermissionDenied, QStringLiteral("Permission denied"), src, in.errorString());
    writeBytes(to, in.readAll());
}

void LocalFileService::replaceFile(const QString &from, const QString &to)
{
    const QString src = resolve(from);
    const QString dst = resolve(to);
    if (!QFileInfo(src).isFile())
        throw fileError(ReportError::FileNotFound, QStringLiteral("File not found"), src);
    if (std::rename(QFile::encodeName(src).constData(), QFile::encodeName(dst).constData()) != 0)
        throw fileError(ReportError::PathFileAccessError, QStringLiteral("Path/File access error"), dst,
                        QString::fromLocal8Bit(std::strerror(errno)));
}

QStringList LocalFileService::listFiles(const QString &folder) const
{
    const QDir dir(resolve(folder));
    return dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray LocalFileService::readBytes(const QString &path) const
{
    const QString p = resolve(path);
    QFile f(p);
    if (!QFileInfo(p).isFile())
        throw fileError(ReportError::FileNotFound, QStringLiteral("File not found"), p);
    if (!f.open(QIODevice::ReadOnly))
        throw fileError(ReportError::PermissionDenied, QStringLiteral("Permission denied"), p, f.errorString());
    return f.readAll();
}

void LocalFileService::writeBytes(const QString &path, const QByteArray &bytes)
{
    // An existing file under another letter case is the same file: replace it.
    const QString p = resolve(path);
    const QString folder = PathNames::folderOf(p);
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        throw fileError(ReportError::PathNotFound, QStringLiteral("Path not found"), p);
    DurableFile::write(p, bytes);
}

void LocalFileService::appendBytes(const QString &path, const QByteArray &bytes)
{
    // Appending in place could leave half a line behind; the whole file is
    // written anew through the same checked path instead.
    const QString p = resolve(path);
    const QByteArray before = QFileInfo(p).isFile() ? readBytes(p) : QByteArray();
    writeBytes(p, before + bytes);
}

} // namespace KRML_ReportGen
