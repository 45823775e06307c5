#pragma once

#include "ConsolePrompts.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "ProcessTempNames.h"
#include "ReportSqlFile.h"

#include <QStringList>
#include <QTemporaryDir>

namespace KRML_ReportGen {

// Packages for the tests of the programs, saved as a designer saves them.
class TestPackage
{
public:
    // Saves a package of page whose report SQL holds the statements (name,
    // SQL) with the connection string stored in it.
    static bool save(LayoutPage &page, const QList<QPair<QString, QString>> &statements, const QString &connection,
                     const QString &path, const QStringList &markers = {}, int codePage = 1252)
    {
        QTemporaryDir app;
        ModuleState &state = ModuleState::current();
        state.reset();
        state.setRdAppPath(app.path());
        state.setCodePage(codePage);
        LocalFileService files;
        files.createFolder(state.tempFolder());
        ReportDefinition d;
        for (const QString &marker : markers)
            d.addParameter(marker);
        for (const auto &statement : statements)
            d.addStatement(statement.first, statement.second);
        ReportSqlFile::write(files, state.workingFile(QStringLiteral("SQL.mtq")), d);
        state.data().RDDataConnection()->setConnectionString(connection);
        ProcessTempNames temp;
        ConsolePrompts prompts(stderr, false);
        prompts.yesNoAnswer = MsgBoxStyle::Yes;
        const bool saved = LayoutPackage(files, temp, prompts, page).saveLayoutTo(path) == LayoutPackage::Result::Done;
        state.reset();
        return saved;
    }
};

} // namespace KRML_ReportGen
