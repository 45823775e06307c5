#pragma once

#include <QString>
#include <functional>

namespace KRML_ReportGen {

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
    static constexpr qint32 UnzipFailed = 99;

    // Deletes the working report SQL and connection files, empties the
    // current report SQL and removes every object from the page.
    void clearLayout();

    // newLayout runs the whole new-layout command (the control adds its own
    // steps to clearLayout); curOpenFile receives the package's name.
    Result openLayout(const QString &rptFile, QString &curOpenFile, const std::function<void()> &newLayout);
    Result saveLayout();
    // Saves to a path without asking for it (the command line, the tests).
    Result saveLayoutTo(const QString &path);

    // The working files in rdAppPath/Temp.
    static QString workingSqlFile();
    static QString workingConnectionFile();

private:
    QString newStagingFolder();
    void removeStagingFolder(const QString &folder);
    void reportOpenFailure(const QString &number, const QString &description);
    QString initialFolder() const;

    FileService &m_files;
    TempNameService &m_tempNames;
    UserPrompts &m_prompts;
    LayoutPage &m_page;
};

} // namespace KRML_ReportGen
