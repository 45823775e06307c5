// A saved Access query's rows (as a hostile file might hold them) put back
// together as SQL: never a crash, and either nothing or a statement that
// reads (SELECT, a union of them, TRANSFORM, led by any PARAMETERS) which,
// rewritten for the embedded engine, is exactly one query as SQLite's own
// tokenizer reads it.
// Input: one row a line, "attribute|name1|name2|expression|flag".
#include "AccessQueryText.h"
#include "JetCrosstab.h"
#include "JetSqlRewriter.h"
#include "ReportError.h"
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
    const QString sql = AccessQueryText::sqlText(rows);
    if (sql.isEmpty())
        return 0;
    if (!sql.startsWith(QLatin1String("SELECT ")) && !sql.startsWith(QLatin1String("TRANSFORM "))
        && !sql.startsWith(QLatin1String("PARAMETERS ")))
        __builtin_trap();
    JetSqlRewriter::Options access;
    access.like = JetLikePattern::Ansi89;
    QString rewritten;
    try {
        // A crosstab becomes a select over its pivot's values (here, none).
        const auto crosstab = JetCrosstab::parse(sql);
        rewritten = JetSqlRewriter::rewrite(crosstab ? crosstab->select() : sql, JetSqlRewriter::Sqlite, access);
    } catch (const ReportError &) {
        return 0;
    }
    const QString word = SqlCommands::firstWord(rewritten);
    if ((word != QLatin1String("SELECT") && word != QLatin1String("WITH")) || severalStatements(rewritten))
        __builtin_trap();
    return 0;
}
