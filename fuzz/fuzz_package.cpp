// A whole layout package: zip bytes in, a page (or the open message) out.
#include "ConsolePrompts.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "ProcessTempNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir app;
    static LocalFileService files;
    static ProcessTempNames tempNames;
    static ConsolePrompts prompts(stderr, false);
    ModuleState::current().setRdAppPath(app.path());
    const QString path = app.filePath(QStringLiteral("fuzz.lrd"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return 0;
    f.write(reinterpret_cast<const char *>(data), qint64(size));
    f.close();
    LayoutPage page;
    LayoutPackage package(files, tempNames, prompts, page);
    QString current;
    prompts.messages.clear();
    (void)package.openLayout(path, current, [&] { package.clearLayout(); });
    // Nothing may be left behind in the staging area.
    if (!QDir(tempNames.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty())
        __builtin_trap();
    return 0;
}
