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
    // The value text of a Date, Number or String parameter: the host's, or
    // the value source's; fails with MissingParameterValue.
    QString valueFor(const clsParameter &parameter);
    // The value text as the parameter's type reads it (a date, a number, text).
    QVariant typed(const clsParameter &parameter, const QString &text);
    QString literalFor(const clsParameter &parameter);
    // A statement's own parameters (a PARAMETERS declaration, or a saved
    // query it reads that asks for a value) take their values the same way.
    QVariant namedValue(const QString &name, const QString &declaredType);
    std::unique_ptr<Recordset> openWithNamedValues(const QString &sql);

    const FileService &m_files;
    UserPrompts &m_prompts;
    StatementCache *m_cache = nullptr;
    ValueSource m_valueSource;
};

} // namespace KRML_ReportGen
