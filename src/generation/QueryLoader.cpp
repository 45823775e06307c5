#include "QueryLoader.h"

#include "DbConnection.h"
#include "FileService.h"
#include "JetSqlRewriter.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ParameterBinding.h"
#include "ProviderErrors.h"
#include "ReportError.h"
#include "ReportSqlFile.h"
#include "StatementCache.h"
#include "UserPrompts.h"
#include "ValueText.h"

namespace KRML_ReportGen {

QueryLoader::QueryLoader(const FileService &files, UserPrompts &prompts) : m_files(files), m_prompts(prompts) {}

QStringList QueryLoader::FillStatementList(const QStringList &previous) const
{
    return ReportSqlFile::statementNames(m_files, ReportSqlFile::workingFile(), previous);
}

int QueryLoader::FindInCollection(const VariantCollection &collection, const QVariant &value)
{
    return collection.indexOf(value);
}

std::unique_ptr<Recordset> QueryLoader::open(const BoundStatement &statement)
{
    DbConnection &connection = *ModuleState::current().data().RDDataConnection();
    if (m_cache)
        return m_cache->open(connection, statement);
    return connection.openRecordset(statement, DbConnection::Keyset, DbConnection::Optimistic, -1);
}

BoundStatement QueryLoader::GetStatementSQL(const QString &statementName, QStringList &fieldList, bool,
                                            bool firstQueryPending)
{
    RunReportQuery(statementName, fieldList, firstQueryPending);
    return ModuleState::current().CurrentReportSQL();
}

QString QueryLoader::RunReportQuery(const QString &statementName, QStringList &fieldList, bool firstQueryPending)
{
    try {
        runQuery(statementName, fieldList, firstQueryPending);
    } catch (const ReportError &e) {
        // A statement that cannot run ends the query quietly; a parameter
        // without a value, or with a value of the wrong type, must reach
        // whoever can supply one.
        if (ParameterValue::isParameterError(e))
            throw;
    }
    return QString();
}

BoundValue QueryLoader::valueFor(const clsParameter &p)
{
    // Date, Number and String parameters take the host's value under the
    // parameter's name, or whatever the value source (the prompt) gives.
    ModuleState &state = ModuleState::current();
    const VariantCollection &fields = *state.ParamFieldCollection();
    const VariantCollection &values = *state.ParamValueCollection();
    for (int i = 1; i <= fields.Count() && i <= values.Count(); ++i)
        if (fields.Item(i).toString().compare(p.ParameterName, Qt::CaseInsensitive) == 0)
            return ParameterValue::of(p.ParameterName, p.ParamType, values.Item(i));
    if (m_valueSource)
        if (const std::optional<QVariant> given = m_valueSource(p))
            return ParameterValue::of(p.ParameterName, p.ParamType, *given);
    throw ParameterValue::missing(p.ParameterName, p.ParamType);
}

BoundValue QueryLoader::givenLookupValue(const clsParameter &p, const QVariant &given, int returnType)
{
    // A value the lookup offers goes as it is. A value written as the text
    // the lookup shows for a row ("East" where the row's RegionID is 2)
    // stands for that row's value. Any other value of the field's type goes
    // as given (the host may know values the lookup does not list).
    const std::optional<BoundValue> converted = ParameterValue::forColumnType(given, returnType);
    // A number, a date or a truth value of the field's own type cannot be
    // a text the lookup shows: only text needs the lookup's rows.
    if (converted && converted->type() != BoundValue::Type::Text)
        return *converted;
    std::unique_ptr<Recordset> rows;
    try {
        rows = open(BoundStatement(p.SQL));
    } catch (const ReportError &) {
        rows.reset();
    }
    const int returnColumn = rows ? rows->fieldIndex(p.ReturnField) : -1;
    if (returnColumn >= 0) {
        if (converted) { // text: is it one of the values, or a text shown for one?
            for (rows->moveFirst(); !rows->isEOF(); rows->moveNext())
                if (ParameterValue::forColumnType(rows->field(returnColumn).value, returnType) == converted)
                    return *converted;
        }
        const int displayColumn = rows->fieldIndex(p.DisplayField);
        const QString text = ValueText::of(given).trimmed();
        if (displayColumn >= 0 && !text.isEmpty()) {
            for (rows->moveFirst(); !rows->isEOF(); rows->moveNext()) {
                if (ValueText::of(rows->field(displayColumn).value).trimmed().compare(text, Qt::CaseInsensitive) != 0)
                    continue;
                const QVariant value = rows->field(returnColumn).value;
                return ParameterValue::forColumnType(value, returnType).value_or(BoundValue::fromVariant(value));
            }
        }
    }
    if (converted)
        return *converted;
    throw ParameterValue::invalid(p.ParameterName, clsParameter::Lookup, ValueText::of(given));
}

BoundValue QueryLoader::namedValue(const QString &name, const QString &declaredType)
{
    // The declared type chooses how the value is asked for and read; a
    // saved query's parameter of unknown type reads as a date or a number
    // when it is one.
    const QString type = declaredType.section(QLatin1Char('('), 0, 0).trimmed().toLower();
    clsParameter p;
    p.ParameterName = name;
    static const QStringList numbers{QStringLiteral("bit"),        QStringLiteral("byte"),       QStringLiteral("short"),
                                     QStringLiteral("long"),       QStringLiteral("currency"),   QStringLiteral("ieeesingle"),
                                     QStringLiteral("ieeedouble"), QStringLiteral("single"),     QStringLiteral("double"),
                                     QStringLiteral("integer"),    QStringLiteral("decimal"),    QStringLiteral("number")};
    if (type == QLatin1String("datetime") || type == QLatin1String("date"))
        p.ParamType = clsParameter::Date;
    else if (numbers.contains(type))
        p.ParamType = clsParameter::Number;
    else
        p.ParamType = clsParameter::String;
    const BoundValue value = valueFor(p);
    if (p.ParamType != clsParameter::String || (!type.isEmpty() && type != QLatin1String("value"))
        || value.type() != BoundValue::Type::Text)
        return value;
    const QString text = value.toText();
    if (const auto date = ParameterValue::dateOf(text))
        return BoundValue::date(*date);
    if (const auto number = ParameterValue::convert(clsParameter::Number, text))
        return *number;
    return value;
}

std::unique_ptr<Recordset> QueryLoader::openWithNamedValues(const BoundStatement &statement)
{
    DbConnection &connection = *ModuleState::current().data().RDDataConnection();
    const JetSqlRewriter::Result declared = JetSqlRewriter::translate(statement.sql, JetSqlRewriter::Sqlite);
    QHash<QString, QVariant> values;
    for (int i = 0; i < declared.parameters.size(); ++i)
        values.insert(declared.parameters[i], namedValue(declared.parameters[i], declared.parameterTypes.value(i)).toVariant());
    connection.setParameterValues(values);
    // A saved query the statement reads may ask for more, one at a time.
    for (;;) {
        try {
            return m_columnsOnly ? connection.describe(statement) : open(statement);
        } catch (const ReportError &e) {
            const QString name = ProviderErrors::missingParameterName(e);
            if (name.isEmpty() || values.contains(name))
                throw;
            values.insert(name, namedValue(name, QString()).toVariant());
            connection.setParameterValues(values);
        }
    }
}

void QueryLoader::runQuery(const QString &statementName, QStringList &fieldList, bool firstQueryPending)
{
    ModuleState &state = ModuleState::current();
    const QString path = ReportSqlFile::workingFile();
    if (!m_files.fileExists(path))
        return;
    ReportDefinition definition;
    const ReportSqlFile::ReadResult read = ReportSqlFile::readFile(m_files, path, definition);
    if (read.status == ReportSqlFile::ReadResult::NotValid)
        m_prompts.msgBox(read.message, MsgBoxStyle::Information);
    if (!read.ok())
        return;
    // The statement, compared by name exactly; a missing one runs empty.
    const ReportDefinition::Statement *statement = definition.statement(statementName);
    const QString original = statement ? statement->sql : QString();

    auto connection = state.data().RDDataConnection();
    if (connection->state() == DbConnection::Closed)
        connection->open();

    bool hasLookup = false;
    QList<clsParameter> parameters;
    QStringList markers;
    for (const ReportDefinition::Parameter &parameter : definition.parameters()) {
        parameters << definition.record(parameter);
        markers << parameter.marker;
        hasLookup = hasLookup || parameters.last().ParamType == clsParameter::Lookup;
    }
    // The original text is read once for its markers; each attempt binds
    // values to the same placeholders.
    const ParameterBinding binding(original, markers);

    std::unique_ptr<Recordset> main;
    for (int attempt = 1;; ++attempt) {
        QList<std::optional<BoundValue>> values(parameters.size());
        const int before = state.ParamFieldCollection()->Count();
        for (int k = 0; k < parameters.size(); ++k) {
            const clsParameter &p = parameters[k];
            if (p.ParamType != clsParameter::Lookup) {
                if (binding.uses(k))
                    values[k] = valueFor(p);
                continue;
            }
            QString lookupSql = p.SQL;
            lookupSql.replace(QLatin1Char('*'), p.ReturnField);
            std::unique_ptr<Recordset> lookup = open(BoundStatement(lookupSql));
            if (!lookup->isEOF() && attempt > 1)
                for (int row = 1; row < attempt && !lookup->isEOF(); ++row)
                    lookup->moveNext();
            const int column = lookup->fieldIndex(p.ReturnField);
            if (column < 0)
                throw ReportError(Recordset::ItemNotFound, QStringLiteral("Item cannot be found in the collection."));
            const QString fieldName = lookup->fieldName(column);
            const int type = lookup->fieldType(column);
            VariantCollection &fields = *state.ParamFieldCollection();
            VariantCollection &given = *state.ParamValueCollection();
            const int at = FindInCollection(fields, fieldName);
            if (at > 0) {
                if (binding.uses(k))
                    values[k] = givenLookupValue(p, given.Item(at), type);
            } else {
                const QVariant value = lookup->field(column).value; // fails past the last row
                fields.Add(fieldName);
                given.Add(value);
                values[k] = ParameterValue::forColumnType(value, type).value_or(BoundValue::fromVariant(value));
            }
        }
        const BoundStatement statement = binding.bind(values);
        state.setCurrentReportSQL(statement);
        main = openWithNamedValues(statement);
        // No rows for the first data list of a run: try the lookup's next
        // row. Without a lookup nothing would change, so there is no retry.
        if (m_columnsOnly || !main->isEOF() || !firstQueryPending || !hasLookup)
            break;
        // The last lookup value withdrawn: the collections may also hold
        // the host's values of Date, Number and String parameters, which
        // the search must not take away.
        VariantCollection &fields = *state.ParamFieldCollection();
        VariantCollection &given = *state.ParamValueCollection();
        int last = 0;
        const clsParameter *owner = nullptr;
        for (int i = std::min(fields.Count(), given.Count()); i >= 1 && !owner; --i)
            for (const clsParameter &p : parameters)
                if (p.ParamType == clsParameter::Lookup
                    && fields.Item(i).toString().compare(p.ReturnField, Qt::CaseInsensitive) == 0) {
                    last = i;
                    owner = &p;
                    break;
                }
        if (!owner)
            break;
        if (last <= before && m_notice) // given, not taken from a lookup row
            m_notice(QStringLiteral("The report has no rows for the value \"%1\" given for the parameter \"%2\"; "
                                    "a value from its lookup is used instead.")
                         .arg(ValueText::of(given.Item(last)), owner->ParameterName));
        fields.Remove(last);
        given.Remove(last);
    }
    fieldList.clear();
    for (int i = 0; i < main->fieldCount(); ++i)
        fieldList.append(main->fieldName(i));
}

} // namespace KRML_ReportGen
