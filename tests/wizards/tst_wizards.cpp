// The connection dialog, the external data wizard, the start-up chooser
// and the formula editor through their models, on a real SQLite database.

#include "ConnectionDialogModel.h"
#include "DataConnectionFile.h"
#include "DbConnection.h"
#include "ExternalDataWizardModel.h"
#include "FormulaEditorModel.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ScriptedPrompts.h"
#include "SqliteEngine.h"
#include "StartupChooserModel.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

class TestWizards : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LocalFileService m_files;
    ScriptedPrompts m_prompts;
    QString m_db;

    QString sqlite() const { return QStringLiteral("Provider=SQLite;Data Source=") + m_db; }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A wizard on the shop database, on page 5 with the given links and conditions.
    std::unique_ptr<ExternalDataWizardModel> wizardAtConditions(const QStringList &links, const QStringList &conditions)
    {
        auto w = std::make_unique<ExternalDataWizardModel>(m_files, m_prompts);
        w->setConnectionText(sqlite());
        if (!w->testConnection() || !w->next())
            return nullptr;
        w->selectTables({QStringLiteral("Customers"), QStringLiteral("Orders")});
        w->next();
        for (const QString &l : links) {
            const QStringList p = l.split(QLatin1Char(' '));
            w->addLink(p[0], p[1], p[2], p[3], p[4]);
        }
        w->next();
        w->selectFields({QStringLiteral("Customers.Name"), QStringLiteral("Orders.Total")});
        w->next();
        for (const QString &c : conditions) {
            const QStringList p = c.split(QLatin1Char(' '));
            w->addCondition(p[0], p[1], p[2]);
        }
        return w;
    }

