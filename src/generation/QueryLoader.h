#pragma once

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
// query: finds the statement, substitutes its parameters (lookups from their
// first rows or the host's values, the other types from the host's values),
// runs it on the shared connection, publishes the text as CurrentReportSQL
// and lists the result's fields. Failures end it silently, except a
// parameter nobody gave a value for, which the caller must hear about.
class QueryLoader
{
public:
    static constexpr qint32 MissingParameterValue = 449;

    // Asked for a Date, Number or String parameter the host's collections
    // hold no value for; the text as the user would type it, or nothing.
    using ValueSource = std::function<std::optional<QString>(const clsParameter &)>;

    QueryLoader(const FileService &files, UserPrompts &prompts);

    void setCache(StatementCache *cache) { m_cache = cache; }
    void setValueSource(ValueSource source) { m_valueSource = std::move(source); }
    // Only the fields of a statement are wanted (a description of the
    // report): its rows are not fetched, and an empty result is not retried.
    void setColumnsOnly(bool on) { m_columnsOnly = on; }

    // The statement names of the working report SQL file (previous when it
    // does not exist).
    QStringList FillStatementList(const QStringList &previous = QStringList()) const;
    // Always returns the empty text; the results are CurrentReportSQL, the
    // parameter collections and fieldList.
    QString RunReportQuery(const QString &statementName, QStringList &fieldList);
    QString GetStatementSQL(const QString &statementName, QStringList &fieldList, bool connectionFlag = true);
    // 1-based position of the first item equal to value, 0 when none.
    static int FindInCollection(const VariantCollection &collection, const QVariant &value);

    // Opens a statement on the shared connection (through the run's cache).
    std::unique_ptr<Recordset> open(const QString &sql);

    static QString workingFile();

private:
    void runQuery(const QString &statementName, QStringList &fieldList);
    QString literalFor(const clsParameter &parameter);

    const FileService &m_files;
    UserPrompts &m_prompts;
    StatementCache *m_cache = nullptr;
    ValueSource m_valueSource;
    bool m_columnsOnly = false;
};

} // namespace KRML_ReportGen
