// makeexamples: builds the example database and report packages.
//
//   makeexamples FOLDER [--database-only] [--sql examples/sales.sql]

#include "ExampleReports.h"
#include "LocalFileService.h"
#include "ProcessTempNames.h"
#include "ReportError.h"

#include "HeadlessEnvironment.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

using namespace KRML_ReportGen;

int main(int argc, char **argv)
{
    HeadlessEnvironment::prepare();
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds the KRML ReportGen example database and reports."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Where sales.db and the .lrd packages go."));
    const QCommandLineOption databaseOnly(QStringLiteral("database-only"), QStringLiteral("Build only sales.db."));
    const QCommandLineOption sql(QStringLiteral("sql"), QStringLiteral("The database script."), QStringLiteral("file"),
                                 QStringLiteral(KRML_SOURCE_DIR "/examples/sales.sql"));
    parser.addOptions({databaseOnly, sql});
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 1;
    }
    const QString folder = parser.positionalArguments().first();
    QDir().mkpath(folder);
    LocalFileService files;
    ProcessTempNames tempNames;
    ExampleReports examples(files, tempNames);
    try {
        examples.buildDatabase(parser.value(sql), folder + QStringLiteral("/sales.db"));
        if (!parser.isSet(databaseOnly))
            examples.buildPackages(folder);
    } catch (const ReportError &e) {
        std::fprintf(stderr, "makeexamples: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
