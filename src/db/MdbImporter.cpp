#include "MdbImporter.h"

#include "AccessQueryText.h"
#include "JetCollation.h"
#include "JetCrosstab.h"
#include "JetSqlRewriter.h"
#include "ProviderErrors.h"
#include "SqlCommands.h"
#include "SqliteEngine.h"
#include "Recordset.h"

#include <QFile>
#include <QMap>
#include <QScopeGuard>
#include <cstdlib>
#include <cstring>
#include <mdbtools.h>
#include <sqlite3.h>
#include <vector>

namespace KRML_ReportGen {

namespace {

struct MdbClose
{
    void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};
struct TableFree
{
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
struct StatementFinalize
{
    void operator()(sqlite3_stmt *st) const { sqlite3_finalize(st); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbClose>;
using TablePtr = std::unique_ptr<MdbTableDef, TableFree>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalize>;

ReportError damaged(const QString &why)
{
    return ProviderErrors::unspecified(why);
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// What the conversion may do to the database it fills: create and fill its
// tables, then create (and drop again) its views, then record what became
// of the saved queries. Nothing reaches another database, and nothing else
// is written.
struct ImportGuard
{
    enum Phase { Tables, Views, Notes } phase = Tables;
    QByteArray dropping; // the view being dropped again

    static bool notes(const char *table) { return table && std::strcmp(table, MdbImporter::SavedQueriesTable) == 0; }

    static int authorize(void *self, int action, const char *a, const char *, const char *database, const char *)
    {
        const ImportGuard &guard = *static_cast<ImportGuard *>(self);
        const Phase phase = guard.phase;
        if (database && std::strcmp(database, "main") != 0)
            return SQLITE_DENY;
        const bool schema = a && (std::strcmp(a, "sqlite_master") == 0 || std::strcmp(a, "sqlite_schema") == 0);
        switch (action) {
        case SQLITE_READ:
        case SQLITE_SELECT:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
        case SQLITE_TRANSACTION:
            return SQLITE_OK;
        case SQLITE_CREATE_TABLE:
            return phase == Tables || (phase == Notes && notes(a)) ? SQLITE_OK : SQLITE_DENY;
        case SQLITE_INSERT:
            return (phase == Tables || schema || (phase == Notes && notes(a))) ? SQLITE_OK : SQLITE_DENY;
        case SQLITE_UPDATE:
            return schema ? SQLITE_OK : SQLITE_DENY;
        case SQLITE_CREATE_VIEW:
        case SQLITE_DROP_VIEW:
            return phase == Views ? SQLITE_OK : SQLITE_DENY;
        case SQLITE_DELETE:
            // Dropping a view deletes its schema row (and names the view).
            return phase == Views && (schema || (a && !guard.dropping.isEmpty() && guard.dropping == a)) ? SQLITE_OK : SQLITE_DENY;
        default:
            return SQLITE_DENY; // ATTACH, DETACH, PRAGMA, DROP TABLE, triggers, ...
        }
    }
};

// Runs one statement the conversion wrote itself, to its end.
void execute(sqlite3 *db, const QString &sql)
{
    sqlite3_stmt *raw = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &raw, nullptr) != SQLITE_OK || !raw)
        throw ProviderErrors::unspecified(QString::fromUtf8(sqlite3_errmsg(db)));
    StatementPtr st(raw);
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throw ProviderErrors::unspecified(QString::fromUtf8(sqlite3_errmsg(db)));
}

// Why the text of a saved query cannot become a view, or an empty text:
// it must be exactly one statement, a query (SELECT, or WITH … SELECT as
// the rewriting makes of TOP n PERCENT), that only reads.
QString notOneSelect(sqlite3 *db, const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    const char *tail = nullptr;
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &raw, &tail) != SQLITE_OK || !raw)
        return QString::fromUtf8(sqlite3_errmsg(db));
    StatementPtr st(raw);
    const QString word = SqlCommands::firstWord(sql);
    if ((word != QLatin1String("SELECT") && word != QLatin1String("WITH")) || !sqlite3_stmt_readonly(raw) || sqlite3_column_count(raw) == 0)
        return QStringLiteral("it is not a query that only reads");
    sqlite3_stmt *next = nullptr;
    const int rest = sqlite3_prepare_v2(db, tail, -1, &next, nullptr);
    StatementPtr more(next);
    if (rest != SQLITE_OK || next)
        return QStringLiteral("it holds more than one statement");
    return QString();
}

// A libmdb table with its columns read and checked.
TablePtr readTable(MdbTableDef *raw, const QString &what)
{
    TablePtr table(raw);
    if (!table)
        throw damaged(QStringLiteral("%1 cannot be read").arg(what));
    if (!mdb_read_columns(table.get()) || !table->columns || table->columns->len != table->num_cols)
        throw damaged(QStringLiteral("the columns of %1 cannot be read").arg(what));
    for (unsigned int c = 0; c < table->num_cols; ++c)
        if (!g_ptr_array_index(table->columns, c))
            throw damaged(QStringLiteral("the columns of %1 cannot be read").arg(what));
    return table;
}

// Bound column buffers of one table: a value's length is checked against
// its buffer before it is used.
class Bindings
{
public:
    Bindings(MdbHandle *mdb, int columns)
        : m_size(int(mdb->bind_size > 0 ? mdb->bind_size : MDB_BIND_SIZE)),
          m_buffers(size_t(columns), std::vector<char>(size_t(m_size) + 1)), m_lengths(size_t(columns), 0),
          m_bound(size_t(columns), false)
    {
    }
    void bind(MdbTableDef *table, int column, const QString &what)
    {
        if (mdb_bind_column(table, column + 1, m_buffers[size_t(column)].data(), &m_lengths[size_t(column)]) < 0)
            throw damaged(QStringLiteral("a column of %1 cannot be read").arg(what));
        m_bound[size_t(column)] = true;
    }
    bool bindByName(MdbTableDef *table, const QByteArray &name, int column)
    {
        m_bound[size_t(column)] = mdb_bind_column_by_name(table, const_cast<gchar *>(name.constData()),
                                                          m_buffers[size_t(column)].data(), &m_lengths[size_t(column)])
            > 0;
        return m_bound[size_t(column)];
    }
    // The value's bytes, or nullptr for an empty (or unbound) one.
    const char *value(int column, int *length, const QString &what) const
    {
        const int n = m_lengths[size_t(column)];
        if (!m_bound[size_t(column)] || n <= 0)
            return nullptr;
        if (n > m_size)
            throw damaged(QStringLiteral("a value of %1 is longer than its column").arg(what));
        *length = n;
        return m_buffers[size_t(column)].data();
    }

private:
    int m_size;
    std::vector<std::vector<char>> m_buffers;
    std::vector<int> m_lengths;
    std::vector<bool> m_bound;
};

// The rows of a system table as text, for the named columns (a column the
// table lacks reads as empty); an empty list when the table is not there.
QList<QStringList> readRows(MdbHandle *mdb, const char *tableName, const QList<QByteArray> &columns)
{
    QList<QStringList> rows;
    MdbTableDef *raw = mdb_read_table_by_name(mdb, const_cast<gchar *>(tableName), MDB_TABLE);
    if (!raw)
        return rows;
    const QString what = QString::fromLatin1(tableName);
    TablePtr table = readTable(raw, what);
    Bindings bindings(mdb, int(columns.size()));
    for (int c = 0; c < columns.size(); ++c)
        bindings.bindByName(table.get(), columns[c], c);
    if (mdb_rewind_table(table.get()) < 0)
        throw damaged(QStringLiteral("%1 cannot be read").arg(what));
    while (mdb_fetch_row(table.get())) {
        QStringList row;
        for (int c = 0; c < columns.size(); ++c) {
            int length = 0;
            const char *text = bindings.value(c, &length, what);
            row << (text ? QString::fromUtf8(text, length) : QString());
        }
        rows.append(row);
    }
    return rows;
}

void importTable(MdbHandle *mdb, MdbCatalogEntry *entry, sqlite3 *db)
{
    const QString what = QStringLiteral("the table %1").arg(QString::fromUtf8(entry->object_name));
    TablePtr table = readTable(mdb_read_table(entry), what);
    const int columns = int(table->num_cols);
    const QString name = QString::fromUtf8(table->name);
    QStringList definitions;
    QStringList marks;
    std::vector<int> types(size_t(columns), 0);
    for (int c = 0; c < columns; ++c) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
        types[size_t(c)] = col->col_type;
        // Text compares and sorts as the legacy engine does it.
        const bool text = col->col_type == MDB_TEXT || col->col_type == MDB_MEMO;
        definitions << quoted(QString::fromUtf8(col->name)) + QLatin1Char(' ') + MdbImporter::declaredType(col->col_type)
                + (text ? QStringLiteral(" COLLATE ") + QLatin1String(JetCollation::Name) : QString());
        marks << QStringLiteral("?");
    }
    execute(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(name), definitions.join(QStringLiteral(", "))));

