#pragma once

#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

class ConnectionString;

// The connection dialog behind EditCnn and NewCnn (on this platform there
// is no data-link dialog): a provider and its fields, the connection string
// they make, and a connection test. Parsing a string fills the fields;
// keys the dialog does not show are kept and written back.
class ConnectionDialogModel
{
public:
    enum Provider { Sqlite, Access, PostgreSql, Odbc };
    enum Field { File, Host, Port, Database, User, Password, Dsn, Driver, FieldCount };

    static QString caption() { return QStringLiteral("Data Link Properties"); }
    static QStringList providerNames();
    // The fields a provider shows.
    static QList<Field> fieldsOf(Provider provider);
    static QString fieldCaption(Field field);

    ConnectionDialogModel() = default;
    // EditCnn: the dialog opens on a string's parsed fields.
    explicit ConnectionDialogModel(const QString &connectionString);

    Provider provider() const { return m_provider; }
    void setProvider(Provider provider) { m_provider = provider; }
    QString field(Field f) const { return m_fields[f]; }
    void setField(Field f, const QString &value) { m_fields[f] = value; }

    // The connection string of the provider and fields (plus the keys of
    // the parsed string the fields do not cover).
    QString connectionString() const;
    // Opens a connection with it: "Test connection succeeded." or the
    // provider's error as "Test connection failed: " + number + description.
    QString test() const;
    static QString successMessage() { return QStringLiteral("Test connection succeeded."); }

private:
    Provider m_provider = Sqlite;
    QString m_fields[FieldCount];
    QList<QPair<QString, QString>> m_extra; // keys of the parsed string not shown
};

} // namespace KRML_ReportGen
