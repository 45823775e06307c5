// Access databases of the legacy reports, read through mdbtools into the
// embedded engine. Uses the real files in ../shared/testdata/mdb.
#include "AccessQueryText.h"
#include "DbConnection.h"
#include "MdbImportProcess.h"
#include "MdbImporter.h"
#include "SqliteEngine.h"
#include "ProviderErrors.h"
#include "ReportError.h"
#include "TestData.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <utime.h>

using namespace KRML_ReportGen;

namespace {

std::unique_ptr<DbConnection> open(const QString &file, const QString &provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0"))
{
    auto c = std::make_unique<DbConnection>(QStringLiteral("Provider=%1;Data Source=%2;Persist Security Info=False")
                                                .arg(provider, TestData::path(QStringLiteral("mdb/") + file)));
    c->open();
    return c;
}

void writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
    f.close();
    if (executable)
        QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

// Limits small enough for a test: a reader that loops is stopped at once.
MdbImportProcess::Limits testLimits()
{
    MdbImportProcess::Limits limits;
    limits.cpuSeconds = 5;
    limits.wallSeconds = 15;
    limits.memoryBytes = 1024LL * 1024 * 1024;
    limits.fileBytes = 256LL * 1024 * 1024;
    limits.messageBytes = 256 * 1024;
    return limits;
}

// Runs the helper another program stands in for (KRML_MDBIMPORT).
class HelperOverride
{
public:
    explicit HelperOverride(const QString &path) : m_old(qgetenv("KRML_MDBIMPORT")) { qputenv("KRML_MDBIMPORT", path.toLocal8Bit()); }
    ~HelperOverride() { qputenv("KRML_MDBIMPORT", m_old); }

private:
    QByteArray m_old;
};

} // namespace

Q_DECLARE_METATYPE(KRML_ReportGen::AccessQueryText::Row)

class TestAccess : public QObject
{
    Q_OBJECT
private slots:
    void tablesAndRows_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("rows");
        for (const char *file : {"northwind-jet4.mdb", "nwind-jet3.mdb"}) {
            const QString f = QLatin1String(file);
            QTest::newRow(qPrintable(f + QStringLiteral(" Orders"))) << f << "Orders" << 830;
            QTest::newRow(qPrintable(f + QStringLiteral(" Order Details"))) << f << "Order Details" << 2155;
            QTest::newRow(qPrintable(f + QStringLiteral(" Customers"))) << f << "Customers" << 91;
            QTest::newRow(qPrintable(f + QStringLiteral(" Shippers"))) << f << "Shippers" << 3;
        }
        QTest::newRow("non-ASCII table name") << "nwind-jet3.mdb" << "Umsätze" << 830;
        QTest::newRow("date edge cases") << "DateTestDatabase.mdb" << "DateTest" << 6;
    }
    void tablesAndRows()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(int, rows);
        auto c = open(file);
        QCOMPARE(c->openRecordset(QStringLiteral("SELECT * FROM [%1]").arg(table))->recordCount(), rows);
        auto schema = c->tableSchema();
        QStringList names;
        for (schema->moveFirst(); !schema->isEOF(); schema->moveNext())
            names << schema->field(QStringLiteral("Table_Name")).value.toString();
        QVERIFY2(names.contains(table), qPrintable(names.join(QLatin1Char(','))));
    }

    void accessTypesBecomeTypeCodes_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("type");
        QTest::newRow("Text") << "A" << 202;
        QTest::newRow("Byte") << "C" << 17;
        QTest::newRow("Integer") << "D" << 2;
        QTest::newRow("Long") << "E" << 3;
        QTest::newRow("Double") << "F" << 5;
        QTest::newRow("Date/Time") << "G" << 7;
        QTest::newRow("Currency") << "H" << 6;
        QTest::newRow("Yes/No") << "I" << 11;
    }
    void accessTypesBecomeTypeCodes()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, column);
        QFETCH(int, type);
        auto c = open(QStringLiteral("testV1997.mdb"));
        auto rs = c->openRecordset(QStringLiteral("SELECT %1 FROM Table1").arg(column));
        QCOMPARE(rs->fieldType(0), type);
    }

    void values()
    {
        KRML_REQUIRE_TESTDATA();
        auto c = open(QStringLiteral("testV1997.mdb"));
        auto rs = c->openRecordset(QStringLiteral("SELECT * FROM Table1 WHERE A = 'abcdefg'"));
        QCOMPARE(rs->recordCount(), 1);
        QCOMPARE(rs->field(QStringLiteral("B")).value, QVariant(QStringLiteral("hijklmnop")));
        QCOMPARE(rs->field(QStringLiteral("E")).value, QVariant(333333333));
        QCOMPARE(rs->field(QStringLiteral("F")).value, QVariant(444.555));
        QCOMPARE(rs->field(QStringLiteral("G")).value.toDateTime().date(), QDate(1974, 9, 21));
        QCOMPARE(rs->field(QStringLiteral("H")).value, QVariant(3.5));
        QCOMPARE(rs->field(QStringLiteral("I")).value, QVariant(true));

        auto n = open(QStringLiteral("northwind-jet4.mdb"));
        auto memo = n->openRecordset(QStringLiteral("SELECT Notes FROM Employees WHERE EmployeeID = 1"));
        QCOMPARE(memo->fieldType(0), 203);
        QVERIFY(memo->field(0).value.toString().size() > 50);
    }

    void reportSqlOnAccessData()
    {
        KRML_REQUIRE_TESTDATA();
        // What a report sends: a Jet date literal and a CR LF at the end.
        auto c = open(QStringLiteral("northwind-jet4.mdb"), QStringLiteral("Microsoft.ACE.OLEDB.12.0"));
        auto rs = c->openRecordset(QStringLiteral("SELECT OrderID, Freight FROM Orders WHERE OrderDate >= #1995/06/01# "
                                                  "AND OrderDate < #1995/07/01# ORDER BY OrderID\r\n"));
        QVERIFY(rs->recordCount() > 10);
        QCOMPARE(rs->fieldType(1), 6);
        try {
            c->openRecordset(QStringLiteral("SELECT * FROM Invoices2"));
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ProviderErrors::NoSuchTable);
            QVERIFY(e.description().contains(QStringLiteral("'Invoices2'")));
        }
    }

    void savedQueryText_data()
    {
        using R = AccessQueryText::Row;
        QTest::addColumn<QList<R>>("rows");
        QTest::addColumn<QString>("sql");
        const R select{1, {}, {}, {}, 1};
        QTest::newRow("one table, criteria and order")
            << QList<R>{select, {3, {}, {}, {}, 8}, {5, "Products", {}, {}, 0}, {6, {}, {}, "Products.ProductName", 0},
                        {6, "Price", {}, "Products.UnitPrice", 0}, {8, {}, {}, "(((Products.Discontinued)=No))", 0},
                        {11, "D", {}, "Products.UnitPrice", 0}}
            << "SELECT DISTINCTROW Products.ProductName, Products.UnitPrice AS [Price]\r\nFROM [Products]\r\n"
               "WHERE (((Products.Discontinued)=No))\r\nORDER BY Products.UnitPrice DESC";
        QTest::newRow("two joins nest in order")
            << QList<R>{select, {5, "Customers", {}, {}, 0}, {5, "Order Subtotals", {}, {}, 0}, {5, "Orders", {}, {}, 0},
                        {6, {}, {}, "Customers.CompanyName", 0},
                        {7, "Customers", "Orders", "Customers.CustomerID = Orders.CustomerID", 1},
                        {7, "Orders", "Order Subtotals", "Orders.OrderID = [Order Subtotals].OrderID", 2}}
            << "SELECT Customers.CompanyName\r\nFROM ([Customers] INNER JOIN [Orders] ON Customers.CustomerID = "
               "Orders.CustomerID) LEFT JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID";
        QTest::newRow("alias, right join, unjoined table")
            << QList<R>{select, {5, "Product List", "P", {}, 0}, {5, "Categories", {}, {}, 0}, {5, "Shippers", {}, {}, 0},
                        {6, {}, {}, "P.ProductName", 0}, {7, "P", "Categories", "P.CategoryID = Categories.CategoryID", 3}}
            << "SELECT P.ProductName\r\nFROM [Product List] AS [P] RIGHT JOIN [Categories] ON P.CategoryID = "
               "Categories.CategoryID, [Shippers]";
        QTest::newRow("top, star, grouping")
            << QList<R>{select, {3, "10", {}, {}, 16 | 1}, {5, "Orders", {}, {}, 0}, {6, "N", {}, "Count(*)", 0},
                        {9, {}, {}, "Orders.ShipCountry", 0}, {10, {}, {}, "Count(*)>5", 0}}
            << "SELECT TOP 10 *, Count(*) AS [N]\r\nFROM [Orders]\r\nGROUP BY Orders.ShipCountry\r\nHAVING Count(*)>5";
        QTest::newRow("an update query") << QList<R>{{1, {}, {}, {}, 4}, {5, "Orders", {}, {}, 0}} << QString();
        QTest::newRow("a parameter query")
            << QList<R>{select, {2, "Start", {}, {}, 8}, {2, "Who", {}, {}, 10}, {5, "Orders", {}, {}, 0}, {6, {}, {}, "OrderID", 0},
                        {8, {}, {}, "OrderDate >= [Start] AND Name = [Who]", 0}}
            << "PARAMETERS [Start] DateTime, [Who] Text;\r\nSELECT OrderID\r\nFROM [Orders]\r\nWHERE OrderDate >= [Start] AND Name = [Who]";
        QTest::newRow("a column that ends the statement and attaches another database")
            << QList<R>{select, {5, "Orders", {}, {}, 0}, {6, {}, {}, "1;ATTACH '/tmp/other.db' AS s;DROP TABLE s.Orders;", 0}}
            << QString();
        QTest::newRow("a union part that ends the statement")
            << QList<R>{{1, {}, {}, {}, 9}, {3, {}, {}, {}, 3}, {5, {}, "X7YZ_____1", "SELECT a FROM t", 0},
                        {5, {}, "X7YZ_____2", "SELECT b FROM u; DROP TABLE t", 0}}
            << QString();
        QTest::newRow("a parameter name that closes its bracket and ends the declaration")
            << QList<R>{select, {2, "A] Value;\r\nDELETE FROM Orders;--", {}, {}, 10}, {5, "Orders", {}, {}, 0},
                        {6, {}, {}, "OrderID", 0}}
            << QString();
        QTest::newRow("a table name with a control character")
            << QList<R>{select, {5, QStringLiteral("Ord\u0000ers"), {}, {}, 0}, {6, {}, {}, "OrderID", 0}} << QString();
        QTest::newRow("a criterion whose quote stays open")
            << QList<R>{{1, {}, {}, {}, 1}, {3, "10", {}, {}, 16 | 32}, {5, "Orders", {}, {}, 0}, {6, {}, {}, "OrderID", 0},
                        {8, {}, {}, "Name = \"a;b", 0}}
            << QString();
        QTest::newRow("a NUL before a semicolon that ends the statement")
            << QList<R>{select, {5, "Orders", {}, {}, 0}, {6, {}, {}, QStringLiteral("OrderID") + QChar(0), 0},
                        {10, {}, {}, "Count(*)>1; DELETE FROM Orders", 0}}
            << QString();
        QTest::newRow("a backtick left open before a percentage top")
            << QList<R>{{1, {}, {}, {}, 1}, {3, "10", {}, {}, 16 | 32}, {5, "Orders", {}, {}, 0},
                        {6, {}, {}, "OrderID `A;T", 0}}
            << QString();
        QTest::newRow("a comment mark outside quotes")
            << QList<R>{select, {5, "Orders", {}, {}, 0}, {6, {}, {}, "OrderID /* ;", 0}}
            << QString();
        QTest::newRow("comment marks and backticks inside quotes are text")
            << QList<R>{select, {5, "Orders", {}, {}, 0}, {6, "T", {}, "'--`/*'", 0}}
            << "SELECT '--`/*' AS [T]\r\nFROM [Orders]";
        QTest::newRow("a semicolon inside quotes is text")
            << QList<R>{select, {5, "Orders", {}, {}, 0}, {6, "T", {}, "'a;b'", 0}}
            << "SELECT 'a;b' AS [T]\r\nFROM [Orders]";
        QTest::newRow("a form's control is asked for")
            << QList<R>{select, {5, "Invoices", {}, {}, 0}, {6, {}, {}, "Invoices.*", 0},
                        {8, {}, {}, "(((Invoices.OrderID)=[Forms]![Orders]![OrderID]))", 0}}
            << "PARAMETERS [Forms!Orders!OrderID] Value;\r\nSELECT Invoices.*\r\nFROM [Invoices]\r\n"
               "WHERE (((Invoices.OrderID)=[Forms]![Orders]![OrderID]))";
        QTest::newRow("a declared control is declared once")
            << QList<R>{select, {2, "Forms!Dialog!Start", {}, {}, 8}, {5, "Orders", {}, {}, 0}, {6, {}, {}, "OrderID", 0},
                        {8, {}, {}, "OrderDate > [Forms]![Dialog]![Start]", 0}}
            << "PARAMETERS [Forms!Dialog!Start] DateTime;\r\nSELECT OrderID\r\nFROM [Orders]\r\nWHERE OrderDate > [Forms]![Dialog]![Start]";
        QTest::newRow("a union query")
            << QList<R>{{1, {}, {}, {}, 9}, {3, {}, {}, {}, 3},
                        {5, {}, "X7YZ_____1", "SELECT City, \"Customers\" AS [Relationship]\r\nFROM Customers\r\n", 0},
                        {5, {}, "X7YZ_____2", "SELECT City, \"Suppliers\"\r\nFROM Suppliers;", 0}, {11, {}, {}, "City", 0}}
            << "SELECT City, \"Customers\" AS [Relationship]\r\nFROM Customers\r\nUNION SELECT City, \"Suppliers\"\r\nFROM Suppliers"
               "\r\nORDER BY City";
        QTest::newRow("a union keeping duplicates")
            << QList<R>{{1, {}, {}, {}, 9}, {3, {}, {}, {}, 1}, {5, {}, "X7YZ_____1", "SELECT a FROM t", 0},
                        {5, {}, "X7YZ_____2", "SELECT b FROM u", 0}}
            << "SELECT a FROM t\r\nUNION ALL SELECT b FROM u";
        QTest::newRow("a crosstab query")
            << QList<R>{{1, {}, {}, {}, 6}, {3, {}, {}, {}, 0}, {5, "Orders", {}, {}, 0},
                        {6, {}, {}, "Orders.ShipCountry", 2}, {6, "Y", {}, "Year([OrderDate])", 1}, {6, {}, {}, "Count(*)", 0},
                        {9, {}, {}, "Orders.ShipCountry", 2}, {9, {}, {}, "Year([OrderDate])", 1}}
            << "TRANSFORM Count(*)\r\nSELECT Orders.ShipCountry\r\nFROM [Orders]\r\nGROUP BY Orders.ShipCountry\r\nPIVOT Year([OrderDate])";
        QTest::newRow("a crosstab whose value's parenthesis closes in its grouping")
            << QList<R>{{1, {}, {}, {}, 6}, {3, {}, {}, {}, 0}, {5, "Orders", {}, {}, 0},
                        {6, {}, {}, "Orders.ShipCountry", 2}, {6, "Y", {}, "Year([OrderDate])", 1}, {6, {}, {}, "Sum(Freight", 0},
                        {9, {}, {}, "Orders.ShipCountry)", 2}}
            << QString();
        QTest::newRow("a delete query") << QList<R>{{1, {}, {}, {}, 5}, {5, "Orders", {}, {}, 0}} << QString();
        QTest::newRow("a join naming an unknown table")
            << QList<R>{select, {5, "Orders", {}, {}, 0}, {6, {}, {}, "OrderID", 0}, {7, "Orders", "Nowhere", "x = y", 1}}
            << QString();
    }
    void savedQueryText()
    {
        QFETCH(QList<AccessQueryText::Row>, rows);
        QFETCH(QString, sql);
        QCOMPARE(AccessQueryText::sqlText(rows), sql);
    }

    void savedQueriesBecomeViews()
    {
        KRML_REQUIRE_TESTDATA();
        auto c = open(QStringLiteral("northwind-jet4.mdb"));
        auto schema = c->tableSchema();
        QStringList views;
        for (; !schema->isEOF(); schema->moveNext())
            if (schema->field(QStringLiteral("TABLE_TYPE")).value.toString() == QLatin1String("VIEW"))
                views << schema->field(QStringLiteral("TABLE_NAME")).value.toString();
        QVERIFY2(views.contains(QStringLiteral("Products by Category")), qPrintable(views.join(QLatin1Char(','))));
        // This copy of the file lacks "Order Subtotals", which two of its
        // queries read: those stay out, and the rest are there.
        QCOMPARE(views, (QStringList{"Alphabetical List of Products", "Catalog", "Orders Qry", "Products by Category"}));
        // The view reads what its joins and criteria say.
        auto byView = c->openRecordset(QStringLiteral("SELECT * FROM [Products by Category]"));
        auto direct = c->openRecordset(QStringLiteral(
            "SELECT COUNT(*) FROM Products INNER JOIN Categories ON Categories.CategoryID = Products.CategoryID "
            "WHERE Products.Discontinued = False"));
        QVERIFY(byView->recordCount() > 0);
        QCOMPARE(byView->recordCount(), direct->field(0).value.toInt());
        QCOMPARE(byView->fieldName(0), QStringLiteral("CategoryName"));

        // Queries over other queries ("Order Subtotals", with CCur).
        auto jet3 = open(QStringLiteral("nwind-jet3.mdb"));
        auto jet3Schema = jet3->tableSchema();
        int jet3Views = 0;
        for (; !jet3Schema->isEOF(); jet3Schema->moveNext())
            jet3Views += jet3Schema->field(QStringLiteral("TABLE_TYPE")).value.toString() == QLatin1String("VIEW");
        // Every one of its 22 saved queries: selects, a union, a crosstab,
        // parameter queries and one that reads a form's control.
        QCOMPARE(jet3Views, 22);
        auto totals = jet3->openRecordset(QStringLiteral("SELECT * FROM [Order Subtotals]"));
        QCOMPARE(totals->recordCount(), 830);
        auto byYear = jet3->openRecordset(QStringLiteral("SELECT * FROM [Summary of Sales by Year]"));
        QVERIFY(byYear->recordCount() > 0);
    }

    void viewsOnlyFromOneSelect()
    {
        // The saved query of a crafted file that attached another database
        // and dropped its table: neither that nor any other write becomes a
        // view or runs, and the other database stays whole.
        QTemporaryDir dir;
        const QString other = dir.filePath(QStringLiteral("other.db"));
        SqliteEngine::create(other)->runScript(QStringLiteral("CREATE TABLE Orders (OrderID INTEGER); INSERT INTO Orders VALUES (1), (2);"));
        auto engine = SqliteEngine::create(dir.filePath(QStringLiteral("converted.db")));
        engine->runScript(QStringLiteral("CREATE TABLE Orders (OrderID INTEGER); INSERT INTO Orders VALUES (7);"));
        QMap<QString, QString> queries;
        queries.insert(QStringLiteral("Attack"), QStringLiteral("SELECT 1;ATTACH '%1' AS s;DROP TABLE s.Orders;").arg(other));
        queries.insert(QStringLiteral("Attach"), QStringLiteral("ATTACH '%1' AS s").arg(other));
        queries.insert(QStringLiteral("Two"), QStringLiteral("SELECT * FROM Orders; DELETE FROM Orders"));
        queries.insert(QStringLiteral("Writing CTE"), QStringLiteral("WITH d AS (SELECT 1) DELETE FROM Orders"));
        queries.insert(QStringLiteral("Pragma"), QStringLiteral("PRAGMA writable_schema = 1"));
        queries.insert(QStringLiteral("Other schema"), QStringLiteral("SELECT * FROM temp.sqlite_master"));
        queries.insert(QStringLiteral("Reader"), QStringLiteral("SELECT OrderID FROM Orders"));
        queries.insert(QStringLiteral("Reader of reader"), QStringLiteral("SELECT * FROM [Reader]"));
        QStringList warnings;
        const QStringList made = MdbImporter::createViews(*engine, queries, [&](const QString &w) { warnings << w; }).views;
        QCOMPARE(made, (QStringList{"Reader", "Reader of reader"}));
        QCOMPARE(warnings.size(), 6);
        QVERIFY2(warnings.join(QLatin1Char('|')).contains(QStringLiteral("the query Attack was left out: it holds more than one statement")),
                 qPrintable(warnings.join(QLatin1Char('|'))));
        QCOMPARE(engine->run(QStringLiteral("SELECT COUNT(*) FROM Orders"), {})->field(0).value.toInt(), 1);
        engine.reset();
        DbConnection check(QStringLiteral("Provider=SQLite;Data Source=") + other);
        check.open();
        QCOMPARE(check.openRecordset(QStringLiteral("SELECT COUNT(*) FROM Orders"))->field(0).value.toInt(), 2);
    }

    void damagedAccessFilesEndWithAClearError_data()
    {
        // Byte-changed and truncated copies of the four test files, made
        // here: changes in the first pages (the catalog and the system
        // tables) and at places known to send the reader into a loop, crash
        // it or leave its columns unread.
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("position"); // -1: truncate at length
        QTest::addColumn<int>("value");
        QTest::addColumn<qint64>("length");
        QRandomGenerator random(20240601);
        for (const char *name : {"northwind-jet4.mdb", "nwind-jet3.mdb", "DateTestDatabase.mdb", "testV1997.mdb"}) {
            const QString file = QString::fromLatin1(name);
            const qint64 size = QFileInfo(TestData::path(QStringLiteral("mdb/") + file)).size();
            for (int i = 0; i < 6; ++i) {
                const qint64 at = qint64(random.bounded(quint32(std::min<qint64>(size, 64 * 1024))));
                const int value = int(random.bounded(256u));
                QTest::newRow(qPrintable(QStringLiteral("%1 byte %2 = %3").arg(file).arg(at).arg(value))) << file << at << value << size;
            }
            for (const qint64 cut : {qint64(2048), qint64(4096 + 17), size / 3, size - 1})
                QTest::newRow(qPrintable(QStringLiteral("%1 cut at %2").arg(file).arg(cut))) << file << qint64(-1) << 0 << cut;
        }
        for (const qint64 at : {qint64(92354), qint64(95099), qint64(97600), qint64(101321)})
            QTest::newRow(qPrintable(QStringLiteral("testV1997.mdb byte %1 = 255 (the reader loops)").arg(at)))
                << "testV1997.mdb" << at << 255 << qint64(118784);
        QTest::newRow("testV1997.mdb byte 71614 = 255 (a column without a name)") << "testV1997.mdb" << qint64(71614) << 255 << qint64(118784);
        QTest::newRow("testV1997.mdb byte 4514 = 255 (the catalog)") << "testV1997.mdb" << qint64(4514) << 255 << qint64(118784);
    }
    void damagedAccessFilesEndWithAClearError()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, file);
        QFETCH(qint64, position);
        QFETCH(int, value);
        QFETCH(qint64, length);
        QFile original(TestData::path(QStringLiteral("mdb/") + file));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QByteArray bytes = original.readAll().left(length);
        if (position >= 0)
            bytes[position] = char(value);
        QTemporaryDir dir;
        const QString damaged = dir.filePath(QStringLiteral("damaged.mdb"));
        writeFile(damaged, bytes);

        const MdbImportProcess::Limits limits = testLimits();
        QElapsedTimer clock;
        clock.start();
        try {
            MdbImportProcess::convert(damaged, dir.filePath(QStringLiteral("out.sqlite")), limits);
            // What could be read opens as a database.
            SqliteEngine::openReadOnly(dir.filePath(QStringLiteral("out.sqlite")), damaged)->tables();
        } catch (const ReportError &e) {
            const bool clear = e.description().startsWith(QStringLiteral("The Access file '%1' is damaged: ").arg(damaged))
                || e.description().startsWith(QStringLiteral("Unrecognized database format"));
            QVERIFY2(clear, qPrintable(e.description()));
        }
        QVERIFY2(clock.elapsed() < (limits.wallSeconds + 5) * 1000, qPrintable(QString::number(clock.elapsed())));
    }

    void loopingReaderIsStopped()
    {
        KRML_REQUIRE_TESTDATA();
        // The reader prints a warning for ever on this page: it is stopped
        // once it has printed more than its share.
        QFile original(TestData::path(QStringLiteral("mdb/testV1997.mdb")));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QByteArray bytes = original.readAll();
        bytes[92354] = char(255);
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("loop.mdb")), bytes);
        try {
            MdbImportProcess::convert(dir.filePath(QStringLiteral("loop.mdb")), dir.filePath(QStringLiteral("out.sqlite")), testLimits());
            QFAIL("converted");
        } catch (const ReportError &e) {
            QVERIFY2(e.description().endsWith(QStringLiteral("is damaged: the reader printed more than 256 KB of warnings")),
                     qPrintable(e.description()));
        }
    }

    void helperFailuresBecomeErrors_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("wallSeconds");
        QTest::addColumn<QString>("message");
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << 2 << "is damaged: the reader crashed (Segmentation fault)";
        QTest::newRow("processor time") << QByteArray("while :; do :; done") << 8
                                        << "is damaged: reading it took more than 1 seconds of processor time";
        QTest::newRow("hang") << QByteArray("exec sleep 30") << 2 << "is damaged: reading it took longer than 2 seconds";
        QTest::newRow("endless warnings") << QByteArray("exec yes warning >&2") << 2
                                          << "is damaged: the reader printed more than 256 KB of warnings";
        QTest::newRow("its own reason") << QByteArray("echo 'the columns of the table Orders cannot be read'; exit 3") << 2
                                        << "is damaged: the columns of the table Orders cannot be read";
    }
    void helperFailuresBecomeErrors()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, wallSeconds);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString helper = dir.filePath(QStringLiteral("helper.sh"));
        writeFile(helper, "#!/bin/sh\n" + script + "\n", true);
        writeFile(dir.filePath(QStringLiteral("a.mdb")), "Standard Jet DB");
        HelperOverride use(helper);
        MdbImportProcess::Limits limits = testLimits();
        limits.cpuSeconds = 1;
        limits.wallSeconds = wallSeconds;
        QElapsedTimer clock;
        clock.start();
        try {
            MdbImportProcess::convert(dir.filePath(QStringLiteral("a.mdb")), dir.filePath(QStringLiteral("out.sqlite")), limits);
            QFAIL("the helper's failure was not noticed");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ProviderErrors::Unspecified);
            QVERIFY2(e.description().startsWith(QStringLiteral("The Access file '")), qPrintable(e.description()));
            QVERIFY2(e.description().endsWith(message), qPrintable(e.description()));
        }
        QVERIFY2(clock.elapsed() < (wallSeconds + 3) * 1000, qPrintable(QString::number(clock.elapsed())));
    }

    void conversionsAreCached()
    {
        KRML_REQUIRE_TESTDATA();
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
        QVERIFY(QFile::copy(TestData::path(QStringLiteral("mdb/testV1997.mdb")), copy));
        const QString first = MdbImportProcess::convertedFile(copy, testLimits());
        QVERIFY(first.startsWith(MdbImportProcess::cacheFolder()));
        // The same file again: no conversion (a helper that would fail is
        // never run).
        const QString failing = dir.filePath(QStringLiteral("failing.sh"));
        writeFile(failing, "#!/bin/sh\necho 'should not have run'; exit 3\n", true);
        {
            HelperOverride use(failing);
            QCOMPARE(MdbImportProcess::convertedFile(copy, testLimits()), first);
            DbConnection c(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + copy);
            c.open();
            QCOMPARE(c.openRecordset(QStringLiteral("SELECT * FROM Table1"))->recordCount(), 2);
            // A changed file is converted anew.
            struct utimbuf times{QDateTime::currentSecsSinceEpoch() - 3600, QDateTime::currentSecsSinceEpoch() - 3600};
            QCOMPARE(::utime(QFile::encodeName(copy).constData(), &times), 0);
            try {
                MdbImportProcess::convertedFile(copy, testLimits());
                QFAIL("the changed file was not converted again");
            } catch (const ReportError &e) {
                QVERIFY2(e.description().endsWith(QStringLiteral("should not have run")), qPrintable(e.description()));
            }
        }
        // The earlier conversion of the file has gone with its change.
        QVERIFY(!QFileInfo::exists(first));
        // The converted database is opened read-only.
        DbConnection c(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;ReadOnly=False;Data Source=") + copy);
        c.open();
        try {
            c.execute(QStringLiteral("DELETE FROM Table1"));
            QFAIL("deleted");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ProviderErrors::PermissionDenied);
        }
    }

    void savedQueriesOfEveryKind()
    {
        KRML_REQUIRE_TESTDATA();
        // What became of the saved queries: all that read are tables; the
        // Jet 4 copy lacks "Order Subtotals", so the three that read it
        // cannot run (under Jet neither).
        MdbImporter::SavedQueries jet3, jet4;
        MdbImportProcess::open(TestData::path(QStringLiteral("mdb/nwind-jet3.mdb")), &jet3);
        MdbImportProcess::open(TestData::path(QStringLiteral("mdb/northwind-jet4.mdb")), &jet4);
        QCOMPARE(jet3.views.size(), 22);
        QVERIFY(jet3.leftOut.isEmpty());
        QCOMPARE(jet4.views.size(), 4);
        QCOMPARE(jet4.leftOut, (QStringList{"Sales Totals by Amount", "Summary of Sales by Quarter", "Summary of Sales by Year"}));

        auto c = open(QStringLiteral("nwind-jet3.mdb"));
        // TOP 10 by price.
        auto rs = c->openRecordset(QStringLiteral("SELECT * FROM [Ten Most Expensive Products]"));
        QCOMPARE(rs->recordCount(), 10);
        QCOMPARE(rs->field(QStringLiteral("TenMostExpensiveProducts")).value.toString(), QStringLiteral("Côte de Blaye"));
        // The union: customers and suppliers, without duplicates, by city.
        rs = c->openRecordset(QStringLiteral("SELECT * FROM [Customers and Suppliers by City] WHERE City = 'Berlin'"));
        QCOMPARE(rs->recordCount(), 2);
        QCOMPARE(rs->fieldName(3), QStringLiteral("Relationship"));
        // The crosstab: a column for each quarter the IN list names.
        rs = c->openRecordset(QStringLiteral("SELECT * FROM [Quarterly Orders by Product] WHERE ProductName = 'Alice Mutton' "
                                             "AND CustomerID = 'ANTON'"));
        QStringList names;
        for (int i = 0; i < rs->fieldCount(); ++i)
            names << rs->fieldName(i);
        QCOMPARE(names, (QStringList{"ProductName", "CustomerID", "OrderYear", "Qtr 1", "Qtr 2", "Qtr 3", "Qtr 4"}));
        QCOMPARE(rs->recordCount(), 1);
        QVERIFY(rs->field(QStringLiteral("Qtr 1")).value.isNull());
        QCOMPARE(rs->field(QStringLiteral("Qtr 3")).value.toDouble(), 702.0);
        // A parameter query asks for its values, by name; so does one that
        // reads a form's control.
        try {
            c->openRecordset(QStringLiteral("SELECT * FROM [Employee Sales by Country]"));
            QFAIL("ran without its parameters");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ProviderErrors::UnknownColumn);
            QVERIFY2(e.description().contains(QStringLiteral("Beginning Date")), qPrintable(e.description()));
        }
        c->setParameterValues({{QStringLiteral("Beginning Date"), QDate(1995, 1, 1)}, {QStringLiteral("ending date"), QDate(1995, 1, 31)}});
        rs = c->openRecordset(QStringLiteral("SELECT * FROM [Employee Sales by Country]"));
        QCOMPARE(rs->recordCount(), 32);
        c->setParameterValues({{QStringLiteral("Forms!Orders!OrderID"), 10248}});
        rs = c->openRecordset(QStringLiteral("SELECT DISTINCT OrderID FROM [Invoices Filter]"));
        QCOMPARE(rs->recordCount(), 1);
        QCOMPARE(rs->field(0).value.toInt(), 10248);
        c->setParameterValues({{QStringLiteral("Forms!Sales by Year Dialog!BeginningDate"), QDate(1995, 1, 1)},
                               {QStringLiteral("Forms!Sales by Year Dialog!EndingDate"), QDate(1995, 12, 31)}});
        rs = c->openRecordset(QStringLiteral("SELECT DISTINCT [Year] FROM [Sales by Year]"));
        QCOMPARE(rs->recordCount(), 1);
        QCOMPARE(rs->field(0).value.toString(), QStringLiteral("1995"));
    }

    void accessWildcardsInSavedQueries_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("count");
        QTest::newRow("star") << "CompanyName Like \"B*\"" << 7;
        QTest::newRow("question mark") << "CustomerID Like \"ALFK?\"" << 1;
        QTest::newRow("digit") << "PostalCode Like \"1###\"" << 8;
        QTest::newRow("list") << "CompanyName Like \"[T-U]ortuga*\"" << 1;
        QTest::newRow("percent is a character there") << "CompanyName Like \"B%\"" << 0;
    }
    void accessWildcardsInSavedQueries()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, condition);
        QFETCH(int, count);
        // A saved query's text made a view as the import makes it, in a
        // copy of the converted file.
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("converted.sqlite"));
        QVERIFY(QFile::copy(MdbImportProcess::convertedFile(TestData::path(QStringLiteral("mdb/northwind-jet4.mdb")), testLimits()), copy));
        QVERIFY(QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        auto engine = SqliteEngine::create(copy);
        QMap<QString, QString> queries;
        queries.insert(QStringLiteral("Counted"), QStringLiteral("SELECT COUNT(*) FROM Customers WHERE ") + condition);
        QCOMPARE(MdbImporter::createViews(*engine, queries).views, QStringList{QStringLiteral("Counted")});
        QCOMPARE(engine->run(QStringLiteral("SELECT * FROM Counted"), {})->field(0).value.toInt(), count);
    }

    void crosstabOverItsParametersRunsByName()
    {
        // A crosstab whose columns depend on its parameters cannot be a
        // view: the converted file records its statement, and the read-only
        // engine runs it when a report reads the query by name.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("converted.sqlite"));
        {
            auto engine = SqliteEngine::create(path);
            engine->runScript(QStringLiteral("CREATE TABLE Sales (Region VARCHAR, Yr LONG, Qty LONG);"
                                             "INSERT INTO Sales VALUES ('North', 1995, 2), ('North', 1996, 3), ('South', 1996, 4);"));
            QMap<QString, QString> queries;
            queries.insert(QStringLiteral("By Year"), QStringLiteral("PARAMETERS [Since] Long;\r\nTRANSFORM Sum(Qty)\r\n"
                                                                     "SELECT Region\r\nFROM Sales\r\nWHERE Yr >= [Since]\r\n"
                                                                     "GROUP BY Region\r\nPIVOT Yr"));
            queries.insert(QStringLiteral("Update"), QString());
            const MdbImporter::SavedQueries made = MdbImporter::createViews(*engine, queries);
            QCOMPARE(made.statements, QStringList{QStringLiteral("By Year")});
            QCOMPARE(made.leftOut, QStringList{QStringLiteral("Update")});
        }
        auto reader = SqliteEngine::openReadOnly(path, QStringLiteral("sales.mdb"));
        const MdbImporter::SavedQueries read = MdbImporter::readSavedQueries(*reader);
        QCOMPARE(read.statements, QStringList{QStringLiteral("By Year")});
        QCOMPARE(read.leftOut, QStringList{QStringLiteral("Update")});
        reader->setParameterValues({{QStringLiteral("since"), 1996}});
        auto rs = reader->run(QStringLiteral("SELECT * FROM [By Year]"), {});
        QStringList names;
        for (int i = 0; i < rs->fieldCount(); ++i)
            names << rs->fieldName(i);
        QCOMPARE(names, (QStringList{"Region", "1996"}));
        QCOMPARE(rs->recordCount(), 2);
    }

    void notAnAccessFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fake.mdb"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        QVERIFY(!MdbImporter::isAccessFile(path));
        DbConnection c(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
        try {
            c.open();
            QFAIL("opened");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ProviderErrors::Unspecified);
            QVERIFY(e.description().contains(QStringLiteral("Unrecognized database format")));
        }
        // A truncated Access file fails the same way, or opens what it can: never a crash.
        if (TestData::available()) {
            QFile full(TestData::path(QStringLiteral("mdb/testV1997.mdb")));
            QVERIFY(full.open(QIODevice::ReadOnly));
            const QByteArray bytes = full.readAll();
            for (const int cut : {100, 4096, 8192, 20000}) {
                const QString part = dir.filePath(QStringLiteral("cut%1.mdb").arg(cut));
                QFile out(part);
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write(bytes.left(cut));
                out.close();
                DbConnection d(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + part);
                try {
                    d.open();
                } catch (const ReportError &) {
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestAccess)
#include "tst_access.moc"
