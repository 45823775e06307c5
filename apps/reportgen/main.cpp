// reportgen: renders layout packages without a window.
//
//   reportgen render PACKAGE.lrd -o OUT.pdf|OUT.png|OUT.svg|OUT.xlsx|OUT.html|OUT.csv [--format SUFFIX] [--connection STRING]
//                    [--param NAME=VALUE]... [--dpi N] [--png-compression N] [--page N | --one-page] [--codepage N]
//                    [--pdfa] [--author NAME] [--encoding utf-8|codepage] [--raw] [--timeout S]
//   reportgen list PACKAGE.lrd [--connection STRING] [--param NAME=VALUE]... [--codepage N] [--timeout S]

#include "ReportJob.h"

#include "CodePage.h"
#include "HeadlessEnvironment.h"
#include "KRMLReportGenVersion.h"
#include "PasswordMask.h"
#include "ModuleState.h"
#include "StatementLimits.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

using namespace KRML_ReportGen;

static int finish(ReportJob::Exit code, const ReportJob &job)
{
    if (code != ReportJob::Ok)
        std::fprintf(stderr, "reportgen: %s\n", qPrintable(PasswordMask::hide(job.error())));
    return code;
}

int main(int argc, char **argv)
{
    HeadlessEnvironment::prepare();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("reportgen"));
    // The control's version as OCXVersion gives it: major.minor.revision.
    QGuiApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                               .arg(KRML_REPORTGEN_VERSION_MAJOR)
                                               .arg(KRML_REPORTGEN_VERSION_MINOR)
                                               .arg(KRML_REPORTGEN_VERSION_REVISION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders KRML ReportGen layout packages (.lrd) to PDF, PNG, SVG, Excel workbooks, web pages or CSV."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("render or list"));
    parser.addPositionalArgument(QStringLiteral("package"), QStringLiteral("the layout package (.lrd)"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The file to write: .pdf, .png, .svg, .xlsx, .html or .csv."), QStringLiteral("file"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("The format to write, by its suffix (pdf, png, svg, xlsx, html, csv), whatever the "
                                                   "output file's name ends in."),
                                    QStringLiteral("suffix"));
    const QCommandLineOption pdfA(QStringLiteral("pdfa"), QStringLiteral("PDF: write PDF/A-1b, for archiving."));
    const QCommandLineOption author(QStringLiteral("author"), QStringLiteral("PDF: the document's author (default: the user's name)."),
                                    QStringLiteral("name"));
    const QCommandLineOption encoding(QStringLiteral("encoding"),
                                      QStringLiteral("CSV: utf-8 (with a byte order mark, the default) or codepage (the code page "
                                                     "of --codepage)."),
                                      QStringLiteral("name"), QStringLiteral("utf-8"));
    const QCommandLineOption raw(QStringLiteral("raw"),
                                 QStringLiteral("CSV: values as programs read them (1234.5, 2024-03-15, true) instead of as the "
                                                "report prints them."));
    const QCommandLineOption connection(QStringLiteral("connection"),
                                        QStringLiteral("The connection string to use instead of the package's own."),
                                        QStringLiteral("string"));
    const QCommandLineOption param(QStringLiteral("param"),
                                   QStringLiteral("A parameter value (repeatable); for a lookup, its name or its return field."),
                                   QStringLiteral("NAME=VALUE"));
    const QCommandLineOption dpi(QStringLiteral("dpi"), QStringLiteral("Resolution of PNG output (default 150)."),
                                 QStringLiteral("n"), QStringLiteral("150"));
    const QCommandLineOption pngCompression(QStringLiteral("png-compression"),
                                            QStringLiteral("PNG compression, 0 (fastest, largest) to 9 (smallest); "
                                                           "default 6."),
                                            QStringLiteral("n"));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")}, QStringLiteral("No progress output."));
    const QCommandLineOption paginate(QStringLiteral("paginate"),
                                      QStringLiteral("Lists longer than the page continue on further pages (the default; "
                                                     "PNG and SVG: one file per page, OUT-1.png, OUT-2.png ...)."));
    const QCommandLineOption onePage(QStringLiteral("one-page"),
                                     QStringLiteral("One page, as the legacy preview shows it: lists that pass the page's "
                                                    "foot are cut there (and said so on stderr)."));
    const QCommandLineOption page(QStringLiteral("page"), QStringLiteral("Only this page."), QStringLiteral("n"));
    const QCommandLineOption codePage(QStringLiteral("codepage"),
                                      QStringLiteral("The Windows code page the package's text files were written in "
                                                     "(default 1252; 874, 932, 936, 949, 950, 1250 to 1258)."),
                                      QStringLiteral("n"), QStringLiteral("1252"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     QStringLiteral("The longest one statement may run, in seconds (default 300; 0: no limit)."),
                                     QStringLiteral("seconds"), QString::number(StatementLimits::DefaultTimeoutSeconds));
    parser.addOptions({output, format, connection, param, dpi, pngCompression, quiet, paginate, onePage, page, codePage, timeout, pdfA,
                       author, encoding, raw});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    ReportJob job;
    if (!args.isEmpty() && args[0] != QLatin1String("render") && args[0] != QLatin1String("list")) {
        std::fprintf(stderr, "reportgen: unknown command \"%s\"; the commands are render and list\n\n%s", qPrintable(args[0]),
                     qPrintable(parser.helpText()));
        return ReportJob::Usage;
    }
    if (args.size() != 2) {
        if (!args.isEmpty())
            std::fprintf(stderr, "reportgen: %s takes one layout package\n\n", qPrintable(args[0]));
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return ReportJob::Usage;
    }
    const bool render = args[0] == QLatin1String("render");
    if (render && !parser.isSet(output)) {
        std::fprintf(stderr, "reportgen: render needs an output file (-o OUT.pdf, OUT.png, OUT.svg, OUT.xlsx, OUT.html or OUT.csv)\n");
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
    if (parser.isSet(pngCompression)) {
        job.pngCompression = parser.value(pngCompression).toInt(&ok);
        if (!ok || job.pngCompression < 0 || job.pngCompression > 9) {
            std::fprintf(stderr, "reportgen: --png-compression takes a number from 0 to 9\n");
            return ReportJob::Usage;
        }
    }
    job.timeoutSeconds = parser.value(timeout).toInt(&ok);
    if (!ok || job.timeoutSeconds < 0) {
        std::fprintf(stderr, "reportgen: --timeout takes a number of seconds (0: no limit)\n");
        return ReportJob::Usage;
    }
    job.connectionString = parser.value(connection);
    if (parser.isSet(paginate) && parser.isSet(onePage)) {
        std::fprintf(stderr, "reportgen: --paginate and --one-page exclude each other\n");
        return ReportJob::Usage;
    }
    job.paginate = !parser.isSet(onePage);
    if (parser.isSet(page)) {
        job.page = parser.value(page).toInt(&ok);
        if (!ok || job.page < 1 || !job.paginate) {
            std::fprintf(stderr, "reportgen: --page takes a page number from 1 on, without --one-page\n");
            return ReportJob::Usage;
        }
    }
    job.progress = !parser.isSet(quiet);
    const int pageNumber = parser.value(codePage).toInt(&ok);
    if (!ok || !CodePage::isSupported(pageNumber)) {
        std::fprintf(stderr, "reportgen: --codepage takes a Windows code page: 874, 932, 936, 949, 950 or 1250 to 1258\n");
        return ReportJob::Usage;
    }
    ModuleState::current().setCodePage(pageNumber);
    job.format = parser.value(format);
    job.pdfA = parser.isSet(pdfA);
    job.author = parser.isSet(author) ? parser.value(author) : qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    job.csvRaw = parser.isSet(raw);
    const QString textEncoding = parser.value(encoding).toLower();
    if (textEncoding == QLatin1String("codepage"))
        job.csvCodePage = pageNumber;
    else if (textEncoding != QLatin1String("utf-8") && textEncoding != QLatin1String("utf8")) {
        std::fprintf(stderr, "reportgen: --encoding takes utf-8 or codepage\n");
        return ReportJob::Usage;
    }

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
        out << "(not connected: " << PasswordMask::hide(job.error()) << ")\n";
    const auto code = job.list(out);
    out.flush();
    return finish(code, job);
}
