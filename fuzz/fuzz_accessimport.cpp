// A whole Access file through the import helper: one of the third-party
// test files (../shared/testdata/mdb, never copied into the corpus) with
// bytes changed as the input says, converted in the helper process under
// tight limits. The host side must always come back, with a database it
// can open read-only or with the error that names the file as damaged.
// Input: one byte choosing the file, then records of a 4-byte offset
// (little endian, taken modulo the file's size) and one byte to put there.
#include "DbConnection.h"
#include "MdbImportProcess.h"
#include "ReportError.h"
#include "SqliteEngine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList files{QStringLiteral("northwind-jet4.mdb"), QStringLiteral("nwind-jet3.mdb"),
                                   QStringLiteral("DateTestDatabase.mdb"), QStringLiteral("testV1997.mdb")};
    static QList<QByteArray> originals = [] {
        QList<QByteArray> all;
        for (const QString &name : files) {
            QFile f(QStringLiteral(KRML_SOURCE_DIR "/../shared/testdata/mdb/") + name);
            all << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        }
        return all;
    }();
    static QTemporaryDir work;
    if (size < 1)
        return 0;
    QByteArray bytes = originals[data[0] % originals.size()];
    if (bytes.isEmpty())
        return 0; // the test data is not there
    for (size_t i = 1; i + 5 <= size && i < 1 + 5 * 64; i += 5) {
        const quint32 offset = quint32(data[i]) | quint32(data[i + 1]) << 8 | quint32(data[i + 2]) << 16 | quint32(data[i + 3]) << 24;
        bytes[qsizetype(offset % quint32(bytes.size()))] = char(data[i + 4]);
    }
    const QString source = work.filePath(QStringLiteral("input.mdb"));
    const QString target = work.filePath(QStringLiteral("output.sqlite"));
    QFile::remove(target);
    QFile f(source);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return 0;
    f.close();

    // Memory, processor and wall seconds, database and messages: tight, so
    // that a reader that loops is stopped well within the fuzzer's timeout.
    const MdbImportProcess::Limits limits{1024LL << 20, 3, 6, 64LL << 20, 64 << 10};
    try {
        MdbImportProcess::convert(source, target, limits);
        auto engine = SqliteEngine::openReadOnly(target, source);
        engine->tables();
    } catch (const ReportError &e) {
        if (!e.description().startsWith(QLatin1String("The Access file '"))
            && !e.description().startsWith(QLatin1String("Unrecognized database format")))
            __builtin_trap();
    }
    return 0;
}
