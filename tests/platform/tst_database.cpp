#include "AdoType.h"
#include "ConnectionString.h"
#include "DbConnection.h"
#include "JetSqlRewriter.h"
#include "MemoryRecordset.h"
#include "ProviderErrors.h"
#include "ReportError.h"
#include "SqlCommands.h"
#include "SqliteEngine.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

// A real SQLite file with the column types reports meet.
static const char *kSchema = R"SQL(
CREATE TABLE Regions (RegionID INTEGER PRIMARY KEY, RegionName VARCHAR(50) NOT NULL);
CREATE TABLE Orders (
  OrderID COUNTER, CustomerID LONG, Qty SMALLINT, Weight REAL, Ratio DOUBLE,
  Total CURRENCY, OrderDate DATETIME, Shipped YESNO, Price DECIMAL(10,2), Notes MEMO,
  Code CHAR(4), Flag BIT, Stamp TIMESTAMP, Amount MONEY, Score FLOAT, Big BIGINT,
  Picture BLOB, Whatever GIZMO
);
INSERT INTO Regions VALUES (1, 'North'), (2, 'South'), (3, 'O''Brien Land');
INSERT INTO Orders VALUES (1, 10, 3, 1.5, 0.25, 12.34567, '2024-03-15', 1, 9.99, 'first', 'A1', 0, '2024-03-15 10:30:00', 5, 2.5, 5000000000, x'00ff', 'g');
INSERT INTO Orders VALUES (2, 11, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
INSERT INTO Orders VALUES (3, 12, 7, 2, 3, 100, '2024-04-01', 0, 1, 'third', 'C3', 1, '2024-04-01 08:00', 1.5, 4, 1, NULL, NULL);
)SQL";

