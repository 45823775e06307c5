#include "SqliteEngine.h"

#include "AdoType.h"
#include "JetCrosstab.h"
#include "JetDateText.h"
#include "JetFunctions.h"
#include "JetSqlRewriter.h"
#include "MemoryRecordset.h"
#include "PathNames.h"
#include "ProviderErrors.h"
#include "SqliteRows.h"
#include "SqliteShadowViews.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <limits>
#include <sqlite3.h>

namespace KRML_ReportGen {

namespace {

class Statement
{
public:
    ~Statement() { sqlite3_finalize(st); }
    sqlite3_stmt *st = nullptr;
};

} // namespace

SqliteEngine::SqliteEngine(sqlite3 *db, bool readOnly, const QString &path) : m_db(db), m_readOnly(readOnly), m_path(path)
{
    JetFunctions::install(m_db, &m_parameters);
    if (m_readOnly) {
        sqlite3_exec(m_db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
        sqlite3_set_authorizer(m_db, &SqliteEngine::authorize, this);
    }
    // Every few thousand steps of the engine's machine: is time up?
    sqlite3_progress_handler(m_db, 4096, &SqliteEngine::progress, this);
    if (!path.isEmpty())
        m_shadows = std::make_unique<SqliteShadowViews>(m_db);
}

SqliteEngine::~SqliteEngine()
{
    close();
}

int SqliteEngine::progress(void *engine)
{
    return static_cast<SqliteEngine *>(engine)->m_deadline.hasExpired() ? 1 : 0;
}

int SqliteEngine::authorize(void *engine, int action, const char *name, const char *, const char *, const char *)
{
    // Reading another database file, or switching the connection back to
    // writing, is not for a report (only the engine itself lifts query_only,
    // for its temporary shadow views).
    if (action == SQLITE_ATTACH || action == SQLITE_DETACH)
        return SQLITE_DENY;
    if (action == SQLITE_PRAGMA && name && sqlite3_stricmp(name, "query_only") == 0)
        return static_cast<SqliteEngine *>(engine)->m_arranging ? SQLITE_OK : SQLITE_DENY;
    if (action == SQLITE_PRAGMA && name && sqlite3_stricmp(name, "writable_schema") == 0)
        return SQLITE_DENY;
    return SQLITE_OK;
}

bool SqliteEngine::isSqliteFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

sqlite3 *SqliteEngine::openHandle(const QString &path, const QString &shownName, bool readOnly)
{
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw ProviderErrors::unspecified(QStringLiteral("The database '%1' could not be opened: %2").arg(shownName, msg));
    }
    sqlite3_busy_timeout(db, 2000);
    return db;
}

std::unique_ptr<SqliteEngine> SqliteEngine::open(const ConnectionString &cs, Acceptance acceptance)
{
    const QString given = cs.dataSource().trimmed();
    QString path;
    const bool memory = given == QLatin1String(":memory:") && acceptance == AnyFile;
    if (memory) {
        path = given;
    } else {
        path = PathNames::resolve(given);
        const QFileInfo fi(path);
        if (given.isEmpty() || !fi.isFile())
            throw ProviderErrors::fileNotFound(given);
        const bool sqlite = isSqliteFile(path);
        if (!sqlite && acceptance == SqliteFilesOnly)
            return nullptr;
        if (!sqlite && fi.size() > 0)
            throw ProviderErrors::unrecognizedFormat(given);
    }
    const QString mode = cs.value(QStringLiteral("Mode")).toLower();
    const bool readMode = (mode.contains(QLatin1String("read")) && !mode.contains(QLatin1String("write"))) || mode == QLatin1String("1");
    const bool readOnly = readMode || (!memory && cs.readOnly());
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(openHandle(path, given, readOnly), readOnly, memory ? QString() : path));
}

std::unique_ptr<SqliteEngine> SqliteEngine::openReadOnly(const QString &path, const QString &shownName)
{
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(openHandle(path, shownName, true), true));
}

