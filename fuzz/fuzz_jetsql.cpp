// The Jet SQL rewriter, and the embedded engine on what it produces.
#include "DbConnection.h"
#include "JetSqlRewriter.h"
#include "ReportError.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static DbConnection &connection = *[] {
        auto *c = new DbConnection(QStringLiteral("Provider=SQLite;Data Source=:memory:"));
        c->open();
        c->execute(QStringLiteral("CREATE TABLE Orders (OrderID INTEGER, OrderDate DATE, Name TEXT)"));
        c->execute(QStringLiteral("INSERT INTO Orders VALUES (1, '2024-03-15', 'O''Brien')"));
        return c;
    }();
    const QString sql = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    (void)JetSqlRewriter::toSqlite(sql);
    (void)JetSqlRewriter::rewrite(sql, JetSqlRewriter::PostgreSql);
    (void)JetSqlRewriter::rewrite(sql, JetSqlRewriter::Odbc);
    (void)JetSqlRewriter::parseDateLiteral(sql);
    // Statements that read only: the engine must answer or fail, never crash.
    if (sql.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) && size < 512) {
        try {
            (void)connection.openRecordset(sql);
        } catch (const ReportError &) {
        }
    }
    return 0;
}
