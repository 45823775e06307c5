#include "QtSqlEngine.h"

#include "AdoType.h"
#include "BoundStatement.h"
#include "MemoryRecordset.h"
#include "JetCrosstab.h"
#include "JetSqlTokenizer.h"
#include "ProviderErrors.h"
#include "SqlCommands.h"
#include "SqlLiteralScanner.h"
#include "VariantRows.h"

#include <QAtomicInteger>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <limits>

namespace KRML_ReportGen {

namespace {

QString firstValue(const ConnectionString &cs, std::initializer_list<const char *> keys)
{
    for (const char *k : keys) {
        const QString key = QString::fromLatin1(k);
        if (cs.contains(key))
            return cs.value(key).trimmed();
    }
    return QString();
}

QString uniqueConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("krml-db-%1").arg(++counter);
}

// Values as the embedded engine gives them: null as an empty value, money as
// a number.
QVariant normalised(const QVariant &v, int type)
{
    if (v.isNull())
        return QVariant();
    if (type == AdoType::Boolean && v.typeId() != QMetaType::Bool)
        return v.toBool();
    if (type == AdoType::Currency && v.typeId() == QMetaType::QString) {
        QString digits = v.toString();
        digits.remove(QRegularExpression(QStringLiteral("[^0-9.\\-]")));
        bool ok = false;
        const double d = digits.toDouble(&ok);
        return ok ? QVariant(d) : v;
    }
    return v;
}

// PostgreSQL folds the names a statement does not quote to lower case: a
// column written "AS Customer" comes back as "customer". Reports refer to
// fields as the statement writes them, so a folded name takes the spelling
// of its first mention in the statement (outside quotes).
QString spelledAsWritten(const QString &name, const QString &sql)
{
    if (name.isEmpty() || name != name.toLower())
        return name;
    const int n = int(sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (SqlLiteralScanner::opensPiece(c)) {
            i = int(SqlLiteralScanner::pieceEnd(sql, i));
            continue;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
                ++j;
            if (j - i == name.size() && QStringView(sql).mid(i, j - i).compare(name, Qt::CaseInsensitive) == 0)
                return sql.mid(i, j - i);
            i = j;
            continue;
        }
        ++i;
    }
    return name;
}

// The database behind an ODBC driver decides how statements are written:
// SQLite and PostgreSQL in their own SQL, anything else in the ODBC escapes.
JetSqlRewriter::Dialect odbcDialect(const QSqlDatabase &db)
{
    switch (db.driver()->dbmsType()) {
    case QSqlDriver::PostgreSQL:
        return JetSqlRewriter::PostgreSql;
    case QSqlDriver::SQLite:
        return JetSqlRewriter::SqliteNative;
    case QSqlDriver::UnknownDbms: {
        // Qt's ODBC driver does not tell SQLite apart: ask it.
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT sqlite_version()")) && q.next())
            return JetSqlRewriter::SqliteNative;
        break;
    }
    default:
        break;
    }
    return JetSqlRewriter::Odbc;
}

} // namespace

void QtSqlEngine::setParameterValues(const QHash<QString, QVariant> &values)
{
    m_parameters.clear();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        m_parameters.insert(it.key().toLower(), it.value());
}

QtSqlEngine::QtSqlEngine(Kind kind, QString connectionName, bool readOnly)
    : m_kind(kind), m_connectionName(std::move(connectionName)), m_readOnly(readOnly)
{
}

QtSqlEngine::~QtSqlEngine()
{
    close();
}

int QtSqlEngine::connectTimeout(const ConnectionString &cs)
{
    bool ok = false;
    const int seconds = firstValue(cs, {"Connect Timeout", "Connection Timeout", "Timeout"}).toInt(&ok);
    return ok && seconds > 0 ? seconds : DefaultConnectTimeout;
}