    Bindings bindings(mdb, columns);
    for (int c = 0; c < columns; ++c)
        // Pictures and other binary data stay empty: reports print text.
        if (types[size_t(c)] != MDB_OLE && types[size_t(c)] != MDB_BINARY)
            bindings.bind(table.get(), c, what);
    const QByteArray insert = QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(quoted(name), marks.join(QLatin1Char(','))).toUtf8();
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, insert.constData(), -1, &raw, nullptr) != SQLITE_OK || !raw)
        throw ProviderErrors::unspecified(QString::fromUtf8(sqlite3_errmsg(db)));
    StatementPtr st(raw);
    if (mdb_rewind_table(table.get()) < 0)
        throw damaged(QStringLiteral("%1 cannot be read").arg(what));
    while (mdb_fetch_row(table.get())) {
        for (int c = 0; c < columns; ++c) {
            const int n = c + 1;
            int length = 0;
            const char *text = bindings.value(c, &length, what);
            int rc = SQLITE_OK;
            if (!text) {
                rc = sqlite3_bind_null(st.get(), n);
            } else {
                switch (types[size_t(c)]) {
                case MDB_BOOL:
                case MDB_BYTE:
                case MDB_INT:
                case MDB_LONGINT:
                    rc = sqlite3_bind_int64(st.get(), n, std::strtoll(QByteArray(text, length).constData(), nullptr, 10));
                    break;
                case MDB_MONEY:
                case MDB_FLOAT:
                case MDB_DOUBLE:
                case MDB_NUMERIC:
                    rc = sqlite3_bind_double(st.get(), n, std::strtod(QByteArray(text, length).constData(), nullptr));
                    break;
                case MDB_DATETIME:
                    // The one text form of dates: midnight as the date alone.
                    if (length == 19 && std::memcmp(text + 10, " 00:00:00", 9) == 0)
                        length = 10;
                    rc = sqlite3_bind_text(st.get(), n, text, length, SQLITE_TRANSIENT);
                    break;
                default:
                    rc = sqlite3_bind_text(st.get(), n, text, length, SQLITE_TRANSIENT);
                    break;
                }
            }
            if (rc != SQLITE_OK)
                throw ProviderErrors::unspecified(QString::fromUtf8(sqlite3_errmsg(db)));
        }
        // Every row read is stored, or the conversion fails.
        if (sqlite3_step(st.get()) != SQLITE_DONE)
            throw ProviderErrors::unspecified(QStringLiteral("A row of %1 could not be stored: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(db))));
        sqlite3_reset(st.get());
    }
}

// The saved queries of the file, as Jet SQL; empty for those that do not
// read (or make no statement).
QMap<QString, QString> savedQueries(MdbHandle *mdb)
{
    // Saved queries are the objects of type 5; names starting with "~" are
    // Access's own (the record sources of forms and reports).
    QMap<QString, QString> names; // object id → name
    for (const QStringList &o : readRows(mdb, "MSysObjects", {"Id", "Name", "Type"}))
        if (o[2].toInt() == 5 && !o[1].isEmpty() && !o[1].startsWith(QLatin1Char('~')))
            names.insert(o[0], o[1]);
    QMap<QString, QList<AccessQueryText::Row>> definitions;
    for (const QStringList &r : readRows(mdb, "MSysQueries", {"ObjectId", "Attribute", "Name1", "Name2", "Expression", "Flag"}))
        if (names.contains(r[0]))
            definitions[r[0]].append({r[1].toInt(), r[2], r[3], r[4], r[5].toInt()});
    QMap<QString, QString> queries;
    for (auto it = definitions.cbegin(); it != definitions.cend(); ++it) {
        const int type = AccessQueryText::queryType(it.value());
        const QString text = AccessQueryText::reads(type) ? AccessQueryText::sqlText(it.value()) : QString();
        queries.insert(names.value(it.key()), text);
    }
    return queries;
}

} // namespace

