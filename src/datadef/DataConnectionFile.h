#pragma once

#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

class FileService;

// The data connection file (".mdq") of the external data wizard: seven
// lines, the connection string and the wizard's four lists, each list's
// entries joined by ", ".
class DataConnectionFile
{
public:
    static QString magic() { return QStringLiteral("KRMLDataConnectionFile"); }
    static QString filter() { return QStringLiteral("Marlowen Data Connection Files|*.mdq"); }

    QString cnnString;
    QStringList selTables;
    QStringList selFields;  // table "." field
    QStringList tableLinks;
    QStringList params;     // the conditions

    QString toText() const;
    // overwrite: delete an existing file first.
    void write(FileService &files, const QString &path, bool overwrite) const;

    // Reads a file back for the wizard. false (with why) when it is not a
    // data connection file or lines are missing; *this is then unchanged.
    bool read(const QByteArray &bytes, QString *why = nullptr);
    bool readFile(const FileService &files, const QString &path, QString *why = nullptr);

    friend bool operator==(const DataConnectionFile &, const DataConnectionFile &) = default;
};

} // namespace KRML_ReportGen
