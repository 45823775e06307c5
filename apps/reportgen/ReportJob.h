#pragma once

#include "ConsolePrompts.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ProcessTempNames.h"
#include "StatementLimits.h"

#include <QPair>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>

namespace KRML_ReportGen {

class LayoutPackage;

// One command-line job on one layout package: the package is opened into a
// private application folder, the shared connection set from the command
// line or the package, the parameter values handed over as a host would,
// then the report is rendered or described.
class ReportJob
{
public:
    enum Exit {
        Ok = 0,
        Usage = 1,
        NoSuchFile = 2,
        BadPackage = 3,
        ConnectionFailed = 4,
        MissingParameter = 5,
        ReportFailed = 6,
    };

    ReportJob();

    QString connectionString; // empty: the one stored in the package
    QList<QPair<QString, QString>> parameters;
    int dotsPerInch = 150;
    int pngCompression = -1; // zlib's level 0 to 9; -1 its default
    bool progress = true;
    bool paginate = true; // false: one page, as the legacy preview shows it (--one-page)
    int page = 0; // 0: every page
    QString format; // the output's format by its suffix ("xlsx"); empty: the output file's own suffix
    QString author; // the PDF's author
    bool pdfA = false;
    int csvCodePage = 0; // 0: UTF-8 with a byte order mark
    bool csvRaw = false;
    int pagesWritten = 0; // after render: the report's pages
    int timeoutSeconds = StatementLimits::DefaultTimeoutSeconds; // per statement, 0: none

    Exit open(const QString &packagePath);
    Exit connect();
    Exit render(const QString &outputPath);
    Exit list(QTextStream &out);

    // What went wrong, for the user.
    QString error() const { return m_error; }
    // Said on the way, without stopping the job (a value nobody uses, a
    // value the lookup's retry replaced): "reportgen: " + the text on stderr.
    std::function<void(const QString &)> notice = [](const QString &text) {
        std::fprintf(stderr, "reportgen: %s\n", qPrintable(text));
    };


private:
    Exit fail(Exit code, const QString &message);
    void handOverParameters();
    QString packageFailure(const LayoutPackage &package) const;

    // This run's working folder: private, so that runs side by side keep
    // their working files apart, inside the user's data folder.
    std::unique_ptr<QTemporaryDir> m_app;
    LocalFileService m_files;
    ProcessTempNames m_tempNames;
    ConsolePrompts m_prompts{stderr, false};
    LayoutPage m_page;
    QString m_packagePath;
    QString m_error;
};

} // namespace KRML_ReportGen
