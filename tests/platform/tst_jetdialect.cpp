// The Jet dialect on every engine: one table of statements, each with the
// rows the legacy engine returns for it by its documented behaviour, run on
// the Northwind sample four ways: the Access file itself (imported), the
// same tables in a SQLite file (the embedded engine), in PostgreSQL (the
// test server of the `postgres` fixture) and in the SQLite file through the
// SQLite ODBC driver. The expected rows were worked out from the data and
// the dialect's rules (LIKE lists, text without case, TOP with ties, dates
// at midnight), not read back from this system.
//
// Then what only some engines promise: the legacy text order and the one
// date form on a SQLite file written by other programs, and the saved
// queries of both Northwind files.

#include "DbConnection.h"
#include "JetCollation.h"
#include "JetDateText.h"
#include "JetSqlRewriter.h"
#include "MdbImporter.h"
#include "ProviderErrors.h"
#include "ReportError.h"
#include "SqliteEngine.h"
#include "TestData.h"
#include "ValueText.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

using namespace KRML_ReportGen;

namespace {

enum Engine { Embedded = 1, Access = 2, Postgres = 4, Odbc = 8, All = 15 };

const char *engineName(int e)
{
    switch (e) {
    case Embedded: return "embedded";
    case Access: return "access";
    case Postgres: return "postgres";
    default: return "odbc";
    }
}

// A value as the expected rows write it: dates in their one text form,
// numbers as the legacy engine writes them.
QString cell(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("Null");
    if (v.typeId() == QMetaType::QString) {
        const QVariant d = JetDateText::parse(v.toString());
        if (d.isValid())
            return ValueText::of(d);
        return v.toString();
    }
    if (v.typeId() == QMetaType::Float)
        return ValueText::of(double(v.toFloat()));
    return ValueText::of(v);
}

QStringList rowsOf(Recordset &rs)
{
    QStringList rows;
    for (rs.moveFirst(); !rs.isEOF(); rs.moveNext()) {
        QStringList values;
        for (int c = 0; c < rs.fieldCount(); ++c)
            values << cell(rs.field(c).value);
        rows << values.join(QLatin1String(" | "));
    }
    return rows;
}

bool plainWord(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

} // namespace

class TestJetDialect : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QMap<QString, QString> m_pg; // the server script's connection.txt
    QString m_pgDatabase;
    std::unique_ptr<DbConnection> m_access, m_embedded, m_postgres, m_odbc;

