// A saved Access query's rows (as a hostile file might hold them) put back
// together as SQL: never a crash, and either nothing or a statement that
// reads (SELECT, a union of them, TRANSFORM, led by any PARAMETERS).
// Input: one row a line, "attribute|name1|name2|expression|flag".
#include "AccessQueryText.h"
#include "JetSqlRewriter.h"
#include "ReportError.h"

#include <QStringList>

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    QList<AccessQueryText::Row> rows;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char('|'));
        if (f.size() < 5)
            continue;
        rows.append({f[0].toInt(), f[1], f[2], f[3], f[4].toInt()});
    }
    const QString sql = AccessQueryText::sqlText(rows);
    if (!sql.isEmpty() && !sql.startsWith(QLatin1String("SELECT ")) && !sql.startsWith(QLatin1String("TRANSFORM "))
        && !sql.startsWith(QLatin1String("PARAMETERS ")))
        __builtin_trap();
    try {
        JetSqlRewriter::Options access;
        access.like = JetLikePattern::Ansi89;
        (void)JetSqlRewriter::rewrite(sql, JetSqlRewriter::Sqlite, access);
    } catch (const ReportError &) {
    }
    return 0;
}
