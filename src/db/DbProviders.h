#pragma once

#include "ConnectionString.h"
#include "DbEngine.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

namespace KRML_ReportGen {

// Which engine opens which connection string. A provider is chosen by the
// connection string's "Provider" key; each entry may also look at the rest
// of the string (the Jet provider opens a SQLite file with the embedded
// engine) and decline with nullptr so the next entry is asked.
class DbProviders
{
public:
    using Opener = std::function<std::unique_ptr<DbEngine>(const ConnectionString &)>;

    void add(const QStringList &providerNames, Opener opener);
    // Opens the database a connection string names; a ReportError when no
    // provider takes it or the engine fails.
    std::unique_ptr<DbEngine> open(const QString &connectionString) const;

    // The providers of this build: the embedded engine under "SQLite"; the
    // Jet and ACE providers of legacy reports for SQLite and Access files;
    // PostgreSQL; and ODBC under "MSDASQL" (also a string without a provider).
    static const DbProviders &standard();

private:
    struct Entry
    {
        QStringList names;
        Opener opener;
    };
    QList<Entry> m_entries;
};

} // namespace KRML_ReportGen
