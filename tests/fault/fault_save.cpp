// fault_save TARGET PICTURES: saves a layout package with PICTURES noisy
// pictures (and a report SQL file) to TARGET, as the control's save does,
// and prints what the user is told. Exit code 0 when the save says it is
// done, 2 when it says it failed. The fault-injection test runs it with the
// file system made to misbehave, and kills it half-way. Variables named
// AT_SAVE_X=V become X=V just before the save (the faults of faultshim
// then spare the program's own set-up).
#include "ConsolePrompts.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "ProcessTempNames.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

using namespace KRML_ReportGen;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fault_save TARGET PICTURES\n");
        return 1;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    const int pictures = QString::fromLocal8Bit(argv[2]).toInt();

    LocalFileService files;
    ProcessTempNames tempNames;
    QTemporaryDir folder;
    ModuleState &state = ModuleState::current();
    state.setRdAppPath(folder.path());
    files.createFolder(state.tempFolder());
    files.writeBytes(state.workingFile(QStringLiteral("SQL.mtq")),
                     "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\ntablename=T\r\nSELECT 1 AS X\r\ntablename=endreport");

    LayoutPage page;
    for (int i = 0; i < 5; ++i) {
        LayoutLabel &l = page.Label(page.createLabel());
        l.Caption = QStringLiteral("Label %1").arg(i);
        l.Top = float(500 * i);
        l.Visible = true;
    }
    QRandomGenerator random(pictures);
    for (int i = 0; i < pictures; ++i) {
        LayoutPicture &p = page.Pic(page.createPic());
        QImage image(256, 256, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, random.generate());
        p.Picture = image;
        p.Width = 3840;
        p.Height = 3840;
        p.Visible = true;
    }
    for (const QString &variable : QProcessEnvironment::systemEnvironment().keys())
        if (variable.startsWith(QLatin1String("AT_SAVE_")))
            qputenv(variable.mid(8).toLocal8Bit(), qgetenv(variable.toLocal8Bit().constData()));
    ConsolePrompts prompts(stdout, false);
    const auto result = LayoutPackage(files, tempNames, prompts, page).saveLayoutTo(target);
    std::fprintf(stdout, "%s\n", qPrintable(prompts.messages.join(QStringLiteral(" | "))));
    return result == LayoutPackage::Result::Done ? 0 : 2;
}
