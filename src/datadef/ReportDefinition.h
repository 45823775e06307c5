#pragma once

#include "clsParameter.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>

namespace KRML_ReportGen {

// A report's data definition as the SQL editor holds it: the parameter list
// (markers with their keys "Key" + n), the lookup details stored per key
// number, and the named statements in list order. Statement text is plain
// text. The report SQL file is written from and read into this model.
class ReportDefinition
{
public:
    struct Parameter
    {
        QString marker;
        int keyNumber = 0;
        QString key() const { return QStringLiteral("Key") + QString::number(keyNumber); }
        friend bool operator==(const Parameter &, const Parameter &) = default;
    };
    struct Lookup
    {
        qint16 mode = 1; // 1 table-based ("Basic Setup"), 2 free SQL ("Advanced Setup")
        QString displayField;
        QString returnField;
        QString sql;
        friend bool operator==(const Lookup &, const Lookup &) = default;
    };
    struct Statement
    {
        QString name;
        QString sql;
        friend bool operator==(const Statement &, const Statement &) = default;
    };

    // "&New": everything empty and the key counter back to 0.
    void clear();

    // Appends a parameter under a new key; a lookup's details are stored
    // under that key. Returns the key number.
    int addParameter(const QString &marker, const Lookup *lookup = nullptr);
    void setLookup(int keyNumber, const Lookup &lookup) { m_lookups.insert(keyNumber, lookup); }
    const Lookup *lookup(int keyNumber) const;
    void removeParameter(int index);
    void addStatement(const QString &name, const QString &sql) { m_statements.append({name, sql}); }

    const QList<Parameter> &parameters() const { return m_parameters; }
    QList<Parameter> &parameters() { return m_parameters; }
    const QList<Statement> &statements() const { return m_statements; }
    QList<Statement> &statements() { return m_statements; }
    int keyCounter() const { return m_keyCounter; }

    // The statement called name (compared exactly), or nullptr.
    const Statement *statement(const QString &name) const;
    // The parameter as a record of the shared collection.
    clsParameter record(const Parameter &parameter) const;

    friend bool operator==(const ReportDefinition &, const ReportDefinition &) = default;

private:
    QList<Parameter> m_parameters;
    QHash<int, Lookup> m_lookups;
    QList<Statement> m_statements;
    int m_keyCounter = 0;
};

} // namespace KRML_ReportGen
