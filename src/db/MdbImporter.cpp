#include "MdbImporter.h"

#include "AccessQueryText.h"
#include "JetCollation.h"
#include "JetCrosstab.h"
#include "JetDateText.h"
#include "JetSqlRewriter.h"

#include "ProviderErrors.h"
#include "SqliteEngine.h"

#include <QFile>
#include <cstdlib>
#include <cstring>
#include <mdbtools.h>
#include <sqlite3.h>
#include <vector>

namespace KRML_ReportGen {

namespace {

QString quoted(const char *name)
{
    return QLatin1Char('"') + QString::fromUtf8(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The rows of a table as text, for the named columns (a column the table
// lacks reads as empty).
QList<QStringList> readRows(MdbHandle *mdb, const char *tableName, const QList<QByteArray> &columns)
{
    QList<QStringList> rows;
    MdbTableDef *table = mdb_read_table_by_name(mdb, const_cast<gchar *>(tableName), MDB_TABLE);
    if (!table)
        return rows;
    mdb_read_columns(table);
    std::vector<std::vector<char>> buffers(columns.size(), std::vector<char>(MDB_BIND_SIZE));
    std::vector<int> lengths(columns.size(), 0);
    std::vector<bool> bound(columns.size(), false);
    for (int c = 0; c < columns.size(); ++c)
        bound[c] = mdb_bind_column_by_name(table, const_cast<gchar *>(columns[c].constData()), buffers[c].data(), &lengths[c]) > 0;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        QStringList row;
        for (int c = 0; c < columns.size(); ++c)
            row << (bound[c] && lengths[c] > 0 ? QString::fromUtf8(buffers[c].data(), lengths[c]) : QString());
        rows.append(row);
    }
    mdb_free_tabledef(table);
    return rows;
}

QString bracketedName(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

// Makes every saved query that reads usable: a view where it translates
// (parameters read at run time, crosstab columns from the data, which the
// file will not change), else a statement the engine runs when a report
// reads the query by name. Action queries stay out.
void importQueries(MdbHandle *mdb, SqliteEngine &engine, MdbImporter::SavedQueries &notes)
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

    QMap<QString, QString> pending; // name → Jet SQL
    for (auto it = definitions.cbegin(); it != definitions.cend(); ++it) {
        const QString name = names.value(it.key());
        const int type = AccessQueryText::queryType(it.value());
        const QString text = AccessQueryText::reads(type) ? AccessQueryText::sqlText(it.value()) : QString();
        if (text.isEmpty())
            notes.leftOut << name;
        else
            pending.insert(name, text);
    }
    // Queries saved in Access use its own LIKE wildcards.
    JetSqlRewriter::Options access;
    access.like = JetLikePattern::Ansi89;
    // The statement a view is made of; a crosstab's columns come from its data.
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
    for (bool progress = true; progress && !pending.isEmpty();) {
        progress = false;
        for (auto it = pending.begin(); it != pending.end();) {
            const QString view = quoted(it.key().toUtf8().constData());
            try {
                engine.runScript(QStringLiteral("CREATE VIEW %1 AS %2").arg(view, viewSql(it.value())));
                try {
                    engine.run(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(bracketedName(it.key())), {});
                } catch (const ReportError &) {
                    engine.runScript(QStringLiteral("DROP VIEW %1").arg(view));
                    throw;
                }
                notes.views << it.key();
                it = pending.erase(it);
                progress = true;
            } catch (const ReportError &) {
                ++it; // not (yet) translatable
            }
        }
    }
    // What is left runs as a statement when a report reads it: a crosstab
    // whose columns depend on its parameters' values.
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        if (JetCrosstab::parse(it.value()) && it.value().trimmed().startsWith(QLatin1String("PARAMETERS"), Qt::CaseInsensitive)) {
            engine.addStoredQuery(it.key(), it.value());
            notes.statements << it.key();
        } else {
            notes.leftOut << it.key();
        }
    }
    notes.views.sort(Qt::CaseInsensitive);
    notes.statements.sort(Qt::CaseInsensitive);
    notes.leftOut.sort(Qt::CaseInsensitive);
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

std::unique_ptr<SqliteEngine> MdbImporter::import(const QString &path, SavedQueries *savedQueries)
{
    MdbHandle *mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb)
        throw ProviderErrors::unrecognizedFormat(path);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb->boolean_true_value = "1";
    mdb->boolean_false_value = "0";
    std::unique_ptr<SqliteEngine> engine = SqliteEngine::create(QStringLiteral(":memory:"));
    sqlite3 *db = engine->handle();
    try {
        if (!mdb_read_catalog(mdb, MDB_TABLE))
            throw ProviderErrors::unrecognizedFormat(path);
        engine->runScript(QStringLiteral("BEGIN"));
        for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
            auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
            if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
                continue;
            MdbTableDef *table = mdb_read_table(entry);
            if (!table)
                continue;
            mdb_read_columns(table);
            const unsigned int columns = table->num_cols;
            QStringList definitions;
            for (unsigned int c = 0; c < columns; ++c) {
                auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
                // Text compares and sorts as the legacy engine does it.
                const bool text = col->col_type == MDB_TEXT || col->col_type == MDB_MEMO;
                definitions << quoted(col->name) + QLatin1Char(' ') + declaredType(col->col_type)
                        + (text ? QStringLiteral(" COLLATE ") + QLatin1String(JetCollation::Name) : QString());
            }
            engine->runScript(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table->name), definitions.join(QStringLiteral(", "))));

            std::vector<std::vector<char>> buffers(columns, std::vector<char>(MDB_BIND_SIZE));
            std::vector<int> lengths(columns, 0);
            std::vector<int> types(columns, 0);
            for (unsigned int c = 0; c < columns; ++c) {
                types[c] = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c))->col_type;
                // Pictures and other binary data stay empty: reports print text.
                if (types[c] != MDB_OLE && types[c] != MDB_BINARY)
                    mdb_bind_column(table, int(c) + 1, buffers[c].data(), &lengths[c]);
            }
            QStringList marks;
            for (unsigned int c = 0; c < columns; ++c)
                marks << QStringLiteral("?");
            const QByteArray insert = QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(quoted(table->name), marks.join(QLatin1Char(','))).toUtf8();
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, insert.constData(), -1, &st, nullptr) != SQLITE_OK) {
                mdb_free_tabledef(table);
                throw ProviderErrors::unspecified(QString::fromUtf8(sqlite3_errmsg(db)));
            }
            mdb_rewind_table(table);
            while (mdb_fetch_row(table)) {
                for (unsigned int c = 0; c < columns; ++c) {
                    const int n = int(c) + 1;
                    if (types[c] == MDB_OLE || types[c] == MDB_BINARY || lengths[c] <= 0) {
                        sqlite3_bind_null(st, n);
                        continue;
                    }
                    const char *text = buffers[c].data();
                    switch (types[c]) {
                    case MDB_BOOL:
                    case MDB_BYTE:
                    case MDB_INT:
                    case MDB_LONGINT:
                        sqlite3_bind_int64(st, n, std::strtoll(text, nullptr, 10));
                        break;
                    case MDB_MONEY:
                    case MDB_FLOAT:
                    case MDB_DOUBLE:
                    case MDB_NUMERIC:
                        sqlite3_bind_double(st, n, std::strtod(text, nullptr));
                        break;
                    case MDB_DATETIME: {
                        // The one text form of dates: midnight as the date alone.
                        int length = lengths[c];
                        if (length == 19 && std::memcmp(text + 10, " 00:00:00", 9) == 0)
                            length = 10;
                        sqlite3_bind_text(st, n, text, length, SQLITE_TRANSIENT);
                        break;
                    }
                    default:
                        sqlite3_bind_text(st, n, text, lengths[c], SQLITE_TRANSIENT);
                        break;
                    }
                }
                sqlite3_step(st);
                sqlite3_reset(st);
            }
            sqlite3_finalize(st);
            mdb_free_tabledef(table);
        }
        engine->runScript(QStringLiteral("COMMIT"));
        SavedQueries notes;
        importQueries(mdb, *engine, notes);
        if (savedQueries)
            *savedQueries = notes;
    } catch (...) {
        mdb_close(mdb);
        throw;
    }
    mdb_close(mdb);
    return engine;
}

} // namespace KRML_ReportGen
