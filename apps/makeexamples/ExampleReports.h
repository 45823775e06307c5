#pragma once

#include <QString>

namespace KRML_ReportGen {

class FileService;
class TempNameService;

// Builds the example database and the example report packages with the
// system's own page model, report SQL file and package writer.
class ExampleReports
{
public:
    ExampleReports(FileService &files, TempNameService &tempNames);

    // The sales database from its SQL script (an existing file is replaced).
    void buildDatabase(const QString &script, const QString &databasePath);
    // The example packages into folder; each stores the connection
    // "Provider=SQLite;Data Source=sales.db", found beside the package.
    void buildPackages(const QString &folder);

private:
    void salesByRegion(const QString &path);
    void customerList(const QString &path);
    void ordersSince(const QString &path);
    void dailySales(const QString &path);
    void orderTotals(const QString &path);

    FileService &m_files;
    TempNameService &m_tempNames;
};

} // namespace KRML_ReportGen
