#pragma once

#include "MdbImporter.h"

#include <QString>
#include <memory>

namespace KRML_ReportGen {

class SqliteEngine;

// Opens Access files without letting them near the host: the conversion to
// an embedded database (MdbImporter) runs in the helper program
// krml-mdbimport, under limits on its memory, processor time, output file
// and messages, and writes a SQLite file that is then opened read-only. A
// crash, a hang or a limit in the helper becomes an error, "The Access
// file … is damaged: …". Converted files are kept in the user's cache
// folder under the Access file's path, size and modification time, so the
// next report on the same file does not convert it again.
//
// The helper is looked for in KRML_MDBIMPORT (a path), beside the running
// program or the library holding this code (and in ../libexec from
// there), in the folder it is installed in (libexec), then in the build
// tree.
class MdbImportProcess
{
public:
    struct Limits
    {
        qint64 memoryBytes = 2048LL * 1024 * 1024; // address space
        int cpuSeconds = 120;
        int wallSeconds = 180;
        qint64 fileBytes = 4096LL * 1024 * 1024; // the converted database
        qint64 messageBytes = 1024 * 1024;       // warnings the reader may print
    };

    // The Access file as a read-only embedded database, its saved queries
    // usable by name; what became of them in savedQueries.
    static std::unique_ptr<SqliteEngine> open(const QString &accessPath, MdbImporter::SavedQueries *savedQueries = nullptr);
    // The converted database of an Access file: from the cache, or made now.
    static QString convertedFile(const QString &accessPath, const Limits &limits);
    // Runs the helper once, converting into target (which must not exist).
    static void convert(const QString &accessPath, const QString &target, const Limits &limits);

    static QString helperPath();
    static QString cacheFolder();
    // Raised into the converted files' names: a newer conversion never
    // takes an older one's file.
    static constexpr int FormatVersion = 2;
};

} // namespace KRML_ReportGen
