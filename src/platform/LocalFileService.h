#pragma once

#include "FileService.h"

namespace KRML_ReportGen {

// FileService on the local file system.
class LocalFileService : public FileService
{
public:
    bool fileExists(const QString &path) const override;
    bool folderExists(const QString &path) const override;
    void createFolder(const QString &path) override;
    void deleteFile(const QString &path) override;
    void deleteFolder(const QString &path) override;
    void copyFile(const QString &from, const QString &to) override;
    void replaceFile(const QString &from, const QString &to) override;
    QStringList listFiles(const QString &folder) const override;
    QByteArray readBytes(const QString &path) const override;
    void writeBytes(const QString &path, const QByteArray &bytes) override;
    void appendBytes(const QString &path, const QByteArray &bytes) override;
    QString resolve(const QString &path) const override;
};

} // namespace KRML_ReportGen
