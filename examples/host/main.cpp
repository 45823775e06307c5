// reporthost: a host application of the KRML ReportGen control.
//
//   reporthost --database FILE [--app-folder DIR] [PACKAGE.lrd]
//   reporthost --render OUT.png --database FILE PACKAGE.lrd
//
// With --render it opens the package, previews it and writes the control as
// it shows the preview to OUT.png, then ends (0 done, 1 usage, 2 the package
// did not open, 3 the preview failed or stayed blank, 4 it took too long).

#include "HostWindow.h"

#include <KRMLReportGen/ReportError.h>
#include <KRMLReportGen/ReportGenOCX.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

using namespace KRML_ReportGen;

namespace {

// Pixels that differ from the top-left one: a preview with a report on it
// has many.
int drawnPixels(const QImage &image)
{
    const QRgb background = image.pixel(0, 0);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != background;
    return count;
}

int render(HostWindow &window, const QString &package, const QString &output)
{
    if (!window.openPackage(package)) {
        std::fprintf(stderr, "reporthost: %s did not open\n", qPrintable(package));
        return 2;
    }
    ReportGenOCX *report = window.report();
    try {
        report->ShowPreview();
    } catch (const ReportError &e) {
        std::fprintf(stderr, "reporthost: the preview failed: %s\n", qPrintable(e.description()));
        return 3;
    }
    QCoreApplication::processEvents();
    const QImage shot = report->grab().toImage();
    const int drawn = drawnPixels(shot);
    if (!shot.save(output)) {
        std::fprintf(stderr, "reporthost: cannot write %s\n", qPrintable(output));
        return 3;
    }
    std::printf("%s: %dx%d, %d pixels drawn, control version %s\n", qPrintable(output), shot.width(), shot.height(), drawn,
                qPrintable(report->OCXVersion()));
    return drawn > 1000 ? 0 : 3;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("reporthost"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A host application of the KRML ReportGen control."));
    parser.addHelpOption();
    const QCommandLineOption appFolder(QStringLiteral("app-folder"), QStringLiteral("The control's application folder."),
                                       QStringLiteral("dir"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("The SQLite database to connect to."),
                                      QStringLiteral("file"));
    const QCommandLineOption renderTo(QStringLiteral("render"),
                                      QStringLiteral("Preview the package, write the control's picture and end."),
                                      QStringLiteral("png"));
    parser.addOptions({appFolder, database, renderTo});
    parser.addPositionalArgument(QStringLiteral("package"), QStringLiteral("A layout package (.lrd) to open."),
                                 QStringLiteral("[package]"));
    parser.process(app);
    const QStringList packages = parser.positionalArguments();
    if (packages.size() > 1 || !parser.isSet(database) || (parser.isSet(renderTo) && packages.isEmpty())) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 1;
    }

    QString folder = parser.value(appFolder);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);

    try {
        HostWindow window(folder, QFileInfo(parser.value(database)).absoluteFilePath());
        window.show();
        if (parser.isSet(renderTo)) {
            // A window that waits for an answer nobody gives ends the run.
            QTimer::singleShot(120000, &app, [] {
                std::fprintf(stderr, "reporthost: no result after two minutes\n");
                std::exit(4);
            });
            return render(window, QFileInfo(packages.first()).absoluteFilePath(), parser.value(renderTo));
        }
        if (!packages.isEmpty())
            window.openPackage(QFileInfo(packages.first()).absoluteFilePath());
        return app.exec();
    } catch (const ReportError &e) {
        std::fprintf(stderr, "reporthost: error %d: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
}