bool MdbImporter::isAccessFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    return head.size() >= 19 && (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

MdbImporter::SavedQueries MdbImporter::createViews(SqliteEngine &engine, QMap<QString, QString> pending,
                                                  const std::function<void(const QString &)> &warn)
{
    sqlite3 *db = engine.handle();
    ImportGuard guard;
    guard.phase = ImportGuard::Views;
    sqlite3_set_authorizer(db, &ImportGuard::authorize, &guard);
    const auto unguard = qScopeGuard([db] { sqlite3_set_authorizer(db, nullptr, nullptr); });
    // Queries saved in Access use its own LIKE wildcards.
    JetSqlRewriter::Options access;
    access.like = JetLikePattern::Ansi89;
    // The statement a view is made of; a crosstab's columns come from its
    // data, which cannot change, since the Access file is only read.
    const auto viewSql = [&](const QString &text) {
        const auto crosstab = JetCrosstab::parse(text);
        if (!crosstab)
            return JetSqlRewriter::rewrite(text, JetSqlRewriter::Sqlite, access);
        QList<QVariant> values;
        if (crosstab->needsValues()) {
            auto rs = engine.run(crosstab->valuesQuery(), {});
            for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
                values << rs->field(0).value;
        }
        return JetSqlRewriter::rewrite(crosstab->select(values), JetSqlRewriter::Sqlite, access);
    };
    // A query may read other queries: create what can be created, then try
    // the rest again, until a round creates nothing more.
    SavedQueries notes;
    QMap<QString, QString> why; // the last reason a query was left out
    for (bool progress = true; progress && !pending.isEmpty();) {
        progress = false;
        for (auto it = pending.begin(); it != pending.end();) {
            const QString view = quoted(it.key());
            QString reason;
            QString sql;
            if (it.value().isEmpty()) {
                reason = QStringLiteral("it is not a query that only reads");
            } else {
                try {
                    sql = viewSql(it.value());
                } catch (const ReportError &e) {
                    reason = e.description();
                }
            }
            if (reason.isEmpty())
                reason = notOneSelect(db, sql);
            if (reason.isEmpty()) {
                try {
                    execute(db, QStringLiteral("CREATE VIEW %1 AS %2").arg(view, sql));
                    try {
                        execute(db, QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(view));
                    } catch (const ReportError &) {
                        guard.dropping = it.key().toUtf8();
                        execute(db, QStringLiteral("DROP VIEW %1").arg(view));
                        guard.dropping.clear();
                        throw;
                    }
                    notes.views << it.key();
                    it = pending.erase(it);
                    progress = true;
                    continue;
                } catch (const ReportError &e) {
                    reason = e.description();
                }
            }
            why.insert(it.key(), reason);
            ++it; // not (yet) translatable
        }
    }
    // What is left runs as a statement when a report reads it: a crosstab
    // whose columns depend on its parameters' values (it only ever runs on
    // the read-only connection, under its checks).
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        if (JetCrosstab::parse(it.value()) && it.value().trimmed().startsWith(QLatin1String("PARAMETERS"), Qt::CaseInsensitive)) {
            notes.statements << it.key();
            continue;
        }
        notes.leftOut << it.key();
        if (warn)
            warn(QStringLiteral("the query %1 was left out: %2").arg(it.key(), why.value(it.key())));
    }
    notes.views.sort(Qt::CaseInsensitive);
    notes.statements.sort(Qt::CaseInsensitive);
    notes.leftOut.sort(Qt::CaseInsensitive);

    // The record of what became of the queries, for the engine that reads
    // the converted file (which cannot keep the statements otherwise).
    guard.phase = ImportGuard::Notes;
    const QString table = quoted(QString::fromLatin1(SavedQueriesTable));
    execute(db, QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (Name TEXT, Kind TEXT, Statement TEXT)").arg(table));
    const QByteArray insert = QStringLiteral("INSERT INTO %1 VALUES (?1, ?2, ?3)").arg(table).toUtf8();
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, insert.constData(), -1, &raw, nullptr) != SQLITE_OK || !raw)
        throw ProviderErrors::unspecified(QString::fromUtf8(sqlite3_errmsg(db)));
    StatementPtr st(raw);
    const auto record = [&](const QStringList &names, const char *kind) {
        for (const QString &name : names) {
            const QByteArray n = name.toUtf8();
            const QByteArray statement = qstrcmp(kind, "statement") == 0 ? pending.value(name).toUtf8() : QByteArray();
            sqlite3_bind_text(st.get(), 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st.get(), 2, kind, -1, SQLITE_STATIC);
            if (statement.isNull())
                sqlite3_bind_null(st.get(), 3);
            else
                sqlite3_bind_text(st.get(), 3, statement.constData(), int(statement.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(st.get()) != SQLITE_DONE)
                throw ProviderErrors::unspecified(QString::fromUtf8(sqlite3_errmsg(db)));
            sqlite3_reset(st.get());
        }
    };
    record(notes.views, "view");
    record(notes.statements, "statement");
    record(notes.leftOut, "left out");
    return notes;
}

