#include "StatementTrial.h"

#include "CsvText.h"
#include "DbConnection.h"
#include "FileService.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ParameterBinding.h"
#include "ParameterMarker.h"
#include "ParameterValue.h"
#include "ReportError.h"
#include "ReportParameterPrompt.h"
#include "SqlEditorDialogs.h"
#include "SqlEditorModel.h"
#include "SqlErrorMessage.h"
#include "UserPrompts.h"
#include "ValueText.h"
#include "clsParameter.h"

#include <QDate>

namespace KRML_ReportGen {

namespace {

DbConnection &connectionOf(SqlEditorModel &model)
{
    if (!model.connection())
        throw ReportError(DbConnection::OperationNotAllowedWhenClosed,
                          QStringLiteral("Operation is not allowed when the object is closed."));
    DbConnection &c = *model.connection();
    if (c.state() == DbConnection::Closed && !c.connectionString().isEmpty())
        c.open();
    return c;
}

} // namespace

BoundStatement StatementTrial::bound(const QList<std::optional<BoundValue>> &values) const
{
    QStringList markers;
    for (const auto &parameter : m_model.definition().parameters())
        markers << parameter.marker;
    return ParameterBinding(m_model.sqlText(), markers).bind(values);
}

BoundStatement StatementTrial::trialStatement() const
{
    SqlEditorModel &model = m_model;
    const auto &parameters = model.definition().parameters();
    QList<std::optional<BoundValue>> values(parameters.size());
    for (int k = 0; k < parameters.size(); ++k) {
        const auto &parameter = parameters[k];
        switch (ParameterMarker::typeOf(parameter.marker)) {
        case clsParameter::Date: values[k] = BoundValue::date(QDate::currentDate()); break;
        case clsParameter::Number: values[k] = BoundValue::integer(1); break;
        case clsParameter::String: values[k] = BoundValue::text(QStringLiteral(" ")); break;
        case clsParameter::Lookup: {
            const ReportDefinition::Lookup *lookup = model.definition().lookup(parameter.keyNumber);
            if (!lookup)
                break; // no details: the marker stays
            auto rs = connectionOf(model).openRecordset(lookup->sql);
            const int column = rs->fieldIndex(lookup->returnField);
            if (column < 0)
                throw ReportError(Recordset::ItemNotFound,
                                  QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
            const QVariant value = rs->field(column).value;
            values[k] = ParameterValue::forColumnType(value, rs->fieldType(column)).value_or(BoundValue::fromVariant(value));
            break;
        }
        default: break;
        }
    }
    return bound(values);
}

bool StatementTrial::checkSql()
{
    m_model.CheckSyntax();
    UserPrompts &prompts = m_model.prompts();
    BoundStatement statement;
    try {
        statement = trialStatement();
        (void)connectionOf(m_model).openRecordset(statement);
    } catch (const ReportError &e) {
        prompts.msgBox(SqlErrorMessage::text(e), SqlErrorMessage::style, SqlErrorMessage::title());
        return false;
    }
    QString message = successMessage();
    if (ModuleState::current().devMode())
        message += QStringLiteral("\r\n\r\n") + statement.displayText();
    prompts.msgBox(message, MsgBoxStyle::Information);
    return true;
}

bool StatementTrial::preview()
{
    UserPrompts &prompts = m_model.prompts();
    try {
        const auto &parameters = m_model.definition().parameters();
        QList<std::optional<BoundValue>> values(parameters.size());
        for (int k = 0; k < parameters.size(); ++k) {
            const auto &parameter = parameters[k];
            const int type = ParameterMarker::typeOf(parameter.marker);
            ReportParameterPrompt prompt;
            prompt.setReportParameterType(type);
            if (type == clsParameter::Date)
                prompt.setInitialDate(QDate::currentDate());
            else if (type == clsParameter::String)
                prompt.setInitialString(QString());
            else if (type == clsParameter::Lookup) {
                const ReportDefinition::Lookup *lookup = m_model.definition().lookup(parameter.keyNumber);
                if (lookup) {
                    auto rs = connectionOf(m_model).openRecordset(lookup->sql);
                    prompt.LoadLookupValues(*rs, lookup->displayField, lookup->returnField);
                }
            }
            prompt.setMessageTitle(ReportParameterPrompt::titlePrefix() + ParameterMarker::nameOf(parameter.marker));
            if (!m_dialogs.askParameterValue(prompt))
                return false; // closed without "OK": the preview is cancelled
            values[k] = prompt.value();
        }
        const BoundStatement statement = bound(values);
        ModuleState::current().setCurrentReportSQL(statement);
        m_results = connectionOf(m_model).openRecordset(statement);
        return true;
    } catch (const ReportError &e) {
        prompts.msgBox(previewErrorPrefix() + QString::number(e.number()) + QStringLiteral(" - ") + e.description()
                           + QStringLiteral("\r\n\r\n") + SqlErrorMessage::supportLine(),
                       MsgBoxStyle::OKOnly);
        return false;
    }
}

QString StatementTrial::recordCountText() const
{
    return QStringLiteral("RecordCount: ") + QString::number(m_results ? m_results->recordCount() : 0);
}

QByteArray StatementTrial::csvLine(const Recordset &rs)
{
    QString line;
    for (int f = 0; f < rs.fieldCount(); ++f) {
        if (f > 0)
            line += QLatin1Char(',');
        const QVariant value = rs.field(f).value;
        if (value.isNull())
            continue;
        line += CsvText::field(ValueText::of(value));
    }
    return ModuleState::current().codec().encode(line);
}

bool StatementTrial::exportResults(const std::function<void(int, const QString &)> &progress)
{
    UserPrompts &prompts = m_model.prompts();
    if (!m_results || m_results->state() != Recordset::Open) {
        prompts.msgBox(nothingToExportMessage(), MsgBoxStyle::Information);
        return false;
    }
    const QString path = prompts.saveFileName(QString(), exportFilter(), 2, QString());
    if (path.isEmpty())
        return false;
    const auto report = [&](int value) {
        if (progress)
            progress(value, QString::number(value / 100.0, 'f', 2));
    };
    Recordset &rs = *m_results;
    const qint64 fields = rs.fieldCount();
    const qint64 total = qint64(rs.recordCount()) * fields;
    QByteArray bytes;
    report(0);
    qint64 r = 1;
    if (rs.recordCount() > 0)
        rs.moveFirst();
    try {
        // A value the code page cannot hold stops the export with its
        // message; nothing is written.
        for (; !rs.isEOF(); rs.moveNext(), ++r) {
            if (total > 0)
                report(int((r - 1) * fields * ProgressMaximum / total));
            bytes += csvLine(rs);
            bytes += "\r\n";
        }
        // Written whole and then put in place: a failed export leaves any
        // earlier file as it was.
        m_model.files().writeBytes(path, bytes);
    } catch (const ReportError &e) {
        prompts.msgBox(e.description(), MsgBoxStyle::Exclamation);
        return false;
    }
    report(ProgressMaximum);
    prompts.msgBox(exportDoneMessage(), MsgBoxStyle::Information);
    return true;
}

} // namespace KRML_ReportGen
