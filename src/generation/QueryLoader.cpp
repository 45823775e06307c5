#include "QueryLoader.h"

#include "DbConnection.h"
#include "FileService.h"
#include "LegacyNumber.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ParameterLiteral.h"
#include "ParameterMarker.h"
#include "ReportError.h"
#include "ReportSqlFile.h"
#include "StatementCache.h"
#include "StatementCatalog.h"
#include "TextReader.h"
#include "UserPrompts.h"
#include "VbConvert.h"
#include "Windows1252Codec.h"

namespace KRML_ReportGen {

namespace {

const QLatin1String kHeader("tablename=");

ReportError missingValue(const clsParameter &p, const QString &why)
{
    return ReportError(QueryLoader::MissingParameterValue,
                       QStringLiteral("The report needs a value for the parameter \"%1\" (%2)%3.")
                           .arg(p.ParameterName, ParameterMarker::typeName(p.ParamType), why),
                       QStringLiteral("RunReportQuery"));
}

} // namespace

QueryLoader::QueryLoader(const FileService &files, UserPrompts &prompts) : m_files(files), m_prompts(prompts) {}

QString QueryLoader::workingFile()
{
    return ModuleState::current().workingFile(QStringLiteral("SQL.mtq"));
}

QStringList QueryLoader::FillStatementList(const QStringList &previous) const
{
    return StatementCatalog::FillStatementList(m_files, workingFile(), previous);
}

int QueryLoader::FindInCollection(const VariantCollection &collection, const QVariant &value)
{
    return collection.indexOf(value);
}

std::unique_ptr<Recordset> QueryLoader::open(const QString &sql)
{
    DbConnection &connection = *ModuleState::current().data().RDDataConnection();
    if (m_cache)
        return m_cache->open(connection, sql);
    return connection.openRecordset(sql, DbConnection::Keyset, DbConnection::Optimistic, -1);
}

QString QueryLoader::GetStatementSQL(const QString &statementName, QStringList &fieldList, bool)
{
    RunReportQuery(statementName, fieldList);
    return ModuleState::current().CurrentReportSQL;
}

QString QueryLoader::RunReportQuery(const QString &statementName, QStringList &fieldList)
{
    try {
        runQuery(statementName, fieldList);
    } catch (const ReportError &e) {
        // A statement that cannot run ends the query quietly; a parameter
        // without a value must reach whoever can supply one.
        if (e.number() == MissingParameterValue)
            throw;
    }
    return QString();
}

QString QueryLoader::literalFor(const clsParameter &p)
{
    // Date, Number and String parameters take the host's value under the
    // parameter's name, or whatever the value source (the prompt) gives.
    ModuleState &state = ModuleState::current();
    const VariantCollection &fields = *state.ParamFieldCollection();
    const VariantCollection &values = *state.ParamValueCollection();
    std::optional<QString> value;
    for (int i = 1; i <= fields.Count() && i <= values.Count(); ++i) {
        if (fields.Item(i).toString().compare(p.ParameterName, Qt::CaseInsensitive) == 0) {
            value = ParameterLiteral::valueText(values.Item(i));
            break;
        }
    }
    if (!value && m_valueSource)
        value = m_valueSource(p);
    if (!value)
        throw missingValue(p, QString());
    switch (p.ParamType) {
    case clsParameter::Date: {
        const QDate d = ParameterLiteral::dateOf(*value);
        if (!d.isValid())
            throw missingValue(p, QStringLiteral(": \"%1\" is not a date (write it as year-month-day)").arg(*value));
        return ParameterLiteral::date(d);
    }
    case clsParameter::Number:
        if (!LegacyNumber::isNumber(*value))
            throw missingValue(p, QStringLiteral(": \"%1\" is not a number").arg(*value));
        return ParameterLiteral::number(value->trimmed());
    default:
        return ParameterLiteral::text(*value);
    }
}

void QueryLoader::runQuery(const QString &statementName, QStringList &fieldList)
{
    ModuleState &state = ModuleState::current();
    if (!m_files.fileExists(workingFile()))
        return;
    const QStringList lines = TextReader::splitLines(Windows1252Codec::decode(m_files.readBytes(workingFile())));
    if (lines.isEmpty() || lines[0] != ReportSqlFile::magic()) {
        m_prompts.msgBox(ReportSqlFile::notValidMessage(), MsgBoxStyle::Information);
        return;
    }
    if (lines.size() < 2)
        return;
    const auto count = LegacyNumber::convert(lines[1].mid(11));
    if (!count || *count < 0)
        return;
    QList<clsParameter> parameters;
    int next = 2;
    for (int i = 0; i < int(*count); ++i, ++next) {
        if (next >= lines.size())
            return;
        ReportSqlFile::ParameterLine line;
        if (!ReportSqlFile::parseParameterLine(lines[next], false, line).isEmpty())
            return;
        clsParameter p;
        p.ParamType = line.type;
        p.ParameterName = line.name;
        p.Mode = line.lookup.mode;
        p.DisplayField = line.lookup.displayField;
        p.ReturnField = line.lookup.returnField;
        p.SQL = line.lookup.sql;
        parameters.append(p);
    }

    // The statement, compared by name exactly; a missing one runs empty.
    QString original;
    for (; next < lines.size(); ++next)
        if (lines[next].startsWith(kHeader) && lines[next].mid(10) == statementName)
            break;
    for (++next; next < lines.size() && !lines[next].startsWith(kHeader); ++next)
        original += lines[next] + QStringLiteral("\r\n");

    auto connection = state.data().RDDataConnection();
    if (connection->state() == DbConnection::Closed)
        connection->open();

    bool hasLookup = false;
    for (const clsParameter &p : parameters)
        hasLookup = hasLookup || p.ParamType == clsParameter::Lookup;

    std::unique_ptr<Recordset> main;
    for (int attempt = 1;; ++attempt) {
        QString working = original;
        for (const clsParameter &p : parameters) {
            const QString marker = ParameterMarker::make(p.ParameterName, p.ParamType);
            if (p.ParamType != clsParameter::Lookup) {
                if (working.contains(marker, Qt::CaseInsensitive))
                    working = ParameterMarker::replace(working, marker, literalFor(p));
                continue;
            }
            QString lookupSql = p.SQL;
            lookupSql.replace(QLatin1Char('*'), p.ReturnField);
            std::unique_ptr<Recordset> lookup = open(lookupSql);
            if (!lookup->isEOF() && attempt > 1)
                for (int k = 1; k < attempt && !lookup->isEOF(); ++k)
                    lookup->moveNext();
            const int column = lookup->fieldIndex(p.ReturnField);
            if (column < 0)
                throw ReportError(Recordset::ItemNotFound, QStringLiteral("Item cannot be found in the collection."));
            const QString fieldName = lookup->fieldName(column);
            VariantCollection &fields = *state.ParamFieldCollection();
            VariantCollection &values = *state.ParamValueCollection();
            QVariant value;
            const int at = FindInCollection(fields, fieldName);
            if (at > 0) {
                value = values.Item(at).toString();
            } else {
                value = lookup->field(column).value; // fails past the last row
                fields.Add(fieldName);
                values.Add(value);
            }
            working = ParameterMarker::replace(working, marker,
                                               ParameterLiteral::lookupForReport(value, lookup->fieldType(column)));
        }
        state.CurrentReportSQL = working;
        main = m_columnsOnly ? connection->describe(working) : open(working);
        // No rows for the first data list of a run: try the lookup's next
        // row. Without a lookup nothing would change, so there is no retry.
        if (m_columnsOnly || !main->isEOF() || !state.FirstQueryPending || !hasLookup)
            break;
        VariantCollection &fields = *state.ParamFieldCollection();
        VariantCollection &values = *state.ParamValueCollection();
        fields.Remove(fields.Count());
        values.Remove(values.Count());
    }
    fieldList.clear();
    for (int i = 0; i < main->fieldCount(); ++i)
        fieldList.append(main->fieldName(i));
}

} // namespace KRML_ReportGen
