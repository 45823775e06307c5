#include "GenerationFixture.h"
#include "QueryLoader.h"
#include "ReportError.h"
#include "ScriptedPrompts.h"
#include "Recordset.h"
#include "StatementCache.h"
#include "TestData.h"

#include <QtTest>

using namespace KRML_ReportGen;

class TestQueryLoader : public QObject
{
    Q_OBJECT

    // What the statement reads as, values shown as literals.
    static QString sql() { return ModuleState::current().CurrentReportSQL().displayText(); }
    static const BoundStatement &statement() { return ModuleState::current().CurrentReportSQL(); }
    static QStringList collection(const VariantCollection &c)
    {
        QStringList out;
        for (int i = 1; i <= c.Count(); ++i)
            out << c.Item(i).toString();
        return out;
    }

private slots:
    void statementList()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QCOMPARE(loader.FillStatementList(), (QStringList{"Orders", "Regions", "Since", "Named", "AllOrders"}));
    }

    void statementWithoutMarkers()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QStringList fields{"old"};
        QCOMPARE(loader.RunReportQuery(QStringLiteral("Regions"), fields), QString());
        QCOMPARE(sql(), QStringLiteral("SELECT RegionName FROM Regions ORDER BY RegionID\r\n"));
        QCOMPARE(fields, QStringList{"RegionName"});
        QCOMPARE(loader.GetStatementSQL(QStringLiteral("AllOrders"), fields).sql, QStringLiteral("SELECT OrderID, Customer, Total FROM Orders ORDER BY OrderID\r\n"));
        QCOMPARE(fields, (QStringList{"OrderID", "Customer", "Total"}));
    }

    void lookupRetriesUntilThereAreRows()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Orders"), fields, true);
        // Region 1 has no orders: the second row of the lookup is used,
        // bound as a value, not written into the text.
        QVERIFY2(statement().sql.contains(QStringLiteral("WHERE RegionID = ?1 ORDER BY")), qPrintable(statement().sql));
        QCOMPARE(statement().values, QList<BoundValue>{BoundValue::integer(2)});
        QVERIFY2(sql().contains(QStringLiteral("WHERE RegionID = 2 ORDER BY")), qPrintable(sql()));
        QCOMPARE(collection(*ModuleState::current().ParamFieldCollection()), QStringList{"RegionID"});
        QCOMPARE(collection(*ModuleState::current().ParamValueCollection()), QStringList{"2"});
        QCOMPARE(fields, (QStringList{"OrderID", "Customer", "Total", "Qty", "Note"}));

        // A later statement of the run reuses the value, without searching.
        f.files.writeBytes(f.app.filePath(QStringLiteral("Temp/SQL.mtq")),
                           GenerationFixture::defaultSql().replace("tablename=AllOrders\r\nSELECT OrderID, Customer, Total FROM Orders",
                                                                   "tablename=AllOrders\r\nSELECT COUNT(*) AS N FROM Orders WHERE RegionID = Region(Lookup)"));
        loader.RunReportQuery(QStringLiteral("AllOrders"), fields);
        QVERIFY2(sql().contains(QStringLiteral("RegionID = 2")), qPrintable(sql()));
        QCOMPARE(ModuleState::current().ParamFieldCollection()->Count(), 1);
    }

    void retryReachesTheThirdRow()
    {
        GenerationFixture f;
        f.files.writeBytes(f.app.filePath(QStringLiteral("Temp/SQL.mtq")),
                           GenerationFixture::defaultSql().replace("WHERE RegionID = Region(Lookup) ORDER BY OrderID",
                                                                   "WHERE RegionID = Region(Lookup) AND Qty = 3"));
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Orders"), fields, true);
        QVERIFY2(sql().contains(QStringLiteral("RegionID = 3 AND")), qPrintable(sql()));
        QCOMPARE(collection(*ModuleState::current().ParamValueCollection()), QStringList{"3"});
    }

    void exhaustedLookupEndsSilently()
    {
        GenerationFixture f;
        f.files.writeBytes(f.app.filePath(QStringLiteral("Temp/SQL.mtq")),
                           GenerationFixture::defaultSql().replace("WHERE RegionID = Region(Lookup) ORDER BY OrderID",
                                                                   "WHERE RegionID = Region(Lookup) AND Qty = 99"));
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        ModuleState::current().setCurrentReportSQL(BoundStatement(QStringLiteral("before")));
        QStringList fields{"kept"};
        loader.RunReportQuery(QStringLiteral("Orders"), fields, true);
        QCOMPARE(fields, QStringList{"kept"});
        QVERIFY(prompts.calls.isEmpty());
    }

    void hostValuesTakePrecedence()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        ModuleState::current().ParamFieldCollection()->Add(QStringLiteral("RegionID"));
        ModuleState::current().ParamValueCollection()->Add(3);
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Orders"), fields, true);
        QVERIFY2(sql().contains(QStringLiteral("RegionID = 3 ORDER BY")), qPrintable(sql()));
        QCOMPARE(ModuleState::current().ParamFieldCollection()->Count(), 1);
    }

    void lookupLiteralsByColumnType_data()
    {
        QTest::addColumn<QString>("lookup");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer bare") << "p1=3,Region,1,RegionName,RegionID,SELECT * FROM Regions ORDER BY RegionID" << "= 1";
        QTest::newRow("date as #yyyy/MM/dd#") << "p1=3,Region,1,RegionName,Opened,SELECT * FROM Regions ORDER BY RegionID" << "= #2001/01/01#";
        QTest::newRow("text quoted") << "p1=3,Region,1,RegionName,RegionName,SELECT * FROM Regions WHERE RegionID = 2" << "= 'South'";
        QTest::newRow("quote doubled") << "p1=3,Region,1,RegionName,RegionName,SELECT * FROM Regions WHERE RegionID = 3" << "= 'O''Brien Land'";
    }
    void lookupLiteralsByColumnType()
    {
        QFETCH(QString, lookup);
        QFETCH(QString, expected);
        const QByteArray file = "marlowentallymasterfile\r\nnoofparams=1\r\n" + lookup.toLatin1()
                                + "\r\n##########\r\n1\r\ntablename=S\r\nSELECT * FROM Regions WHERE X = Region(Lookup)\r\ntablename=endreport";
        GenerationFixture f(file);
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("S"), fields);
        QVERIFY2(sql().contains(expected), qPrintable(sql()));
    }

    void namesCompareExactly()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        ModuleState::current().setCurrentReportSQL(BoundStatement(QStringLiteral("previous")));
        QStringList fields{"kept"};
        loader.RunReportQuery(QStringLiteral("regions"), fields);
        // Not found: an empty text runs, fails, and nothing else changes.
        QCOMPARE(fields, QStringList{"kept"});
        QCOMPARE(sql(), QString());
    }

    void wrongMagicSaysSo()
    {
        GenerationFixture f("not a report\r\n");
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Orders"), fields);
        QCOMPARE(prompts.messages(), QStringList{"This is not a valid Marlowen Report"});
        QCOMPARE(prompts.calls[0].style, 64);
    }

    void missingWorkingFileDoesNothing()
    {
        GenerationFixture f;
        QFile::remove(f.app.filePath(QStringLiteral("Temp/SQL.mtq")));
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        ModuleState::current().setCurrentReportSQL(BoundStatement(QStringLiteral("previous")));
        QStringList fields{"kept"};
        loader.RunReportQuery(QStringLiteral("Orders"), fields);
        QCOMPARE(sql(), QStringLiteral("previous"));
        QCOMPARE(fields, QStringList{"kept"});
        QCOMPARE(loader.FillStatementList({QStringLiteral("x")}), QStringList{"x"});
    }

    void typedParametersFromTheHost()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        auto &names = *ModuleState::current().ParamFieldCollection();
        auto &values = *ModuleState::current().ParamValueCollection();
        names.Add(QStringLiteral("start"));
        values.Add(QStringLiteral("2024-02-01"));
        names.Add(QStringLiteral("Who"));
        values.Add(QStringLiteral("O'Hara"));
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Since"), fields);
        QVERIFY2(sql().contains(QStringLiteral(">= #2024/02/01#")), qPrintable(sql()));
        loader.RunReportQuery(QStringLiteral("Named"), fields);
        QVERIFY2(sql().contains(QStringLiteral("= 'O''Hara'")), qPrintable(sql()));
    }

    void missingTypedParameterStopsTheRun()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QStringList fields;
        try {
            loader.RunReportQuery(QStringLiteral("Since"), fields);
            QFAIL("ran with a marker left in");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), QueryLoader::MissingParameterValue);
            QVERIFY2(e.description().contains(QStringLiteral("\"Start\"")), qPrintable(e.description()));
        }
        // A value source (the prompt) can supply it.
        loader.setValueSource([](const clsParameter &p) -> std::optional<QVariant> {
            return p.ParameterName == QLatin1String("Start") ? std::optional<QVariant>(QStringLiteral("2024/03/01")) : std::nullopt;
        });
        loader.RunReportQuery(QStringLiteral("Since"), fields);
        QVERIFY(sql().contains(QStringLiteral("#2024/03/01#")));
        // A value that is no date is refused with the parameter's name.
        ModuleState::current().ParamFieldCollection()->Add(QStringLiteral("Start"));
        ModuleState::current().ParamValueCollection()->Add(QStringLiteral("soon"));
        QVERIFY_THROWS_EXCEPTION(ReportError, loader.RunReportQuery(QStringLiteral("Since"), fields));
    }

    void declaredParametersTakeTheirValuesByName()
    {
        // PARAMETERS at the head of a statement: the declared names are the
        // statement's parameters, with values from the host or the prompt.
        const QByteArray file = "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                "tablename=S\r\nPARAMETERS [First Day] DateTime, Who Text(40);\r\n"
                                "SELECT OrderID FROM Orders WHERE OrderDate >= [First Day] AND Customer <> Who ORDER BY OrderID\r\n"
                                "tablename=endreport";
        GenerationFixture f(file);
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        ModuleState::current().ParamFieldCollection()->Add(QStringLiteral("first day"));
        ModuleState::current().ParamValueCollection()->Add(QStringLiteral("2024-02-01"));
        QStringList asked;
        loader.setValueSource([&asked](const clsParameter &p) -> std::optional<QString> {
            asked << p.ParameterName + QLatin1Char('/') + QString::number(p.ParamType);
            return QStringLiteral("Cy");
        });
        StatementCache cache;
        loader.setCache(&cache);
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("S"), fields);
        QCOMPARE(asked, QStringList{"Who/2"});
        auto rs = loader.open(ModuleState::current().CurrentReportSQL());
        QStringList ids;
        for (; !rs->isEOF(); rs->moveNext())
            ids << rs->field(0).value.toString();
        QCOMPARE(ids, (QStringList{"2", "4"}));

        // A value that is no date is refused with the parameter's name.
        ModuleState::current().ParamValueCollection()->Remove(1);
        ModuleState::current().ParamValueCollection()->Add(QStringLiteral("soon"));
        try {
            loader.RunReportQuery(QStringLiteral("S"), fields);
            QFAIL("ran with a date that is none");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 380);
            QVERIFY2(e.description().contains(QStringLiteral("\"First Day\"")), qPrintable(e.description()));
        }
    }

    void savedParameterQueriesAskForTheirValues()
    {
        KRML_REQUIRE_TESTDATA();
        // A report that reads an Access parameter query: its parameters are
        // asked for one by one, as Access asks, through the value source.
        const QByteArray file = "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                "tablename=S\r\nSELECT COUNT(*) AS N FROM [Employee Sales by Country]\r\ntablename=endreport";
        GenerationFixture f(file);
        ModuleState::current().data().setRDDataConnectionString(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + TestData::path(QStringLiteral("mdb/nwind-jet3.mdb")));
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QStringList asked;
        loader.setValueSource([&asked](const clsParameter &p) -> std::optional<QString> {
            asked << p.ParameterName;
            return p.ParameterName == QLatin1String("Beginning Date") ? QStringLiteral("1995-01-01") : QStringLiteral("1995-01-31");
        });
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("S"), fields);
        QCOMPARE(asked, (QStringList{"Beginning Date", "Ending Date"}));
        QCOMPARE(fields, QStringList{"N"});
        QCOMPARE(loader.open(ModuleState::current().CurrentReportSQL())->field(0).value.toInt(), 32);
    }

    void cacheRunsEachStatementOnce()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        StatementCache cache;
        loader.setCache(&cache);
        QStringList fields;
        for (int i = 0; i < 3; ++i)
            loader.RunReportQuery(QStringLiteral("Regions"), fields);
        auto a = loader.open(statement());
        auto b = loader.open(statement());
        // The report's lookup and the statement, once each.
        QCOMPARE(cache.executions(), 2);
        // Each caller has its own cursor.
        a->moveNext();
        QCOMPARE(b->field(0).value.toString(), QStringLiteral("North"));
        QCOMPARE(a->field(0).value.toString(), QStringLiteral("South"));
        QCOMPARE(QueryLoader::FindInCollection(*ModuleState::current().ParamFieldCollection(), QStringLiteral("x")), 0);
    }


    // A report whose statement reads one parameter of each kind.
    static QByteArray injectionSql()
    {
        return "marlowentallymasterfile\r\nnoofparams=4\r\n"
               "p1=2,A\r\np2=2,B\r\np3=1,N\r\n"
               "p4=3,Region,1,RegionName,RegionID,SELECT * FROM Regions ORDER BY RegionID\r\n"
               "##########\r\n4\r\n"
               "tablename=Two\r\nSELECT OrderID FROM Orders WHERE Customer = A(String) OR Customer = B(String)\r\n"
               "tablename=Above\r\nSELECT OrderID FROM Orders WHERE Total > N(Number) ORDER BY OrderID\r\n"
               "tablename=InRegion\r\nSELECT OrderID FROM Orders WHERE RegionID = Region(Lookup) ORDER BY OrderID\r\n"
               "tablename=Quoted\r\nSELECT 'A(String)' AS Kept, [Customer] FROM Orders WHERE Customer = A(String)\r\n"
               "tablename=endreport";
    }
    static int rowsOf(QueryLoader &loader, const QString &statementName)
    {
        QStringList fields;
        loader.RunReportQuery(statementName, fields);
        return loader.open(ModuleState::current().CurrentReportSQL())->recordCount();
    }
    static int orderCount()
    {
        return ModuleState::current().data().RDDataConnection()->openRecordset(QStringLiteral("SELECT COUNT(*) FROM Orders"))->field(0).value.toInt();
    }

    void injectionAttempts_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("given"); // name, value, name, value ...
        QTest::addColumn<int>("rows");          // -1: a parameter error
        QTest::newRow("second order") << "Two" << QStringList{"A", "B(String)", "B", "' OR 1=1 --"} << 0;
        QTest::newRow("quote") << "Two" << QStringList{"A", "O'Hara", "B", "x"} << 1;
        QTest::newRow("comment") << "Two" << QStringList{"A", "Ann' --", "B", "x"} << 0;
        QTest::newRow("semicolon") << "Two" << QStringList{"A", "x'; DROP TABLE Orders; --", "B", "y"} << 0;
        QTest::newRow("number with SQL") << "Above" << QStringList{"N", "0 OR 1=1"} << -1;
        QTest::newRow("number with a statement") << "Above" << QStringList{"N", "1; DROP TABLE Orders"} << -1;
        QTest::newRow("number with a comma") << "Above" << QStringList{"N", "20,5"} << 2;
        QTest::newRow("hexadecimal number") << "Above" << QStringList{"N", "&H3"} << 4;
        QTest::newRow("lookup with SQL") << "InRegion" << QStringList{"RegionID", "0 OR 1=1"} << -1;
        QTest::newRow("lookup by value") << "InRegion" << QStringList{"RegionID", "3"} << 1;
        QTest::newRow("lookup by the text it shows") << "InRegion" << QStringList{"RegionID", "south"} << 3;
        QTest::newRow("lookup text with a quote") << "InRegion" << QStringList{"RegionID", "O'Brien Land"} << 1;
        QTest::newRow("marker in quotes stays text") << "Quoted" << QStringList{"A", "Ann"} << 1;
    }
    void injectionAttempts()
    {
        QFETCH(QString, statement);
        QFETCH(QStringList, given);
        QFETCH(int, rows);
        GenerationFixture f(injectionSql());
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        for (int i = 0; i + 1 < given.size(); i += 2) {
            ModuleState::current().ParamFieldCollection()->Add(given[i]);
            ModuleState::current().ParamValueCollection()->Add(given[i + 1]);
        }
        if (rows < 0) {
            try {
                rowsOf(loader, statement);
                QFAIL("the value reached the database");
            } catch (const ReportError &e) {
                QCOMPARE(e.number(), 380);
                QVERIFY2(e.description().contains(QLatin1Char('"') + given[1] + QLatin1Char('"')), qPrintable(e.description()));
            }
        } else {
            QCOMPARE(rowsOf(loader, statement), rows);
        }
        QCOMPARE(orderCount(), 4);
    }

    void markerInQuotesIsText()
    {
        GenerationFixture f(injectionSql());
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        ModuleState::current().ParamFieldCollection()->Add(QStringLiteral("A"));
        ModuleState::current().ParamValueCollection()->Add(QStringLiteral("Ann"));
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Quoted"), fields);
        auto rs = loader.open(statement());
        QCOMPARE(rs->field(QStringLiteral("Kept")).value.toString(), QStringLiteral("A(String)"));
    }

    void retryThatReplacesAGivenValueSaysSo()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        QStringList notices;
        loader.setNotice([&](const QString &text) { notices << text; });
        // North (1) has no orders.
        ModuleState::current().ParamFieldCollection()->Add(QStringLiteral("RegionID"));
        ModuleState::current().ParamValueCollection()->Add(QStringLiteral("North"));
        // A Date parameter's value after it is not the lookup's to withdraw.
        ModuleState::current().ParamFieldCollection()->Add(QStringLiteral("Start"));
        ModuleState::current().ParamValueCollection()->Add(QStringLiteral("2024-01-01"));
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Orders"), fields, true);
        QCOMPARE(collection(*ModuleState::current().ParamFieldCollection()), (QStringList{"Start", "RegionID"}));
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices[0].contains(QStringLiteral("\"North\"")) && notices[0].contains(QStringLiteral("\"Region\"")),
                 qPrintable(notices[0]));
        QVERIFY(!statement().values.isEmpty());
        QCOMPARE(statement().values[0], BoundValue::integer(2));
        // A value the lookup took itself is withdrawn without a word.
        ModuleState::current().setParamFieldCollection(std::make_shared<VariantCollection>());
        ModuleState::current().setParamValueCollection(std::make_shared<VariantCollection>());
        notices.clear();
        loader.RunReportQuery(QStringLiteral("Orders"), fields, true);
        QVERIFY(notices.isEmpty());
    }

    void anUnusedParameterIsNotAskedFor()
    {
        GenerationFixture f(injectionSql());
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        // "Above" reads N only: A and B need no value, and a wrong one for
        // them does not matter.
        ModuleState::current().ParamFieldCollection()->Add(QStringLiteral("N"));
        ModuleState::current().ParamValueCollection()->Add(100);
        QCOMPARE(rowsOf(loader, QStringLiteral("Above")), 1);
    }
};

QTEST_APPLESS_MAIN(TestQueryLoader)
#include "tst_queryloader.moc"
