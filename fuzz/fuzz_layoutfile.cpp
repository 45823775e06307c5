// The layout text file reader: any bytes in, a page or a ReportError out.
#include "BitmapFile.h"
#include "LayoutFile.h"
#include "LayoutPage.h"
#include "ReportError.h"

#include <QImage>

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QByteArray bitmap = [] {
        QImage img(2, 2, QImage::Format_RGB32);
        img.fill(Qt::red);
        return BitmapFile::save(img);
    }();
    LayoutPage page;
    try {
        LayoutFile::read(QByteArray(reinterpret_cast<const char *>(data), int(size)), page,
                         [](const QString &) { return bitmap; }, [](const QString &) {});
    } catch (const ReportError &) {
    }
    // Whatever was read can be written again.
    (void)LayoutFile::toText(page);
    return 0;
}
