#pragma once

#include "BoundStatement.h"
#include "CodePage.h"
#include "VbCollection.h"
#include "clsData.h"
#include "clsParameter.h"

#include <QString>
#include <memory>

namespace KRML_ReportGen {

// What every control instance on one thread shares: the development mode
// flag, the host's application folder, the data holder with the report's
// connection, the parameter collections and the last report SQL. Two
// controls in one window see the same values, as a host expects.
class ModuleState
{
public:
    // The state of the calling thread, created on first use.
    static ModuleState &current();

    bool devMode = false;
    QString rdAppPath;
    // The folder of the layout package opened last: a report's database
    // that does not exist as written is looked for there.
    QString packageFolder;
    // The code page of the working files and the package's text members
    // (the layout text file, the report SQL file, Data.cnn, ".mdq" files):
    // the control's CodePage, reportgen's --codepage.
    int codePage = CodePage::Default;
    CodePage codec() const { return CodePage(codePage); }
    // The statement the query loader (or the SQL editor's preview) ran
    // last, with its parameter values bound, not spliced into the text.
    BoundStatement CurrentReportSQL;
    // True while a generation run has not finished its first data-field
    // label: only then does the query loader search further lookup rows.
    bool FirstQueryPending = false;
    // The connection string last chosen in the data wizard or read from the
    // working connection file, and the data source taken from it.
    QString currentConnectionString;
    QString currentDataSource;
    // The zip classes' last message and whether the password was asked in
    // the running operation: one for every archive object of the thread.
    QString zipLastMessage;
    bool zipPasswordAsked = false;

    clsData &data();
    std::shared_ptr<VariantCollection> ParamFieldCollection();
    void setParamFieldCollection(std::shared_ptr<VariantCollection> collection);
    std::shared_ptr<VariantCollection> ParamValueCollection();
    void setParamValueCollection(std::shared_ptr<VariantCollection> collection);
    // The report's parameter records, handed to the host when a layout opens.
    std::shared_ptr<ParameterCollection> parameters();

    // rdAppPath followed by "\Temp": where the open report's working files live.
    QString tempFolder() const;
    // A working file in the temporary folder, found without regard to case.
    QString workingFile(const QString &name) const;

    // Back to the state of a new thread (tests start each case from here).
    void reset();

private:
    std::unique_ptr<clsData> m_data;
    std::shared_ptr<VariantCollection> m_paramFields;
    std::shared_ptr<VariantCollection> m_paramValues;
    std::shared_ptr<ParameterCollection> m_parameters;
};

} // namespace KRML_ReportGen
