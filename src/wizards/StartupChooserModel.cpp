#include "StartupChooserModel.h"

#include "DataSource.h"
#include "FileService.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ReportError.h"
#include "ReportSqlFile.h"
#include "UserPrompts.h"
#include "WorkingConnectionFile.h"

namespace KRML_ReportGen {

StartupChooserModel::StartupChooserModel(FileService &files, UserPrompts &prompts) : m_files(files), m_prompts(prompts)
{
    ModuleState &state = ModuleState::current();
    if (!state.rdAppPath().isEmpty() && !m_files.folderExists(state.tempFolder()))
        m_files.createFolder(state.tempFolder());
}

void StartupChooserModel::tick()
{
    ModuleState &state = ModuleState::current();
    if (!state.data().currentConnectionString().isEmpty()) {
        sqlEnabled = true;
    } else {
        const QString path = state.workingFile(WorkingConnectionFile::fileName());
        if (m_files.fileExists(path)) {
            QString text;
            try {
                text = WorkingConnectionFile::read(m_files, path);
                state.data().setCurrentConnectionString(text);
                if (!text.isEmpty())
                    state.data().setCurrentDataSource(DataSource::extract(text));
                m_reported.clear();
            } catch (const ReportError &e) {
                // Said once per unusable content, and the chooser goes on.
                const QString key = text + QLatin1Char('\n') + e.description();
                if (key != m_reported)
                    m_prompts.msgBox(QStringLiteral("The working data connection could not be used: %1").arg(e.description()),
                                     MsgBoxStyle::Exclamation);
                m_reported = key;
            }
            sqlEnabled = true;
        }
    }
    if (m_files.fileExists(ReportSqlFile::workingFile()))
        layoutEnabled = true;
}

void BouncingBar::advance(int innerWidth, int barWidth)
{
    left += step;
    if (left >= innerWidth - barWidth || left <= 0)
        step = -step;
}

} // namespace KRML_ReportGen