    QString sqlitePath() const { return m_dir.filePath(QStringLiteral("northwind.db")); }
    QString pgString(const QString &database) const
    {
        return QStringLiteral("Provider=PostgreSQL;Host=%1;Port=%2;Database=%3;User ID=%4;Password=%5")
            .arg(m_pg.value(QStringLiteral("Host")), m_pg.value(QStringLiteral("Port")), database,
                 m_pg.value(QStringLiteral("User ID")), m_pg.value(QStringLiteral("Password")));
    }
    // A connection of Qt's own to the test server, for loading and dropping
    // the test database (what reports use is DbConnection).
    QSqlDatabase server(const QString &connectionName, const QString &database) const
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        db.setHostName(m_pg.value(QStringLiteral("Host")));
        db.setPort(m_pg.value(QStringLiteral("Port")).toInt());
        db.setUserName(m_pg.value(QStringLiteral("User ID")));
        db.setPassword(m_pg.value(QStringLiteral("Password")));
        db.setDatabaseName(database);
        db.open();
        return db;
    }
    static bool odbcDriver()
    {
        QFile ini(QStringLiteral("/etc/odbcinst.ini"));
        return QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")) && ini.open(QIODevice::ReadOnly)
            && ini.readAll().contains("[SQLite3]");
    }
    DbConnection *connection(int engine) const
    {
        switch (engine) {
        case Embedded: return m_embedded.get();
        case Access: return m_access.get();
        case Postgres: return m_postgres.get();
        default: return m_odbc.get();
        }
    }

    static const QStringList &copiedTables()
    {
        static const QStringList tables{QStringLiteral("Categories"), QStringLiteral("Customers"), QStringLiteral("Orders"),
                                        QStringLiteral("Order Details"), QStringLiteral("Products"), QStringLiteral("Suppliers")};
        return tables;
    }

    // The Northwind tables, read from the Access file, written into a SQLite
    // file as another program would write them (no collation of ours).
    void copyToSqlite()
    {
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(sqlitePath().toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const QString &table : copiedTables()) {
            auto rs = m_access->openRecordset(QStringLiteral("SELECT * FROM [%1]").arg(table));
            QStringList columns, marks;
            for (int c = 0; c < rs->fieldCount(); ++c) {
                static const QHash<int, QString> types = {{2, "SMALLINT"},  {3, "INTEGER"}, {4, "REAL"},     {5, "DOUBLE"},
                                                          {6, "CURRENCY"},  {7, "DATETIME"}, {11, "YESNO"},  {17, "TINYINT"},
                                                          {131, "DECIMAL"}, {202, "VARCHAR(255)"}, {203, "MEMO"}, {205, "BLOB"}};
                columns << QStringLiteral("\"%1\" %2").arg(rs->fieldName(c), types.value(rs->fieldType(c), QStringLiteral("TEXT")));
                marks << QStringLiteral("?");
            }
            QVERIFY(sqlite3_exec(db, QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, columns.join(", ")).toUtf8().constData(),
                                 nullptr, nullptr, nullptr) == SQLITE_OK);
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(db, QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(table, marks.join(",")).toUtf8().constData(),
                               -1, &st, nullptr);
            for (rs->moveFirst(); !rs->isEOF(); rs->moveNext()) {
                for (int c = 0; c < rs->fieldCount(); ++c) {
                    const QVariant v = rs->field(c).value;
                    const int n = c + 1;
                    if (v.isNull() || rs->fieldType(c) == 205) {
                        sqlite3_bind_null(st, n);
                    } else if (v.typeId() == QMetaType::Bool) {
                        sqlite3_bind_int(st, n, v.toBool() ? 1 : 0);
                    } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
                        sqlite3_bind_int64(st, n, v.toLongLong());
                    } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
                        sqlite3_bind_double(st, n, v.toDouble());
                    } else {
                        const QByteArray t = (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
                            ? JetDateText::canonical(v.toDateTime()).toUtf8()
                            : v.toString().toUtf8();
                        sqlite3_bind_text(st, n, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                    }
                }
                QCOMPARE(sqlite3_step(st), SQLITE_DONE);
                sqlite3_reset(st);
            }
            sqlite3_finalize(st);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    // The same tables in a database of their own on the test server, with
    // the server's types; names as the dialect writes them there.
    void copyToPostgres()
    {
        const QString admin = QStringLiteral("krml-dialect-admin");
        {
            QSqlDatabase db = server(admin, m_pg.value(QStringLiteral("Database")));
            QVERIFY2(db.isOpen(), qPrintable(db.lastError().text()));
            m_pgDatabase = QStringLiteral("krml_dialect_%1").arg(QRandomGenerator::global()->generate());
            QSqlQuery q(db);
            QVERIFY2(q.exec(QStringLiteral("CREATE DATABASE ") + m_pgDatabase), qPrintable(q.lastError().text()));
        }
        QSqlDatabase::removeDatabase(admin);
        const QString load = QStringLiteral("krml-dialect-load");
        {
            QSqlDatabase db = server(load, m_pgDatabase);
            QVERIFY2(db.isOpen(), qPrintable(db.lastError().text()));
            const auto name = [](const QString &n) { return plainWord(n) ? n : QLatin1Char('"') + n + QLatin1Char('"'); };
            db.transaction();
            for (const QString &table : copiedTables()) {
                auto rs = m_access->openRecordset(QStringLiteral("SELECT * FROM [%1]").arg(table));
                QStringList columns, marks;
                for (int c = 0; c < rs->fieldCount(); ++c) {
                    static const QHash<int, QString> types = {{2, "smallint"},  {3, "integer"},        {4, "real"},
                                                              {5, "double precision"}, {6, "numeric(19,4)"}, {7, "timestamp"},
                                                              {11, "boolean"},  {17, "smallint"},      {131, "numeric"},
                                                              {202, "varchar(255)"}, {203, "text"},   {205, "bytea"}};
                    columns << name(rs->fieldName(c)) + QLatin1Char(' ') + types.value(rs->fieldType(c), QStringLiteral("text"));
                    marks << QStringLiteral("?");
                }
                QSqlQuery q(db);
                QVERIFY2(q.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(name(table), columns.join(", "))), qPrintable(q.lastError().text()));
                QVERIFY(q.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(name(table), marks.join(","))));
                for (rs->moveFirst(); !rs->isEOF(); rs->moveNext()) {
                    for (int c = 0; c < rs->fieldCount(); ++c) {
                        QVariant v = rs->field(c).value;
                        if (rs->fieldType(c) == 205)
                            v = QVariant(QMetaType(QMetaType::QByteArray));
                        else if (v.typeId() == QMetaType::QDate)
                            v = QDateTime(v.toDate(), QTime(0, 0));
                        q.bindValue(c, v);
                    }
                    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
                }
            }
            db.commit();
        }
        QSqlDatabase::removeDatabase(load);
    }

