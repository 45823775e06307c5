// krml-mdbimport: converts an Access file into a SQLite database file.
//
//   krml-mdbimport ACCESS.mdb TARGET.sqlite
//
// The programs and the control run it (MdbImportProcess) rather than
// reading Access files themselves: the reader trusts the file it reads, and
// a damaged one may crash it or keep it busy for ever. Exit codes: 0 done,
// 1 usage, 3 the file could not be read (why on standard output). Warnings
// go to standard error.

#include "MdbImporter.h"
#include "ReportError.h"

#include <QString>
#include <cstdio>

using namespace KRML_ReportGen;

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: krml-mdbimport ACCESS.mdb TARGET.sqlite\n");
        return 1;
    }
    try {
        MdbImporter::convert(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), [](const QString &warning) {
            std::fprintf(stderr, "krml-mdbimport: %s\n", warning.toLocal8Bit().constData());
        });
    } catch (const ReportError &e) {
        std::fprintf(stdout, "%s\n", e.description().toLocal8Bit().constData());
        return 3;
    }
    return 0;
}
