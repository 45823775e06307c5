#pragma once

#include <QStringList>

namespace KRML_ReportGen {

class FileService;

// The statement names of a report SQL file: every "tablename=" header but
// the closing "tablename=endreport", in file order.
class StatementCatalog
{
public:
    // Names from the file at path; when the file does not exist the list
    // stays as it was (previous is returned).
    static QStringList FillStatementList(const FileService &files, const QString &path,
                                         const QStringList &previous = QStringList());
};

} // namespace KRML_ReportGen
