#pragma once

#include "BoundStatement.h"
#include "CodePage.h"
#include "VbCollection.h"
#include "clsData.h"
#include "clsParameter.h"

#include <QString>
#include <memory>

namespace KRML_ReportGen {

// What every control instance on one thread shares, as a host expects of
// two controls in one window: the development mode flag, the host's
// application folder with the report's working files, the data holder with
// the report's connection, the host's parameter collections, the report's
// parameter records, the code page of the working files, the statement the
// query loader ran last, and the zip classes' last message. Everything else
// is passed to whoever needs it.
class ModuleState
{
public:
    // The state of the calling thread, created on first use.
    static ModuleState &current();

    bool devMode() const { return m_devMode; }
    void setDevMode(bool on) { m_devMode = on; }

    QString rdAppPath() const { return m_rdAppPath; }
    void setRdAppPath(const QString &path) { m_rdAppPath = path; }
    // rdAppPath followed by "\Temp": where the open report's working files live.
    QString tempFolder() const;
    // A working file in the temporary folder, found without regard to case.
    QString workingFile(const QString &name) const;

    // The code page of the working files and the package's text members
    // (the layout text file, the report SQL file, Data.cnn, ".mdq" files):
    // the control's CodePage, reportgen's --codepage. Shared because the
    // controls of a thread share the working folder these files live in.
    int codePage() const { return m_codePage; }
    void setCodePage(int codePage) { m_codePage = codePage; }
    CodePage codec() const { return CodePage(m_codePage); }

    clsData &data();
    std::shared_ptr<VariantCollection> ParamFieldCollection();
    void setParamFieldCollection(std::shared_ptr<VariantCollection> collection);
    std::shared_ptr<VariantCollection> ParamValueCollection();
    void setParamValueCollection(std::shared_ptr<VariantCollection> collection);
    // The report's parameter records, handed to the host when a layout opens.
    std::shared_ptr<ParameterCollection> parameters();

    // The statement run last (the query loader, the SQL editor's preview),
    // with its parameter values bound, not spliced into the text; a new
    // layout empties it.
    const BoundStatement &CurrentReportSQL() const { return m_currentReportSql; }
    void setCurrentReportSQL(const BoundStatement &statement) { m_currentReportSql = statement; }

    // What the zip classes' library said during the last archive operation,
    // one text for every archive object of the thread.
    QString zipLastMessage() const { return m_zipLastMessage; }
    void setZipLastMessage(const QString &text) { m_zipLastMessage = text; }

    // Back to the state of a new thread (tests start each case from here).
    void reset();

private:
    bool m_devMode = false;
    QString m_rdAppPath;
    int m_codePage = CodePage::Default;
    std::unique_ptr<clsData> m_data;
    std::shared_ptr<VariantCollection> m_paramFields;
    std::shared_ptr<VariantCollection> m_paramValues;
    std::shared_ptr<ParameterCollection> m_parameters;
    BoundStatement m_currentReportSql;
    QString m_zipLastMessage;
};

} // namespace KRML_ReportGen
