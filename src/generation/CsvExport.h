#pragma once

#include <QString>
#include <functional>
#include <QStringList>

namespace KRML_ReportGen {

class ReportGenerator;
class LayoutPage;
class Recordset;

// The rows of every statement the report draws in lists, one CSV file per
// statement beside the name asked for (OUT.csv gives OUT-Orders.csv,
// OUT-Customers.csv ...): a header row of the column names, then every row
// the statement gave. Lines end in CR LF, fields are quoted where they need
// it. Text is UTF-8 with a byte order mark, or a Windows code page.
class CsvExport
{
public:
    struct Options
    {
        int codePage = 0; // 0: UTF-8 with a byte order mark
        bool raw = false; // values as a program reads them, not as the report prints them
    };

    // Lays the report out and writes the files; returns them. A failure
    // leaves none of them behind.
    static QStringList write(ReportGenerator &generator, const LayoutPage &page, const QString &path, const Options &options);

    // OUT.csv and "Orders" give OUT-Orders.csv; characters a file name
    // cannot hold become "_".
    static QString fileFor(const QString &path, const QString &statement);
    // One statement's rows as CSV text, before encoding; rowDone is told
    // after each row (and may stop the run by throwing).
    static QString text(Recordset &rows, bool raw, const std::function<void()> &rowDone = {});
};

} // namespace KRML_ReportGen
