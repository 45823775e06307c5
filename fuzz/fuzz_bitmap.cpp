// Picture loading: the bitmap header checks, then the platform's decoder.
#include "BitmapFile.h"
#include "ReportError.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        (void)BitmapFile::load(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    } catch (const ReportError &) {
    }
    return 0;
}