std::unique_ptr<SqliteEngine> SqliteEngine::create(const QString &path)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw ProviderErrors::unspecified(QStringLiteral("The database '%1' could not be created: %2").arg(path, msg));
    }
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(db, false));
}

void SqliteEngine::close()
{
    m_shadows.reset();
    if (m_plain) {
        sqlite3_close_v2(m_plain);
        m_plain = nullptr;
    }
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void SqliteEngine::raise(int rc, const QString &sql)
{
    const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
    static const QLatin1String noTable("no such table: ");
    static const QLatin1String noColumn("no such column: ");
    if ((rc & 0xFF) == SQLITE_INTERRUPT && m_deadline.hasExpired())
        throw ProviderErrors::timedOut(sql, m_limits.timeoutSeconds);
    if (m_readOnly && ((rc & 0xFF) == SQLITE_AUTH || (rc & 0xFF) == SQLITE_READONLY))
        throw ProviderErrors::readOnly(sql);
    if (msg.startsWith(noTable)) {
        QString name = msg.mid(noTable.size());
        if (name.startsWith(QLatin1String("main.")))
            name = name.mid(5);
        throw ProviderErrors::noSuchTable(name);
    }
    if (msg.startsWith(noColumn))
        throw ProviderErrors::unknownColumn(msg.mid(noColumn.size()));
    const QString parameter = ProviderErrors::missingParameterName(ReportError(ProviderErrors::UnknownColumn, msg));
    if (!parameter.isEmpty())
        throw ProviderErrors::missingParameter(parameter);
    if ((rc & 0xFF) == SQLITE_MISMATCH)
        throw ProviderErrors::typeMismatch(msg);
    if (msg.contains(QLatin1String("syntax error")) || msg.contains(QLatin1String("incomplete input"))
        || msg.contains(QLatin1String("unrecognized token")))
        throw ProviderErrors::syntaxError(msg);
    throw ProviderErrors::unspecified(msg);
}

void SqliteEngine::addStoredQuery(const QString &name, const QString &sql)
{
    m_stored.insert(name.toLower(), sql);
}

QString SqliteEngine::storedStatement(const QString &sql) const
{
    if (m_stored.isEmpty())
        return QString();
    static const QRegularExpression byName(QStringLiteral(R"(^\s*SELECT\s+\*\s+FROM\s+(?:\[([^\]]+)\]|(\w+))\s*;?\s*$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = byName.match(sql);
    return m.hasMatch() ? m_stored.value((m.captured(1) + m.captured(2)).toLower()) : QString();
}

void SqliteEngine::bind(sqlite3_stmt *st, const QList<BoundValue> &values)
{
    // The placeholders are numbered (?1, ?2, ...): each value goes to its
    // number wherever the rewritten statement has put it. Dates go in the
    // one text form the engine stores and compares them in.
    const int count = sqlite3_bind_parameter_count(st);
    for (int i = 0; i < values.size() && i < count; ++i) {
        const BoundValue &v = values[i];
        const int n = i + 1;
        int rc = SQLITE_OK;
        switch (v.type()) {
        case BoundValue::Type::Null:
            rc = sqlite3_bind_null(st, n);
            break;
        case BoundValue::Type::Integer:
            rc = sqlite3_bind_int64(st, n, v.toInteger());
            break;
        case BoundValue::Type::Double:
            rc = sqlite3_bind_double(st, n, v.toDouble());
            break;
        case BoundValue::Type::Boolean:
            rc = sqlite3_bind_int(st, n, v.toBoolean() ? 1 : 0);
            break;
        case BoundValue::Type::Date: {
            const QByteArray text = JetDateText::canonical(v.toDateTime()).toUtf8();
            rc = sqlite3_bind_text(st, n, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case BoundValue::Type::Text: {
            const QByteArray text = v.toText().toUtf8();
            rc = sqlite3_bind_text(st, n, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK)
            raise(rc, QStringLiteral("?%1").arg(n));
    }
}

void SqliteEngine::startClock()
{
    m_deadline = m_limits.timeoutSeconds > 0 ? QDeadlineTimer(qint64(m_limits.timeoutSeconds) * 1000) : QDeadlineTimer(QDeadlineTimer::Forever);
}

void SqliteEngine::arrangeShadows(bool reads)
{
    if (!m_shadows)
        return;
    // The temporary views live in the connection's own temporary schema,
    // never in the file; query_only would refuse them too, so it is lifted
    // for them alone.
    if (m_readOnly) {
        m_arranging = true;
        sqlite3_exec(m_db, "PRAGMA query_only = 0", nullptr, nullptr, nullptr);
    }
    const auto restore = qScopeGuard([this] {
        if (m_readOnly) {
            sqlite3_exec(m_db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
            m_arranging = false;
        }
    });
    if (reads)
        m_shadows->ensure();
    else
        m_shadows->putAside();
}

sqlite3_stmt *SqliteEngine::prepare(const QString &sql, const QByteArray &text, const QList<BoundValue> &values)
{
    startClock();
    sqlite3_stmt *st = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &st, nullptr);
    if (rc != SQLITE_OK)
        raise(rc, sql);
    if (!st)
        throw ReportError(qint32(0x80040E0C), QStringLiteral("Command text was not set for the command object."),
                          QStringLiteral("Provider"));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> prepared(st, &sqlite3_finalize);
    if (m_readOnly && !sqlite3_stmt_readonly(st))
        throw ProviderErrors::readOnly(sql);
    if (!values.isEmpty())
        bind(st, values);
    return prepared.release();
}

std::unique_ptr<Recordset> SqliteEngine::run(const QString &sql, const QList<BoundValue> &values)
{
    if (!m_db)
        throw ProviderErrors::unspecified(QStringLiteral("The database is closed."));
    if (const QString stored = storedStatement(sql); !stored.isEmpty())
        return run(stored, values);
    if (auto crosstab = JetCrosstab::run(sql, [this, &values](const QString &part) { return run(part, values); }))
        return crosstab;
    return execute(sql, values, true);
}

std::unique_ptr<Recordset> SqliteEngine::describe(const QString &sql, const QList<BoundValue> &values)
{
    if (!m_db)
        throw ProviderErrors::unspecified(QStringLiteral("The database is closed."));
    // A crosstab's columns are its data's values: it runs to know them.
    if (!storedStatement(sql).isEmpty() || JetCrosstab::parse(sql))
        return run(sql, values);
    return execute(sql, values, false);
}

std::unique_ptr<Recordset> SqliteEngine::execute(const QString &sql, const QList<BoundValue> &values, bool fetchRows)
{
    const QString rewritten = JetSqlRewriter::toSqlite(sql);
    startClock();
    arrangeShadows(SqliteShadowViews::reads(rewritten));
    const QByteArray text = rewritten.toUtf8();
    Statement s;
    try {
        s.st = prepare(sql, text, values);
    } catch (const ReportError &) {
        // A statement that writes behind a query (WITH … DELETE) meets the
        // views, which cannot be written: it is the tables it means.
        if (!m_shadows || !m_shadows->inPlace())
            throw;
        arrangeShadows(false);
        s.st = prepare(sql, text, values);
    }
    int rc = SQLITE_OK;
    const int columns = sqlite3_column_count(s.st);
    if (columns == 0) {
        if (!fetchRows)
            return std::make_unique<MemoryRecordset>(QStringList(), QList<int>());
        while ((rc = sqlite3_step(s.st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            raise(rc, sql);
        return std::make_unique<MemoryRecordset>();
    }

    QStringList names;
    QList<int> types;
    QList<bool> computed;
    QList<QByteArray> declared;
    bool hidden = false;
    for (int c = 0; c < columns; ++c) {
        const char *decl = sqlite3_column_decltype(s.st, c);
        declared.append(decl ? QByteArray(decl) : QByteArray());
        hidden = hidden || !decl;
    }
    if (hidden && m_shadows && m_shadows->inPlace())
        declared = fileTypes(text, columns);
    for (int c = 0; c < columns; ++c) {
        names.append(QString::fromUtf8(sqlite3_column_name(s.st, c)));
        computed.append(declared[c].isNull());
        // Without rows, a computed column is taken for text.
        const int unknown = fetchRows ? int(AdoType::Empty) : int(AdoType::VarWChar);
        types.append(declared[c].isNull() ? unknown : AdoType::fromDeclaredType(QString::fromUtf8(declared[c])));
    }
    if (!fetchRows)
        return std::make_unique<MemoryRecordset>(names, types);
    auto rows = std::make_shared<SqliteRows>(types, computed);
    const qint64 most = m_limits.maxResultBytes > 0 ? m_limits.maxResultBytes : std::numeric_limits<qint64>::max();
    while ((rc = sqlite3_step(s.st)) == SQLITE_ROW) {
        rows->fetch(s.st);
        if (rows->bytesHeld() > most || rows->rowCount() == std::numeric_limits<int>::max())
            throw ProviderErrors::resultTooLarge(sql, most);
    }
    if (rc != SQLITE_DONE)
        raise(rc, sql);
    // A computed column (an expression, an aggregate) has no declared type:
    // it takes the type of its first value, text when every value is empty.
    for (int c = 0; c < columns; ++c)
        if (computed[c])
            types[c] = rows->computedType(c);
    return std::make_unique<MemoryRecordset>(names, types, std::move(rows));
}

QList<QByteArray> SqliteEngine::fileTypes(const QByteArray &statement, int columns)
{
    QList<QByteArray> types(columns);
    if (!m_plain) {
        if (sqlite3_open_v2(m_path.toUtf8().constData(), &m_plain, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            sqlite3_close(m_plain);
            m_plain = nullptr;
            return types;
        }
        JetFunctions::install(m_plain, &m_parameters);
    }
    Statement s;
    if (sqlite3_prepare_v2(m_plain, statement.constData(), int(statement.size()), &s.st, nullptr) != SQLITE_OK || !s.st
        || sqlite3_column_count(s.st) != columns)
        return types;
    for (int c = 0; c < columns; ++c)
        if (const char *decl = sqlite3_column_decltype(s.st, c))
            types[c] = decl;
    return types;
}

void SqliteEngine::setParameterValues(const QHash<QString, QVariant> &values)
{
    m_parameters.clear();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        m_parameters.insert(it.key().toLower(), it.value());
}

std::unique_ptr<Recordset> SqliteEngine::tables()
{
    auto rs = run(QStringLiteral("SELECT NULL AS TABLE_CATALOG, NULL AS TABLE_SCHEMA, name AS TABLE_NAME, "
                                 "CASE type WHEN 'view' THEN 'VIEW' ELSE 'TABLE' END AS TABLE_TYPE "
                                 "FROM main.sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                                 "ORDER BY name"),
                  {});
    return rs;
}

QStringList SqliteEngine::columns(const QString &table)
{
    if (!m_db)
        throw ProviderErrors::unspecified(QStringLiteral("The database is closed."));
    const QString sql = QStringLiteral("SELECT name FROM pragma_table_info(?1) ORDER BY cid");
    startClock();
    Statement s;
    int rc = sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &s.st, nullptr);
    if (rc != SQLITE_OK)
        raise(rc, sql);
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(s.st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    QStringList names;
    while ((rc = sqlite3_step(s.st)) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.st, 0)));
    if (rc != SQLITE_DONE)
        raise(rc, sql);
    if (names.isEmpty())
        throw ProviderErrors::noSuchTable(table);
    return names;
}

void SqliteEngine::runScript(const QString &sql)
{
    m_deadline = QDeadlineTimer(QDeadlineTimer::Forever);
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : QString();
        sqlite3_free(err);
        throw ProviderErrors::unspecified(msg);
    }
}

} // namespace KRML_ReportGen
