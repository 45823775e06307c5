#include "DbProviders.h"

#include "ProviderErrors.h"
#include "MdbImportProcess.h"
#include "MdbImporter.h"
#include "PathNames.h"
#include "QtSqlEngine.h"
#include "SqliteEngine.h"

namespace KRML_ReportGen {

void DbProviders::add(const QStringList &providerNames, Opener opener)
{
    m_entries.append({providerNames, std::move(opener)});
}

std::unique_ptr<DbEngine> DbProviders::open(const QString &connectionString) const
{
    const ConnectionString cs(connectionString);
    QString provider = cs.provider().trimmed();
    if (provider.isEmpty())
        provider = QStringLiteral("MSDASQL"); // what an OLE DB string without a provider means
    bool named = false;
    for (const Entry &e : m_entries) {
        if (!e.names.contains(provider, Qt::CaseInsensitive))
            continue;
        named = true;
        if (auto engine = e.opener(cs))
            return engine;
    }
    if (named)
        throw ProviderErrors::unrecognizedFormat(cs.dataSource());
    throw ProviderErrors::providerNotFound(provider);
}

const DbProviders &DbProviders::standard()
{
    // Built once and never changed afterwards: a table of functions, not state.
    static const DbProviders providers = [] {
        DbProviders p;
        p.add({QStringLiteral("SQLite"), QStringLiteral("SQLite3")},
              [](const ConnectionString &cs) { return SqliteEngine::open(cs, SqliteEngine::AnyFile); });
        const QStringList jet{QStringLiteral("Microsoft.Jet.OLEDB.4.0"), QStringLiteral("Microsoft.Jet.OLEDB.3.51"),
                              QStringLiteral("Microsoft.ACE.OLEDB.12.0"), QStringLiteral("Microsoft.ACE.OLEDB.16.0")};
        p.add(jet, [](const ConnectionString &cs) { return SqliteEngine::open(cs, SqliteEngine::SqliteFilesOnly); });
        // An Access file itself: converted in a helper process, read-only.
        p.add(jet, [](const ConnectionString &cs) -> std::unique_ptr<DbEngine> {
            const QString path = PathNames::resolve(cs.dataSource().trimmed());
            if (!MdbImporter::isAccessFile(path))
                return nullptr;
            return MdbImportProcess::open(path);
        });
        p.add({QStringLiteral("PostgreSQL"), QStringLiteral("PostgreSQL.1"), QStringLiteral("PGNP.1")},
              [](const ConnectionString &cs) { return QtSqlEngine::openPostgreSql(cs); });
        p.add({QStringLiteral("MSDASQL"), QStringLiteral("MSDASQL.1")},
              [](const ConnectionString &cs) { return QtSqlEngine::openOdbc(cs); });
        return p;
    }();
    return providers;
}

} // namespace KRML_ReportGen
