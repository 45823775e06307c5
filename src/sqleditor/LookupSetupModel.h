#pragma once

#include "ReportDefinition.h"

#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

class DbConnection;
class UserPrompts;

// "Lookup Parameter Setup" without its window: the two tabs ("Basic
// Setup": a table and two of its fields; "Advanced Setup": free SQL and two
// field names), the choice of a table filling the field lists, the
// properties callers read and set, and the check "OK" makes.
class LookupSetupModel
{
public:
    static QString caption() { return QStringLiteral("Lookup Parameter Setup"); }
    static QString problemMessage(const QString &field)
    {
        return QStringLiteral("There was a problem evaluating the ") + field + QStringLiteral(". Please review this field and try again.");
    }

    // Opening: the basic tab, the tables of the reference list, the first
    // table chosen with its first fields.
    LookupSetupModel(DbConnection &connection, const QStringList &tables);

    // Basic tab.
    const QStringList &tables() const { return m_tables; }
    const QStringList &fields() const { return m_fields; }
    int tableIndex() const { return m_table; }
    int displayIndex() const { return m_display; }
    int returnIndex() const { return m_return; }
    // Fills both field lists from "SELECT * FROM " + the table; both select
    // their first entry. A table that cannot be read leaves them empty.
    void chooseTable(int index);
    void chooseDisplayField(int index) { m_display = index; }
    void chooseReturnField(int index) { m_return = index; }

    // The properties, as the SQL editor reads and sets them (SQL first,
    // then Mode, then the fields).
    qint16 Mode() const { return m_mode; }
    void setMode(qint16 mode);
    QString SQL() const { return m_sql; }
    void setSQL(const QString &sql) { m_sql = sql; }
    QString DisplayField() const { return m_displayField; }
    void setDisplayField(const QString &field);
    QString ReturnField() const { return m_returnField; }
    void setReturnField(const QString &field);

    // "OK": on the basic tab the SQL and field boxes are filled from the
    // choices; the SQL is tried and both fields read from its first row.
    // False (the window stays open) after a message; true when it may close.
    bool ok(UserPrompts &prompts);

    ReportDefinition::Lookup result() const { return {m_mode, m_displayField, m_returnField, m_sql}; }

private:
    static int indexOf(const QStringList &list, const QString &text);

    DbConnection &m_connection;
    QStringList m_tables;
    QStringList m_fields;
    int m_table = -1;
    int m_display = -1;
    int m_return = -1;
    qint16 m_mode = 1;
    QString m_sql;
    QString m_displayField;
    QString m_returnField;
};

} // namespace KRML_ReportGen
