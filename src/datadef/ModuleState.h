#pragma once

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
// parameter records, the SQL the query loader produced last, and the zip
// classes' last message. Everything else is passed to whoever needs it.
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

    clsData &data();
    std::shared_ptr<VariantCollection> ParamFieldCollection();
    void setParamFieldCollection(std::shared_ptr<VariantCollection> collection);
    std::shared_ptr<VariantCollection> ParamValueCollection();
    void setParamValueCollection(std::shared_ptr<VariantCollection> collection);
    // The report's parameter records, handed to the host when a layout opens.
    std::shared_ptr<ParameterCollection> parameters();

    // The SQL of the statement run last (the query loader, the SQL
    // editor's preview); a new layout empties it.
    QString CurrentReportSQL() const { return m_currentReportSql; }
    void setCurrentReportSQL(const QString &sql) { m_currentReportSql = sql; }

    // What the zip classes' library said during the last archive operation,
    // one text for every archive object of the thread.
    QString zipLastMessage() const { return m_zipLastMessage; }
    void setZipLastMessage(const QString &text) { m_zipLastMessage = text; }

    // Back to the state of a new thread (tests start each case from here).
    void reset();

private:
    bool m_devMode = false;
    QString m_rdAppPath;
    std::unique_ptr<clsData> m_data;
    std::shared_ptr<VariantCollection> m_paramFields;
    std::shared_ptr<VariantCollection> m_paramValues;
    std::shared_ptr<ParameterCollection> m_parameters;
    QString m_currentReportSql;
    QString m_zipLastMessage;
};

} // namespace KRML_ReportGen
