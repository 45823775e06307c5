// Connection strings, the working connection file and the data connection
// file: parsing, data-source extraction and writing back.
#include "ConnectionString.h"
#include "DataConnectionFile.h"
#include "DataSource.h"
#include "ReportError.h"
#include "WorkingConnectionFile.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const QString text = WorkingConnectionFile::parse(bytes);
    const ConnectionString cs(text);
    const ConnectionString again(cs.toString());
    if (again.pairs() != cs.pairs())
        __builtin_trap(); // what is written must read back the same
    try {
        (void)DataSource::extract(text);
    } catch (const ReportError &) {
    }
    DataConnectionFile file;
    if (file.read(bytes)) {
        DataConnectionFile back;
        if (!back.read(file.toText().toLatin1()))
            __builtin_trap();
    }
    return 0;
}
