#include "DataSource.h"

#include "ReportError.h"

namespace KRML_ReportGen {

QString DataSource::jetConnectionString(const QString &path)
{
    QString s = jetTemplate();
    s.replace(QLatin1String("%db%"), path, Qt::CaseSensitive);
    return s;
}

QString DataSource::extract(const QString &connectionString)
{
    const int at = connectionString.lastIndexOf(QLatin1String("Data Source"), -1, Qt::CaseSensitive);
    if (at < 0)
        throw ReportError(ReportError::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument: the connection string names no \"Data Source\""));
    const int start = at + 12;
    const int semi = connectionString.indexOf(QLatin1Char(';'), start);
    return connectionString.mid(start, semi < 0 ? -1 : semi - start);
}

} // namespace KRML_ReportGen
