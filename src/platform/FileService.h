#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

// The file-system service the system uses for its working files, layout
// files and exports. Paths may use "\" or "/" and are matched without regard
// to letter case. Every failure is a ReportError with a number and a
// description naming the file.
class FileService
{
public:
    virtual ~FileService() = default;

    virtual bool fileExists(const QString &path) const = 0;
    virtual bool folderExists(const QString &path) const = 0;
    virtual void createFolder(const QString &path) = 0;
    virtual void deleteFile(const QString &path) = 0;
    // Fails while the folder still holds files.
    virtual void deleteFolder(const QString &path) = 0;
    virtual void copyFile(const QString &from, const QString &to) = 0;
    // Moves a file over another in one step: readers see the old file or
    // the new one, never a mixture.
    virtual void replaceFile(const QString &from, const QString &to) = 0;
    virtual QStringList listFiles(const QString &folder) const = 0;

    virtual QByteArray readBytes(const QString &path) const = 0;
    // Replaces the whole file; the old content stays if the write fails.
    virtual void writeBytes(const QString &path, const QByteArray &bytes) = 0;
    virtual void appendBytes(const QString &path, const QByteArray &bytes) = 0;

    // The path as this file system knows it (case and separators resolved).
    virtual QString resolve(const QString &path) const = 0;
};

} // namespace KRML_ReportGen
