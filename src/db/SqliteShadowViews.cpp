#include "SqliteShadowViews.h"

#include "AdoType.h"
#include "JetCollation.h"

#include <QSet>
#include <sqlite3.h>

namespace KRML_ReportGen {

namespace {

QString quotedName(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString columnText(sqlite3_stmt *st, int column)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, column));
    return t ? QString::fromUtf8(t) : QString();
}

// The rows of a query with one bound text.
QList<QStringList> rowsOf(sqlite3 *db, const char *sql, const QString &argument = QString())
{
    QList<QStringList> rows;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return rows;
    }
    if (!argument.isNull()) {
        const QByteArray a = argument.toUtf8();
        sqlite3_bind_text(st, 1, a.constData(), int(a.size()), SQLITE_TRANSIENT);
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            row << columnText(st, c);
        rows.append(row);
    }
    sqlite3_finalize(st);
    return rows;
}

} // namespace

bool SqliteShadowViews::reads(const QString &sql)
{
    int i = 0;
    while (i < sql.size() && (sql[i].isSpace() || sql[i] == QLatin1Char('(')))
        ++i;
    int j = i;
    while (j < sql.size() && sql[j].isLetter())
        ++j;
    const QString word = sql.mid(i, j - i).toUpper();
    return word == QLatin1String("SELECT") || word == QLatin1String("WITH") || word == QLatin1String("VALUES")
        || word == QLatin1String("EXPLAIN");
}

int SqliteShadowViews::schemaVersion() const
{
    const auto rows = rowsOf(m_db, "PRAGMA main.schema_version");
    return rows.isEmpty() ? -1 : rows[0].value(0).toInt();
}

void SqliteShadowViews::exec(const QString &sql) const
{
    sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

void SqliteShadowViews::putAside()
{
    for (const QString &view : std::as_const(m_views))
        exec(QStringLiteral("DROP VIEW IF EXISTS temp.%1").arg(quotedName(view)));
    m_views.clear();
    m_built = false;
}

void SqliteShadowViews::ensure()
{
    const int version = schemaVersion();
    if (m_built && version == m_version)
        return;
    putAside();
    // The user's own temporary objects keep their names.
    QSet<QString> taken;
    for (const QStringList &row : rowsOf(m_db, "SELECT lower(name) FROM temp.sqlite_master"))
        taken.insert(row.value(0));
    const auto objects = rowsOf(m_db, "SELECT name, type FROM main.sqlite_master WHERE type IN ('table', 'view') "
                                      "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name");
    for (const QStringList &object : objects) {
        const QString name = object.value(0);
        if (taken.contains(name.toLower()))
            continue;
        const bool table = object.value(1) == QLatin1String("table");
        const QByteArray tableName = name.toUtf8();
        QStringList columns;
        bool changed = false;
        for (const QStringList &column : rowsOf(m_db, "SELECT name, type FROM pragma_table_info(?1, 'main')", name)) {
            const QString c = column.value(0);
            const int type = AdoType::fromDeclaredType(column.value(1));
            const char *collation = nullptr;
            if (table) {
                const QByteArray columnName = c.toUtf8();
                sqlite3_table_column_metadata(m_db, "main", tableName.constData(), columnName.constData(), nullptr,
                                              &collation, nullptr, nullptr, nullptr);
            }
            const bool binary = !collation || qstricmp(collation, "BINARY") == 0;
            if ((type == AdoType::VarWChar || type == AdoType::LongVarWChar) && binary) {
                columns << QStringLiteral("%1 COLLATE %2 AS %1").arg(quotedName(c), QLatin1String(JetCollation::Name));
                changed = true;
            } else if (type == AdoType::Date) {
                columns << QStringLiteral("jet_datetext(%1) AS %1").arg(quotedName(c));
                changed = true;
            } else {
                columns << quotedName(c);
            }
        }
        if (!changed)
            continue;
        const QString sql = QStringLiteral("CREATE TEMP VIEW %1 AS SELECT %2 FROM main.%1")
                                .arg(quotedName(name), columns.join(QLatin1String(", ")));
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
            m_views << name;
    }
    m_version = version;
    m_built = true;
}

} // namespace KRML_ReportGen
