#include "HeadlessEnvironment.h"

#include <QByteArray>
#include <QtGlobal>
#include <sys/stat.h>
#include <unistd.h>

namespace KRML_ReportGen {

void HeadlessEnvironment::prepare()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/krml-runtime-" + QByteArray::number(uint(getuid()));
        ::mkdir(dir.constData(), 0700);
        ::chmod(dir.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
}

} // namespace KRML_ReportGen
