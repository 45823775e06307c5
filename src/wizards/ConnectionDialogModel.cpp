#include "ConnectionDialogModel.h"

#include "ConnectionString.h"
#include "PasswordMask.h"
#include "DbConnection.h"
#include "ReportError.h"

namespace KRML_ReportGen {

namespace {

const char *const kJet = "Microsoft.Jet.OLEDB.4.0";

// The keys each field is read from (the first is the one written).
QStringList keysOf(ConnectionDialogModel::Field f, ConnectionDialogModel::Provider p)
{
    using M = ConnectionDialogModel;
    switch (f) {
    case M::File: return {QStringLiteral("Data Source")};
    case M::Host: return {QStringLiteral("Host"), QStringLiteral("Server")};
    case M::Port: return {QStringLiteral("Port")};
    case M::Database:
        return p == M::Odbc ? QStringList{QStringLiteral("Database")} : QStringList{QStringLiteral("Database"), QStringLiteral("Initial Catalog")};
    case M::User: return {QStringLiteral("User ID"), QStringLiteral("UID")};
    case M::Password: return {QStringLiteral("Password"), QStringLiteral("PWD")};
    case M::Dsn: return {QStringLiteral("DSN")};
    case M::Driver: return {QStringLiteral("Driver")};
    default: return {};
    }
}

} // namespace

QStringList ConnectionDialogModel::providerNames()
{
    return {QStringLiteral("SQLite database (embedded)"), QStringLiteral("Microsoft Access database (Jet)"),
            QStringLiteral("PostgreSQL server"), QStringLiteral("ODBC data source")};
}

QList<ConnectionDialogModel::Field> ConnectionDialogModel::fieldsOf(Provider p)
{
    switch (p) {
    case Sqlite:
    case Access: return {File};
    case PostgreSql: return {Host, Port, Database, User, Password};
    case Odbc: return {Dsn, Driver, Database, User, Password};
    }
    return {};
}

QString ConnectionDialogModel::fieldCaption(Field f)
{
    switch (f) {
    case File: return QStringLiteral("Database file");
    case Host: return QStringLiteral("Host");
    case Port: return QStringLiteral("Port");
    case Database: return QStringLiteral("Database");
    case User: return QStringLiteral("User name");
    case Password: return QStringLiteral("Password");
    case Dsn: return QStringLiteral("Data source name (DSN)");
    case Driver: return QStringLiteral("Driver");
    default: return QString();
    }
}

ConnectionDialogModel::ConnectionDialogModel(const QString &text)
{
    const ConnectionString cs(text);
    const QString provider = cs.provider().trimmed();
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0)
        m_provider = Sqlite;
    else if (provider.startsWith(QLatin1String("Microsoft.Jet"), Qt::CaseInsensitive)
             || provider.startsWith(QLatin1String("Microsoft.ACE"), Qt::CaseInsensitive))
        m_provider = Access;
    else if (provider.startsWith(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) || provider.startsWith(QLatin1String("PGNP")))
        m_provider = PostgreSql;
    else
        m_provider = Odbc;
    QStringList used{QStringLiteral("Provider")};
    for (Field f : fieldsOf(m_provider)) {
        for (const QString &key : keysOf(f, m_provider)) {
            if (cs.contains(key)) {
                m_fields[f] = cs.value(key);
                used << key;
                break;
            }
        }
    }
    for (const auto &pair : cs.pairs()) {
        const bool shown = std::any_of(used.cbegin(), used.cend(), [&](const QString &k) {
            return k.compare(pair.first.trimmed(), Qt::CaseInsensitive) == 0;
        });
        if (!shown && !pair.first.trimmed().isEmpty())
            m_extra.append(pair);
    }
}

QString ConnectionDialogModel::connectionString() const
{
    ConnectionString cs;
    switch (m_provider) {
    case Sqlite: cs.setValue(QStringLiteral("Provider"), QStringLiteral("SQLite")); break;
    case Access: cs.setValue(QStringLiteral("Provider"), QLatin1String(kJet)); break;
    case PostgreSql: cs.setValue(QStringLiteral("Provider"), QStringLiteral("PostgreSQL")); break;
    case Odbc: cs.setValue(QStringLiteral("Provider"), QStringLiteral("MSDASQL")); break;
    }
    for (Field f : fieldsOf(m_provider))
        if (!m_fields[f].isEmpty())
            cs.setValue(keysOf(f, m_provider).first(), m_fields[f]);
    for (const auto &pair : m_extra)
        if (!cs.contains(pair.first))
            cs.setValue(pair.first, pair.second);
    if (m_provider == Access && !cs.contains(QStringLiteral("Persist Security Info")))
        cs.setValue(QStringLiteral("Persist Security Info"), QStringLiteral("False"));
    return cs.toString();
}

QString ConnectionDialogModel::test() const
{
    try {
        DbConnection c(connectionString());
        c.open();
        c.close();
        return successMessage();
    } catch (const ReportError &e) {
        return QStringLiteral("Test connection failed: %1 - %2").arg(e.number()).arg(PasswordMask::hide(e.description()));
    }
}

} // namespace KRML_ReportGen