std::unique_ptr<QtSqlEngine> QtSqlEngine::openWith(Kind kind, const QString &driver, const QString &databaseName,
                                                   const ConnectionString &cs, const QString &options,
                                                   const QString &host, int port)
{
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw ProviderErrors::providerNotFound(cs.provider().isEmpty() ? driver : cs.provider());
    const QString name = uniqueConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        db.setDatabaseName(databaseName);
        if (!host.isEmpty())
            db.setHostName(host);
        if (port > 0)
            db.setPort(port);
        const QString user = firstValue(cs, {"User ID", "UID", "User", "Username", "User Name"});
        const QString password = firstValue(cs, {"Password", "PWD"});
        if (kind == PostgreSql) {
            db.setUserName(user);
            db.setPassword(password);
        }
        db.setConnectOptions(options);
        if (!db.open()) {
            const QSqlError error = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            QString text = error.databaseText().trimmed();
            if (text.isEmpty())
                text = error.text().trimmed();
            throw ProviderErrors::unspecified(QStringLiteral("The connection could not be opened: %1").arg(text));
        }
        if (kind == PostgreSql) {
            // Text written as dates in reports' literals reads year first.
            QSqlQuery q(db);
            q.exec(QStringLiteral("SET DateStyle TO ISO, YMD"));
        }
    }
    auto engine = std::unique_ptr<QtSqlEngine>(new QtSqlEngine(kind, name, cs.readOnly()));
    engine->m_dialect = kind == PostgreSql ? JetSqlRewriter::PostgreSql : odbcDialect(QSqlDatabase::database(name, false));
    return engine;
}

std::unique_ptr<QtSqlEngine> QtSqlEngine::openPostgreSql(const ConnectionString &cs)
{
    QString host = firstValue(cs, {"Host", "Server", "Data Source"});
    int port = -1;
    // "Server=host:5433" as some tools write it.
    const int colon = host.lastIndexOf(QLatin1Char(':'));
    if (colon > 0 && !host.contains(QLatin1Char(']')) && host.count(QLatin1Char(':')) == 1) {
        port = host.mid(colon + 1).toInt();
        host.truncate(colon);
    }
    bool ok = false;
    const int given = firstValue(cs, {"Port"}).toInt(&ok);
    if (ok)
        port = given;
    const QString database = firstValue(cs, {"Database", "Initial Catalog", "DB"});
    QString options = QStringLiteral("connect_timeout=%1").arg(connectTimeout(cs));
    // Each statement gets a read-only transaction of its own; the session's
    // default is read-only too.
    if (cs.readOnly())
        options += QStringLiteral(";options='-c default_transaction_read_only=on'");
    return openWith(PostgreSql, QStringLiteral("QPSQL"), database, cs, options, host, port);
}

std::unique_ptr<QtSqlEngine> QtSqlEngine::openOdbc(const ConnectionString &cs)
{
    // The driver manager gets the string without the keys that are ours.
    const bool driver = cs.contains(QStringLiteral("Driver"));
    const bool dsn = cs.contains(QStringLiteral("DSN"));
    if (!driver && !dsn)
        throw ProviderErrors::unspecified(QStringLiteral(
            "The connection could not be opened: Data source name not found and no default driver specified"));
    ConnectionString rest;
    for (const auto &pair : cs.pairs()) {
        const QString key = pair.first.trimmed();
        if (key.compare(QLatin1String("Provider"), Qt::CaseInsensitive) == 0
            || key.compare(QLatin1String("Connect Timeout"), Qt::CaseInsensitive) == 0
            || key.compare(QLatin1String("ReadOnly"), Qt::CaseInsensitive) == 0
            || (!driver && key.compare(QLatin1String("DSN"), Qt::CaseInsensitive) == 0))
            continue;
        rest.setValue(key, pair.second);
    }
    QString text = rest.toString();
    // Qt's driver puts "DSN=" before a name without a driver itself.
    if (!driver)
        text = cs.value(QStringLiteral("DSN")).trimmed() + (text.isEmpty() ? QString() : QLatin1Char(';') + text);
    QString options = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1").arg(connectTimeout(cs));
    if (cs.readOnly())
        options += QStringLiteral(";SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY");
    return openWith(Odbc, QStringLiteral("QODBC"), text, cs, options);
}

