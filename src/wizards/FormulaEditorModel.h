#pragma once

#include "BoundStatement.h"
#include "MemoryRecordset.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace KRML_ReportGen {

class DbConnection;
class FileService;
class UserPrompts;

// The formula editor without its window: the statements of the working
// report SQL file, a statement's fields listed with dummy parameter values
// (LoadJustDBFields), the function names, and what a drop inserts where.
class FormulaEditorModel
{
public:
    static QString caption() { return QStringLiteral("Form1"); }
    static QStringList functions();

    FormulaEditorModel(FileService &files, UserPrompts &prompts, DbConnection &connection);

    QStringList statements() const; // FillStatementList
    // The fields of a statement; the previous list when the file is not a
    // report SQL file ("This is not a valid Marlowen Report") or the
    // statement fails even with dummy values (told to the user).
    QStringList LoadJustDBFields(const QString &statement, const QStringList &previous = QStringList());
    // The statement with every marker bound to its dummy value; nothing
    // when the file is not a report SQL file.
    std::optional<BoundStatement> dummyStatement(const QString &statement);
    // The first rows of a statement run with its dummy values, for a
    // sample result; nothing, without a message, when it cannot run.
    std::optional<MemoryRecordset> sampleRows(const QString &statement, int maxRows = 1000);

    // A drop at offset of the formula text: a field as {statement.field},
    // a function as its bare name (Round{}).
    static QString dropField(const QString &formula, int offset, const QString &statement, const QString &field);
    static QString dropFunction(const QString &formula, int offset, const QString &function);

    QString curFormula;

private:
    FileService &m_files;
    UserPrompts &m_prompts;
    DbConnection &m_connection;
};

} // namespace KRML_ReportGen
