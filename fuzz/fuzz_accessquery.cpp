// A saved Access query's rows (as a hostile file might hold them) put back
// together as SQL: never a crash, and either nothing or exactly one SELECT
// statement, as SQLite's own tokenizer reads it, before and after the text
// is rewritten for the embedded engine.
// Input: one row a line, "attribute|name1|name2|expression|flag".
#include "AccessQueryText.h"
#include "JetSqlRewriter.h"
#include "SqlCommands.h"

#include <QStringList>
#include <sqlite3.h>

using namespace KRML_ReportGen;

namespace {

// True when some ";" outside quotes and comments ends a statement before
// the text does.
bool severalStatements(const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == ';' && sqlite3_complete(text.left(i + 1).constData()) && !text.mid(i + 1).trimmed().isEmpty())
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    QList<AccessQueryText::Row> rows;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char('|'));
        if (f.size() < 5)
            continue;
        rows.append({f[0].toInt(), f[1], f[2], f[3], f[4].toInt()});
    }
    const QString sql = AccessQueryText::selectText(rows);
    if (sql.isEmpty())
        return 0;
    if (!sql.startsWith(QLatin1String("SELECT ")) || SqlCommands::firstWord(sql) != QLatin1String("SELECT") || severalStatements(sql))
        __builtin_trap();
    const QString rewritten = JetSqlRewriter::toSqlite(sql);
    if (SqlCommands::firstWord(rewritten) != QLatin1String("SELECT") || severalStatements(rewritten))
        __builtin_trap();
    return 0;
}
