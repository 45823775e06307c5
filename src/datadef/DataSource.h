#pragma once

#include <QString>

namespace KRML_ReportGen {

// The data source of a connection string, and the Jet connection string
// built for a database path.
class DataSource
{
public:
    static QString jetTemplate()
    {
        return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%db%;Persist Security Info=False");
    }
    // The template with every "%db%" replaced by path.
    static QString jetConnectionString(const QString &path);
    // The value of the last "Data Source" (letter case as written): from 12
    // characters after its start up to the next ";" or the end. A string
    // without "Data Source" fails with error 5.
    static QString extract(const QString &connectionString);
};

} // namespace KRML_ReportGen
