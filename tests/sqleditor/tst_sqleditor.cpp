// The SQL editor through its model: statements and files, parameters,
// Check SQL, Preview and Export, completion and the dialogs' logic, on a
// real SQLite database and real files.

#include "DatabaseReference.h"
#include "DbConnection.h"
#include "LocalFileService.h"
#include "LookupSetupModel.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ParameterCommands.h"
#include "ProcessTempNames.h"
#include "ReportParameterPrompt.h"
#include "ReportSqlFile.h"
#include "RtfText.h"
#include "ScriptedEditorDialogs.h"
#include "ScriptedPrompts.h"
#include "SqlEditorDialogs.h"
#include "SqlEditorModel.h"
#include "SqliteEngine.h"
#include "StatementTrial.h"

#include <QImage>
#include <QQueue>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;


class TestSqlEditor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_dbPath;
    LocalFileService m_files;
    std::unique_ptr<ProcessTempNames> m_temp;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<ScriptedEditorDialogs> m_dialogs;
    std::unique_ptr<DbConnection> m_connection;
    std::unique_ptr<SqlEditorModel> m_model;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QByteArray working() const { return m_files.readBytes(SqlEditorModel::workingCopyPath()); }

private slots:
    void initTestCase()
    {
        m_dbPath = path(QStringLiteral("shop.db"));
        auto db = SqliteEngine::create(m_dbPath);
        db->runScript(QStringLiteral(
            "CREATE TABLE Customers (CustomerID INTEGER, Name VARCHAR(40), City VARCHAR(40));"
            "INSERT INTO Customers VALUES (1, 'Acme, Inc.', 'Berlin'), (2, 'Blue \"River\"', 'Oslo'), (3, 'Cedar', NULL);"
            "CREATE TABLE Orders (OrderID INTEGER, CustomerID INTEGER, OrderDate DATE, Qty SMALLINT);"
            "INSERT INTO Orders VALUES (10, 1, '2024-01-05', 3), (11, 2, '2024-02-01', 1), (12, 1, '2024-03-09', 7);"
            "CREATE TABLE MSysHidden (x INTEGER);"));
        db->close();
    }

    void init()
    {
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_dir.path());
        QDir(m_dir.path()).mkpath(QStringLiteral("Temp"));
        QFile::remove(path(QStringLiteral("Temp/SQL.mtq")));
        m_temp = std::make_unique<ProcessTempNames>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_dialogs = std::make_unique<ScriptedEditorDialogs>();
        m_dialogs->prompts = m_prompts.get();
        m_connection = std::make_unique<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=") + m_dbPath);
        m_model = std::make_unique<SqlEditorModel>(m_files, *m_temp, *m_prompts);
        m_model->open(*m_connection);
    }

    void opensOnThePlaceholderAndTheReferenceList()
    {
        QCOMPARE(m_model->entries(), QStringList{QStringLiteral("Table For Retrieving Child Data")});
        QVERIFY(m_model->hasPlaceholder());
        QCOMPARE(m_model->thumbnails().size(), 1);
        QVERIFY(m_model->definition().parameters().isEmpty());
        QCOMPARE(m_model->reference().tables(), (QStringList{"Customers", "Orders"}));
        QCOMPARE(m_model->reference().columns(),
                 (QStringList{"CustomerID", "Name", "City", "OrderID", "CustomerID", "OrderDate", "Qty"}));
        QCOMPARE(QString::fromLatin1(m_files.readBytes(m_model->reference().path())),
                 QStringLiteral("Customers.\r\nCustomers.CustomerID\r\nCustomers.Name\r\nCustomers.City\r\n!\r\n"
                                "Orders.\r\nOrders.OrderID\r\nOrders.CustomerID\r\nOrders.OrderDate\r\nOrders.Qty\r\n!\r\n"));
        QVERIFY(m_model->thumbnails().first().endsWith(QLatin1String(".bmp")));
        QVERIFY(!QImage(m_model->thumbnails().first()).isNull());
    }

    void savingReplacesThePlaceholderAndKeepsDuplicates()
    {
        m_model->setSqlText(QStringLiteral("SELECT * FROM Orders"));
        m_prompts->answer(QString());                 // an empty name
        m_prompts->answer(MsgBoxStyle::Retry);        // Retry
        m_prompts->answer(QStringLiteral("Orders"));  // then a name
        QVERIFY(m_model->save());
        QStringList asked;
        for (const auto &call : m_prompts->calls)
            asked << call.kind + QLatin1Char(':') + call.text;
        QCOMPARE(asked, (QStringList{"inputBox:Please enter a name for this table",
                                     "msgBox:A Valid Name must be entered before the table can be saved",
                                     "inputBox:Please enter a name for this table"}));
        QCOMPARE(m_prompts->calls[1].style, MsgBoxStyle::RetryCancel);
        QCOMPARE(m_model->entries(), QStringList{"Orders"});
        QVERIFY(!m_model->hasPlaceholder());
        m_model->setSqlText(QStringLiteral("SELECT Name FROM Customers"));
        m_model->saveStatementUnder(QStringLiteral("Orders"));
        QCOMPARE(m_model->entries(), (QStringList{"Orders", "Orders"}));
        QCOMPARE(m_model->thumbnails().size(), 2);
        QVERIFY(m_model->statementFiles().at(1).endsWith(QLatin1String(".rtf")));
        // Choosing an entry brings its statement back from its file.
        QVERIFY(m_model->choose(0));
        QCOMPARE(m_model->sqlText(), QStringLiteral("SELECT * FROM Orders"));
        // Cancel at the name: nothing saved.
        m_prompts->answer(QString());
        m_prompts->answer(MsgBoxStyle::Cancel);
        QVERIFY(!m_model->save());
        QCOMPARE(m_model->entries().size(), 2);
        // Both are written, in list order.
        m_model->saveAndExit();
        QCOMPARE(working(), QByteArray("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n2\r\ntablename=Orders\r\n"
                                       "SELECT * FROM Orders\r\ntablename=Orders\r\nSELECT Name FROM Customers\r\n"
                                       "tablename=endreport"));
    }

    void choosingThePlaceholderChangesNothing()
    {
        m_model->setSqlText(QStringLiteral("typed"));
        QVERIFY(!m_model->choose(0));
        QCOMPARE(m_model->sqlText(), QStringLiteral("typed"));
    }

    void insertAtTheRememberedOffset_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("result");
        QTest::newRow("offset 10") << "SELECT * FROM Orders WHERE Qty > " << 10 << "SELECT * FQty(Number)ROM Orders WHERE Qty > ";
        QTest::newRow("at the start") << "abc" << 0 << "Qty(Number)abc";
        QTest::newRow("beyond a shorter text") << "abc" << 40 << "abcQty(Number)";
    }
    void insertAtTheRememberedOffset()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, result);
        m_dialogs->types.enqueue(1);
        m_prompts->answer(QStringLiteral("Qty"));
        ParameterCommands commands(*m_model, *m_dialogs);
        QVERIFY(commands.add());
        m_model->rememberCaret(caret);
        m_model->setSqlText(text);
        m_model->insertMarker(0);
        QCOMPARE(m_model->sqlText(), result);
        QCOMPARE(m_model->caretMemory(), caret); // the memory itself does not move
    }

    void parameterCommands()
    {
        ParameterCommands commands(*m_model, *m_dialogs);
        // Add: a Number, a String (after an empty name and Retry), a Lookup.
        m_dialogs->types << 1 << 2 << 3;
        m_prompts->answer(QStringLiteral("Qty"));
        QVERIFY(commands.add());
        m_prompts->answer(QString());
        m_prompts->answer(MsgBoxStyle::Retry);
        m_prompts->answer(QStringLiteral("Cust"));
        QVERIFY(commands.add());
        m_prompts->answer(QStringLiteral("Region"));
        const ReportDefinition::Lookup lookup{1, QStringLiteral("Name"), QStringLiteral("CustomerID"),
                                              QStringLiteral("SELECT * FROM Customers")};
        m_dialogs->lookups << lookup;
        QVERIFY(commands.add());
        const auto &params = m_model->definition().parameters();
        QCOMPARE(params.size(), 3);
        QCOMPARE(params[0].marker, QStringLiteral("Qty(Number)"));
        QCOMPARE(params[1].marker, QStringLiteral("Cust(String)"));
        QCOMPARE(params[2].marker, QStringLiteral("Region(Lookup)"));
        QCOMPARE(params[2].key(), QStringLiteral("Key3"));
        QCOMPARE(*m_model->definition().lookup(3), lookup);
        QCOMPARE(m_model->sharedParameters().Count(), 3);
        QCOMPARE(m_model->sharedParameters().Item(3).ReturnField, QStringLiteral("CustomerID"));
        // Cancel at the name: nothing added.
        m_dialogs->types << 0;
        m_prompts->answer(QString());
        m_prompts->answer(MsgBoxStyle::Cancel);
        QVERIFY(!commands.add());
        QCOMPARE(params.size(), 3);

        // Modify: Cust(String) becomes Client(String); the key stays, the
        // shared collection and the SQL do not change.
        m_model->setSqlText(QStringLiteral("WHERE Name = Cust(String)"));
        m_dialogs->types << 2;
        m_prompts->answer(QStringLiteral("Client"));
        commands.modify(1);
        QCOMPARE(m_dialogs->presets.last(), 2);
        QCOMPARE(params[1].marker, QStringLiteral("Client(String)"));
        QCOMPARE(params[1].keyNumber, 2);
        QCOMPARE(m_model->sharedParameters().Item(2).ParameterName, QStringLiteral("Cust"));
        QCOMPARE(m_model->sqlText(), QStringLiteral("WHERE Name = Cust(String)"));
        QCOMPARE(m_prompts->calls.last().text, QStringLiteral("Please enter a name for this parameter"));
        // Modify the lookup: the setup opens on the stored details.
        m_dialogs->types << 3;
        m_prompts->answer(QStringLiteral("Region"));
        const ReportDefinition::Lookup changed{2, QStringLiteral("City"), QStringLiteral("CustomerID"),
                                               QStringLiteral("SELECT CustomerID, City FROM Customers")};
        m_dialogs->lookups << changed;
        commands.modify(2);
        QCOMPARE(m_dialogs->lookupOpenedOn.last(), std::optional(lookup));
        QCOMPARE(*m_model->definition().lookup(3), changed);
        // A number turned into a lookup has no details: the message, then a new lookup.
        m_dialogs->types << 3;
        m_prompts->answer(QStringLiteral("Qty"));
        m_dialogs->lookups << lookup;
        commands.modify(0);
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("Parameter Lookup Info Not Found: Assume New Lookup"));
        QCOMPARE(params[0].marker, QStringLiteral("Qty(Lookup)"));
        QCOMPARE(*m_model->definition().lookup(1), lookup);

        // Remove: No keeps it; Yes removes it with its details.
        m_prompts->answer(MsgBoxStyle::No);
        QVERIFY(!commands.remove(0));
        QCOMPARE(m_prompts->calls.last().style, MsgBoxStyle::YesNo | MsgBoxStyle::Question);
        m_prompts->answer(MsgBoxStyle::Yes);
        QVERIFY(commands.remove(0));
        QCOMPARE(params.size(), 2);
        QVERIFY(!m_model->definition().lookup(1));
        // Keys are not reused.
        m_dialogs->types << 0;
        m_prompts->answer(QStringLiteral("Start"));
        QVERIFY(commands.add());
        QCOMPARE(params.last().key(), QStringLiteral("Key4"));
    }

    void namesTheFileCannotHoldAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why");
        QTest::newRow("comma") << "Start,End"
                               << "A parameter name cannot contain a comma: the report SQL file separates a parameter's fields with commas.";
        QTest::newRow("bracket") << "Qty(max"
                                 << "A parameter name cannot contain \"(\": a parameter's marker ends its name at the first \"(\".";
        QTest::newRow("outside the code page") << QStringLiteral("Київ")
                                               << QStringLiteral("A parameter name cannot contain \"Київ\": the report SQL file is written "
                                                                 "in the Windows-1252 code page, which has no such character.");
    }
    void namesTheFileCannotHoldAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, why);
        ParameterCommands commands(*m_model, *m_dialogs);
        // Refused with the reason; Retry shows the name again to be corrected.
        m_dialogs->types << 1;
        m_prompts->answer(name);
        m_prompts->answer(MsgBoxStyle::Retry);
        m_prompts->answer(QStringLiteral("Qty"));
        QVERIFY(commands.add());
        QCOMPARE(m_prompts->messages(), QStringList{why});
        QCOMPARE(m_prompts->calls[1].style, MsgBoxStyle::RetryCancel);
        QCOMPARE(m_prompts->calls[2].kind, QStringLiteral("inputBox"));
        QCOMPARE(m_prompts->calls[2].text, QStringLiteral("Please enter a name for this parameter"));
        const auto &params = m_model->definition().parameters();
        QCOMPARE(params.size(), 1);
        QCOMPARE(params[0].marker, QStringLiteral("Qty(Number)"));
        // Cancel after the refusal: nothing added.
        m_dialogs->types << 2;
        m_prompts->answer(name);
        m_prompts->answer(MsgBoxStyle::Cancel);
        QVERIFY(!commands.add());
        QCOMPARE(params.size(), 1);
        // Modify refuses it too, and Cancel leaves the parameter as it was.
        m_dialogs->types << 1;
        m_prompts->answer(name);
        m_prompts->answer(MsgBoxStyle::Cancel);
        commands.modify(0);
        QCOMPARE(params[0].marker, QStringLiteral("Qty(Number)"));
        QCOMPARE(m_prompts->messages().last(), why);
        // So nothing the file cannot read back is ever written.
        m_model->saveAndExit();
        QCOMPARE(working(), QByteArray("marlowentallymasterfile\r\nnoofparams=1\r\np1=1,Qty\r\n##########\r\n0\r\ntablename=endreport"));
    }

    void statementsTheFileCannotHoldAreRefused_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why");
        QTest::newRow("a line that starts a statement") << "SELECT 1\ntablename=x" << ""
                                                        << "No line of a statement can begin with \"tablename=\": the report SQL "
                                                           "file starts the next statement there.";
        QTest::newRow("outside the code page") << QStringLiteral("SELECT '→'") << ""
                                               << QStringLiteral("A statement cannot contain \"→\": the report SQL file is written in "
                                                                 "the Windows-1252 code page, which has no such character.");
        QTest::newRow("the terminator's name") << "SELECT 1" << "endreport"
                                               << "A statement cannot be named \"endreport\": the report SQL file ends its statements "
                                                  "with that name.";
    }
    void statementsTheFileCannotHoldAreRefused()
    {
        QFETCH(QString, sql);
        QFETCH(QString, name);
        QFETCH(QString, why);
        m_model->setSqlText(sql);
        if (!name.isEmpty()) {
            m_prompts->answer(name);
            m_prompts->answer(MsgBoxStyle::Cancel);
        }
        QVERIFY(!m_model->save());
        QCOMPARE(m_prompts->messages(), QStringList{why});
        QVERIFY(m_model->hasPlaceholder());
        QVERIFY(m_model->definition().statements().isEmpty());
    }

    void lookupSetupClosedWithoutOkKeepsThePreviousLookup()
    {
        ParameterCommands commands(*m_model, *m_dialogs);
        // Adding: closing the setup adds nothing.
        m_dialogs->types << 3;
        m_prompts->answer(QStringLiteral("Region"));
        m_dialogs->lookups << std::nullopt;
        QVERIFY(!commands.add());
        QVERIFY(m_model->definition().parameters().isEmpty());
        QCOMPARE(m_model->sharedParameters().Count(), 0);
        // A lookup set up with OK ...
        const ReportDefinition::Lookup lookup{1, QStringLiteral("Name"), QStringLiteral("CustomerID"),
                                              QStringLiteral("SELECT * FROM Customers")};
        m_dialogs->types << 3;
        m_prompts->answer(QStringLiteral("Region"));
        m_dialogs->lookups << lookup;
        QVERIFY(commands.add());
        // ... modified, the setup closed without OK: all stays as it was.
        m_dialogs->types << 3;
        m_prompts->answer(QStringLiteral("Area"));
        m_dialogs->lookups << std::nullopt;
        commands.modify(0);
        const int key = m_model->definition().parameters()[0].keyNumber;
        QCOMPARE(*m_model->definition().lookup(key), lookup);
        QCOMPARE(m_model->definition().parameters()[0].marker, QStringLiteral("Region(Lookup)"));
        m_model->saveAndExit();
        QVERIFY(working().contains("p1=3,Region,1,Name,CustomerID,SELECT * FROM Customers\r\n"));
    }

    void newLoadImportSaveAs()
    {
        // A file with a parameter and a statement, loaded twice: merged, new keys.
        const QString file = path(QStringLiteral("report.mtq"));
        const QByteArray bytes("marlowentallymasterfile\r\nnoofparams=1\r\np1=2,Cust\r\n##########\r\n1\r\n"
                               "tablename=Customers\r\nSELECT * FROM Customers WHERE Name = Cust(String)\r\n\r\ntablename=endreport");
        m_files.writeBytes(file, bytes);
        m_prompts->answer(file);
        m_model->load();
        QCOMPARE(m_prompts->calls.last().filter, QStringLiteral("Marlowen Tallymaster (*.mtq)|*.mtq"));
        QCOMPARE(m_model->entries(), QStringList{"Customers"});
        // The section's lines, as the file holds them, are the SQL box's text.
        QCOMPARE(m_model->sqlText(), QStringLiteral("SELECT * FROM Customers WHERE Name = Cust(String)\r\n\r\n"));
        QCOMPARE(m_model->sharedParameters().Count(), 1);
        m_prompts->answer(file);
        m_model->load();
        QCOMPARE(m_model->entries(), (QStringList{"Customers", "Customers"}));
        QCOMPARE(m_model->definition().parameters().last().key(), QStringLiteral("Key2"));
        // Save As writes the merged definition byte for byte.
        const QString copy = path(QStringLiteral("copy.mtq"));
        m_prompts->answer(copy);
        m_model->saveAs();
        QCOMPARE(m_files.readBytes(copy),
                 QByteArray("marlowentallymasterfile\r\nnoofparams=2\r\np1=2,Cust\r\np2=2,Cust\r\n##########\r\n2\r\n"
                            "tablename=Customers\r\nSELECT * FROM Customers WHERE Name = Cust(String)\r\n\r\n"
                            "tablename=Customers\r\nSELECT * FROM Customers WHERE Name = Cust(String)\r\n\r\ntablename=endreport"));
        // A file that is not a report SQL file: the message, nothing changes.
        const QString bad = path(QStringLiteral("bad.mtq"));
        m_files.writeBytes(bad, "hello\r\n");
        m_prompts->answer(bad);
        m_model->load();
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("This is not a valid Marlowen Report"));
        QCOMPARE(m_model->entries().size(), 2);
        // Import clears first; cancelling its dialog leaves the editor cleared.
        m_prompts->answer(QString());
        m_model->import();
        QVERIFY(m_model->hasPlaceholder());
        QCOMPARE(m_model->sharedParameters().Count(), 0);
        // Save and Exit right after New: no parameters, no statements.
        m_model->saveAndExit();
        QCOMPARE(working(), QByteArray("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n0\r\ntablename=endreport"));
        // Reopening reads the working copy back.
        SqlEditorModel again(m_files, *m_temp, *m_prompts);
        again.open(*m_connection);
        QVERIFY(again.hasPlaceholder());
    }

    void checkSql_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("dev");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("style");
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
        QTest::newRow("markers get trial values")
            << "select * from orders where qty > Qty(Number) and orderdate < Start(Date) and customerid = Region(Lookup)"
            << false << QStringLiteral("SQL Executed Without Errors") << MsgBoxStyle::Information;
        QTest::newRow("development mode shows the SQL")
            << "select * from orders where qty > Qty(Number) and 'x' <> Cust(String)" << true
            << QStringLiteral("SQL Executed Without Errors")
                   + "\r\n\r\nSELECT * FROM orders WHERE qty > 1 AND 'x' <> ' ' "
            << MsgBoxStyle::Information;
        QTest::newRow("missing table") << "select * from Nowhere" << false
                                       << "Unable to find the table 'Nowhere'. Please ensure that it is spelled correctly.\r\n\r\n"
                                              + SqlErrorMessage_supportLine()
                                       << 64;
        QTest::newRow("unknown column") << "select Nope from Orders" << false
                                        << "One or more fields are spelt incorrectly\r\n\r\n" + SqlErrorMessage_supportLine() << 64;
        Q_UNUSED(today);
    }
    static QString SqlErrorMessage_supportLine();
    void checkSql()
    {
        QFETCH(QString, sql);
        QFETCH(bool, dev);
        QFETCH(QString, message);
        QFETCH(int, style);
        ModuleState::current().setDevMode(dev);
        m_model->definition().addParameter(QStringLiteral("Qty(Number)"));
        m_model->definition().addParameter(QStringLiteral("Start(Date)"));
        m_model->definition().addParameter(QStringLiteral("Cust(String)"));
        const ReportDefinition::Lookup lookup{1, QStringLiteral("Name"), QStringLiteral("CustomerID"),
                                              QStringLiteral("SELECT * FROM Customers")};
        m_model->definition().addParameter(QStringLiteral("Region(Lookup)"), &lookup);
        m_model->setSqlText(sql);
        StatementTrial trial(*m_model, *m_dialogs);
        trial.checkSql();
        QCOMPARE(m_prompts->messages().last(), message);
        QCOMPARE(m_prompts->calls.last().style, style);
        if (style == 64 && message != QStringLiteral("SQL Executed Without Errors") && !message.startsWith(QStringLiteral("SQL Executed Without Errors")))
            QCOMPARE(m_prompts->calls.last().title, QStringLiteral("SQL Error"));
        // The check coloured and upper-cased the SQL box.
        QVERIFY(m_model->sqlText().startsWith(QLatin1String("SELECT ")));
        QVERIFY(!m_model->colours().isEmpty());
        // The trial SQL itself.
        const BoundStatement trialStatement = trial.trialStatement();
        QVERIFY(!trialStatement.sql.contains(QLatin1String("(Number)")));
        if (sql.contains(QLatin1String("Qty(Number)")))
            QCOMPARE(trialStatement.values.first(), BoundValue::integer(1));
    }

    void previewPromptsInListOrderAndExports()
    {
        m_model->definition().addParameter(QStringLiteral("Since(Date)"));
        const ReportDefinition::Lookup lookup{1, QStringLiteral("Name"), QStringLiteral("CustomerID"),
                                              QStringLiteral("SELECT * FROM Customers ORDER BY CustomerID")};
        m_model->definition().addParameter(QStringLiteral("Who(Lookup)"), &lookup);
        m_model->setSqlText(QStringLiteral("SELECT c.Name, o.OrderID, o.Qty, c.City FROM Orders o JOIN Customers c "
                                           "ON c.CustomerID = o.CustomerID WHERE o.OrderDate >= Since(Date) "
                                           "AND (o.CustomerID = Who(Lookup) OR o.CustomerID = 2) ORDER BY o.OrderID"));
        StatementTrial trial(*m_model, *m_dialogs);
        m_dialogs->values << QVariant(QDate(2024, 1, 1)) << QVariant(0); // the first customer
        QVERIFY(trial.preview());
        QCOMPARE(m_dialogs->promptTitles, (QStringList{"Please select a value for Since", "Please select a value for Who"}));
        QCOMPARE(m_dialogs->promptEntries.last(), (QStringList{"Acme, Inc.", "Blue \"River\"", "Cedar"}));
        const BoundStatement &previewed = ModuleState::current().CurrentReportSQL();
        QVERIFY2(previewed.sql.contains(QLatin1String(">= ?1")), qPrintable(previewed.sql));
        QCOMPARE(previewed.values, (QList<BoundValue>{BoundValue::date(QDate(2024, 1, 1)), BoundValue::integer(1)}));
        QVERIFY(previewed.displayText().contains(QLatin1String("o.CustomerID = 1 OR")));
        QCOMPARE(trial.recordCountText(), QStringLiteral("RecordCount: 3"));

        // Export: RFC 4180 quoting, no header, CR LF, nothing for null.
        const QString csv = path(QStringLiteral("out.csv"));
        m_prompts->answer(csv);
        QList<int> bar;
        QStringList labels;
        QVERIFY(trial.exportResults([&](int v, const QString &l) { bar << v; labels << l; }));
        QCOMPARE(m_prompts->calls.last().text, QStringLiteral("Export Completed Successfully"));
        const auto saveCall = m_prompts->calls[m_prompts->calls.size() - 2];
        QCOMPARE(saveCall.filter, QStringLiteral("All Files (*.*)|*.*|Comma Separated Values (*.csv)|*.csv"));
        QCOMPARE(saveCall.filterIndex, 2);
        QCOMPARE(m_files.readBytes(csv), QByteArray("\"Acme, Inc.\",10,3,Berlin\r\n\"Blue \"\"River\"\"\",11,1,Oslo\r\n"
                                                    "\"Acme, Inc.\",12,7,Berlin\r\n"));
        QCOMPARE(labels.first(), QStringLiteral("0.00"));
        QCOMPARE(labels.last(), QStringLiteral("100.00"));
        QCOMPARE(bar.last(), 10000);
        QVERIFY(std::is_sorted(bar.begin(), bar.end()));
    }

    void exportKeepsEveryDigit()
    {
        // The editor's connection only reads: the table is made beside it.
        SqliteEngine::create(m_dbPath)->runScript(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS Measures (A REAL, B DOUBLE); DELETE FROM Measures;"
            "INSERT INTO Measures VALUES (1234567.89, 98765.4321);"));
        m_model->setSqlText(QStringLiteral("SELECT A, B FROM Measures"));
        StatementTrial trial(*m_model, *m_dialogs);
        QVERIFY(trial.preview());
        const QString csv = path(QStringLiteral("measures.csv"));
        m_prompts->answer(csv);
        QVERIFY(trial.exportResults());
        QCOMPARE(m_files.readBytes(csv), QByteArray("1234567.89,98765.4321\r\n"));
        SqliteEngine::create(m_dbPath)->runScript(QStringLiteral("DROP TABLE Measures"));
        // Text the code page cannot hold stops the export with its message.
        m_model->setSqlText(QStringLiteral("SELECT 'Ж' AS Letter"));
        QVERIFY(trial.preview());
        const QString refused = path(QStringLiteral("refused.csv"));
        m_prompts->answer(refused);
        QVERIFY(!trial.exportResults());
        QVERIFY(!QFileInfo::exists(refused));
        QVERIFY2(m_prompts->messages().last().startsWith(QStringLiteral("The character \"Ж\" (U+0416) cannot be written in code page 1252")),
                 qPrintable(m_prompts->messages().last()));
    }

    void previewBindsTextWithQuotes()
    {
        // A value with a quote is a value: the preview runs and finds it.
        m_model->definition().addParameter(QStringLiteral("Who(String)"));
        m_model->setSqlText(QStringLiteral("SELECT CustomerID FROM Customers WHERE Name = Who(String) OR Name = 'Who(String)'"));
        StatementTrial trial(*m_model, *m_dialogs);
        m_dialogs->values << QVariant(QStringLiteral("Blue \"River\""));
        QVERIFY(trial.preview());
        QCOMPARE(trial.recordCountText(), QStringLiteral("RecordCount: 1"));
        m_dialogs->values << QVariant(QStringLiteral("O'Brien"));
        QVERIFY(trial.preview());
        QCOMPARE(trial.recordCountText(), QStringLiteral("RecordCount: 0"));
        m_dialogs->values << QVariant(QStringLiteral("x' OR '1'='1"));
        QVERIFY(trial.preview());
        QCOMPARE(trial.recordCountText(), QStringLiteral("RecordCount: 0"));
        QCOMPARE(m_connection->openRecordset(QStringLiteral("SELECT COUNT(*) FROM Customers"))->field(0).value.toInt(), 3);
    }

    void previewCancelledOrFailing()
    {
        m_model->definition().addParameter(QStringLiteral("Qty(Number)"));
        m_model->setSqlText(QStringLiteral("SELECT * FROM Orders WHERE Qty > Qty(Number)"));
        StatementTrial trial(*m_model, *m_dialogs);
        // Closed without OK: nothing runs.
        ModuleState::current().setCurrentReportSQL(BoundStatement(QStringLiteral("before")));
        QVERIFY(!trial.preview());
        QCOMPARE(ModuleState::current().CurrentReportSQL().sql, QStringLiteral("before"));
        QVERIFY(!trial.results());
        // A non-numeric number is refused by the prompt.
        m_dialogs->values << QVariant(QStringLiteral("abc"));
        QVERIFY(!trial.preview());
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("Please enter a number"));
        // A failing statement: the preview error message.
        m_model->setSqlText(QStringLiteral("SELECT * FROM Nowhere WHERE Qty > Qty(Number)"));
        m_dialogs->values << QVariant(QStringLiteral("2"));
        QVERIFY(!trial.preview());
        QVERIFY(m_prompts->messages().last().startsWith(QStringLiteral("Error Previewing Results: -2147217865 - ")));
        QCOMPARE(m_prompts->calls.last().style, 0);
        QCOMPARE(m_prompts->calls.last().title, QStringLiteral("KRML_ReportGen")); // no title of its own
        // Export without a preview says so.
        QVERIFY(!trial.exportResults());
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("There are no previewed results to export. Please preview the statement first."));
    }

    void parameterPrompt_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("entry");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QVariant>("returned");
        QTest::newRow("date") << 0 << QVariant(QDate(2006, 6, 8)) << true << QVariant(QDate(2006, 6, 8));
        QTest::newRow("number") << 1 << QVariant("125") << true << QVariant("125");
        QTest::newRow("negative number") << 1 << QVariant("-3") << true << QVariant("-3");
        QTest::newRow("empty number") << 1 << QVariant("") << false << QVariant();
        QTest::newRow("text number") << 1 << QVariant("12a") << false << QVariant();
        QTest::newRow("comma number") << 1 << QVariant("2,5") << true << QVariant(2.5);
        QTest::newRow("string") << 2 << QVariant("Oslo") << true << QVariant("Oslo");
        QTest::newRow("string with a quote") << 2 << QVariant("O'Brien") << true << QVariant("O'Brien");
        QTest::newRow("empty string") << 2 << QVariant("") << true << QVariant("");
        QTest::newRow("lookup") << 3 << QVariant(1) << true << QVariant(2);
        QTest::newRow("lookup, nothing chosen") << 3 << QVariant(-1) << false << QVariant();
    }
    void parameterPrompt()
    {
        QFETCH(int, type);
        QFETCH(QVariant, entry);
        QFETCH(bool, accepted);
        QFETCH(QVariant, returned);
        ReportParameterPrompt prompt;
        prompt.setReportParameterType(type);
        prompt.setReportParameterType(9); // ignored
        QCOMPARE(prompt.ReportParameterType(), type);
        auto rs = m_connection->openRecordset(QStringLiteral("SELECT CustomerID, City FROM Customers ORDER BY CustomerID"));
        prompt.LoadLookupValues(*rs, QStringLiteral("City"), QStringLiteral("CustomerID"));
        QCOMPARE(prompt.lookupEntries(), (QStringList{"Berlin", "Oslo", ""}));
        QCOMPARE(prompt.ok(entry, *m_prompts), accepted);
        if (returned.typeId() == QMetaType::QDate)
            QCOMPARE(prompt.ReturnData().toDateTime().date(), returned.toDate());
        else
            QCOMPARE(prompt.ReturnData().toString(), returned.toString());
        if (type == 1 && !accepted) {
            QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("Please enter a number")});
            QCOMPARE(m_prompts->calls.last().style, 64);
        }
    }

    void lookupSetup()
    {
        LookupSetupModel setup(*m_connection, m_model->reference().tables());
        QCOMPARE(setup.tableIndex(), 0);
        QCOMPARE(setup.fields(), (QStringList{"CustomerID", "Name", "City"}));
        setup.chooseTable(1);
        setup.chooseDisplayField(2);
        setup.chooseReturnField(0);
        QVERIFY(setup.ok(*m_prompts));
        QCOMPARE(setup.result(), (ReportDefinition::Lookup{1, QStringLiteral("OrderDate"), QStringLiteral("OrderID"),
                                                           QStringLiteral("SELECT * FROM Orders")}));
        // Reopened for editing: SQL, then Mode, then the fields.
        LookupSetupModel edit(*m_connection, m_model->reference().tables());
        edit.setSQL(QStringLiteral("SELECT * FROM Orders"));
        edit.setMode(1);
        edit.setReturnField(QStringLiteral("OrderID"));
        edit.setDisplayField(QStringLiteral("Qty"));
        QCOMPARE(edit.tableIndex(), 1);
        QCOMPARE(edit.displayIndex(), 3);
        // A table that no longer exists leaves the first table chosen.
        LookupSetupModel gone(*m_connection, m_model->reference().tables());
        gone.setSQL(QStringLiteral("SELECT * FROM Vanished"));
        gone.setMode(1);
        QCOMPARE(gone.tableIndex(), 0);
        // Advanced: a field that is not there, then a query without rows.
        LookupSetupModel advanced(*m_connection, m_model->reference().tables());
        advanced.setMode(2);
        advanced.setSQL(QStringLiteral("SELECT Name FROM Customers"));
        advanced.setDisplayField(QStringLiteral("Name"));
        advanced.setReturnField(QStringLiteral("CustomerID"));
        QVERIFY(!advanced.ok(*m_prompts));
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("There was a problem evaluating the Return Field. Please review this field and try again."));
        advanced.setSQL(QStringLiteral("SELECT * FROM Customers WHERE 1 = 0"));
        QVERIFY(!advanced.ok(*m_prompts));
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("There was a problem evaluating the Display Field. Please review this field and try again."));
        advanced.setSQL(QStringLiteral("SELECT * FROM Nowhere"));
        QVERIFY(!advanced.ok(*m_prompts));
        QCOMPARE(m_prompts->calls.last().title, QStringLiteral("SQL Error"));
    }

    void lookupSetupRefusesWhatTheFileCannotHold_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("why");
        QTest::newRow("SQL on two lines") << "SELECT *\nFROM Customers" << "Name"
                                          << "The lookup SQL cannot contain a line break: the report SQL file keeps a parameter on "
                                             "one line. Please write the SQL on one line.";
        QTest::newRow("comma in a field") << "SELECT CustomerID, Name AS [Name,City] FROM Customers" << "Name,City"
                                          << "The display field cannot contain a comma: the report SQL file separates a parameter's "
                                             "fields with commas.";
    }
    void lookupSetupRefusesWhatTheFileCannotHold()
    {
        QFETCH(QString, sql);
        QFETCH(QString, display);
        QFETCH(QString, why);
        LookupSetupModel advanced(*m_connection, m_model->reference().tables());
        advanced.setMode(2);
        advanced.setSQL(sql);
        advanced.setDisplayField(display);
        advanced.setReturnField(QStringLiteral("CustomerID"));
        QVERIFY(!advanced.ok(*m_prompts));
        QCOMPARE(m_prompts->messages(), QStringList{why});
        QCOMPARE(m_prompts->calls.last().style, MsgBoxStyle::Exclamation);
    }

    void completion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("entries");
        const QStringList customers{"CustomerID", "Name", "City"};
        QTest::newRow("table and full stop") << "SELECT Customers." << "Customers." << customers;
        QTest::newRow("lower case") << "select customers." << "customers." << customers;
        QTest::newRow("after a line break") << "SELECT x,\r\nOrders." << "Orders."
                                            << QStringList{"OrderID", "CustomerID", "OrderDate", "Qty"};
        QTest::newRow("unknown table") << "SELECT Nowhere." << "Nowhere." << QStringList{};
        QTest::newRow("no full stop") << "SELECT Customers" << "" << QStringList{};
        QTest::newRow("after a comma") << "SELECT a,Customers." << "Customers." << customers;
    }
    void completion()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(QStringList, entries);
        QCOMPARE(DatabaseReference::completionWord(text, int(text.size())), word);
        QCOMPARE(DatabaseReference::completionEntries(m_files, m_model->reference().path(), word), entries);
        if (!entries.isEmpty()) {
            QCOMPARE(DatabaseReference::matchingEntry(entries, QStringLiteral("na")), entries.indexOf(QStringLiteral("Name")));
            QCOMPARE(DatabaseReference::matchingEntry(entries, QStringLiteral("zz")), -1);
        }
    }

    void rtfRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "SELECT * FROM Orders";
        QTest::newRow("lines") << "SELECT *\r\nFROM Orders\r\nWHERE x = 1";
        QTest::newRow("braces and backslashes") << "SELECT '{a}\\b' FROM t";
        QTest::newRow("Windows-1252") << "SELECT 'Café – 5 €' FROM t";
        QTest::newRow("beyond Windows-1252") << "SELECT 'Ωmega' FROM t";
        QTest::newRow("tab") << "SELECT\tx";
    }
    void rtfRoundTrip()
    {
        QFETCH(QString, text);
        const QByteArray rtf = RtfText::write(text, {{0, 6, 0x0000FF}, {7, 1, 0x00FF00}});
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
        QCOMPARE(RtfText::plainText(rtf), text);
    }
};

QString TestSqlEditor::SqlErrorMessage_supportLine()
{
    return QStringLiteral("If the problem persists, please contact KRML ReportGen support with the text of this message.");
}

QTEST_MAIN(TestSqlEditor)
#include "tst_sqleditor.moc"