private slots:
    void initTestCase()
    {
        if (!TestData::available())
            return;
        m_access = std::make_unique<DbConnection>(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(TestData::path(QStringLiteral("mdb/northwind-jet4.mdb"))));
        m_access->open();
        copyToSqlite();
        m_embedded = std::make_unique<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=%1").arg(sqlitePath()));
        m_embedded->open();
        QFile info(qEnvironmentVariable("KRML_POSTGRES_INFO"));
        if (info.open(QIODevice::ReadOnly) && QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
            for (const QByteArray &line : info.readAll().split('\n')) {
                const int eq = line.indexOf('=');
                if (eq > 0)
                    m_pg.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)).trimmed());
            }
        }
        if (!m_pg.isEmpty()) {
            copyToPostgres();
            m_postgres = std::make_unique<DbConnection>(pgString(m_pgDatabase));
            m_postgres->open();
        }
        if (odbcDriver()) {
            m_odbc = std::make_unique<DbConnection>(QStringLiteral("Provider=MSDASQL;Driver={SQLite3};Database=%1").arg(sqlitePath()));
            m_odbc->open();
        }
    }

    void cleanupTestCase()
    {
        m_postgres.reset();
        if (m_pgDatabase.isEmpty())
            return;
        const QString admin = QStringLiteral("krml-dialect-drop");
        {
            QSqlDatabase db = server(admin, m_pg.value(QStringLiteral("Database")));
            if (db.isOpen())
                QSqlQuery(db).exec(QStringLiteral("DROP DATABASE IF EXISTS ") + m_pgDatabase);
        }
        QSqlDatabase::removeDatabase(admin);
    }

    // ---- one table of statements, every engine ---------------------------

    void statements_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("ordered");
        QTest::addColumn<QVariantHash>("parameters");

        struct Case
        {
            const char *name;
            int engines;
            const char *sql;
            QStringList expected;
            bool ordered = false;
            QVariantHash parameters = {};
        };
        // Text compared and sorted without case, in the legacy order, is
        // the embedded engine's and Access's: a server keeps its own.
        const int ownOrder = Embedded | Access;
        const QList<Case> cases = {
            // LIKE: ANSI-92 wildcards, character lists, never minding case.
            {"like with a range", All, "SELECT CompanyName FROM Customers WHERE CompanyName LIKE '[T-U]ortuga%'", {"Tortuga Restaurante"}},
            {"like without case", All, "SELECT CompanyName FROM Customers WHERE CompanyName LIKE 'tortuga%'", {"Tortuga Restaurante"}},
            {"like with a negated list", All,
             "SELECT DISTINCT Country FROM Customers WHERE Country LIKE '[!A-S]%' ORDER BY Country", {"UK", "USA", "Venezuela"}, true},
            {"like with a list of letters", All,
             "SELECT CustomerID FROM Customers WHERE CustomerID LIKE 'B[LO]%' ORDER BY CustomerID",
             {"BLAUS", "BLONP", "BOLID", "BONAP", "BOTTM"}, true},
            {"not like", All, "SELECT COUNT(*) FROM Customers WHERE Country NOT LIKE '[A-T]%'", {"24"}},
            {"star is no wildcard in a statement", All, "SELECT COUNT(*) FROM Customers WHERE CompanyName LIKE 'A*'", {"0"}},
            {"a list of one wildcard is the character", All, "SELECT COUNT(*) FROM Customers WHERE CompanyName LIKE '%[%]%'", {"0"}},
            {"underscore is one character", All, "SELECT CustomerID FROM Customers WHERE CustomerID LIKE 'ALFK_'", {"ALFKI"}},

            // Text without case, in the legacy order.
            {"equal without case", ownOrder, "SELECT COUNT(*) FROM Customers WHERE Country = 'GERMANY'", {"11"}},
            {"greater without case", ownOrder, "SELECT COUNT(*) FROM Customers WHERE Country > 'uk'", {"17"}},
            {"in without case", ownOrder, "SELECT COUNT(*) FROM Customers WHERE Country IN ('GERMANY', 'france')", {"22"}},
            {"between without case", ownOrder,
             "SELECT DISTINCT Country FROM Customers WHERE Country BETWEEN 'a' AND 'c' ORDER BY Country",
             {"Argentina", "Austria", "Belgium", "Brazil"}, true},
            {"accents, hyphens and apostrophes in order", ownOrder,
             "SELECT CompanyName FROM Customers WHERE CompanyName LIKE 'B%' ORDER BY CompanyName",
             {"Berglunds snabbköp", "Blauer See Delikatessen", "Blondel père et fils", "Bólido Comidas preparadas", "Bon app'",
              "Bottom-Dollar Markets", "B's Beverages"},
             true},
            {"min and max in the legacy order", ownOrder,
             "SELECT MIN(CompanyName), MAX(CompanyName) FROM Customers WHERE CompanyName LIKE 'B%'",
             {"Berglunds snabbköp | B's Beverages"}},

            // TOP: rounded up, with the rows tied with the last one.
            {"top n", All, "SELECT TOP 3 ProductName FROM Products ORDER BY UnitPrice DESC",
             {"Côte de Blaye", "Thüringer Rostbratwurst", "Mishi Kobe Niku"}, true},
            {"top n with ties", All, "SELECT TOP 11 ProductName, UnitPrice FROM Products ORDER BY UnitPrice DESC, ProductName",
             {"Côte de Blaye | 263.5", "Thüringer Rostbratwurst | 123.79", "Mishi Kobe Niku | 97", "Sir Rodney's Marmalade | 81",
              "Carnarvon Tigers | 62.5", "Raclette Courdavault | 55", "Manjimup Dried Apples | 53", "Tarte au sucre | 49.3",
              "Ipoh Coffee | 46", "Rössle Sauerkraut | 45.6", "Schoggi Schokolade | 43.9"},
             true},
            {"top n ties on one key", All, "SELECT TOP 11 UnitPrice FROM Products ORDER BY UnitPrice DESC",
             {"263.5", "123.79", "97", "81", "62.5", "55", "53", "49.3", "46", "45.6", "43.9", "43.9"}, true},
            {"top ties at the cut", All, "SELECT TOP 2 UnitPrice FROM Products WHERE UnitPrice >= 18 ORDER BY UnitPrice",
             {"18", "18", "18", "18"}, true},
            {"top percent rounds up", All, "SELECT TOP 10 PERCENT ProductID FROM Products ORDER BY ProductID",
             {"1", "2", "3", "4", "5", "6", "7", "8"}, true},
            {"top percent without order", All, "SELECT COUNT(*) FROM (SELECT TOP 5 PERCENT * FROM Products) AS t", {"4"}},
            {"top of distinct rows", All, "SELECT DISTINCT TOP 3 Country FROM Customers ORDER BY Country",
             {"Argentina", "Austria", "Belgium"}, true},
            {"top by an alias", All, "SELECT TOP 2 ProductName AS Item, UnitPrice * 2 AS Twice FROM Products ORDER BY Twice DESC",
             {"Côte de Blaye | 527", "Thüringer Rostbratwurst | 247.58"}, true},

            // Dates: a date alone is midnight of its day.
            {"date equals a day", All, "SELECT OrderID FROM Orders WHERE OrderDate = #8/8/1994# ORDER BY OrderID",
             {"10250", "10251"}, true},
            {"up to a day", All, "SELECT COUNT(*) FROM Orders WHERE OrderDate <= #8/8/1994#", {"4"}},
            {"between days", All, "SELECT OrderID FROM Orders WHERE OrderDate BETWEEN #1994-08-04# AND #1994-08-08# ORDER BY OrderID",
             {"10248", "10249", "10250", "10251"}, true},
            {"before noon of a day", All, "SELECT COUNT(*) FROM Orders WHERE OrderDate < #8/8/1994 12:00:00 PM#", {"4"}},
            {"after midnight of a day", All, "SELECT COUNT(*) FROM Orders WHERE OrderDate > #8/8/1994 00:00:01# AND OrderDate < #8/10/1994#",
             {"1"}},
            {"DateAdd to a day", All, "SELECT OrderID FROM Orders WHERE DateAdd('d', 1, OrderDate) = #8/9/1994# ORDER BY OrderID",
             {"10250", "10251"}, true},
            {"DateAdd months keeps the day in the month", All,
             "SELECT DateAdd('m', 1, #1/31/1995#), DateAdd('yyyy', 1, #2/29/1996#) FROM Categories WHERE CategoryID = 1",
             {"1995-02-28 | 1997-02-28"}},
            {"DateDiff counts boundaries", All,
             "SELECT DateDiff('d', OrderDate, ShippedDate), DateDiff('m', #1/31/1995#, #2/1/1995#), DateDiff('yyyy', #12/31/1994#, #1/1/1995#), "
             "DateDiff('ww', #8/6/1994#, #8/7/1994#) FROM Orders WHERE OrderID = 10248",
             {"12 | 1 | 1 | 1"}},
            {"Year Month Day", All, "SELECT Year(OrderDate), Month(OrderDate), Day(OrderDate) FROM Orders WHERE OrderID = 10250",
             {"1994 | 8 | 8"}},
            {"Format dates", All,
             "SELECT Format(OrderDate, 'yyyy-mm-dd'), Format(OrderDate, 'mmm d, yyyy'), Format(OrderDate, 'dddd') FROM Orders WHERE OrderID = 10250",
             {"1994-08-08 | Aug 8, 1994 | Monday"}},
            {"DatePart", All, "SELECT DatePart('q', OrderDate), DatePart('w', OrderDate) FROM Orders WHERE OrderID = 10250",
             {"3 | 2"}},
            {"DateSerial", All, "SELECT DateSerial(1995, 14, 1) FROM Categories WHERE CategoryID = 1", {"1996-02-01"}},

            // The dialect's functions and operators.
            {"IIf and Nz", All,
             "SELECT IIf(Region Is Null, 'none', Region), Nz(Region, 'none'), Nz(Region) & '|' FROM Customers WHERE CustomerID = 'ALFKI'",
             {"none | none | |"}},
            {"text functions", All,
             "SELECT UCase(CustomerID), LCase(CustomerID), Len(CompanyName), Left(CompanyName, 3), Right(CompanyName, 4), "
             "Mid(CompanyName, 2, 3), Mid(CompanyName, 9), Trim('  a  ') FROM Customers WHERE CustomerID = 'ALFKI'",
             {"ALFKI | alfki | 19 | Alf | iste | lfr | Futterkiste | a"}},
            {"conversions round halves to even", All,
             "SELECT CInt(2.5), CInt(3.5), CLng(-2.5), Round(2.5), Round(0.125, 2), Int(-2.5), CDbl('2.25') FROM Categories WHERE CategoryID = 1",
             {"2 | 4 | -2 | 2 | 0.12 | -3 | 2.25"}},
            {"CStr, CCur and Val", All,
             "SELECT CStr(12), CCur(1.23456), Val('12 apples') FROM Categories WHERE CategoryID = 1",
             {"12 | 1.2346 | 12"}},
            {"Format numbers", All,
             "SELECT Format(1234.5, '#,##0.00'), Format(2.345, '0.0'), Format(0.125, 'Percent') FROM Categories WHERE CategoryID = 1",
             {"1,234.50 | 2.3 | 12.50%"}},
            {"ampersand treats Null as empty", All, "SELECT 'x' & Region & 'y', CompanyName & ' (' & City & ')' FROM Customers WHERE CustomerID = 'ALFKI'",
             {"xy | Alfreds Futterkiste (Berlin)"}},
            {"Mod and integer division", All, "SELECT 17 Mod 5, 17 \\ 5, 2 ^ 10 FROM Categories WHERE CategoryID = 1", {"2 | 3 | 1024"}},
            {"True and Yes", All, "SELECT COUNT(*) FROM Products WHERE Discontinued = True OR Discontinued = Yes", {"8"}},
            {"DISTINCTROW", All, "SELECT DISTINCTROW COUNT(*) FROM Products WHERE Discontinued = False", {"69"}},
            {"double-quoted text", All, "SELECT CustomerID FROM Customers WHERE City = \"Berlin\"", {"ALFKI"}},
            {"a union", All,
             "SELECT City FROM Customers WHERE Country = 'Norway' UNION SELECT City FROM Suppliers WHERE Country = 'Norway' ORDER BY City",
             {"Sandvika", "Stavern"}, true},

            // PARAMETERS: the declared names take the values given by name.
            {"declared parameters", All,
             "PARAMETERS [Order Day] DateTime, Who Text(5); SELECT OrderID FROM Orders WHERE OrderDate = [Order Day] AND CustomerID <> Who "
             "ORDER BY OrderID",
             {"10251"}, true, QVariantHash{{"Order Day", QDate(1994, 8, 8)}, {"who", QStringLiteral("HANAR")}}},

            {"parameters named like keywords", All,
             "PARAMETERS [From] DateTime, [To] DateTime; SELECT OrderID FROM Orders WHERE OrderDate BETWEEN [From] AND [To] "
             "ORDER BY OrderID",
             {"10250", "10251"}, true, QVariantHash{{"From", QDate(1994, 8, 8)}, {"To", QDate(1994, 8, 8)}}},

            // TRANSFORM … PIVOT: a column for each value, in order.
            {"a crosstab", All,
             "TRANSFORM Count(OrderID) SELECT ShipCountry FROM Orders WHERE ShipCountry LIKE 'B%' GROUP BY ShipCountry "
             "ORDER BY ShipCountry PIVOT ShipVia",
             {"Belgium | 3 | 8 | 8", "Brazil | 31 | 35 | 17"}, true},
            {"a crosstab with named columns", All,
             "TRANSFORM Count(*) SELECT ShipCountry FROM Orders WHERE ShipCountry = 'Belgium' GROUP BY ShipCountry "
             "PIVOT Format(OrderDate, 'yyyy') IN ('1994', '1995')",
             {"Belgium | 2 | 5"}, true},
        };
        for (const Case &c : cases) {
            for (int e : {Embedded, Access, Postgres, Odbc}) {
                if (!(c.engines & e))
                    continue;
                QTest::addRow("%s @ %s", c.name, engineName(e))
                    << e << QString::fromUtf8(c.sql) << c.expected << c.ordered << c.parameters;
            }
        }
    }
    void statements()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(int, engine);
        QFETCH(QString, sql);
        QFETCH(QStringList, expected);
        QFETCH(bool, ordered);
        QFETCH(QVariantHash, parameters);
        DbConnection *c = connection(engine);
        if (!c) {
            if (engine == Postgres)
                QSKIP("no PostgreSQL server for this run (tests/servers/postgres-server.sh found no server programs)");
            QSKIP("Qt's ODBC driver or the SQLite3 ODBC driver (libsqliteodbc) is not installed");
        }
        QHash<QString, QVariant> values;
        for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
            values.insert(it.key(), it.value());
        c->setParameterValues(values);
        QStringList got;
        try {
            auto rs = c->openRecordset(sql);
            got = rowsOf(*rs);
        } catch (const ReportError &e) {
            c->setParameterValues({});
            QFAIL(qPrintable(e.description()));
        }
        c->setParameterValues({});
        if (!ordered) {
            got.sort();
            expected.sort();
        }
        QCOMPARE(got, expected);
    }

    void crosstabColumnsAreNamedByTheirValues()
    {
        KRML_REQUIRE_TESTDATA();
        for (int e : {Embedded, Access, Postgres, Odbc}) {
            DbConnection *c = connection(e);
            if (!c)
                continue;
            auto rs = c->openRecordset(QStringLiteral("TRANSFORM Sum(Freight) SELECT ShipCountry FROM Orders WHERE ShipCountry = 'Belgium' "
                                                      "GROUP BY ShipCountry PIVOT ShipVia"));
            QStringList names;
            for (int i = 0; i < rs->fieldCount(); ++i)
                names << rs->fieldName(i);
            QCOMPARE(names, (QStringList{"ShipCountry", "1", "2", "3"}));
        }
    }

    void aDeclaredParameterWithoutAValue()
    {
        KRML_REQUIRE_TESTDATA();
        for (int e : {Embedded, Access, Postgres, Odbc}) {
            DbConnection *c = connection(e);
            if (!c)
                continue;
            try {
                c->openRecordset(QStringLiteral("PARAMETERS [Start] DateTime; SELECT OrderID FROM Orders WHERE OrderDate > [Start]"));
                QFAIL(engineName(e));
            } catch (const ReportError &error) {
                QCOMPARE(error.number(), ProviderErrors::UnknownColumn);
                QVERIFY2(error.description().contains(QStringLiteral("No value given for one or more required parameters")),
                         qPrintable(error.description()));
            }
        }
    }

    // ---- the embedded engine on a file other programs wrote --------------

    void aFileWithOtherDateFormsAndLetterCases()
    {
        const QString path = m_dir.filePath(QStringLiteral("mixed.db"));
        {
            auto db = SqliteEngine::create(path);
            db->runScript(QStringLiteral(
                "CREATE TABLE Events (ID INTEGER, At DATETIME, Region VARCHAR(20), Note MEMO);"
                "INSERT INTO Events VALUES (1, '1994-08-08', 'North', 'a'), (2, '1994-08-08 00:00:00', 'north', 'b'),"
                " (3, '1994-08-08T10:30:00', 'NORTH', 'c'), (4, '1994-08-08 10:30', 'South', 'd'), (5, '1994-08-09', 'east', 'e'),"
                " (6, '1994/08/08', 'Éast', 'f'), (7, NULL, 'Zebra', 'g');"));
        }
        DbConnection c(QStringLiteral("Provider=SQLite;Data Source=%1").arg(path));
        c.open();
        const auto ids = [&](const QString &where) {
            auto rs = c.openRecordset(QStringLiteral("SELECT ID FROM Events WHERE %1 ORDER BY ID").arg(where));
            return rowsOf(*rs).join(QLatin1Char(','));
        };
        // A date alone is midnight, however the file wrote it.
        QCOMPARE(ids(QStringLiteral("At = #8/8/1994#")), QStringLiteral("1,2,6"));
        QCOMPARE(ids(QStringLiteral("At <= #8/8/1994#")), QStringLiteral("1,2,6"));
        QCOMPARE(ids(QStringLiteral("At BETWEEN #8/8/1994# AND #8/8/1994 23:59:59#")), QStringLiteral("1,2,3,4,6"));
        QCOMPARE(ids(QStringLiteral("At > #8/8/1994#")), QStringLiteral("3,4,5"));
        QCOMPARE(ids(QStringLiteral("DateAdd('n', 30, At) = #8/8/1994 11:00:00 AM#")), QStringLiteral("3,4"));
        QCOMPARE(ids(QStringLiteral("DateDiff('h', At, #8/8/1994 12:00#) = 2")), QStringLiteral("3,4"));
        QCOMPARE(ids(QStringLiteral("Format(At, 'yyyy-mm-dd hh:nn') = '1994-08-08 10:30'")), QStringLiteral("3,4"));
        QCOMPARE(ids(QStringLiteral("Day(At) = 8 AND Month(At) = 8 AND Year(At) = 1994")), QStringLiteral("1,2,3,4,6"));
        auto rs = c.openRecordset(QStringLiteral("SELECT At, Region, Note FROM Events WHERE ID = 2"));
        QCOMPARE(rs->fieldType(0), 7);
        QCOMPARE(rs->fieldType(1), 202);
        QCOMPARE(rs->fieldType(2), 203);
        QCOMPARE(rs->field(0).value, QVariant(QDate(1994, 8, 8)));

        // Text without case; accents count.
        QCOMPARE(ids(QStringLiteral("Region = 'NORTH'")), QStringLiteral("1,2,3"));
        QCOMPARE(ids(QStringLiteral("Region IN ('south', 'zebra')")), QStringLiteral("4,7"));
        QCOMPARE(ids(QStringLiteral("Region > 'north'")), QStringLiteral("4,7"));
        QCOMPARE(ids(QStringLiteral("UCase(Region) = 'north'")), QStringLiteral("1,2,3"));
        QCOMPARE(ids(QStringLiteral("Region = 'east'")), QStringLiteral("5"));
        rs = c.openRecordset(QStringLiteral("SELECT Region, COUNT(*) FROM Events GROUP BY Region ORDER BY Region"));
        QCOMPARE(rowsOf(*rs).size(), 5);
        QCOMPARE(rowsOf(*rs).mid(0, 3), (QStringList{"east | 1", "Éast | 1", "North | 3"}));
        rs = c.openRecordset(QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT Region FROM Events) AS d"));
        QCOMPARE(rowsOf(*rs), QStringList{"5"});
        rs = c.openRecordset(QStringLiteral("SELECT MIN(Region), MAX(Region) FROM Events"));
        QCOMPARE(rowsOf(*rs), QStringList{"east | Zebra"});
        rs = c.openRecordset(QStringLiteral("SELECT a.ID FROM Events a INNER JOIN Events b ON a.Region = b.Region WHERE b.ID = 3 ORDER BY a.ID"));
        QCOMPARE(rowsOf(*rs).join(QLatin1Char(',')), QStringLiteral("1,2,3"));

        // The report's connection only reads, views or not.
        try {
            c.execute(QStringLiteral("INSERT INTO Events VALUES (9, NULL, 'x', 'y')"));
            QFAIL("wrote through a read-only connection");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ProviderErrors::PermissionDenied);
        }
        // Where its owner allows writing, writing goes on working, and the
        // next read sees it, on that connection and on the reading one.
        DbConnection w(QStringLiteral("Provider=SQLite;Data Source=%1;ReadOnly=False").arg(path));
        w.open();
        w.execute(QStringLiteral("INSERT INTO Events VALUES (8, '1994-08-08 00:00:00', 'nORTH', 'h')"));
        rs = w.openRecordset(QStringLiteral("SELECT ID FROM Events WHERE Region = 'North' AND At = #8/8/1994# ORDER BY ID"));
        QCOMPARE(rowsOf(*rs).join(QLatin1Char(',')), QStringLiteral("1,2,8"));
        QCOMPARE(ids(QStringLiteral("Region = 'North' AND At = #8/8/1994#")), QStringLiteral("1,2,8"));
        w.execute(QStringLiteral("CREATE TABLE Later (Name TEXT)"));
        w.execute(QStringLiteral("INSERT INTO Later VALUES ('Abc')"));
        rs = w.openRecordset(QStringLiteral("SELECT COUNT(*) FROM Later WHERE Name = 'ABC'"));
        QCOMPARE(rowsOf(*rs), QStringList{"1"});
        rs = c.openRecordset(QStringLiteral("SELECT COUNT(*) FROM Later WHERE Name = 'ABC'"));
        QCOMPARE(rowsOf(*rs), QStringList{"1"});
        // The file itself is as it was: no view and no collation of ours in it.
        sqlite3 *plain = nullptr;
        QCOMPARE(sqlite3_open_v2(path.toUtf8().constData(), &plain, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(plain, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'view' OR sql LIKE '%JETTEXT%'", -1, &st, nullptr);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(st, 0), 0);
        sqlite3_finalize(st);
        sqlite3_close(plain);
    }

    void aReadOnlyFileComparesTheSameWay()
    {
        const QString path = m_dir.filePath(QStringLiteral("readonly.db"));
        {
            auto db = SqliteEngine::create(path);
            db->runScript(QStringLiteral("CREATE TABLE T (Name VARCHAR(10)); INSERT INTO T VALUES ('Abc'), ('abc'), ('b');"));
        }
        DbConnection c(QStringLiteral("Provider=SQLite;Data Source=%1;Mode=Read").arg(path));
        c.open();
        auto rs = c.openRecordset(QStringLiteral("SELECT COUNT(*) FROM T WHERE Name = 'ABC'"));
        QCOMPARE(rowsOf(*rs), QStringList{"2"});
    }

    void theLegacyTextOrder_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("case does not count") << "North" << "NORTH" << 0;
        QTest::newRow("letters before case") << "apple" << "Banana" << -1;
        QTest::newRow("accent after the plain letter") << "cote" << "côte" << -1;
        QTest::newRow("accented before the next letter") << "côte" << "cotf" << -1;
        QTest::newRow("hyphen ignored") << "co-op" << "coop" << -1;
        QTest::newRow("hyphen ignored before a letter") << "co-op" << "cop" << -1;
        QTest::newRow("apostrophe ignored") << "B's Beverages" << "Bottom" << 1;
        QTest::newRow("a prefix first") << "Ab" << "Abc" << -1;
        QTest::newRow("digits before letters") << "9" << "A" << -1;
        QTest::newRow("space before letters") << "a b" << "ab" << -1;
        QTest::newRow("dates in their text form") << "1994-08-08" << "1994-08-08 10:30:00" << -1;
        QTest::newRow("letters beyond ASCII without case") << "ÉCOLE" << "école" << 0;
    }
    void theLegacyTextOrder()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        const JetCollation collation;
        const auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
        QCOMPARE(sign(collation.compare(a, b)), order);
        QCOMPARE(sign(collation.compare(b, a)), -order);
    }

    void asciiTextTakesTheSameOrderAsUnicode()
    {
        // The table the ASCII texts take and the Unicode path never disagree:
        // the same texts with a letter beyond ASCII at their end compare alike
        // wherever they differ before it.
        const JetCollation collation;
        QRandomGenerator random(7);
        const QString alphabet = QStringLiteral(" -'!#,.09:;AZaz_~()");
        const auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
        int compared = 0;
        for (int i = 0; i < 20000; ++i) {
            QString a, b;
            for (int k = int(random.bounded(6)); k > 0; --k)
                a += alphabet[int(random.bounded(alphabet.size()))];
            for (int k = int(random.bounded(6)); k > 0; --k)
                b += alphabet[int(random.bounded(alphabet.size()))];
            const int ascii = sign(collation.compare(a, b));
            if (ascii == 0)
                continue;
            const QString tail = QStringLiteral("\u00e9");
            QString x = a, y = b;
            x.remove(QLatin1Char('-')).remove(QLatin1Char('\''));
            y.remove(QLatin1Char('-')).remove(QLatin1Char('\''));
            if (x.startsWith(y, Qt::CaseInsensitive) || y.startsWith(x, Qt::CaseInsensitive))
                continue; // the letter would decide, not the texts

            QVERIFY2(sign(collation.compare(a + tail, b + tail)) == ascii, qPrintable(QStringLiteral("[%1] [%2]").arg(a, b)));
            ++compared;
        }
        QVERIFY(compared > 1000);
    }
};

QTEST_GUILESS_MAIN(TestJetDialect)
#include "tst_jetdialect.moc"
