#pragma once

#include <QFile>
#include <QMap>
#include <QString>

namespace KRML_ReportGen {

// The private PostgreSQL server of the test run (tests/servers/postgres-
// server.sh writes its connection.txt, named by KRML_POSTGRES_INFO). Not
// available where the server programs are not installed: the tests that
// need it skip.
class PostgresTestServer
{
public:
    PostgresTestServer()
    {
        QFile info(qEnvironmentVariable("KRML_POSTGRES_INFO"));
        if (!info.open(QIODevice::ReadOnly))
            return;
        for (const QByteArray &line : info.readAll().split('\n')) {
            const int eq = line.indexOf('=');
            if (eq > 0)
                m_info.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)).trimmed());
        }
    }
    bool available() const { return !m_info.isEmpty(); }
    // The connection string to its test database (or to another database
    // of the server), with extra keys ("ReadOnly=False").
    QString connectionString(const QString &extra = QString(), const QString &database = QString()) const
    {
        QString s = QStringLiteral("Provider=PostgreSQL;Host=%1;Port=%2;Database=%3;User ID=%4;Password=%5")
                        .arg(m_info.value(QStringLiteral("Host")), m_info.value(QStringLiteral("Port")),
                             database.isEmpty() ? m_info.value(QStringLiteral("Database")) : database,
                             m_info.value(QStringLiteral("User ID")), m_info.value(QStringLiteral("Password")));
        return extra.isEmpty() ? s : s + QLatin1Char(';') + extra;
    }
    static constexpr const char *skipMessage =
        "no PostgreSQL server for this run (tests/servers/postgres-server.sh found no server programs)";

private:
    QMap<QString, QString> m_info;
};

} // namespace KRML_ReportGen
