#include "LayoutPackage.h"

#include "CGUnzipFiles.h"
#include "CGZipFiles.h"
#include "CodePage.h"
#include "DurableFile.h"
#include "FileService.h"
#include "LayoutExtensionFile.h"
#include "LayoutFile.h"
#include "LayoutPage.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "PathNames.h"
#include "ReportError.h"
#include "ReportSqlFile.h"
#include "TempNameService.h"
#include "UserPrompts.h"
#include "WorkingConnectionFile.h"

#include <QFileInfo>

namespace KRML_ReportGen {

namespace {

const QString kSqlMember = QStringLiteral("sql.mtq");
const QString kConnectionMember = QStringLiteral("Data.cnn");
const QString kExtensionMember = QStringLiteral("Layout.ext");

bool devMode()
{
    return ModuleState::current().devMode();
}

} // namespace

LayoutPackage::LayoutPackage(FileService &files, TempNameService &tempNames, UserPrompts &prompts, LayoutPage &page)
    : m_files(files), m_tempNames(tempNames), m_prompts(prompts), m_page(page)
{
}

QString LayoutPackage::workingSqlFile()
{
    return ModuleState::current().workingFile(kSqlMember);
}

QString LayoutPackage::workingConnectionFile()
{
    return ModuleState::current().workingFile(kConnectionMember);
}

void LayoutPackage::clearLayout()
{
    if (m_files.fileExists(workingSqlFile()))
        m_files.deleteFile(workingSqlFile());
    if (m_files.fileExists(workingConnectionFile()))
        m_files.deleteFile(workingConnectionFile());
    ModuleState::current().setCurrentReportSQL(BoundStatement());
    m_page.removeAll();
}

QString LayoutPackage::initialFolder() const
{
    const QString reports = PathNames::join(ModuleState::current().rdAppPath(), QStringLiteral("Reports"));
    return m_files.folderExists(reports) ? m_files.resolve(reports) : QString();
}

QString LayoutPackage::newStagingFolder()
{
    QString name = m_tempNames.newName(QStringLiteral("~"), QStringLiteral(".tmp"));
    name.chop(4);
    m_files.createFolder(name);
    return name;
}

void LayoutPackage::removeStagingFolder(const QString &folder)
{
    if (folder.isEmpty() || !m_files.folderExists(folder))
        return;
    for (const QString &f : m_files.listFiles(folder))
        m_files.deleteFile(PathNames::join(folder, f));
    m_files.deleteFolder(folder);
}

QString LayoutPackage::literally(const QString &name)
{
    // A name is matched as a pattern: its own wildcard characters stand for
    // themselves.
    QString pattern;
    for (const QChar c : name)
        pattern += (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[')) ? QStringLiteral("[%1]").arg(c) : QString(c);
    return pattern;
}

QStringList LayoutPackage::fixedMembers()
{
    return {LayoutFile::fileName(), kSqlMember, kConnectionMember, kExtensionMember};
}

void LayoutPackage::extract(CGUnzipFiles &unzip, const QString &packagePath, const QString &staging, const QStringList &members)
{
    // Every member lands directly in the staging folder, found by its name
    // whatever its letter case; an archive beyond the limits is refused
    // before anything is written.
    unzip.setHonorDirectories(false);
    unzip.setCaseSensitive(false);
    unzip.setIncludeNames(members);
    unzip.setMemberLimit(MaxMembers);
    unzip.setSizeLimits(CGUnzipFiles::DefaultMaxMemberSize, MaxExpandedSize);
    if (unzip.Unzip(PathNames::normalize(packagePath), staging) == 0)
        return;
    const QString why = unzip.refusalReason();
    throw ReportError(UnzipFailed, why.isEmpty() ? QStringLiteral("Error unzipping layout file")
                                                 : QStringLiteral("Error unzipping layout file: %1").arg(why));
}

void LayoutPackage::reportOpenFailure(const QString &number, const QString &description)
{
    if (devMode())
        m_prompts.msgBox(QStringLiteral("Error in mnuOpenLayout %1: %2").arg(number, description));
    m_prompts.msgBox(openFailedMessage(), MsgBoxStyle::Exclamation);
}

LayoutPackage::Result LayoutPackage::openLayout(const QString &rptFile, QString &curOpenFile,
                                                const std::function<void()> &newLayout)
{
    ModuleState &state = ModuleState::current();
    auto connection = state.data().RDDataConnection();
    if (connection->state() == 1)
        connection->close();

    QString packagePath = rptFile;
    if (rptFile.isEmpty()) {
        packagePath = m_prompts.openFileName(QString(), openFilter(), 2, initialFolder());
        if (packagePath.isEmpty())
            return Result::Cancelled;
        curOpenFile = PathNames::baseName(packagePath);
    } else {
        curOpenFile = rptFile;
    }
    state.data().setPackageFolder(PathNames::folderOf(QFileInfo(PathNames::normalize(packagePath)).absoluteFilePath()));

    QString staging;
    CGUnzipFiles unzip(&m_prompts);
    const QList<std::function<void()>> steps = {
        [&] { newLayout(); },
        [&] { staging = newStagingFolder(); },
        [&] { extract(unzip, packagePath, staging, fixedMembers()); },
        [&] {
            if (!m_files.folderExists(state.tempFolder()))
                m_files.createFolder(state.tempFolder());
            const QString sql = PathNames::join(staging, kSqlMember);
            if (m_files.fileExists(sql))
                m_files.copyFile(sql, workingSqlFile());
            const QString cnn = PathNames::join(staging, kConnectionMember);
            if (m_files.fileExists(cnn))
                m_files.copyFile(cnn, workingConnectionFile());
        },
        [&] {
            // Each picture the layout names is taken from the package when
            // the page asks for it; members nothing names stay packed.
            LayoutFile::ReadLayoutFile(
                m_files, staging, m_page,
                [this](const QString &message) {
                    if (devMode())
                        m_prompts.msgBox(message);
                },
                [&](const QString &bitmap) { extract(unzip, packagePath, staging, {literally(bitmap)}); });
        },
        [&] {
            // Newer packages carry settings the layout text file has no
            // place for; a legacy package has no such member.
            const QString ext = PathNames::join(staging, LayoutExtensionFile::fileName());
            if (!m_files.fileExists(ext))
                return;
            const QStringList problems = LayoutExtensionFile::read(m_files.readBytes(ext), m_page.extension());
            m_page.applyLabelSettings();
            if (!problems.isEmpty())
                m_prompts.msgBox(problems.join(QLatin1Char('\n')), MsgBoxStyle::Exclamation);
        },
        [&] {
            const QString folder = staging;
            staging.clear();
            removeStagingFolder(folder);
        },
        [&] {
            // What the SQL editor does when it loads unseen: the shared
            // parameter collection starts empty and takes the report's
            // parameters from the working report SQL file.
            if (rptFile.isEmpty())
                return;
            auto parameters = state.parameters();
            parameters->clear();
            if (!m_files.fileExists(workingSqlFile()))
                return;
            ReportDefinition definition;
            // Named as the package's member, so that the user knows which
            // part of the package is damaged.
            const QString member = QFileInfo(PathNames::normalize(packagePath)).absoluteFilePath() + QLatin1Char('/') + kSqlMember;
            const auto read = ReportSqlFile::read(m_files.readBytes(workingSqlFile()), member, definition, parameters.get());
            if (!read.ok()) {
                m_prompts.msgBox(read.message, read.status == ReportSqlFile::ReadResult::NotValid ? MsgBoxStyle::Information
                                                                                                  : MsgBoxStyle::Exclamation);
                throw ReportError(ReportError::InvalidProcedureCall, read.message);
            }
        },
    };

    Result result = Result::Done;
    m_failure.clear();
    for (const auto &step : steps) {
        try {
            step();
        } catch (const ReportError &e) {
            reportOpenFailure(QString::number(e.number()), e.description());
            if (m_failure.isEmpty())
                m_failure = e.description();
            result = Result::Failed;
            if (!devMode())
                break;
        }
    }
    // The staging folder never outlives the operation, whatever happened.
    try {
        removeStagingFolder(staging);
    } catch (const ReportError &) {
    }
    return result;
}

LayoutPackage::Result LayoutPackage::saveLayout()
{
    const QString target = m_prompts.saveFileName(QString(), saveFilter(), 2, initialFolder());
    if (target.isEmpty())
        return Result::Cancelled;
    return saveLayoutTo(target);
}

LayoutPackage::Result LayoutPackage::saveLayoutTo(const QString &chosen)
{
    // The archive replaces the target only once it is complete and has been
    // read back: a save that fails leaves the old package as it was.
    const QString target = PathNames::normalize(chosen);
    m_saveTarget = target;
    m_failure.clear();
    QString staging;
    Result result = Result::Failed;
    bool codePageTold = false;
    try {
        // Part files that a killed save left beside the target.
        DurableFile::removeStaleParts(QFileInfo(target).absolutePath());
        staging = newStagingFolder();
        LayoutFile::WriteLayoutFile(m_files, staging, m_page);

        CGZipFiles zip;
        zip.setZipFileName(target);
        zip.setIncludeSystemFiles(true);
        zip.setRecurseFolders(false);
        zip.AddFile(PathNames::join(staging, LayoutFile::fileName()));
        if (const LayoutExtension extension = m_page.extensionToSave(); !extension.isDefault()) {
            const QString ext = PathNames::join(staging, LayoutExtensionFile::fileName());
            m_files.writeBytes(ext, LayoutExtensionFile::write(extension));
            zip.AddFile(ext);
        }
        if (m_files.fileExists(workingSqlFile())) {
            // The working file's name on disk depends on which command wrote
            // it last; the member is always "sql.mtq".
            const QString sql = PathNames::join(staging, kSqlMember);
            m_files.copyFile(workingSqlFile(), sql);
            zip.AddFile(sql);
        }
        const QString connectionString = ModuleState::current().data().RDDataConnectionString();
        if (!connectionString.isEmpty()
            && m_prompts.msgBox(connectionQuestion(), MsgBoxStyle::YesNo + MsgBoxStyle::Question) == MsgBoxStyle::Yes) {
            const QString cnn = PathNames::join(staging, kConnectionMember);
            WorkingConnectionFile::write(m_files, cnn, connectionString);
            zip.AddFile(cnn);
        }
        for (int i = 1; i <= m_page.picCount(); ++i)
            zip.AddFile(PathNames::join(staging, LayoutFile::bitmapName(i)));

        if (zip.MakeZipFile() == 0) {
            m_prompts.msgBox(savedMessage(), MsgBoxStyle::Information);
            result = Result::Done;
        } else {
            m_failure = zipFailure(zip.GetLastMessage());
            if (devMode())
                m_prompts.msgBox(zipFailedMessage());
        }
    } catch (const ReportError &e) {
        m_failure = e.description();
        // Text the code page cannot hold is the user's to fix: always said.
        codePageTold = e.number() == CodePage::CannotWrite;
        if (codePageTold)
            m_prompts.msgBox(e.description(), MsgBoxStyle::Exclamation);
        else if (devMode())
            m_prompts.msgBox(QStringLiteral("Error in mnuSaveLayout %1: %2").arg(e.number()).arg(e.description()));
    }
    // Losing work silently is worse than a message: outside development
    // mode, where the diagnostic above has been shown, the user hears it too
    // (unless the code page's message has told it already).
    if (result == Result::Failed && !devMode() && !codePageTold)
        m_prompts.msgBox(saveFailedMessage(m_failure), MsgBoxStyle::Exclamation);
    try {
        removeStagingFolder(staging);
    } catch (const ReportError &) {
    }
    return result;
}

QString LayoutPackage::zipFailure(const QString &zipMessage)
{
    // The archiver's account ends with its error line.
    QString why;
    for (const QString &line : zipMessage.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        if (line.startsWith(QLatin1String("zip error: ")))
            why = line.mid(11);
    return why.isEmpty() ? QStringLiteral("the archive could not be written") : why;
}

} // namespace KRML_ReportGen