MdbImporter::SavedQueries MdbImporter::readSavedQueries(SqliteEngine &converted)
{
    SavedQueries notes;
    std::unique_ptr<Recordset> rs;
    try {
        rs = converted.run(QStringLiteral("SELECT Name, Kind, Statement FROM [%1] ORDER BY Name").arg(QLatin1String(SavedQueriesTable)), {});
    } catch (const ReportError &) {
        return notes; // a database converted from a file without saved queries
    }
    for (rs->moveFirst(); !rs->isEOF(); rs->moveNext()) {
        const QString name = rs->field(0).value.toString();
        const QString kind = rs->field(1).value.toString();
        if (kind == QLatin1String("view")) {
            notes.views << name;
        } else if (kind == QLatin1String("statement")) {
            notes.statements << name;
            converted.addStoredQuery(name, rs->field(2).value.toString());
        } else {
            notes.leftOut << name;
        }
    }
    return notes;
}

QString MdbImporter::declaredType(int type)
{
    switch (type) {
    case MDB_BOOL: return QStringLiteral("YESNO");
    case MDB_BYTE: return QStringLiteral("BYTE");
    case MDB_INT: return QStringLiteral("SMALLINT");
    case MDB_LONGINT: return QStringLiteral("LONG");
    case MDB_MONEY: return QStringLiteral("CURRENCY");
    case MDB_FLOAT: return QStringLiteral("SINGLE");
    case MDB_DOUBLE: return QStringLiteral("DOUBLE");
    case MDB_DATETIME: return QStringLiteral("DATETIME");
    case MDB_NUMERIC: return QStringLiteral("DECIMAL");
    case MDB_MEMO: return QStringLiteral("MEMO");
    case MDB_OLE:
    case MDB_BINARY: return QStringLiteral("BLOB");
    default: return QStringLiteral("VARCHAR");
    }
}

