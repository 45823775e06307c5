#include "BenchDatabase.h"

#include "LocalFileService.h"
#include "ModuleState.h"
#include "SqliteEngine.h"

#include <sys/resource.h>

namespace KRML_ReportGen {

const char *BenchDatabase::statement()
{
    return "SELECT OrderID, Customer, Qty, Total FROM Orders ORDER BY OrderID";
}

void BenchDatabase::build(const QString &path, int rows)
{
    auto db = SqliteEngine::create(path);
    db->runScript(QStringLiteral("CREATE TABLE Orders (OrderID INTEGER PRIMARY KEY, Customer VARCHAR(40), Qty INTEGER,"
                                 " Total CURRENCY, OrderDate DATE);"));
    QString sql = QStringLiteral("BEGIN;");
    for (int i = 1; i <= rows; ++i)
        sql += QStringLiteral("INSERT INTO Orders VALUES (%1, 'Customer %2', %3, %4, '2024-%5-%6');")
                   .arg(i)
                   .arg(i % 997)
                   .arg(1 + i % 40)
                   .arg((i % 5000) / 7.0, 0, 'f', 2)
                   .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                   .arg(1 + i % 28, 2, 10, QLatin1Char('0'));
    sql += QStringLiteral("COMMIT;");
    db->runScript(sql);
}

QString BenchDatabase::prepareFolder(const QString &folder, int rows)
{
    const QString path = folder + QStringLiteral("/bench.db");
    build(path, rows);
    prepareHost(folder, path);
    return path;
}

void BenchDatabase::prepareHost(const QString &folder, const QString &databasePath)
{
    ModuleState &state = ModuleState::current();
    state.setRdAppPath(folder);
    LocalFileService files;
    files.createFolder(folder + QStringLiteral("/Temp"));
    const QByteArray mode = qgetenv("KRML_BENCH_PARAMETERS");
    QByteArray head = "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\ntablename=Orders\r\n";
    QByteArray sql = statement();
    if (mode == "bound" || mode == "literal") {
        const QByteArray filter = mode == "bound" ? "WHERE Qty >= Q(Number) AND OrderDate >= S(Date) ORDER BY"
                                                  : "WHERE Qty >= 1 AND OrderDate >= #2024/01/01# ORDER BY";
        sql.replace("ORDER BY", filter);
        head.replace("noofparams=0\r\n", "noofparams=2\r\np1=1,Q\r\np2=0,S\r\n");
        state.ParamFieldCollection()->Add(QStringLiteral("Q"));
        state.ParamValueCollection()->Add(QStringLiteral("1"));
        state.ParamFieldCollection()->Add(QStringLiteral("S"));
        state.ParamValueCollection()->Add(QStringLiteral("2024-01-01"));
    }
    files.writeBytes(folder + QStringLiteral("/Temp/SQL.mtq"), head + sql + "\r\ntablename=endreport");
    state.data().setRDDataConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + databasePath);
}

double BenchDatabase::peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace KRML_ReportGen
