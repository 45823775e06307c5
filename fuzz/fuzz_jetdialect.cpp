// The dialect as a hostile statement might use it: PARAMETERS, TOP n
// PERCENT, LIKE with character lists, TRANSFORM … PIVOT, the operators and
// the functions written for every engine. The rewriting must end, never
// crash, and either give text or refuse with a ReportError; the embedded
// engine must answer what reads, or fail the same way.
// Input: the first byte picks the LIKE wildcards, the rest is the statement.
#include "DbConnection.h"
#include "JetCollation.h"
#include "JetCrosstab.h"
#include "JetFormatPattern.h"
#include "JetLikePattern.h"
#include "JetSqlRewriter.h"
#include "ReportError.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static DbConnection &connection = *[] {
        auto *c = new DbConnection(QStringLiteral("Provider=SQLite;Data Source=:memory:"));
        c->open();
        c->execute(QStringLiteral("CREATE TABLE Orders (OrderID INTEGER, OrderDate DATE, Name VARCHAR(20), Qty INTEGER)"));
        c->execute(QStringLiteral("INSERT INTO Orders VALUES (1, '2024-03-15', 'O''Brien', 3), (2, '2024-03-16 10:30:00', 'north', 5)"));
        c->setParameterValues({{QStringLiteral("Start"), QStringLiteral("2024-01-01")}});
        return c;
    }();
    static const JetCollation collation;
    if (size == 0)
        return 0;
    JetSqlRewriter::Options options;
    options.like = (data[0] & 1) ? JetLikePattern::Ansi89 : JetLikePattern::Ansi92;
    const QString sql = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), int(size - 1));
    for (const auto dialect : {JetSqlRewriter::Sqlite, JetSqlRewriter::PostgreSql, JetSqlRewriter::Odbc, JetSqlRewriter::SqliteNative}) {
        try {
            (void)JetSqlRewriter::translate(sql, dialect, options);
        } catch (const ReportError &) {
        }
    }
    // The statement's text as a LIKE pattern and as a Format pattern.
    const JetLikePattern pattern(sql, options.like);
    (void)pattern.matches(QStringLiteral("O'Brien north 2024"), collation);
    (void)pattern.toRegex();
    (void)pattern.toAnsi92();
    (void)pattern.toPlain();
    (void)JetFormatPattern::dateParts(sql);
    (void)JetFormatPattern::number(sql);
    if (const auto crosstab = JetCrosstab::parse(sql)) {
        (void)crosstab->valuesQuery();
        (void)crosstab->select({QVariant(1), QVariant(QStringLiteral("a]b")), QVariant()});
    }
    // Statements that read only: the engine must answer or fail, never crash.
    QString rewritten;
    try {
        rewritten = JetSqlRewriter::rewrite(sql, JetSqlRewriter::Sqlite, options).trimmed();
    } catch (const ReportError &) {
    }
    const bool reads = rewritten.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive)
        || sql.trimmed().startsWith(QLatin1String("TRANSFORM"), Qt::CaseInsensitive);
    if (reads && size < 512) {
        try {
            (void)connection.openRecordset(sql);
        } catch (const ReportError &) {
        }
    }
    return 0;
}
