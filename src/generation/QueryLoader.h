#pragma once

#include "BoundStatement.h"
#include "ParameterValue.h"
#include "VbCollection.h"
#include "clsParameter.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace KRML_ReportGen {

class FileService;
class Recordset;
class StatementCache;
class UserPrompts;

// Turns a statement name of the working report SQL file into an executed
// query: finds the statement, binds its parameters (lookups from their
// first rows or the host's values, the other types from the host's values),
// runs it on the shared connection, publishes it as CurrentReportSQL and
// lists the result's fields. Failures end it silently, except a parameter
// nobody gave a value for or whose value is not of its type, which the
// caller must hear about (ParameterValue::isParameterError).
class QueryLoader
{
public:
    static constexpr qint32 MissingParameterValue = ParameterValue::Missing;

    // Asked for a Date, Number or String parameter the host's collections
    // hold no value for: the value (a QDate, a number, text as the user
    // typed it), or nothing.
    using ValueSource = std::function<std::optional<QVariant>(const clsParameter &)>;
    // Told what a person running the report should know but that does not
    // stop it (a given value that was replaced).
    using Notice = std::function<void(const QString &)>;

    QueryLoader(const FileService &files, UserPrompts &prompts);

    void setCache(StatementCache *cache) { m_cache = cache; }
    void setValueSource(ValueSource source) { m_valueSource = std::move(source); }
    // Only the fields of a statement are wanted (a description of the
    // report): its rows are not fetched, and an empty result is not retried.
    void setColumnsOnly(bool on) { m_columnsOnly = on; }
    void setNotice(Notice notice) { m_notice = std::move(notice); }

    // The statement names of the working report SQL file (previous when it
    // does not exist).
    QStringList FillStatementList(const QStringList &previous = QStringList()) const;
    // Always returns the empty text; the results are CurrentReportSQL, the
    // parameter collections and fieldList. firstQueryPending: the first
    // data list of a report run, for which a lookup whose value gives no
    // rows is tried with its next rows.
    QString RunReportQuery(const QString &statementName, QStringList &fieldList, bool firstQueryPending = false);
    // CurrentReportSQL after RunReportQuery: the statement with its values.
    BoundStatement GetStatementSQL(const QString &statementName, QStringList &fieldList, bool connectionFlag = true,
                                   bool firstQueryPending = false);
    // 1-based position of the first item equal to value, 0 when none.
    static int FindInCollection(const VariantCollection &collection, const QVariant &value);

    // Opens a statement on the shared connection (through the run's cache).
    std::unique_ptr<Recordset> open(const BoundStatement &statement);

private:
    void runQuery(const QString &statementName, QStringList &fieldList, bool firstQueryPending);
    BoundValue valueFor(const clsParameter &parameter);
    BoundValue givenLookupValue(const clsParameter &parameter, const QVariant &given, int returnType);
    // A statement's own parameters (a PARAMETERS declaration, or a saved
    // query it reads that asks for a value) take their values the same way.
    BoundValue namedValue(const QString &name, const QString &declaredType);
    // Opens the statement (only its fields, when columns only are asked
    // for) with those values given to the connection.
    std::unique_ptr<Recordset> openWithNamedValues(const BoundStatement &statement);

    const FileService &m_files;
    UserPrompts &m_prompts;
    StatementCache *m_cache = nullptr;
    ValueSource m_valueSource;
    bool m_columnsOnly = false;
    Notice m_notice;
};

} // namespace KRML_ReportGen
