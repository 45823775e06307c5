// One totals report over the same data in three engines: the embedded
// SQLite engine, an Access database (imported) and a PostgreSQL server
// started by the test run (tests/servers/postgres-server.sh). Every line
// it prints, money sums over thousands of rows included, must be the same.

#include "DbConnection.h"
#include "GenerationFixture.h"
#include "PostgresTestServer.h"
#include "QueryLoader.h"
#include "RecordingSurface.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"
#include "TestData.h"

#include <QtTest>

using namespace KRML_ReportGen;

class TestEngineTotals : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    PostgresTestServer m_pg;
    static inline const QString kDatabase = QStringLiteral("krml_enginetotals");

    static QString access() { return TestData::path(QStringLiteral("mdb/northwind-jet4.mdb")); }
    QString accessString() const { return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(access()); }
    QString sqliteString() const { return QStringLiteral("Provider=SQLite;Data Source=%1").arg(m_dir.filePath(QStringLiteral("nw.db"))); }

    // The rows of a table as SQL value lists, read through the Access file.
    static QStringList rowsOf(DbConnection &source, const QString &sql)
    {
        QStringList rows;
        auto rs = source.openRecordset(sql);
        for (; !rs->isEOF(); rs->moveNext()) {
            QStringList values;
            for (int c = 0; c < rs->fieldCount(); ++c) {
                const QVariant v = rs->field(c).value;
                values << (v.isNull() ? QStringLiteral("NULL") : QString::number(v.toDouble(), 'g', 17));
            }
            rows << QLatin1Char('(') + values.join(QLatin1Char(',')) + QLatin1Char(')');
        }
        return rows;
    }

    // The report: each order's freight with its running sum, the page's
    // subtotal in the footer, and the totals of the orders and of their
    // lines after the lists.
    QStringList totals(const QString &connection)
    {
        GenerationFixture fixture(QByteArray("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n2\r\n"
                                             "tablename=Orders\r\nSELECT OrderID, Freight FROM Orders ORDER BY OrderID\r\n"
                                             "tablename=Lines\r\nSELECT OrderID, UnitPrice, Quantity, Discount FROM [Order Details] "
                                             "ORDER BY OrderID, ProductID\r\n"
                                             "tablename=endreport"));
        ModuleState::current().data().setRDDataConnectionString(connection);
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader{fixture.files, prompts};
        ReportGenerator generator{page, loader};
        generator.setPaginate(true);
        page.setHeight(15000);
        page.setWidth(20000);
        const auto formula = [&](float left, float top, const QString &text) {
            GenerationFixture::label(page, left, top, 240, text, QStringLiteral("FORMULA:") + text);
        };
        GenerationFixture::label(page, 100, 1000, 240, QString(), QStringLiteral("DATA:Orders.OrderID"));
        GenerationFixture::label(page, 1500, 1000, 240, QString(), QStringLiteral("DATA:Orders.Freight"));
        formula(3000, 1000, QStringLiteral("=RunningSum({Orders.Freight})"));
        formula(100, 14000, QStringLiteral("=PageSum({Orders.Freight})"));
        const QStringList after = {
            QStringLiteral("=Sum({Orders.Freight})"),
            QStringLiteral("=Avg({Orders.Freight})"),
            QStringLiteral("=Min({Orders.Freight}) & \" \" & Max({Orders.Freight}) & \" \" & Count(*)"),
            QStringLiteral("=Sum({Lines.UnitPrice})"),
            QStringLiteral("=Sum({Lines.UnitPrice} * {Lines.Quantity})"),
            QStringLiteral("=Sum({Lines.UnitPrice} * {Lines.Quantity} * (1 - {Lines.Discount}))"),
            QStringLiteral("=Avg({Lines.UnitPrice} * {Lines.Quantity})"),
            QStringLiteral("=Sum({Lines.Discount}) & \" \" & Max({Lines.Discount}) & \" \" & Count({Lines.OrderID})"),
        };
        for (int i = 0; i < after.size(); ++i)
            formula(6000 + 1500 * float(i), 1100, after[i]);
        RecordingSurface surface(DrawingSurface::Kind::Printer);
        generator.GenerateOutput(surface);
        return surface.printedTexts();
    }

