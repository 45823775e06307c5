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

    static QString sql() { return ModuleState::current().CurrentReportSQL; }
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
        QCOMPARE(loader.GetStatementSQL(QStringLiteral("AllOrders"), fields), QStringLiteral("SELECT OrderID, Customer, Total FROM Orders ORDER BY OrderID\r\n"));
        QCOMPARE(fields, (QStringList{"OrderID", "Customer", "Total"}));
    }

    void lookupRetriesUntilThereAreRows()
    {
        GenerationFixture f;
        ScriptedPrompts prompts;
        QueryLoader loader(f.files, prompts);
        ModuleState::current().FirstQueryPending = true;
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Orders"), fields);
        // Region 1 has no orders: the second row of the lookup is used.
        QVERIFY2(sql().contains(QStringLiteral("WHERE RegionID = 2 ORDER BY")), qPrintable(sql()));
        QCOMPARE(collection(*ModuleState::current().ParamFieldCollection()), QStringList{"RegionID"});
        QCOMPARE(collection(*ModuleState::current().ParamValueCollection()), QStringList{"2"});
        QCOMPARE(fields, (QStringList{"OrderID", "Customer", "Total", "Qty", "Note"}));

        // A later statement of the run reuses the value, without searching.
        ModuleState::current().FirstQueryPending = false;
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
        ModuleState::current().FirstQueryPending = true;
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Orders"), fields);
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
        ModuleState::current().FirstQueryPending = true;
        ModuleState::current().CurrentReportSQL = QStringLiteral("before");
        QStringList fields{"kept"};
        loader.RunReportQuery(QStringLiteral("Orders"), fields);
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
        ModuleState::current().FirstQueryPending = true;
        QStringList fields;
        loader.RunReportQuery(QStringLiteral("Orders"), fields);
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
        ModuleState::current().CurrentReportSQL = QStringLiteral("previous");
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
        ModuleState::current().CurrentReportSQL = QStringLiteral("previous");
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
        loader.setValueSource([](const clsParameter &p) -> std::optional<QString> {
            return p.ParameterName == QLatin1String("Start") ? std::optional<QString>(QStringLiteral("2024/03/01")) : std::nullopt;
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
        auto rs = loader.open(sql());
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
            QCOMPARE(e.number(), QueryLoader::MissingParameterValue);
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
        QCOMPARE(loader.open(sql())->field(0).value.toInt(), 32);
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
        auto a = loader.open(sql());
        auto b = loader.open(sql());
        // The report's lookup and the statement, once each.
        QCOMPARE(cache.executions(), 2);
        // Each caller has its own cursor.
        a->moveNext();
        QCOMPARE(b->field(0).value.toString(), QStringLiteral("North"));
        QCOMPARE(a->field(0).value.toString(), QStringLiteral("South"));
        QCOMPARE(QueryLoader::FindInCollection(*ModuleState::current().ParamFieldCollection(), QStringLiteral("x")), 0);
    }
};

QTEST_APPLESS_MAIN(TestQueryLoader)
#include "tst_queryloader.moc"