class TestDatabase : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

    std::unique_ptr<DbConnection> connect(const QString &cs)
    {
        auto c = std::make_unique<DbConnection>(cs);
        c->open();
        return c;
    }
    QString sqliteString() const { return QStringLiteral("Provider=SQLite;Data Source=") + m_db; }

    static void expectError(const std::function<void()> &f, qint32 number, const QString &inDescription = QString())
    {
        try {
            f();
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), number);
            if (!inDescription.isEmpty())
                QVERIFY2(e.description().contains(inDescription), qPrintable(e.description()));
            return;
        }
        QFAIL("no error raised");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath(QStringLiteral("sales.db"));
        try {
            SqliteEngine::create(m_db)->runScript(QString::fromUtf8(kSchema));
        } catch (const ReportError &e) {
            QFAIL(qPrintable(e.description()));
        }
    }

    void typeCodesComeFromDeclaredTypes_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("type");
        QTest::newRow("COUNTER") << "OrderID" << 3;
        QTest::newRow("LONG") << "CustomerID" << 3;
        QTest::newRow("SMALLINT") << "Qty" << 2;
        QTest::newRow("REAL") << "Weight" << 5;
        QTest::newRow("DOUBLE") << "Ratio" << 5;
        QTest::newRow("CURRENCY") << "Total" << 6;
        QTest::newRow("DATETIME") << "OrderDate" << 7;
        QTest::newRow("YESNO") << "Shipped" << 11;
        QTest::newRow("DECIMAL") << "Price" << 131;
        QTest::newRow("MEMO") << "Notes" << 203;
        QTest::newRow("CHAR") << "Code" << 202;
        QTest::newRow("BIT") << "Flag" << 11;
        QTest::newRow("TIMESTAMP") << "Stamp" << 7;
        QTest::newRow("MONEY") << "Amount" << 6;
        QTest::newRow("FLOAT") << "Score" << 5;
        QTest::newRow("BIGINT") << "Big" << 20;
        QTest::newRow("BLOB") << "Picture" << 205;
        QTest::newRow("unknown type is text") << "Whatever" << 202;
    }
    void typeCodesComeFromDeclaredTypes()
    {
        QFETCH(QString, column);
        QFETCH(int, type);
        auto c = connect(sqliteString());
        // Row 2 is all nulls: the type must not depend on the first row's value.
        auto rs = c->openRecordset(QStringLiteral("SELECT %1 FROM Orders WHERE OrderID = 2").arg(column));
        QCOMPARE(rs->fieldType(0), type);
        QCOMPARE(rs->field(0).type, type);
        if (column != QLatin1String("OrderID") && column != QLatin1String("CustomerID"))
            QVERIFY(rs->field(0).isNull());
    }

    void declaredTypeNames_data()
    {
        QTest::addColumn<QString>("declared");
        QTest::addColumn<int>("type");
        QTest::newRow("integer") << "INTEGER" << 3;
        QTest::newRow("autoincrement") << "AUTOINCREMENT" << 3;
        QTest::newRow("varchar size") << "varchar(255)" << 202;
        QTest::newRow("text") << "TEXT" << 202;
        QTest::newRow("yes/no") << "Yes/No" << 11;
        QTest::newRow("boolean") << "BOOLEAN" << 11;
        QTest::newRow("date") << "DATE" << 7;
        QTest::newRow("numeric") << "NUMERIC(18, 4)" << 131;
        QTest::newRow("single") << "SINGLE" << 4;
        QTest::newRow("longtext") << "LONGTEXT" << 203;
        QTest::newRow("unsigned int") << "UNSIGNED INTEGER" << 3;
        QTest::newRow("nvarchar") << "NATIONAL VARCHAR(10)" << 202;
        QTest::newRow("double precision") << "double precision" << 5;
        QTest::newRow("real") << "REAL" << 5;
        QTest::newRow("float4") << "float4" << 5;
        QTest::newRow("float") << "FLOAT" << 5;
        QTest::newRow("currency") << "CURRENCY" << 6;
        QTest::newRow("money") << "money" << 6;
        QTest::newRow("datetime") << "DATETIME" << 7;
        QTest::newRow("timestamp") << "timestamp" << 7;
        QTest::newRow("yesno") << "YESNO" << 11;
        QTest::newRow("memo") << "MEMO" << 203;
        QTest::newRow("bigint") << "BIGINT" << 20;
        QTest::newRow("blob") << "BLOB" << 205;
    }
    void declaredTypeNames()
    {
        QFETCH(QString, declared);
        QFETCH(int, type);
        QCOMPARE(AdoType::fromDeclaredType(declared), type);
    }

    void valuesAreTyped()
    {
        auto c = connect(sqliteString());
        auto rs = c->openRecordset(QStringLiteral("SELECT * FROM Orders ORDER BY OrderID"));
        QCOMPARE(rs->field(QStringLiteral("OrderDate")).value, QVariant(QDate(2024, 3, 15)));
        QCOMPARE(rs->field(QStringLiteral("Stamp")).value, QVariant(QDateTime(QDate(2024, 3, 15), QTime(10, 30))));
        QCOMPARE(rs->field(QStringLiteral("Shipped")).value, QVariant(true));
        QCOMPARE(rs->field(QStringLiteral("Flag")).value, QVariant(false));
        QCOMPARE(rs->field(QStringLiteral("Total")).value.toDouble(), 12.3457); // four decimals
        QCOMPARE(rs->field(QStringLiteral("Qty")).value, QVariant(3));
        QCOMPARE(rs->field(QStringLiteral("Big")).value, QVariant(qlonglong(5000000000LL)));
        QCOMPARE(rs->field(QStringLiteral("Picture")).value, QVariant(QByteArray("\x00\xff", 2)));
        QCOMPARE(rs->field(QStringLiteral("Code")).value, QVariant(QStringLiteral("A1")));
        // Field names are matched without regard to case, as ADO does.
        QCOMPARE(rs->field(QStringLiteral("customerid")).value, QVariant(10));
        rs->moveNext();
        for (int i = 2; i < rs->fieldCount(); ++i)
            QVERIFY2(rs->field(i).isNull(), qPrintable(rs->fieldName(i)));
        rs->moveNext();
        QCOMPARE(rs->field(QStringLiteral("Stamp")).value, QVariant(QDateTime(QDate(2024, 4, 1), QTime(8, 0))));
    }

    void computedColumnsTakeTheirValuesType()
    {
        auto c = connect(sqliteString());
        auto rs = c->openRecordset(
            QStringLiteral("SELECT COUNT(*) AS N, SUM(Ratio) AS S, 'x' || Code AS T, NULL AS Blank, MAX(Qty) AS M FROM Orders"));
        QCOMPARE(rs->field(QStringLiteral("N")).type, 3);
        QCOMPARE(rs->field(QStringLiteral("S")).type, 5);
        QCOMPARE(rs->field(QStringLiteral("T")).type, 202);
        QCOMPARE(rs->field(QStringLiteral("Blank")).type, 202);
        QCOMPARE(rs->field(QStringLiteral("N")).value, QVariant(3));
    }

    void cursorMovesAndCounts()
    {
        auto c = connect(sqliteString());
        auto rs = c->openRecordset(QStringLiteral("SELECT RegionName FROM Regions ORDER BY RegionID"), DbConnection::Keyset, DbConnection::Optimistic, -1);
        QCOMPARE(rs->state(), int(Recordset::Open));
        QCOMPARE(rs->recordCount(), 3);
        QVERIFY(!rs->isEOF());
        QVERIFY(!rs->isBOF());
        QStringList names;
        while (!rs->isEOF()) {
            names.append(rs->field(0).value.toString());
            rs->moveNext();
        }
        QCOMPARE(names, (QStringList{"North", "South", "O'Brien Land"}));
        expectError([&] { rs->field(0); }, Recordset::NoCurrentRecord);
        expectError([&] { rs->moveNext(); }, Recordset::NoCurrentRecord);
        rs->moveLast();
        QCOMPARE(rs->field(0).value.toString(), QStringLiteral("O'Brien Land"));
        rs->moveFirst();
        QCOMPARE(rs->field(0).value.toString(), QStringLiteral("North"));
        expectError([&] { rs->field(QStringLiteral("NoSuchField")); }, Recordset::ItemNotFound);
        expectError([&] { rs->field(5); }, Recordset::ItemNotFound);
        rs->close();
        QCOMPARE(rs->state(), int(Recordset::Closed));
        expectError([&] { rs->isEOF(); }, Recordset::ObjectClosed);
    }

    void emptyResultKnowsItsFields()
    {
        auto c = connect(sqliteString());
        auto rs = c->openRecordset(QStringLiteral("SELECT RegionID, RegionName FROM Regions WHERE 1 = 0"));
        QVERIFY(rs->isEOF());
        QVERIFY(rs->isBOF());
        QCOMPARE(rs->recordCount(), 0);
        QCOMPARE(rs->fieldCount(), 2);
        QCOMPARE(rs->fieldName(1), QStringLiteral("RegionName"));
        QCOMPARE(rs->fieldType(0), 3);
    }

    void providerErrors()
    {
        auto c = connect(sqliteString());
        expectError([&] { c->openRecordset(QStringLiteral("SELECT * FROM Customers")); }, qint32(0x80040E37),
                    QStringLiteral("'Customers'"));
        expectError([&] { c->openRecordset(QStringLiteral("SELECT Colour FROM Regions")); }, qint32(0x80040E10),
                    QStringLiteral("Colour"));
        auto writer = connect(sqliteString() + QStringLiteral(";ReadOnly=False"));
        expectError([&] { writer->execute(QStringLiteral("INSERT INTO Regions (RegionID, RegionName) VALUES ('x', 'y')")); },
                    qint32(0x80040E07));
        expectError([&] { c->openRecordset(QStringLiteral("SELEC * FROM Regions")); }, qint32(0x80040E14));
        expectError([&] { c->openRecordset(QStringLiteral("SELECT * FROM Regions WHERE")); }, qint32(0x80040E14));
        expectError([&] { c->openRecordset(QStringLiteral("   ")); }, qint32(0x80040E0C));
        expectError([&] { writer->execute(QStringLiteral("INSERT INTO Regions (RegionID) VALUES (9)")); }, qint32(0x80004005),
                    QStringLiteral("NOT NULL"));
    }

    void reportSqlRuns()
    {
        // What the system itself builds: Jet date literals in both forms,
        // quoted text and a CR LF after the statement.
        auto c = connect(sqliteString());
        auto rs = c->openRecordset(QStringLiteral("SELECT OrderID FROM Orders WHERE OrderDate >= #2024/03/01# AND "
                                                  "OrderDate < #2024-04-01# AND Code = 'A1'\r\n"));
        QCOMPARE(rs->recordCount(), 1);
        QCOMPARE(rs->field(0).value, QVariant(1));
        rs = c->openRecordset(QStringLiteral("SELECT RegionID FROM Regions WHERE RegionName = 'O''Brien Land'\r\n"));
        QCOMPARE(rs->field(0).value, QVariant(3));
        rs = c->openRecordset(QStringLiteral("SELECT OrderID FROM Orders WHERE Stamp = #3/15/2024 10:30:00 AM#"));
        QCOMPARE(rs->recordCount(), 1);
    }

    void jetRewriter_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("slashes") << "d = #2006/06/08#" << "d = '2006-06-08'";
        QTest::newRow("dashes") << "d = #2006-06-08#" << "d = '2006-06-08'";
        QTest::newRow("us order") << "d = #06/08/2006#" << "d = '2006-06-08'";
        QTest::newRow("two-digit year") << "d = #6/8/06#" << "d = '2006-06-08'";
        QTest::newRow("with time") << "d < #2006/06/08 13:05#" << "d < '2006-06-08 13:05:00'";
        QTest::newRow("pm") << "#2006/06/08 1:05:09 PM#" << "'2006-06-08 13:05:09'";
        QTest::newRow("inside quotes untouched") << "x = '#2006/06/08#'" << "x = '#2006/06/08#'";
        QTest::newRow("inside brackets untouched") << "[a#2006/06/08#b]" << "[a#2006/06/08#b]";
        QTest::newRow("not a date") << "x = #abc#" << "x = #abc#";
        QTest::newRow("invalid day") << "#2006/02/30#" << "#2006/02/30#";
        QTest::newRow("two literals") << "#2006/1/2# AND #2007/3/4#" << "'2006-01-02' AND '2007-03-04'";
        QTest::newRow("unclosed quote") << "x = 'abc #2006/1/2#" << "x = 'abc #2006/1/2#";
        QTest::newRow("lone hash") << "a # b" << "a # b";
        QTest::newRow("concatenation") << "Name & ' (' & City & ')'"
                                       << "jet_concat(jet_concat(jet_concat(Name, ' ('), City), ')')";
        QTest::newRow("truth values") << "WHERE Paid = True OR Shipped = false" << "WHERE Paid = 1 OR Shipped = 0";
        QTest::newRow("yes and no") << "WHERE (Discontinued)=No OR x <> Yes" << "WHERE (Discontinued)=0 OR x <> 1";
        QTest::newRow("qualified names stay") << "t.True, [False], 'True'" << "t.True, [False], 'True'";
        QTest::newRow("distinctrow") << "SELECT DISTINCTROW x" << "SELECT DISTINCT x";
        QTest::newRow("top n") << "SELECT TOP 5 a FROM t;\r\n" << "SELECT a FROM t LIMIT 5;\r\n";
        QTest::newRow("top n ordered, with ties")
            << "SELECT TOP 5 a FROM t ORDER BY a;\r\n"
            << "SELECT a FROM t ORDER BY a LIMIT (SELECT COUNT(*) FROM (SELECT RANK() OVER (ORDER BY a) AS jet_rank FROM t) "
               "WHERE jet_rank <= 5);\r\n";
        QTest::newRow("top after distinct") << "SELECT DISTINCT TOP 2 a FROM t" << "SELECT DISTINCT a FROM t LIMIT 2";
        QTest::newRow("top as a name") << "SELECT Top FROM t" << "SELECT Top FROM t";
        QTest::newRow("Left and Right calls") << "Left(Name, 2) LEFT JOIN t RIGHT (x)" << "jet_left(Name, 2) LEFT JOIN t jet_right (x)";
        QTest::newRow("words containing them") << "TrueValue, IsFalse" << "TrueValue, IsFalse";
        QTest::newRow("text compared in the legacy order")
            << "SELECT 'a', Name FROM t WHERE Name = 'x' OR Code IN ('y')"
            << "SELECT 'a', Name FROM t WHERE Name = 'x' COLLATE JETTEXT OR Code COLLATE JETTEXT IN ('y')";
        QTest::newRow("double-quoted text is text") << "SELECT \"a\" AS b" << "SELECT 'a' COLLATE JETTEXT AS b";
        QTest::newRow("top percent")
            << "SELECT TOP 25 PERCENT a FROM t"
            << "SELECT a FROM t LIMIT (SELECT CAST(c AS INTEGER) + (c > CAST(c AS INTEGER)) FROM "
               "(SELECT COUNT(*) * 25 / 100.0 AS c FROM (SELECT a FROM t)))";
        QTest::newRow("declared parameters") << "PARAMETERS [Day One] DateTime; SELECT a FROM t WHERE d > [Day One]"
                                             << "SELECT a FROM t WHERE d > jet_param('Day One')";
        QTest::newRow("division with a fraction") << "SELECT a / b * 2" << "SELECT (1.0 * a / b) * 2";
    }
    void jetRewriter()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(JetSqlRewriter::toSqlite(in), out);
    }

    void jetOtherDialects_data()
    {
        QTest::addColumn<int>("dialect");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        const int pg = JetSqlRewriter::PostgreSql, odbc = JetSqlRewriter::Odbc;
        QTest::newRow("pg date") << pg << "d >= #3/1/2024#" << "d >= DATE '2024-03-01'";
        QTest::newRow("pg timestamp") << pg << "d < #2024/03/01 10:30#" << "d < TIMESTAMP '2024-03-01 10:30:00'";
        QTest::newRow("pg concatenation") << pg << "Name & ', ' & City" << "concat(concat(Name, ', '), City)";
        QTest::newRow("pg plain bracketed name") << pg << "SELECT [OrderDate] FROM [Orders]" << "SELECT OrderDate FROM Orders";
        QTest::newRow("pg name with blank") << pg << "SELECT [Order Details].Qty" << "SELECT \"Order Details\".Qty";
        QTest::newRow("pg name with quote") << pg << "[a\"b]" << "\"a\"\"b\"";
        QTest::newRow("pg double-quoted text") << pg << "x = \"O'Brien \"\"Jr\"\"\"" << "x = 'O''Brien \"Jr\"'";
        QTest::newRow("pg single-quoted text stays") << pg << "x = 'a [b] #1/2/2003# & c'" << "x = 'a [b] #1/2/2003# & c'";
        QTest::newRow("pg truth values stay") << pg << "Paid = True OR Gone = No" << "Paid = TRUE OR Gone = FALSE";
        QTest::newRow("pg top and distinctrow") << pg << "SELECT DISTINCTROW TOP 3 a FROM t" << "SELECT DISTINCT a FROM t LIMIT 3";
        QTest::newRow("pg Left") << pg << "Left(Name, 2)" << "left(CAST(Name AS text), CAST(2 AS integer))";
        const int sqliteOdbc = JetSqlRewriter::SqliteNative;
        QTest::newRow("pg like as a regular expression")
            << pg << "x LIKE '[!a-c]_%.'" << "CAST(x AS text) ~* '^[^a-c]..*\\.$'";
        QTest::newRow("pg not like a bound pattern") << pg << "x NOT LIKE ?1" << "CAST(x AS text) NOT ILIKE ?1 ESCAPE ''";
        QTest::newRow("pg top with ties") << pg << "SELECT TOP 2 a FROM t ORDER BY a" << "SELECT a FROM t ORDER BY a FETCH FIRST 2 ROWS WITH TIES";
        QTest::newRow("pg declared parameter") << pg << "PARAMETERS p Long; SELECT a FROM t WHERE b = ?1 AND c = p"
                                               << "SELECT a FROM t WHERE b = ?1 AND c = ?2";
        QTest::newRow("sqlite through odbc: lists spelled out")
            << sqliteOdbc << "x LIKE '[ab]1%'" << "((x LIKE 'a1%' OR x LIKE 'b1%'))";
        QTest::newRow("sqlite through odbc: a negated list")
            << sqliteOdbc << "x LIKE '[!a]%'" << "((x LIKE '_%') AND NOT (x LIKE 'a%'))";
        QTest::newRow("sqlite through odbc: IIf") << sqliteOdbc << "IIf(a, b, c)" << "(CASE WHEN a THEN b ELSE c END)";
        QTest::newRow("odbc like without case") << odbc << "x LIKE 'a%'" << "(({fn UCASE(x)} LIKE {fn UCASE('a%')}))";
        QTest::newRow("odbc date") << odbc << "d = #2024-03-01#" << "d = {d '2024-03-01'}";
        QTest::newRow("odbc timestamp") << odbc << "d = #3/1/2024 1:02:03 PM#" << "d = {ts '2024-03-01 13:02:03'}";
        QTest::newRow("odbc escapes") << odbc << "SELECT TOP 2 [a] & b FROM t WHERE x = True"
                                      << "SELECT TOP 2 {fn CONCAT([a], b)} FROM t WHERE x = 1";
    }
    void jetOtherDialects()
    {
        QFETCH(int, dialect);
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(JetSqlRewriter::rewrite(in, JetSqlRewriter::Dialect(dialect)), out);
    }

    void jetFunctions_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("Nz of null") << "Nz(NULL, 5)" << QVariant(5);
        QTest::newRow("Nz of a value") << "Nz('x', 5)" << QVariant(QStringLiteral("x"));
        QTest::newRow("Nz without default is empty text") << "Nz(NULL)" << QVariant(QStringLiteral(""));
        QTest::newRow("UCase") << "UCase('abc')" << QVariant(QStringLiteral("ABC"));
        QTest::newRow("LCase") << "LCase('ÄBC')" << QVariant(QStringLiteral("äbc"));
        QTest::newRow("Len") << "Len('Straße')" << QVariant(6);
        QTest::newRow("Left") << "Left('Report', 3)" << QVariant(QStringLiteral("Rep"));
        QTest::newRow("Right") << "Right('Report', 3)" << QVariant(QStringLiteral("ort"));
        QTest::newRow("Mid") << "Mid('Report', 2, 3)" << QVariant(QStringLiteral("epo"));
        QTest::newRow("Mid to the end") << "Mid('Report', 4)" << QVariant(QStringLiteral("ort"));
        QTest::newRow("CInt halves to even") << "CInt(2.5)" << QVariant(2);
        QTest::newRow("CLng") << "CLng('3.5')" << QVariant(4);
        QTest::newRow("CDbl") << "CDbl('2.25')" << QVariant(2.25);
        QTest::newRow("Val") << "Val('12 apples')" << QVariant(12.0);
        QTest::newRow("Val skips inner blanks") << "Val('1 2')" << QVariant(12.0);
        QTest::newRow("Val reads hex") << "Val('&H10')" << QVariant(16.0);
        QTest::newRow("Val reads an exponent") << "Val('1e3')" << QVariant(1000.0);
        QTest::newRow("CDbl takes a comma") << "CDbl('1,5')" << QVariant(1.5);
        QTest::newRow("Int") << "Int(-2.5)" << QVariant(-3);
        QTest::newRow("CStr") << "CStr(1.5)" << QVariant(QStringLiteral("1.5"));
        QTest::newRow("Year") << "Year('2024-03-15')" << QVariant(2024);
        QTest::newRow("Month of a literal") << "Month(#2024/03/15#)" << QVariant(3);
        QTest::newRow("Day") << "Day('2024-03-15 10:00:00')" << QVariant(15);
        QTest::newRow("DateSerial") << "DateSerial(2024, 14, 1)" << QVariant(QStringLiteral("2025-02-01"));
        QTest::newRow("IIf") << "IIf(1 > 2, 'yes', 'no')" << QVariant(QStringLiteral("no"));
        QTest::newRow("concatenation") << "'a' & 'b'" << QVariant(QStringLiteral("ab"));
        QTest::newRow("null propagates") << "UCase(NULL)" << QVariant();
        QTest::newRow("DateAdd months") << "DateAdd('m', 1, '2024-01-31')" << QVariant(QStringLiteral("2024-02-29"));
        QTest::newRow("DateAdd days") << "DateAdd('d', -1, #2024/03/01#)" << QVariant(QStringLiteral("2024-02-29"));
        QTest::newRow("DateAdd hours") << "DateAdd('h', 2, '2024-03-01 23:00:00')" << QVariant(QStringLiteral("2024-03-02 01:00:00"));
        QTest::newRow("DateDiff days") << "DateDiff('d', '2024-01-01', '2024-03-01')" << QVariant(60);
        QTest::newRow("DateDiff years counts boundaries") << "DateDiff('yyyy', '2023-12-31', '2024-01-01')" << QVariant(1);
        QTest::newRow("DateDiff months") << "DateDiff('m', '2024-01-31', '2024-02-01')" << QVariant(1);
        QTest::newRow("Format date") << "Format('2024-03-05', 'dd/mm/yyyy')" << QVariant(QStringLiteral("05/03/2024"));
        QTest::newRow("Format month name") << "Format('2024-03-05', 'mmm yyyy')" << QVariant(QStringLiteral("Mar 2024"));
        QTest::newRow("Format time") << "Format('2024-03-05 14:07:09', 'hh:nn:ss')" << QVariant(QStringLiteral("14:07:09"));
        QTest::newRow("Format number") << "Format(1234.5, '#,##0.00')" << QVariant(QStringLiteral("1,234.50"));
        QTest::newRow("Format fixed") << "Format(2.345, '0.0')" << QVariant(QStringLiteral("2.3"));
        QTest::newRow("Format percent") << "Format(0.125, 'Percent')" << QVariant(QStringLiteral("12.50%"));
        QTest::newRow("Date") << "Date() = date('now')" << QVariant(1);
    }
    void jetFunctions()
    {
        QFETCH(QString, expression);
        QFETCH(QVariant, value);
        auto c = connect(QStringLiteral("Provider=SQLite;Data Source=:memory:"));
        const QVariant got = c->openRecordset(QStringLiteral("SELECT ") + expression + QStringLiteral(" AS v"))->field(0).value;
        if (value.isNull())
            QVERIFY(got.isNull());
        else
            QCOMPARE(got, value);
    }

    void conversionsRefuseWhatIsNotANumber_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::newRow("CDbl") << "CDbl('12 apples')";
        QTest::newRow("CInt") << "CInt('abc')";
        QTest::newRow("CCur") << "CCur('')";
        QTest::newRow("Int") << "Int('1.2.3')";
    }

    void conversionsOverflow_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::newRow("CInt beyond 16 bits") << "CInt(32767.5)";
        QTest::newRow("CLng beyond 32 bits") << "CLng(-2147483649)";
        QTest::newRow("Mod of a huge number") << "1e300 Mod 7";
    }
    void conversionsOverflow()
    {
        QFETCH(QString, expression);
        auto c = connect(QStringLiteral("Provider=SQLite;Data Source=:memory:"));
        expectError([&] { c->openRecordset(QStringLiteral("SELECT ") + expression + QStringLiteral(" AS v")); },
                    qint32(0x80004005), QStringLiteral("Overflow"));
        // Within the range they convert.
        QCOMPARE(c->openRecordset(QStringLiteral("SELECT CInt(-32768.4), CLng(2147483647), Int(1e300)"))->field(2).value, QVariant(1e300));
    }
    void conversionsRefuseWhatIsNotANumber()
    {
        QFETCH(QString, expression);
        auto c = connect(QStringLiteral("Provider=SQLite;Data Source=:memory:"));
        expectError([&] { c->openRecordset(QStringLiteral("SELECT ") + expression + QStringLiteral(" AS v")); },
                    qint32(0x80040E07), QStringLiteral("Data type mismatch"));
    }

    void jetTemplateOpensTheEmbeddedEngine()
    {
        const QString cs = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%db%;Persist Security Info=False")
                               .replace(QStringLiteral("%db%"), m_db);
        auto c = connect(cs);
        QCOMPARE(c->state(), int(DbConnection::Open));
        QCOMPARE(c->openRecordset(QStringLiteral("SELECT * FROM Regions"))->recordCount(), 3);
        QCOMPARE(c->connectionString(), cs);
        c->close();
        QCOMPARE(c->state(), int(DbConnection::Closed));
    }

    void dataSourceFoundWithoutRegardToCase()
    {
        QString upper = m_db;
        upper.replace(QStringLiteral("sales.db"), QStringLiteral("SALES.DB"));
        auto c = connect(QStringLiteral("Provider=SQLite;Data Source=") + upper);
        QCOMPARE(c->state(), 1);
    }

    void openFailures()
    {
        DbConnection missing(QStringLiteral("Provider=SQLite;Data Source=") + m_dir.filePath(QStringLiteral("nope.db")));
        expectError([&] { missing.open(); }, qint32(0x80004005), QStringLiteral("nope.db"));
        QCOMPARE(missing.state(), 0);

        const QString text = m_dir.filePath(QStringLiteral("notadb.mdb"));
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Standard Jet DB, but not really");
        f.close();
        DbConnection jet(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + text);
        expectError([&] { jet.open(); }, qint32(0x80004005), QStringLiteral("Unrecognized database format"));
        DbConnection lite(QStringLiteral("Provider=SQLite;Data Source=") + text);
        expectError([&] { lite.open(); }, qint32(0x80004005), QStringLiteral("Unrecognized database format"));

        DbConnection unknown(QStringLiteral("Provider=NoSuch.Provider;Data Source=x"));
        expectError([&] { unknown.open(); }, ProviderErrors::ProviderNotFound, QStringLiteral("NoSuch.Provider"));

        DbConnection closed(sqliteString());
        expectError([&] { closed.execute(QStringLiteral("SELECT 1")); }, 3704);
        expectError([&] { closed.close(); }, 3704);
        closed.open();
        expectError([&] { closed.open(); }, 3705);
        expectError([&] { closed.setConnectionString(QString()); }, 3705);
    }

    void readOnlyMode()
    {
        auto c = connect(sqliteString() + QStringLiteral(";Mode=Read;ReadOnly=False"));
        expectError([&] { c->execute(QStringLiteral("DELETE FROM Regions")); }, qint32(0x80040E09),
                    QStringLiteral("\"DELETE FROM Regions\" would change the database"));
        QCOMPARE(c->openRecordset(QStringLiteral("SELECT * FROM Regions"))->recordCount(), 3);
    }

    void reportsOnlyRead_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("delete") << "DELETE FROM Orders";
        QTest::newRow("update") << "UPDATE Orders SET Qty = 0";
        QTest::newRow("insert") << "INSERT INTO Regions VALUES (9, 'West')";
        QTest::newRow("drop") << "DROP TABLE Orders";
        QTest::newRow("create") << "CREATE TABLE t (a INTEGER)";
        QTest::newRow("a write behind a select") << "WITH x AS (SELECT 1) DELETE FROM Orders";
        QTest::newRow("writing again") << "PRAGMA query_only = 0";
        QTest::newRow("another database") << "ATTACH ':memory:' AS other";
    }
    void reportsOnlyRead()
    {
        QFETCH(QString, sql);
        auto c = connect(sqliteString());
        expectError([&] { c->execute(sql); }, ProviderErrors::PermissionDenied,
                    QStringLiteral("The statement \"%1\" would change the database, and reports only read it. "
                                   "A connection string with ReadOnly=False allows changes.")
                        .arg(sql));
        QCOMPARE(c->openRecordset(QStringLiteral("SELECT * FROM Orders"))->recordCount(), 3);
        QCOMPARE(c->openRecordset(QStringLiteral("SELECT * FROM Regions"))->recordCount(), 3);
        // Its owner may allow changes.
        auto writer = connect(sqliteString() + QStringLiteral(";ReadOnly=False"));
        writer->execute(QStringLiteral("BEGIN"));
        writer->execute(QStringLiteral("UPDATE Orders SET Qty = Qty"));
        writer->execute(QStringLiteral("ROLLBACK"));
    }

    void readOnlyKey_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("absent") << QString() << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("No") << "No" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("anything else") << "maybe" << true;
    }
    void readOnlyKey()
    {
        QFETCH(QString, value);
        QFETCH(bool, readOnly);
        QString text = QStringLiteral("Provider=SQLite;Data Source=x");
        if (!value.isNull())
            text += QStringLiteral(";ReadOnly=") + value;
        QCOMPARE(ConnectionString(text).readOnly(), readOnly);
    }

    void statementsStopAtTheirLimits()
    {
        auto c = connect(sqliteString());
        c->setLimits({1, StatementLimits::DefaultMaxResultBytes});
        QElapsedTimer clock;
        clock.start();
        const QString endless = QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT count(*) FROM n");
        expectError([&] { c->openRecordset(endless); }, ProviderErrors::LimitReached,
                    QStringLiteral("was stopped after 1 seconds, the longest a statement may run."));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        // Time starts again with every statement.
        QCOMPARE(c->openRecordset(QStringLiteral("SELECT 1"))->recordCount(), 1);

        c->setLimits({0, 1024 * 1024});
        const QString many = QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT x, 'some text' FROM n");
        expectError([&] { c->openRecordset(many); }, ProviderErrors::LimitReached,
                    QStringLiteral("was stopped: its result grew beyond 1 MB, the most a statement may fetch."));
        // The limits stay with the connection when it opens again.
        c->close();
        c->open();
        expectError([&] { c->openRecordset(many); }, ProviderErrors::LimitReached);
    }

    void columnsWithoutRows()
    {
        auto c = connect(sqliteString());
        // A statement that would never end: its fields are known at once.
        auto rs = c->describe(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                                            "SELECT x AS Number, RegionName FROM n, Regions"));
        QCOMPARE(rs->recordCount(), 0);
        QCOMPARE(rs->fieldCount(), 2);
        QCOMPARE(rs->fieldName(0), QStringLiteral("Number"));
        QCOMPARE(rs->fieldType(1), 202);
        expectError([&] { c->describe(QStringLiteral("DELETE FROM Orders")); }, ProviderErrors::PermissionDenied);
    }

    void commandsOfAStatement_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("commands");
        QTest::addColumn<QString>("first");
        QTest::newRow("one") << "SELECT 1" << 1 << "SELECT";
        QTest::newRow("a closing semicolon") << "SELECT 1;  \r\n" << 1 << "SELECT";
        QTest::newRow("two") << "SELECT 1; DELETE FROM t" << 2 << "SELECT";
        QTest::newRow("in quotes") << "SELECT 'a;b', \"c;d\", [e;f]" << 1 << "SELECT";
        QTest::newRow("doubled quotes") << "SELECT 'it''s; fine'" << 1 << "SELECT";
        QTest::newRow("backslash escapes") << "SELECT E'\\'; DELETE FROM t; --'" << 1 << "SELECT";
        QTest::newRow("plain strings keep backslashes") << "SELECT '\\'; DELETE FROM t" << 2 << "SELECT";
        QTest::newRow("dollar quotes") << "SELECT $x$;$x$, $$;$$" << 1 << "SELECT";
        QTest::newRow("comments") << "-- a; b\n/* c; /* d; */ e; */ WITH x AS (SELECT 1) SELECT * FROM x" << 1 << "WITH";
        QTest::newRow("parentheses first") << "((SELECT 1)) UNION (SELECT 2)" << 1 << "SELECT";
        QTest::newRow("empty pieces") << ";;SELECT 1;;" << 1 << "";
        QTest::newRow("a write") << "  delete from t" << 1 << "DELETE";
    }
    void commandsOfAStatement()
    {
        QFETCH(QString, sql);
        QFETCH(int, commands);
        QFETCH(QString, first);
        QCOMPARE(SqlCommands::count(sql), commands);
        QCOMPARE(SqlCommands::firstWord(sql), first);
    }

    void executeWithoutRowsGivesClosedRecordset()
    {
        auto c = connect(QStringLiteral("Provider=SQLite;Data Source=:memory:"));
        auto rs = c->execute(QStringLiteral("CREATE TABLE t (a INTEGER)"));
        QCOMPARE(rs->state(), 0);
        c->execute(QStringLiteral("INSERT INTO t VALUES (1)"));
        QCOMPARE(c->execute(QStringLiteral("SELECT a FROM t"))->recordCount(), 1);
    }

    void tableSchemaListsTables()
    {
        auto c = connect(sqliteString() + QStringLiteral(";ReadOnly=False"));
        c->execute(QStringLiteral("CREATE VIEW IF NOT EXISTS NorthOnly AS SELECT * FROM Regions WHERE RegionID = 1"));
        auto rs = c->tableSchema();
        QStringList names;
        for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
            names.append(rs->field(QStringLiteral("Table_Name")).value.toString());
        QCOMPARE(names, (QStringList{"NorthOnly", "Orders", "Regions"}));
    }

    void connectionStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("dataSource");
        QTest::newRow("jet template") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Data\\Sales.mdb;Persist Security Info=False"
                                      << "Microsoft.Jet.OLEDB.4.0" << "C:\\Data\\Sales.mdb";
        QTest::newRow("spaces and case") << " provider = SQLite ; data source = /tmp/a b.db " << "SQLite" << "/tmp/a b.db";
        QTest::newRow("quoted value with semicolon") << "Provider=SQLite;Data Source=\"/tmp/a;b.db\";Mode=Read"
                                                     << "SQLite" << "/tmp/a;b.db";
        QTest::newRow("last one counts") << "Data Source=a;Provider=X;Data Source=b" << "X" << "b";
        QTest::newRow("part without equals skipped") << "junk;Provider=P" << "P" << "";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("quoted blanks kept") << "Provider=P;Data Source=' /a b.db '" << "P" << " /a b.db ";
    }
    void connectionStrings()
    {
        QFETCH(QString, text);
        QFETCH(QString, provider);
        QFETCH(QString, dataSource);
        const ConnectionString cs(text);
        QCOMPARE(cs.provider(), provider);
        QCOMPARE(cs.dataSource(), dataSource);
        // What is written reads back the same.
        const ConnectionString again(cs.toString());
        QCOMPARE(again.pairs(), cs.pairs());
    }
};

QTEST_APPLESS_MAIN(TestDatabase)
#include "tst_database.moc"
