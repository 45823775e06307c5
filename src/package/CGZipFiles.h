#pragma once

#include "ArchiveCheck.h"
#include "VbBool.h"

#include <QList>
#include <QPair>
#include <QString>

namespace KRML_ReportGen {

// Builds a zip archive from a list of files. The list starts with the
// placeholder "querty", which is not a file and not counted; at most 99
// files fit. MakeZipFile returns the archiver's result code: 0 for success,
// 12 nothing to do, 15 the archive could not be created, 18 a listed file
// could not be read, 14 the archive could not be written (or came out other
// than meant). Booleans are kept as 1 and 0. The archive replaces its file
// only once it has been read back and every member found whole.
class CGZipFiles
{
public:
    static constexpr qint32 AlreadyInList = qint32(0x800407D1);
    static constexpr qint32 NotInList = qint32(0x800407D2);
    static constexpr int MaxEntries = 100; // the placeholder and 99 files

    CGZipFiles();

    bool RecurseFolders() const { return m_recurseFolders.get(); }
    void setRecurseFolders(bool v) { m_recurseFolders = v; }
    QString ZipFileName() const { return m_zipFileName; }
    void setZipFileName(const QString &v) { m_zipFileName = v; }
    // Kept and reported back; archives are never encrypted.
    bool Encrypted() const { return m_encrypted.get(); }
    void setEncrypted(bool v) { m_encrypted = v; }
    // Kept and reported back; hidden files are archived like any other.
    bool IncludeSystemFiles() const { return m_includeSystemFiles.get(); }
    void setIncludeSystemFiles(bool v) { m_includeSystemFiles = v; }
    // Stored names are relative to this folder when a file lies under it;
    // otherwise a file is stored under its base name.
    QString RootDirectory() const { return m_rootDirectory; }
    void setRootDirectory(const QString &v) { m_rootDirectory = v; }
    // Add to (or replace in) an existing archive instead of creating it anew.
    bool UpdatingZip() const { return m_updatingZip.get(); }
    void setUpdatingZip(bool v) { m_updatingZip = v; }
    qint32 ZipFileCount() const { return qint32(m_list.size()) - 1; }

    void AddFile(const QString &path);
    void RemoveFile(const QString &path);
    qint32 MakeZipFile();
    QString GetLastMessage() const;

    // The name a file is stored under.
    QString storedName(const QString &path) const;

private:
    struct Entry
    {
        QString name;
        QString path; // empty for a folder entry
    };
    // Builds the archive's bytes (on top of existing ones when updating);
    // written lists what each added member must hold.
    qint32 build(const QList<Entry> &entries, const QByteArray &existing, QList<ArchiveCheck::Member> &written,
                 QByteArray &bytes);

    QList<QPair<QString, QString>> m_list; // key, item
    VbBool m_recurseFolders;
    QString m_zipFileName;
    VbBool m_encrypted;
    VbBool m_includeSystemFiles;
    QString m_rootDirectory = QStringLiteral("\\");
    VbBool m_updatingZip;
};

} // namespace KRML_ReportGen