void QtSqlEngine::close()
{
    if (m_connectionName.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

int QtSqlEngine::typeCode(Kind kind, int nativeType, int metaType)
{
    if (kind == PostgreSql) {
        switch (nativeType) {
        case 16: return AdoType::Boolean;          // bool
        case 20: return AdoType::BigInt;           // int8
        case 21: return AdoType::SmallInt;         // int2
        case 23:                                   // int4
        case 26: return AdoType::Integer;          // oid
        case 700:                                  // float4 (real)
        case 701: return AdoType::Double;          // float8
        case 790: return AdoType::Currency;        // money
        case 1700: return AdoType::Numeric;        // numeric
        case 1082:                                 // date
        case 1083:                                 // time
        case 1114:                                 // timestamp
        case 1184:                                 // timestamptz
        case 1266: return AdoType::Date;           // timetz
        case 25: return AdoType::LongVarWChar;     // text
        case 18:                                   // char
        case 19:                                   // name
        case 1042:                                 // bpchar
        case 1043: return AdoType::VarWChar;       // varchar
        case 17: return AdoType::LongVarBinary;    // bytea
        default: break;
        }
    } else {
        switch (nativeType) {
        case -7: return AdoType::Boolean;          // SQL_BIT
        case -6: return AdoType::TinyInt;          // SQL_TINYINT
        case 5: return AdoType::SmallInt;          // SQL_SMALLINT
        case 4: return AdoType::Integer;           // SQL_INTEGER
        case -5: return AdoType::BigInt;           // SQL_BIGINT
        case 7:                                    // SQL_REAL
        case 6:                                    // SQL_FLOAT
        case 8: return AdoType::Double;            // SQL_DOUBLE
        case 2:                                    // SQL_NUMERIC
        case 3: return AdoType::Numeric;           // SQL_DECIMAL
        case 9: case 10: case 11:                  // SQL_DATE, SQL_TIME, SQL_TIMESTAMP
        case 91: case 92: case 93: return AdoType::Date;
        case 1: case 12: case -8: case -9: return AdoType::VarWChar;  // (W)CHAR, (W)VARCHAR
        case -1: case -10: return AdoType::LongVarWChar;              // (W)LONGVARCHAR
        case -2: case -3: case -4: return AdoType::LongVarBinary;     // BINARY, VARBINARY, LONGVARBINARY
        default: break;
        }
    }
    switch (metaType) {
    case QMetaType::Bool: return AdoType::Boolean;
    case QMetaType::Short: return AdoType::SmallInt;
    case QMetaType::Int:
    case QMetaType::UInt: return AdoType::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return AdoType::BigInt;
    case QMetaType::Float:
    case QMetaType::Double: return AdoType::Double;
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime: return AdoType::Date;
    case QMetaType::QByteArray: return AdoType::LongVarBinary;
    default: return AdoType::VarWChar;
    }
}

ReportError QtSqlEngine::providerError(const QString &sqlState, const QString &message)
{
    // PostgreSQL: relation "orders" does not exist; column "x" does not exist.
    static const QRegularExpression quotedName(QStringLiteral("\"([^\"]*)\""));
    const auto named = [&](const QString &fallbackPrefix) {
        const auto m = quotedName.match(message);
        if (m.hasMatch())
            return m.captured(1);
        const int at = message.indexOf(fallbackPrefix);
        return at >= 0 ? message.mid(at + fallbackPrefix.size()).section(QLatin1Char(' '), 0, 0).trimmed() : message;
    };
    const QString state = sqlState.trimmed().toUpper();
    // Drivers over SQLite report its own messages.
    if (message.contains(QLatin1String("no such table: ")))
        return ProviderErrors::noSuchTable(named(QStringLiteral("no such table: ")));
    if (message.contains(QLatin1String("no such column: ")))
        return ProviderErrors::unknownColumn(named(QStringLiteral("no such column: ")));
    if (state == QLatin1String("42P01") || state == QLatin1String("42S02"))
        return ProviderErrors::noSuchTable(named(QString()));
    if (state == QLatin1String("42703") || state == QLatin1String("42S22"))
        return ProviderErrors::unknownColumn(named(QString()));
    if (state == QLatin1String("42601") || state == QLatin1String("42000") || message.contains(QLatin1String("syntax error")))
        return ProviderErrors::syntaxError(message);
    if (state == QLatin1String("42804") || state == QLatin1String("42883") || state == QLatin1String("22P02")
        || state == QLatin1String("22007") || state == QLatin1String("22008") || state == QLatin1String("22018")
        || state == QLatin1String("07006"))
        return ProviderErrors::typeMismatch(message);
    return ProviderErrors::unspecified(message);
}

void QtSqlEngine::raise(const QSqlError &error, const QString &sql) const
{
    QString message = error.databaseText().trimmed();
    if (message.isEmpty())
        message = error.text().trimmed();
    // The first line is the server's message; the rest is where and why.
    message = message.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (message.startsWith(QLatin1String("ERROR:")))
        message = message.mid(6).trimmed();
    QString state = error.nativeErrorCode();
    if (m_kind == Odbc) {
        // QODBC puts the SQLSTATE in the text: "[driver]… (42S02)" or "HY000".
        static const QRegularExpression sqlStateRe(QStringLiteral("\\b([0-9A-Z]{5})\\b"));
        const auto m = sqlStateRe.match(error.text());
        if (state.size() != 5 && m.hasMatch())
            state = m.captured(1);
    }
    if (m_readOnly
        && (state == QLatin1String("25006") || message.contains(QLatin1String("readonly"), Qt::CaseInsensitive)
            || message.contains(QLatin1String("read-only"), Qt::CaseInsensitive)))
        throw ProviderErrors::readOnly(sql);
    if (state == QLatin1String("57014"))
        throw ProviderErrors::timedOut(sql, m_limits.timeoutSeconds);
    throw providerError(state, message);
}

void QtSqlEngine::checkReadOnly(const QString &sql, const QString &text) const
{
    if (!m_readOnly)
        return;
    if (SqlCommands::count(text) > 1)
        throw ProviderErrors::severalCommands(sql);
    // A driver may not honour read-only access: only what starts as a
    // query goes to it.
    const QString word = SqlCommands::firstWord(text);
    if (m_kind == Odbc && word != QLatin1String("SELECT") && word != QLatin1String("WITH") && word != QLatin1String("VALUES"))
        throw ProviderErrors::readOnly(sql);
}

QString QtSqlEngine::positional(Kind kind, const QString &sql, const QList<BoundValue> &values, QList<QVariant> &bound)
{
    QString out;
    out.reserve(sql.size() + 16 * values.size());
    qsizetype at = 0;
    for (const BoundStatement::Placeholder &p : BoundStatement::placeholders(sql)) {
        if (p.number > values.size())
            continue;
        out += QStringView(sql).mid(at, p.start - at);
        at = p.start + p.length;
        const BoundValue &v = values[p.number - 1];
        QVariant value;
        QLatin1String pgType;
        switch (v.type()) {
        case BoundValue::Type::Null:
            value = QVariant(QMetaType(QMetaType::QString));
            break;
        case BoundValue::Type::Integer:
            value = qlonglong(v.toInteger());
            pgType = (v.toInteger() >= INT32_MIN && v.toInteger() <= INT32_MAX) ? QLatin1String("integer")
                                                                                 : QLatin1String("bigint");
            break;
        case BoundValue::Type::Double:
            value = v.toDouble();
            pgType = QLatin1String("double precision");
            break;
        case BoundValue::Type::Text:
            value = v.toText();
            pgType = QLatin1String("varchar");
            break;
        case BoundValue::Type::Boolean:
            value = v.toBoolean();
            pgType = QLatin1String("boolean");
            break;
        case BoundValue::Type::Date: {
            const QDateTime dt = v.toDateTime();
            if (kind == PostgreSql)
                value = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            else if (dt.time() == QTime(0, 0))
                value = dt.date();
            else
                value = dt;
            pgType = QLatin1String("timestamp");
            break;
        }
        }
        bound.append(value);
        if (kind == PostgreSql && pgType.size() > 0)
            out += QLatin1String("CAST(? AS ") + pgType + QLatin1Char(')');
        else
            out += QLatin1Char('?');
    }
    out += QStringView(sql).mid(at);
    return out;
}

std::unique_ptr<Recordset> QtSqlEngine::run(const QString &sql, const QList<BoundValue> &values)
{
    return execute(sql, values, true);
}

std::unique_ptr<Recordset> QtSqlEngine::describe(const QString &sql, const QList<BoundValue> &values)
{
    return execute(sql, values, false);
}

std::unique_ptr<Recordset> QtSqlEngine::execute(const QString &sql, const QList<BoundValue> &values, bool fetchRows)
{
    if (m_connectionName.isEmpty())
        throw ProviderErrors::unspecified(QStringLiteral("The database is closed."));
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (sql.trimmed().isEmpty())
        throw ReportError(qint32(0x80040E0C), QStringLiteral("Command text was not set for the command object."),
                          QStringLiteral("Provider"));
    // A crosstab runs as its parts: its headings' values, then the select
    // they make (each part under the same checks and limits).
    if (auto crosstab = JetCrosstab::run(sql, [this, &values](const QString &part) { return run(part, values); }))
        return crosstab;
    const JetSqlRewriter::Result rewritten = JetSqlRewriter::translate(sql, m_dialect);
    QString text = rewritten.sql;
    checkReadOnly(sql, text);
    // The report's own parameters are ?1..?n; a PARAMETERS declaration's
    // placeholders follow them and take their values by name.
    QList<BoundValue> all = values;
    if (!rewritten.parameters.isEmpty()) {
        while (all.size() < rewritten.firstPlaceholder - 1)
            all.append(BoundValue());
        for (const QString &name : rewritten.parameters) {
            const auto value = m_parameters.constFind(name.toLower());
            if (value == m_parameters.constEnd())
                throw ProviderErrors::missingParameter(name);
            all.append(BoundValue::fromVariant(*value));
        }
    }

    // On PostgreSQL a read-only statement runs in a transaction of its own,
    // which ends with it whatever happens.
    bool inTransaction = false;
    const auto endTransaction = qScopeGuard([&] {
        if (inTransaction)
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    });
    if (m_kind == PostgreSql) {
        QSqlQuery setup(db);
        const qint64 timeout = qint64(std::max(0, m_limits.timeoutSeconds)) * 1000;
        if (m_readOnly) {
            inTransaction = setup.exec(QStringLiteral("START TRANSACTION READ ONLY"));
            if (!inTransaction)
                raise(setup.lastError(), sql);
            setup.exec(QStringLiteral("SET LOCAL statement_timeout = %1").arg(timeout));
        } else {
            setup.exec(QStringLiteral("SET statement_timeout = %1").arg(timeout));
        }
        // Fields without rows: the server plans the query and stops.
        const QString word = SqlCommands::firstWord(text);
        if (!fetchRows && (word == QLatin1String("SELECT") || word == QLatin1String("WITH") || word == QLatin1String("VALUES")))
            text = QStringLiteral("SELECT * FROM (%1) AS krml_columns LIMIT 0").arg(text);
    }

    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (all.isEmpty()) {
        if (!query.exec(text))
            raise(query.lastError(), sql);
    } else {
        QList<QVariant> bound;
        text = positional(m_kind, text, all, bound);
        if (!query.prepare(text))
            raise(query.lastError(), sql);
        for (int i = 0; i < bound.size(); ++i)
            query.bindValue(i, bound[i]);
        if (!query.exec())
            raise(query.lastError(), sql);
    }
    if (!query.isSelect())
        return std::make_unique<MemoryRecordset>();

    const QSqlRecord record = query.record();
    const int columns = record.count();
    QStringList names;
    QList<int> types;
    for (int c = 0; c < columns; ++c) {
        const QSqlField f = record.field(c);
        names.append(m_kind == PostgreSql ? spelledAsWritten(f.name(), text) : f.name());
        types.append(typeCode(m_kind, f.typeID(), f.metaType().id()));
    }
    auto rows = std::make_shared<VariantRows>(columns);
    if (!fetchRows)
        return std::make_unique<MemoryRecordset>(names, types, std::move(rows));
    const qint64 most = m_limits.maxResultBytes > 0 ? m_limits.maxResultBytes : std::numeric_limits<qint64>::max();
    qint64 held = 0;
    QList<QVariant> row(columns);
    while (query.next()) {
        for (int c = 0; c < columns; ++c) {
            row[c] = normalised(query.value(c), types[c]);
            held += qint64(sizeof(QVariant));
            if (row[c].typeId() == QMetaType::QString)
                held += 2 * qint64(row[c].toString().size());
            else if (row[c].typeId() == QMetaType::QByteArray)
                held += qint64(row[c].toByteArray().size());
        }
        if (held > most || rows->rowCount() == std::numeric_limits<int>::max() - 1)
            throw ProviderErrors::resultTooLarge(sql, most);
        rows->append(row);
    }
    if (query.lastError().isValid())
        raise(query.lastError(), sql);
    return std::make_unique<MemoryRecordset>(names, types, std::move(rows));
}

QStringList QtSqlEngine::columns(const QString &table)
{
    if (m_connectionName.isEmpty())
        throw ProviderErrors::unspecified(QStringLiteral("The database is closed."));
    // The driver's catalogue (SQLColumns for ODBC, the system catalogue for
    // PostgreSQL).
    const QSqlRecord record = QSqlDatabase::database(m_connectionName, false).record(table);
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    if (names.isEmpty())
        throw ProviderErrors::noSuchTable(table);
    return names;
}

std::unique_ptr<Recordset> QtSqlEngine::tables()
{
    if (m_connectionName.isEmpty())
        throw ProviderErrors::unspecified(QStringLiteral("The database is closed."));
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    auto rs = std::make_unique<MemoryRecordset>(
        QStringList{QStringLiteral("TABLE_CATALOG"), QStringLiteral("TABLE_SCHEMA"), QStringLiteral("TABLE_NAME"),
                    QStringLiteral("TABLE_TYPE")},
        QList<int>{AdoType::VarWChar, AdoType::VarWChar, AdoType::VarWChar, AdoType::VarWChar});
    QList<QPair<QString, QString>> all;
    for (const QString &t : db.tables(QSql::Tables))
        all.append({t, QStringLiteral("TABLE")});
    for (const QString &v : db.tables(QSql::Views))
        all.append({v, QStringLiteral("VIEW")});
    std::sort(all.begin(), all.end(), [](const auto &a, const auto &b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    for (const auto &[name, type] : all) {
        QString schema;
        QString table = name;
        // PostgreSQL lists tables outside the search path as schema.table.
        if (m_kind == PostgreSql && name.contains(QLatin1Char('.'))) {
            schema = name.section(QLatin1Char('.'), 0, 0);
            table = name.section(QLatin1Char('.'), 1);
        }
        if (table.startsWith(QLatin1String("sqlite_")))
            continue;
        rs->appendRow({QVariant(), schema.isEmpty() ? QVariant() : QVariant(schema), table, type});
    }
    rs->moveFirst();
    return rs;
}

} // namespace KRML_ReportGen
