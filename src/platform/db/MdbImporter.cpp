#include "MdbImporter.h"

#include "ProviderErrors.h"
#include "SqliteEngine.h"

#include <QFile>
#include <cstdlib>
#include <mdbtools.h>
#include <sqlite3.h>
#include <vector>

namespace KRML_ReportGen {

namespace {

QString quoted(const char *name)
{
    return QLatin1Char('"') + QString::fromUtf8(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
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

std::unique_ptr<SqliteEngine> MdbImporter::import(const QString &path)
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
                definitions << quoted(col->name) + QLatin1Char(' ') + declaredType(col->col_type);
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
    } catch (...) {
        mdb_close(mdb);
        throw;
    }
    mdb_close(mdb);
    return engine;
}

} // namespace KRML_ReportGen
