// Access databases of the legacy reports, read through mdbtools into the
// embedded engine. Uses the real files in ../shared/testdata/mdb.
#include "AccessQueryText.h"
#include "DbConnection.h"
#include "JetSqlRewriter.h"
#include "SqliteEngine.h"
#include "MdbImporter.h"
#include "ProviderErrors.h"
#include "ReportError.h"
#include "TestData.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

namespace {

std::unique_ptr<DbConnection> open(const QString &file, const QString &provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0"))
{
    auto c = std::make_unique<DbConnection>(QStringLiteral("Provider=%1;Data Source=%2;Persist Security Info=False")
                                                .arg(provider, TestData::path(QStringLiteral("mdb/") + file)));
    c->open();
    return c;
}

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

    void savedQueriesOfEveryKind()
    {
        KRML_REQUIRE_TESTDATA();
        // What became of the saved queries: all that read are tables; the
        // Jet 4 copy lacks "Order Subtotals", so the three that read it
        // cannot run (under Jet neither).
        MdbImporter::SavedQueries jet3, jet4;
        MdbImporter::import(TestData::path(QStringLiteral("mdb/nwind-jet3.mdb")), &jet3);
        MdbImporter::import(TestData::path(QStringLiteral("mdb/northwind-jet4.mdb")), &jet4);
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
        // A saved query's text as the import rewrites it.
        auto engine = MdbImporter::import(TestData::path(QStringLiteral("mdb/northwind-jet4.mdb")));
        JetSqlRewriter::Options access;
        access.like = JetLikePattern::Ansi89;
        const QString sql = JetSqlRewriter::rewrite(QStringLiteral("SELECT COUNT(*) FROM Customers WHERE ") + condition, JetSqlRewriter::Sqlite, access);
        engine->runScript(QStringLiteral("CREATE VIEW Counted AS ") + sql);
        QCOMPARE(engine->run(QStringLiteral("SELECT * FROM Counted"), {})->field(0).value.toInt(), count);
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
