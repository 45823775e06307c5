#include "FormulaEditorModel.h"

#include "AdoType.h"
#include "DbConnection.h"
#include "FileService.h"
#include "MsgBoxStyle.h"
#include "ParameterBinding.h"
#include "ParameterMarker.h"
#include "ReportDefinition.h"
#include "ReportError.h"
#include "ReportSqlFile.h"
#include "SqlErrorMessage.h"
#include "UserPrompts.h"
#include "clsParameter.h"

#include <QDate>

namespace KRML_ReportGen {

QStringList FormulaEditorModel::functions()
{
    return {QStringLiteral("AddTax{}"), QStringLiteral("Avg{}"), QStringLiteral("Count{}"), QStringLiteral("DateTimeFormat{}"),
            QStringLiteral("Max{}"), QStringLiteral("Min{}"), QStringLiteral("MinusTax{}"), QStringLiteral("Now"),
            QStringLiteral("Percent{}"), QStringLiteral("Round{}")};
}

FormulaEditorModel::FormulaEditorModel(FileService &files, UserPrompts &prompts, DbConnection &connection)
    : m_files(files), m_prompts(prompts), m_connection(connection)
{
}

QStringList FormulaEditorModel::statements() const
{
    return ReportSqlFile::statementNames(m_files, ReportSqlFile::workingFile());
}

std::optional<BoundStatement> FormulaEditorModel::dummyStatement(const QString &statement)
{
    const QString path = ReportSqlFile::workingFile();
    if (!m_files.fileExists(path))
        throw ReportError(ReportError::FileNotFound, QStringLiteral("File not found: '%1'").arg(path));
    ReportDefinition definition;
    const auto read = ReportSqlFile::readFile(m_files, path, definition);
    if (read.status == ReportSqlFile::ReadResult::NotValid)
        return std::nullopt;
    if (!read.ok())
        throw ReportError(ReportSqlFile::LookupInfoMissing, read.message);
    const ReportDefinition::Statement *s = definition.statement(statement);
    if (!s)
        throw ReportError(Recordset::ItemNotFound, QStringLiteral("There is no statement \"%1\".").arg(statement));
    // Values of each parameter's type that let the statement run: its
    // fields are all that is wanted.
    QStringList markers;
    QList<std::optional<BoundValue>> values;
    for (const auto &p : definition.parameters()) {
        markers << p.marker;
        std::optional<BoundValue> dummy;
        switch (ParameterMarker::typeOf(p.marker)) {
        case clsParameter::Date: dummy = BoundValue::date(QDate::currentDate()); break;
        case clsParameter::Number: dummy = BoundValue::integer(0); break;
        case clsParameter::String: dummy = BoundValue::text(QStringLiteral("a")); break;
        case clsParameter::Lookup: {
            dummy = BoundValue::text(QStringLiteral("a"));
            if (const ReportDefinition::Lookup *lookup = definition.lookup(p.keyNumber)) {
                auto rs = m_connection.openRecordset(lookup->sql);
                const int column = rs->fieldIndex(lookup->returnField);
                const int type = column >= 0 ? rs->fieldType(column) : 0;
                if (type == AdoType::Integer)
                    dummy = BoundValue::integer(0);
                else if (type == AdoType::Date)
                    dummy = BoundValue::date(QDate::currentDate());
            }
            break;
        }
        default: break;
        }
        values << dummy;
    }
    return ParameterBinding(s->sql, markers).bind(values);
}

std::optional<MemoryRecordset> FormulaEditorModel::sampleRows(const QString &statement, int maxRows)
{
    try {
        const std::optional<BoundStatement> sql = dummyStatement(statement);
        if (!sql)
            return std::nullopt;
        auto rs = m_connection.openRecordset(*sql);
        return MemoryRecordset::copyOf(*rs, maxRows);
    } catch (const ReportError &) {
        return std::nullopt;
    }
}

QStringList FormulaEditorModel::LoadJustDBFields(const QString &statement, const QStringList &previous)
{
    try {
        const std::optional<BoundStatement> sql = dummyStatement(statement);
        if (!sql) {
            m_prompts.msgBox(ReportSqlFile::notValidMessage(), MsgBoxStyle::Information);
            return previous;
        }
        auto rs = m_connection.openRecordset(*sql);
        QStringList fields;
        for (int c = 0; c < rs->fieldCount(); ++c)
            fields << rs->fieldName(c);
        return fields;
    } catch (const ReportError &e) {
        m_prompts.msgBox(SqlErrorMessage::text(e), SqlErrorMessage::style, SqlErrorMessage::title());
        return previous;
    }
}

QString FormulaEditorModel::dropField(const QString &formula, int offset, const QString &statement, const QString &field)
{
    const int at = std::clamp(offset, 0, int(formula.size()));
    return formula.left(at) + QLatin1Char('{') + statement + QLatin1Char('.') + field + QLatin1Char('}') + formula.mid(at);
}

QString FormulaEditorModel::dropFunction(const QString &formula, int offset, const QString &function)
{
    const int at = std::clamp(offset, 0, int(formula.size()));
    return formula.left(at) + function + formula.mid(at);
}

} // namespace KRML_ReportGen