void MdbImporter::convert(const QString &accessPath, const QString &sqlitePath, const std::function<void(const QString &)> &warn)
{
    MdbPtr mdb(mdb_open(QFile::encodeName(accessPath).constData(), MDB_NOFLAGS));
    if (!mdb)
        throw ProviderErrors::unrecognizedFormat(accessPath);
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb->boolean_true_value = "1";
    mdb->boolean_false_value = "0";
    GPtrArray *catalog = mdb_read_catalog(mdb.get(), MDB_TABLE);
    if (!catalog)
        throw damaged(QStringLiteral("its catalog cannot be read"));

    std::unique_ptr<SqliteEngine> engine = SqliteEngine::create(sqlitePath);
    sqlite3 *db = engine->handle();
    // The file is built once and thrown away if anything fails: nothing to
    // journal.
    sqlite3_exec(db, "PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr);
    ImportGuard guard; // tables only
    sqlite3_set_authorizer(db, &ImportGuard::authorize, &guard);
    execute(db, QStringLiteral("BEGIN"));
    for (guint i = 0; i < catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalog, i));
        if (!entry || entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
            continue;
        importTable(mdb.get(), entry, db);
    }
    execute(db, QStringLiteral("COMMIT"));
    sqlite3_set_authorizer(db, nullptr, nullptr);
    createViews(*engine, savedQueries(mdb.get()), warn);
    engine->close();
}

} // namespace KRML_ReportGen