private slots:
    void initTestCase()
    {
        m_db = path(QStringLiteral("shop.db"));
        SqliteEngine::create(m_db)->runScript(QStringLiteral(
            "CREATE TABLE Customers (CustomerID INTEGER, Name VARCHAR(40), Since DATE);"
            "INSERT INTO Customers VALUES (1, 'Acme', '2020-01-01'), (2, 'Blue', '2021-05-05');"
            "CREATE TABLE Orders (OrderID INTEGER, CustomerID INTEGER, Total CURRENCY);"
            "INSERT INTO Orders VALUES (10, 1, 5.5);"
            "CREATE TABLE MSysObjects (Id INTEGER);"
            "CREATE TABLE Regions (RegionID INTEGER, RegionName VARCHAR(20));"));
    }

    void init()
    {
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_dir.path());
        QDir(m_dir.path()).mkpath(QStringLiteral("Temp"));
        QFile::remove(path(QStringLiteral("Temp/Data.cnn")));
        QFile::remove(path(QStringLiteral("Temp/SQL.mtq")));
        m_prompts.calls.clear();
        m_prompts.answers.clear();
    }

    void wizardPages()
    {
        ExternalDataWizardModel w(m_files, m_prompts);
        QCOMPARE(w.page(), 1);
        QVERIFY(!w.backVisible());
        QVERIFY(!w.finishVisible());
        w.setConnectionText(sqlite());
        QVERIFY(w.testConnection());
        QVERIFY(w.nextEnabled());
        QVERIFY(w.next());
        QCOMPARE(w.availableTables(), (QStringList{"Customers", "Orders", "Regions"})); // no MSys table
        QVERIFY(!w.next());
        QCOMPARE(m_prompts.messages().last(), QStringLiteral("At least one table must be selected before proceeding"));
        QCOMPARE(m_prompts.calls.last().style, MsgBoxStyle::Information);
        w.selectTables({QStringLiteral("Regions"), QStringLiteral("Customers"), QStringLiteral("Orders")});
        QCOMPARE(w.selectedTables(), (QStringList{"Customers", "Orders", "Regions"}));
        w.deselectTables({QStringLiteral("Regions")});
        QVERIFY(w.next());
        QCOMPARE(w.page(), 3);
        w.chooseLinkTable(0, QStringLiteral("Customers"));
        QCOMPARE(w.linkFields(0), (QStringList{"CustomerID", "Name", "Since"}));
        QVERIFY(!ExternalDataWizardModel::canLink({"Customers", "CustomerID", "=", "Orders", ""}));
        QVERIFY(w.next());
        QCOMPARE(w.availableFields(), (QStringList{"Customers.CustomerID", "Customers.Name", "Customers.Since",
                                                   "Orders.CustomerID", "Orders.OrderID", "Orders.Total"}));
        QVERIFY(!w.next());
        QCOMPARE(m_prompts.messages().last(), QStringLiteral("At least one field must be selected before proceeding"));
        w.selectFields({QStringLiteral("Orders.Total")});
        QVERIFY(w.next());
        QCOMPARE(w.conditionFields().size(), 6);
        QVERIFY(!ExternalDataWizardModel::canAddCondition(QStringLiteral("Orders.Total"), QStringLiteral(">"), QString()));
        QVERIFY(w.next());
        QCOMPARE(w.page(), 6);
        QVERIFY(w.finishVisible());
        QVERIFY(!w.nextVisible());
        QCOMPARE(w.sql(), QStringLiteral("SELECT Orders.Total\r\nFROM Customers, Orders"));
        w.back();
        QCOMPARE(w.page(), 5);
        QCOMPARE(w.selectedFields(), QStringList{"Orders.Total"}); // the lists keep their content
    }

    void nextStartsTheListsAfresh()
    {
        ExternalDataWizardModel w(m_files, m_prompts);
        w.setConnectionText(sqlite());
        QVERIFY(w.testConnection());
        QVERIFY(w.next());
        w.selectTables({QStringLiteral("Customers"), QStringLiteral("Orders")});
        QVERIFY(w.next());
        QVERIFY(w.next());
        w.selectFields({QStringLiteral("Orders.Total")});
        // Back to the tables: Next lists the fields again, none selected.
        w.back();
        QCOMPARE(w.page(), 3);
        QVERIFY(w.next());
        QCOMPARE(w.selectedFields(), QStringList());
        QCOMPARE(w.availableFields().size(), 6);
        // Back to the connection: Next lists the tables again, none selected.
        w.back();
        w.back();
        w.back();
        QCOMPARE(w.page(), 1);
        QVERIFY(w.next());
        QCOMPARE(w.selectedTables(), QStringList());
        QCOMPARE(w.availableTables(), (QStringList{"Customers", "Orders", "Regions"}));
    }

    void loadedConnectionSelectsItsTablesAndFields()
    {
        DataConnectionFile file;
        file.cnnString = sqlite();
        file.selTables = QStringList{QStringLiteral("Orders"), QStringLiteral("Gone")};
        file.selFields = QStringList{QStringLiteral("Orders.Total")};
        file.write(m_files, path(QStringLiteral("saved.mdq")), true);
        ExternalDataWizardModel w(m_files, m_prompts);
        QVERIFY(w.loadDataConnection(path(QStringLiteral("saved.mdq"))));
        QVERIFY(w.next());
        QCOMPARE(w.selectedTables(), QStringList{"Orders"}); // what is there
        QCOMPARE(w.availableTables(), (QStringList{"Customers", "Regions"}));
        QVERIFY(w.next());
        QVERIFY(w.next());
        QCOMPARE(w.selectedFields(), QStringList{"Orders.Total"});
        QCOMPARE(w.availableFields(), (QStringList{"Orders.CustomerID", "Orders.OrderID"}));
    }

    void columnsComeFromTheSchema()
    {
        // A name no query quoting survives: the columns still come.
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("odd.db"));
        SqliteEngine::create(db)->runScript(QStringLiteral("CREATE TABLE \"Price]List\" (Item VARCHAR(10), \"Net Price\" CURRENCY);"));
        ExternalDataWizardModel w(m_files, m_prompts);
        w.setConnectionText(QStringLiteral("Provider=SQLite;Data Source=") + db);
        QVERIFY(w.testConnection());
        QVERIFY(w.next());
        QCOMPARE(w.availableTables(), QStringList{"Price]List"});
        w.selectTables({QStringLiteral("Price]List")});
        QVERIFY(w.next());
        w.chooseLinkTable(0, QStringLiteral("Price]List"));
        QCOMPARE(w.linkFields(0), (QStringList{"Item", "Net Price"}));
        QVERIFY(w.next());
        QCOMPARE(m_prompts.messages(), QStringList());
        QCOMPARE(w.availableFields(), (QStringList{"Price]List.Item", "Price]List.Net Price"}));
    }

    void composedSql_data()
    {
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QStringList>("conditions");
        QTest::addColumn<QString>("sql");
        const QString head = QStringLiteral("SELECT Customers.Name, Orders.Total\r\nFROM Customers, Orders");
        QTest::newRow("links only") << QStringList{"Customers CustomerID = Orders CustomerID"} << QStringList{}
                                    << head + "\r\nWHERE Customers.CustomerID = Orders.CustomerID ";
        QTest::newRow("conditions only") << QStringList{} << QStringList{"Orders.Total > 5", "Customers.Name Like 'A%'"}
                                         << head + "\r\nWHERE Orders.Total > 5 and Customers.Name Like 'A%'";
        QTest::newRow("both") << QStringList{"Customers CustomerID = Orders CustomerID"} << QStringList{"Orders.Total >= 1"}
                              << head + "\r\nWHERE Customers.CustomerID = Orders.CustomerID and Orders.Total >= 1";
        QTest::newRow("neither: no WHERE line") << QStringList{} << QStringList{} << head;
        // Conditions typed in the dialect run as the dialect means them.
        QTest::newRow("dialect conditions") << QStringList{"Customers CustomerID = Orders CustomerID"}
                                            << QStringList{"Customers.Name Like '[!x-z]%'", "Customers.Since >= #1/1/2019#",
                                                           "Orders.Total > Val('12abc')"}
                                            << head + "\r\nWHERE Customers.CustomerID = Orders.CustomerID and Customers.Name Like "
                                                      "'[!x-z]%' and Customers.Since >= #1/1/2019# and Orders.Total > Val('12abc')";
    }
    void composedSql()
    {
        QFETCH(QStringList, links);
        QFETCH(QStringList, conditions);
        QFETCH(QString, sql);
        auto w = wizardAtConditions(links, conditions);
        QVERIFY(w);
        QVERIFY(w->next());
        QCOMPARE(w->sql(), sql);
        // The composed statement runs.
        DbConnection c(sqlite());
        c.open();
        QVERIFY(c.openRecordset(w->sql())->state() == 1);
    }

    void finishWritesTheDataConnectionFile()
    {
        auto w = wizardAtConditions({QStringLiteral("Customers CustomerID = Orders CustomerID")}, {QStringLiteral("Orders.Total > 5")});
        QVERIFY(w);
        w->next();
        const QString mdq = path(QStringLiteral("shop.mdq"));
        QFile::remove(mdq);
        m_prompts.answer(mdq);
        QVERIFY(w->finish(true));
        const QByteArray expected = "KRMLDataConnectionFile\r\n###########\r\nCnnString=" + sqlite().toUtf8()
            + "\r\nSelTables=Customers, Orders\r\nSelFields=Customers.Name, Orders.Total\r\n"
              "TableLinks=Customers.CustomerID = Orders.CustomerID\r\nParams=Orders.Total > 5\r\n";
        QCOMPARE(m_files.readBytes(mdq), expected);
        // It exists now: No asks for another name, then Cancel gives up.
        m_prompts.answer(mdq);
        m_prompts.answer(MsgBoxStyle::No);
        m_prompts.answer(mdq);
        m_prompts.answer(MsgBoxStyle::Cancel);
        QVERIFY(w->finish(true));
        QCOMPARE(m_prompts.messages().last(), QStringLiteral("A file with this name already exists, are you sure you want overwrite it?\r\n\r\n"
                                 "Click Yes to overwrite the existing file.\r\n\r\n"
                                 "Click No to choose another filename.\r\n\r\n"
                                 "Click Cancel to abort the save operation."));
        QCOMPARE(m_prompts.calls.last().style, MsgBoxStyle::YesNoCancel | MsgBoxStyle::Question);
        // Yes replaces it.
        w->removeConditions({0});
        m_prompts.answer(mdq);
        m_prompts.answer(MsgBoxStyle::Yes);
        QVERIFY(w->finish(true));
        QVERIFY(m_files.readBytes(mdq).endsWith("Params=\r\n"));
        // Load reads it back into a fresh wizard.
        ExternalDataWizardModel again(m_files, m_prompts);
        QVERIFY(again.loadDataConnection(mdq));
        QCOMPARE(again.connectionText(), sqlite());
        QCOMPARE(again.selectedFields(), (QStringList{"Customers.Name", "Orders.Total"}));
        QCOMPARE(again.links(), QStringList{"Customers.CustomerID = Orders.CustomerID"});
    }

    void saveMakesTheWorkingConnection()
    {
        ExternalDataWizardModel w(m_files, m_prompts);
        w.setConnectionText(sqlite());
        w.save();
        QCOMPARE(m_files.readBytes(path(QStringLiteral("Temp/Data.cnn"))), sqlite().toUtf8());
        QCOMPARE(ModuleState::current().data().currentConnectionString(), sqlite());
    }

    void connectionTestFailure_data()
    {
        QTest::addColumn<bool>("dev");
        QTest::addColumn<int>("resume");
        QTest::addColumn<bool>("nextEnabled");
        QTest::newRow("normal") << false << 0 << false;
        QTest::newRow("development, resume") << true << int(MsgBoxStyle::Yes) << true;
        QTest::newRow("development, stop") << true << int(MsgBoxStyle::No) << false;
    }
    void connectionTestFailure()
    {
        QFETCH(bool, dev);
        QFETCH(int, resume);
        QFETCH(bool, nextEnabled);
        ModuleState::current().setDevMode(dev);
        ExternalDataWizardModel w(m_files, m_prompts);
        w.setConnectionText(QStringLiteral("Provider=SQLite;Data Source=") + path(QStringLiteral("missing.db")));
        m_prompts.answer(MsgBoxStyle::OK);
        if (dev)
            m_prompts.answer(resume);
        QVERIFY(!w.testConnection());
        const QString first = m_prompts.calls[0].text;
        QVERIFY2(first.startsWith(QStringLiteral("Error -2147467259: Could not find file")), qPrintable(first));
        QVERIFY(first.endsWith(QStringLiteral("\r\n\r\nPlease check connection settings and try again.")));
        QCOMPARE(m_prompts.calls.size(), dev ? 2 : 1);
        if (dev) {
            QCOMPARE(m_prompts.calls[1].text, QStringLiteral("Resume Next?"));
            QCOMPARE(m_prompts.calls[1].title, QStringLiteral("Development Mode Message"));
        }
        QCOMPARE(w.nextEnabled(), nextEnabled);
    }

    void openingTestsTheSharedStringThenShowsTheCurrentOne()
    {
        ExternalDataWizardModel w(m_files, m_prompts);
        w.open(sqlite(), QString());
        QVERIFY(m_prompts.calls.isEmpty()); // tested fine
        QVERIFY(w.nextEnabled());
        QVERIFY(w.connectionText().isEmpty());
    }

    void chooserTimer()
    {
        StartupChooserModel chooser(m_files, m_prompts);
        QVERIFY(chooser.layoutEnabled && chooser.sqlEnabled && chooser.dataSourceEnabled);
        chooser.tick(); // nothing there: nothing disabled
        QVERIFY(chooser.layoutEnabled && chooser.sqlEnabled);
        ModuleState &state = ModuleState::current();
        // An empty working file: the string stays empty, the data source unchanged.
        state.data().setCurrentDataSource(QStringLiteral("before"));
        m_files.writeBytes(path(QStringLiteral("Temp/Data.cnn")), QByteArray());
        chooser.tick();
        QVERIFY(state.data().currentConnectionString().isEmpty());
        QCOMPARE(state.data().currentDataSource(), QStringLiteral("before"));
        // A string without "Data Source": said once, the chooser goes on.
        m_files.writeBytes(path(QStringLiteral("Temp/Data.cnn")), "Provider=MSDASQL;DSN=Shop");
        state.data().setCurrentConnectionString(QString());
        chooser.tick();
        state.data().setCurrentConnectionString(QString());
        chooser.tick();
        QCOMPARE(m_prompts.messages().size(), 1);
        // A saved connection is picked up with its data source, then kept.
        m_files.writeBytes(path(QStringLiteral("Temp/Data.cnn")), sqlite().toUtf8());
        state.data().setCurrentConnectionString(QString());
        chooser.tick();
        QCOMPARE(state.data().currentConnectionString(), sqlite());
        QCOMPARE(state.data().currentDataSource(), m_db);
        m_files.writeBytes(path(QStringLiteral("Temp/Data.cnn")), "Provider=SQLite;Data Source=other.db");
        chooser.tick();
        QCOMPARE(state.data().currentConnectionString(), sqlite());
    }

    void bouncingBar()
    {
        BouncingBar bar;
        QList<int> lefts;
        for (int i = 0; i < 8; ++i) {
            bar.advance(450, 150);
            lefts << bar.left;
        }
        QCOMPARE(lefts, (QList<int>{100, 200, 300, 200, 100, 0, 100, 200}));
    }

    void connectionDialogRoundTrip_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<int>("provider");
        QTest::addColumn<QString>("out");
        QTest::newRow("sqlite") << "Provider=SQLite;Data Source=/data/shop.db" << int(ConnectionDialogModel::Sqlite)
                                << "Provider=SQLite;Data Source=/data/shop.db";
        QTest::newRow("jet") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\db\\Sales.mdb;Persist Security Info=False"
                             << int(ConnectionDialogModel::Access)
                             << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\db\\Sales.mdb;Persist Security Info=False";
        QTest::newRow("postgres, other spellings") << "Provider=PostgreSQL;Server=db.example;Port=5433;Initial Catalog=sales;UID=ann;PWD=x;Connect Timeout=5"
                                                   << int(ConnectionDialogModel::PostgreSql)
                                                   << "Provider=PostgreSQL;Host=db.example;Port=5433;Database=sales;User ID=ann;Password=x;Connect Timeout=5";
        QTest::newRow("odbc dsn") << "Provider=MSDASQL;DSN=Shop;UID=ann" << int(ConnectionDialogModel::Odbc)
                                  << "Provider=MSDASQL;DSN=Shop;User ID=ann";
        QTest::newRow("odbc driver, no provider") << "Driver={SQLite3};Database=/data/shop.db" << int(ConnectionDialogModel::Odbc)
                                                  << "Provider=MSDASQL;Driver={SQLite3};Database=/data/shop.db";
    }
    void connectionDialogRoundTrip()
    {
        QFETCH(QString, in);
        QFETCH(int, provider);
        QFETCH(QString, out);
        ConnectionDialogModel model(in);
        QCOMPARE(int(model.provider()), provider);
        QCOMPARE(model.connectionString(), out);
        // Once more: the same string.
        QCOMPARE(ConnectionDialogModel(out).connectionString(), out);
    }

    void connectionDialogTest()
    {
        ConnectionDialogModel model;
        model.setProvider(ConnectionDialogModel::Sqlite);
        model.setField(ConnectionDialogModel::File, m_db);
        QCOMPARE(model.test(), QStringLiteral("Test connection succeeded."));
        model.setField(ConnectionDialogModel::File, path(QStringLiteral("nothing.db")));
        QVERIFY(model.test().startsWith(QStringLiteral("Test connection failed: -2147467259 - Could not find file")));
    }

    void formulaEditorFields_data()
    {
        QTest::addColumn<QString>("parameterLine");
        QTest::addColumn<QString>("condition");
        QTest::newRow("date") << "p1=0,Since" << "Since >= Start(Date)";
        QTest::newRow("number") << "p1=1,Qty" << "CustomerID > Start(Number)";
        QTest::newRow("string") << "p1=2,Who" << "Name <> Start(String)";
        QTest::newRow("lookup, integer return") << "p1=3,Start,1,Name,CustomerID,SELECT * FROM Customers"
                                                << "CustomerID = Start(Lookup)";
        QTest::newRow("lookup, date return") << "p1=3,Start,2,Name,Since,SELECT Name, Since FROM Customers"
                                             << "Since = Start(Lookup)";
        QTest::newRow("lookup, text return") << "p1=3,Start,1,Name,Name,SELECT * FROM Customers" << "Name = Start(Lookup)";
    }
    void formulaEditorFields()
    {
        QFETCH(QString, parameterLine);
        QFETCH(QString, condition);
        QString line = parameterLine;
        // The markers the conditions use are named Start whatever the line says.
        line.replace(QRegularExpression(QStringLiteral("^p1=(\\d),[A-Za-z]+")), QStringLiteral("p1=\\1,Start"));
        m_files.writeBytes(path(QStringLiteral("Temp/SQL.mtq")),
                           ("marlowentallymasterfile\r\nnoofparams=1\r\n" + line + "\r\n##########\r\n1\r\n"
                            "tablename=Buyers\r\nSELECT CustomerID, Name AS Buyer FROM Customers WHERE " + condition + "\r\n"
                            "tablename=endreport").toUtf8());
        DbConnection c(sqlite());
        c.open();
        FormulaEditorModel editor(m_files, m_prompts, c);
        QCOMPARE(editor.statements(), QStringList{"Buyers"});
        QCOMPARE(editor.LoadJustDBFields(QStringLiteral("Buyers")), (QStringList{"CustomerID", "Buyer"}));
        QVERIFY2(m_prompts.calls.isEmpty(), qPrintable(m_prompts.messages().join(QLatin1Char('|'))));
        const auto dummy = editor.dummyStatement(QStringLiteral("Buyers"));
        QVERIFY(dummy);
        QVERIFY(!dummy->sql.contains(QLatin1String("Start(")));
        QCOMPARE(dummy->values.size(), 1);
    }

    void formulaEditorFailures()
    {
        DbConnection c(sqlite());
        c.open();
        FormulaEditorModel editor(m_files, m_prompts, c);
        const QStringList previous{QStringLiteral("Kept")};
        m_files.writeBytes(path(QStringLiteral("Temp/SQL.mtq")), "not a report\r\n");
        QCOMPARE(editor.LoadJustDBFields(QStringLiteral("Buyers"), previous), previous);
        QCOMPARE(m_prompts.messages().last(), QStringLiteral("This is not a valid Marlowen Report"));
        QCOMPARE(m_prompts.calls.last().style, 64);
        // A marker spelt differently stays in the SQL, which then fails.
        m_files.writeBytes(path(QStringLiteral("Temp/SQL.mtq")),
                           "marlowentallymasterfile\r\nnoofparams=1\r\np1=1,Qty\r\n##########\r\n1\r\n"
                           "tablename=Buyers\r\nSELECT * FROM Customers WHERE CustomerID > Qtty(Number)\r\ntablename=endreport");
        QCOMPARE(editor.LoadJustDBFields(QStringLiteral("Buyers"), previous), previous);
        QCOMPARE(m_prompts.calls.last().title, QStringLiteral("SQL Error"));
    }

    void formulaEditorDrops_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty formula") << "" << 0 << "Total" << "" << "{Orders.Total}";
        QTest::newRow("after a slash") << "{Orders.Total}/" << 15 << "Qty" << "" << "{Orders.Total}/{Orders.Qty}";
        QTest::newRow("in the middle") << "ab" << 1 << "Qty" << "" << "a{Orders.Qty}b";
        QTest::newRow("beyond the end") << "ab" << 9 << "Qty" << "" << "ab{Orders.Qty}";
        QTest::newRow("a function, bare") << "{Orders.Total}" << 0 << "" << "Round{}" << "Round{}{Orders.Total}";
    }
    void formulaEditorDrops()
    {
        QFETCH(QString, formula);
        QFETCH(int, offset);
        QFETCH(QString, field);
        QFETCH(QString, function);
        QFETCH(QString, result);
        const QString got = function.isEmpty() ? FormulaEditorModel::dropField(formula, offset, QStringLiteral("Orders"), field)
                                               : FormulaEditorModel::dropFunction(formula, offset, function);
        QCOMPARE(got, result);
        QCOMPARE(FormulaEditorModel::functions(),
                 (QStringList{"AddTax{}", "Avg{}", "Count{}", "DateTimeFormat{}", "Max{}", "Min{}", "MinusTax{}", "Now",
                              "Percent{}", "Round{}"}));
    }
};

QTEST_MAIN(TestWizards)
#include "tst_wizards.moc"