private slots:
    void initTestCase()
    {
        if (!TestData::available())
            return;
        // The same rows in the embedded engine and the server, with the
        // types people give them there: Currency as CURRENCY and as money
        // or numeric, Single as REAL and real.
        DbConnection source(accessString());
        source.open();
        const QStringList orders = rowsOf(source, QStringLiteral("SELECT OrderID, Freight FROM Orders"));
        const QStringList lines = rowsOf(source, QStringLiteral("SELECT OrderID, ProductID, UnitPrice, Quantity, Discount FROM [Order Details]"));
        QCOMPARE(orders.size(), 830);
        QCOMPARE(lines.size(), 2155);
        SqliteEngine::create(m_dir.filePath(QStringLiteral("nw.db")))
            ->runScript(QStringLiteral("CREATE TABLE Orders (OrderID INTEGER, Freight CURRENCY);"
                                       "CREATE TABLE [Order Details] (OrderID INTEGER, ProductID INTEGER, UnitPrice CURRENCY,"
                                       " Quantity SMALLINT, Discount REAL);"
                                       "INSERT INTO Orders VALUES %1; INSERT INTO [Order Details] VALUES %2;")
                            .arg(orders.join(QLatin1Char(',')), lines.join(QLatin1Char(','))));
        if (!m_pg.available())
            return;
        // A database of its own: the other suites that share the test
        // server read tables of the same names and list the schema while
        // this one runs.
        {
            DbConnection admin(m_pg.connectionString(QStringLiteral("ReadOnly=False")));
            admin.open();
            admin.execute(QStringLiteral("DROP DATABASE IF EXISTS ") + kDatabase);
            admin.execute(QStringLiteral("CREATE DATABASE ") + kDatabase);
        }
        DbConnection pg(m_pg.connectionString(QStringLiteral("ReadOnly=False"), kDatabase));
        pg.open();
        pg.execute(QStringLiteral("CREATE TABLE Orders (OrderID integer PRIMARY KEY, Freight numeric(19,4))"));
        pg.execute(QStringLiteral("CREATE TABLE [Order Details] (OrderID integer, ProductID integer, UnitPrice money, "
                                  "Quantity smallint, Discount real)"));
        pg.execute(QStringLiteral("INSERT INTO Orders VALUES ") + orders.join(QLatin1Char(',')));
        pg.execute(QStringLiteral("INSERT INTO [Order Details] VALUES ") + lines.join(QLatin1Char(',')));
    }

    void totalsAgreeAcrossEngines()
    {
        KRML_REQUIRE_TESTDATA();
        const QStringList fromAccess = totals(accessString());
        const QStringList fromSqlite = totals(sqliteString());
        // 830 orders with their running sums, page subtotals, the totals.
        QVERIFY2(fromAccess.size() > 2 * 830 + 8, qPrintable(QString::number(fromAccess.size())));
        QCOMPARE(fromSqlite, fromAccess);
        // The freight of all the orders to the cent, the sales of all their
        // lines (with the discounts, Singles, as they print: 0.15) exact.
        const QStringList last = fromAccess.mid(fromAccess.size() - 8);
        QCOMPARE(last, (QStringList{"64942.69", "78.2442048192771", "0.02 1007.64 830", "56500.91", "1354458.59", "1265793.0395",
                                    "628.519067285383", "121.04 0.25 2155"}));
        if (!m_pg.available())
            QSKIP(PostgresTestServer::skipMessage);
        QCOMPARE(totals(m_pg.connectionString(QString(), kDatabase)), fromAccess);
    }
};

QTEST_GUILESS_MAIN(TestEngineTotals)
#include "tst_enginetotals.moc"
