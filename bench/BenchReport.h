#pragma once

#include "LayoutPage.h"
#include "LocalFileService.h"
#include "QueryLoader.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"

#include <QTemporaryDir>

namespace KRML_ReportGen {

// The benchmarks' paginated report on BenchDatabase's "Orders" of ROWS
// orders, in a host folder of its own: a title, column headings repeated
// on every page, four lists of the statement, a page number in the footer
// zone and a closing line after the lists.
class BenchReport
{
public:
    static const char *const fields[4];

    explicit BenchReport(int rows);

    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    LocalFileService files;
    LayoutPage page;
    ScriptedPrompts prompts;
    QueryLoader loader{files, prompts};
    ReportGenerator generator{page, loader};
};

} // namespace KRML_ReportGen
