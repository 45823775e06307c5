// reportgen: renders layout packages without a window.
//
//   reportgen render PACKAGE.lrd -o OUT.pdf|OUT.png [--connection STRING]
//                    [--param NAME=VALUE]... [--dpi N]
//   reportgen list PACKAGE.lrd [--connection STRING] [--param NAME=VALUE]...

#include "ReportJob.h"

#include "HeadlessEnvironment.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

using namespace KRML_ReportGen;

static int finish(ReportJob::Exit code, const ReportJob &job)
{
    if (code != ReportJob::Ok)
        std::fprintf(stderr, "reportgen: %s\n", qPrintable(job.error()));
    return code;
}

int main(int argc, char **argv)
{
    HeadlessEnvironment::prepare();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("reportgen"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KRML_VERSION_TEXT));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders KRML ReportGen layout packages (.lrd) to PDF or PNG."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("render or list"));
    parser.addPositionalArgument(QStringLiteral("package"), QStringLiteral("the layout package (.lrd)"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The file to write: .pdf or .png."), QStringLiteral("file"));
    const QCommandLineOption connection(QStringLiteral("connection"),
                                        QStringLiteral("The connection string to use instead of the package's own."),
                                        QStringLiteral("string"));
    const QCommandLineOption param(QStringLiteral("param"),
                                   QStringLiteral("A parameter value (repeatable); for a lookup, its name or its return field."),
                                   QStringLiteral("NAME=VALUE"));
    const QCommandLineOption dpi(QStringLiteral("dpi"), QStringLiteral("Resolution of PNG output (default 150)."),
                                 QStringLiteral("n"), QStringLiteral("150"));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")}, QStringLiteral("No progress output."));
    parser.addOptions({output, connection, param, dpi, quiet});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    ReportJob job;
    if (args.size() != 2 || (args[0] != QLatin1String("render") && args[0] != QLatin1String("list"))) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return ReportJob::Usage;
    }
    const bool render = args[0] == QLatin1String("render");
    if (render && !parser.isSet(output)) {
        std::fprintf(stderr, "reportgen: render needs an output file (-o OUT.pdf or -o OUT.png)\n");
        return ReportJob::Usage;
    }
    for (const QString &p : parser.values(param)) {
        const int eq = p.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            std::fprintf(stderr, "reportgen: a parameter is given as NAME=VALUE: %s\n", qPrintable(p));
            return ReportJob::Usage;
        }
        job.parameters.append({p.left(eq), p.mid(eq + 1)});
    }
    bool ok = false;
    job.dotsPerInch = parser.value(dpi).toInt(&ok);
    if (!ok || job.dotsPerInch < 10 || job.dotsPerInch > 1200) {
        std::fprintf(stderr, "reportgen: --dpi takes a number from 10 to 1200\n");
        return ReportJob::Usage;
    }
    job.connectionString = parser.value(connection);
    job.progress = !parser.isSet(quiet);

    if (auto code = job.open(args[1]); code != ReportJob::Ok)
        return finish(code, job);
    if (render) {
        if (auto code = job.connect(); code != ReportJob::Ok)
            return finish(code, job);
        return finish(job.render(parser.value(output)), job);
    }
    const ReportJob::Exit connected = job.connect();
    QTextStream out(stdout);
    if (connected != ReportJob::Ok)
        out << "(not connected: " << job.error() << ")\n";
    const auto code = job.list(out);
    out.flush();
    return finish(code, job);
}
