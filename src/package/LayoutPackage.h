#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace KRML_ReportGen {

class CGUnzipFiles;
class FileService;
class LayoutPage;
class TempNameService;
class UserPrompts;

// The layout package (".lrd"): a zip archive with "Layout.krml", the
// settings beyond it in "Layout.ext" (only when they are not all at their
// defaults, so a legacy layout stays a legacy package), the picture bitmaps, the report SQL file and, when the user wants it, the
// connection string. Opening unpacks it into a staging folder and rebuilds
// the page and the working files in rdAppPath/Temp; saving packs them.
// Headless: the control, the command-line renderer and the tests share it.
class LayoutPackage
{
public:
    enum class Result { Cancelled, Done, Failed };

    LayoutPackage(FileService &files, TempNameService &tempNames, UserPrompts &prompts, LayoutPage &page);

    static QString openFilter() { return QStringLiteral("All Files (*.*)|*.*|Report Designer Files (*.lrd)|*.lrd"); }
    static QString saveFilter() { return QStringLiteral("All Files (*.*)|*.*|Varrow Report Designer (*.lrd)|*.lrd"); }
    static QString savedMessage() { return QStringLiteral("Successfully saved the layout file"); }
    static QString openFailedMessage()
    {
        return QStringLiteral("An error occurred while opening layout file.\r\n\r\nPlease check that it is a valid layout file and try again.");
    }
    static QString connectionQuestion()
    {
        return QStringLiteral("Would you like to save the data connection details in this file ?");
    }
    static QString zipFailedMessage()
    {
        return QStringLiteral("Error in mnuSaveLayout. Error returned after trying to create zip file");
    }
    // Told in every mode when a save fails, with why.
    static QString saveFailedMessage(const QString &reason)
    {
        return QStringLiteral("The layout file was not saved: %1\r\n\r\nAny earlier file of that name is unchanged.").arg(reason);
    }
    static constexpr qint32 UnzipFailed = 99;
    // What a package may hold: ten times the members a saved package can
    // have, and what they may expand to. A package beyond them is refused.
    static constexpr qint64 MaxMembers = 1000;
    static constexpr qint64 MaxExpandedSize = 512LL * 1024 * 1024;

    // Deletes the working report SQL and connection files, empties the
    // current report SQL and removes every object from the page.
    void clearLayout();

    // newLayout runs the whole new-layout command (the control adds its own
    // steps to clearLayout); curOpenFile receives the package's name.
    Result openLayout(const QString &rptFile, QString &curOpenFile, const std::function<void()> &newLayout);
    Result saveLayout();
    // Saves to a path without asking for it (the command line, the tests).
    Result saveLayoutTo(const QString &path);

    // Why the last open or save failed (the first error's description);
    // empty after one that worked.
    QString failure() const { return m_failure; }
    // The package the last save wrote, or meant to write.
    QString saveTarget() const { return m_saveTarget; }

    // The working files in rdAppPath/Temp.
    static QString workingSqlFile();
    static QString workingConnectionFile();

private:
    // The members an open takes besides the pictures the layout names.
    static QStringList fixedMembers();
    static QString literally(const QString &name);
    void extract(CGUnzipFiles &unzip, const QString &packagePath, const QString &staging, const QStringList &members);
    static QString zipFailure(const QString &zipMessage);
    QString newStagingFolder();
    void removeStagingFolder(const QString &folder);
    void reportOpenFailure(const QString &number, const QString &description);
    QString initialFolder() const;

    FileService &m_files;
    TempNameService &m_tempNames;
    UserPrompts &m_prompts;
    LayoutPage &m_page;
    QString m_failure;
    QString m_saveTarget;
};

} // namespace KRML_ReportGen
