// bench_sqleditor
//
//   CheckSyntax on a 100 KB statement (budget 50 ms), and the SQL editor's
//   database reference list on a SQLite database of 200 tables with 20
//   columns each (budget 1 s). The exit code is 2 when a budget is missed.

#include "DatabaseReference.h"
#include "DbConnection.h"
#include "LocalFileService.h"
#include "SqlSyntaxChecker.h"
#include "SqliteEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using namespace KRML_ReportGen;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bool missed = false;

    // A long statement of the usual kind: many conditions, strings, names.
    QString sql = QStringLiteral("select o.OrderID, c.Name, o.Total from Orders o inner join Customers c on c.CustomerID = o.CustomerID where ");
    int i = 0;
    for (; sql.size() < 100 * 1024; ++i)
        sql += QStringLiteral("(o.Qty between %1 and %2 or c.City = 'Berlin in May' or [Order Details].Discount is null) and\r\n")
                   .arg(i)
                   .arg(i + 11);
    sql += QStringLiteral("1 = 1 order by o.OrderDate desc");
    QStringList tables, columns;
    for (int t = 0; t < 200; ++t) {
        tables << QStringLiteral("Table%1").arg(t);
        for (int c = 0; c < 20; ++c)
            columns << QStringLiteral("Column%1_%2").arg(t).arg(c);
    }
    double best = 1e9;
    int spans = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const auto result = SqlSyntaxChecker::CheckSyntax(sql, tables, columns);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        spans = int(result.spans.size());
    }
    std::printf("CheckSyntax on %.0f KB (%d words): %.1f ms (budget 50)\n", sql.size() / 1024.0, spans, best);
    missed |= best > 50;

    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("wide.db"));
    {
        auto engine = SqliteEngine::create(db);
        QString script = QStringLiteral("BEGIN;");
        for (int t = 0; t < 200; ++t) {
            QStringList defs;
            for (int c = 0; c < 20; ++c)
                defs << QStringLiteral("Column%1 VARCHAR(20)").arg(c);
            script += QStringLiteral("CREATE TABLE Table%1 (%2);").arg(t).arg(defs.join(QStringLiteral(", ")));
            script += QStringLiteral("INSERT INTO Table%1 (Column0) VALUES ('a'), ('b'), ('c');").arg(t);
        }
        engine->runScript(script + QStringLiteral("COMMIT;"));
    }
    LocalFileService files;
    best = 1e9;
    int names = 0;
    for (int run = 0; run < 3; ++run) {
        DbConnection connection(QStringLiteral("Provider=SQLite;Data Source=") + db);
        DatabaseReference reference;
        QElapsedTimer timer;
        timer.start();
        reference.CreateDBReferenceFile(files, dir.filePath(QStringLiteral("ref.tmp")), connection);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        names = int(reference.columns().size());
    }
    std::printf("Reference list for 200 tables x 20 columns (%d columns): %.1f ms (budget 1000)\n", names, best);
    missed |= best > 1000 || names != 4000;
    return missed ? 2 : 0;
}
