// The SQL editor's window and dialogs on the offscreen platform: the
// completion keys on a real SQLite schema, the buttons driving the model,
// ShowSQLEditor through the control, and the run-time parameter prompt.

#include "CompletionPopup.h"
#include "ControlServices.h"
#include "DbConnection.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "MemorySettingsStore.h"
#include "ModuleState.h"
#include "ProcessTempNames.h"
#include "ReportError.h"
#include "ReportGenOCX.h"
#include "ReportParameterPrompt.h"
#include "ReportParametersDialog.h"
#include "ScriptedEditorDialogs.h"
#include "ScriptedPrompts.h"
#include "SqlEditorModel.h"
#include "SqlEditorWindow.h"
#include "SqliteEngine.h"
#include "StatementPalette.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace KRML_ReportGen;

Q_DECLARE_METATYPE(Qt::Key)

class TestSqlEditorWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;
    LocalFileService m_files;
    std::shared_ptr<ProcessTempNames> m_temp;
    std::shared_ptr<ScriptedPrompts> m_prompts;
    std::shared_ptr<ScriptedEditorDialogs> m_dialogs;
    std::shared_ptr<DbConnection> m_connection;

    void clickButton(QWidget &window, const char *name)
    {
        auto *b = window.findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(b, name);
        b->click();
    }

    // A control in designer mode on the shop database and the given working
    // report SQL file, with a data-field label for each tag, 1000 twips apart.
    std::unique_ptr<ReportGenOCX> designerWith(const QByteArray &sql, const QStringList &tags)
    {
        m_files.writeBytes(m_app.filePath(QStringLiteral("Temp/SQL.mtq")), sql);
        m_connection->open();
        ControlServices services{std::make_shared<MemorySettingsStore>(), m_prompts, std::make_shared<LocalFileService>(),
                                 m_temp, m_dialogs};
        auto control = std::make_unique<ReportGenOCX>(nullptr, services);
        control->setRepDataConnection(m_connection);
        control->setCurrentMode(ReportGenOCX::DesignerMode);
        for (const QString &tag : tags) {
            const int label = control->page().createLabel();
            control->page().Label(label).Tag = tag;
            control->page().Label(label).Visible = true;
            control->page().Label(label).Top = 1000 * label;
        }
        return control;
    }

private slots:
    void initTestCase()
    {
        const QString db = m_app.filePath(QStringLiteral("shop.db"));
        SqliteEngine::create(db)->runScript(QStringLiteral(
            "CREATE TABLE Customers (CustomerID INTEGER, Name VARCHAR(40), City VARCHAR(40));"
            "INSERT INTO Customers VALUES (1, 'Acme', 'Berlin'), (2, 'Blue', 'Oslo');"
            "CREATE TABLE Orders (OrderID INTEGER, CustomerID INTEGER, OrderDate DATE);"
            "INSERT INTO Orders VALUES (10, 1, '2024-01-05'), (11, 2, '2024-06-01');"));
    }

    void init()
    {
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_app.path());
        QDir(m_app.path()).mkpath(QStringLiteral("Temp"));
        QFile::remove(m_app.filePath(QStringLiteral("Temp/SQL.mtq")));
        m_temp = std::make_shared<ProcessTempNames>();
        m_prompts = std::make_shared<ScriptedPrompts>();
        m_dialogs = std::make_shared<ScriptedEditorDialogs>();
        m_dialogs->prompts = m_prompts.get();
        m_connection = std::make_shared<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=")
                                                      + m_app.filePath(QStringLiteral("shop.db")));
        ModuleState::current().data().setRDDataConnection(m_connection);
    }

    void completionKeys_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("inList");
        QTest::addColumn<int>("finalKey");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("open");
        QTest::newRow("Enter takes the entry and checks") << "select Customers." << "Na" << int(Qt::Key_Return)
                                                          << "SELECT Customers.Name " << false;
        QTest::newRow("lower-case table name") << "select customers." << "ci" << int(Qt::Key_Return)
                                               << "SELECT customers.City " << false;
        QTest::newRow("Space") << "select Customers." << "Na" << int(Qt::Key_Space) << "select Customers.Name " << false;
        QTest::newRow("equals") << "where Customers." << "Ci" << int(Qt::Key_Equal) << "where Customers.City = " << false;
        QTest::newRow("Backspace searches again") << "select Customers." << "Cx" << int(Qt::Key_Backspace)
                                                  << "select Customers.C" << true;
        QTest::newRow("Escape closes") << "select Customers." << "Na" << int(Qt::Key_Escape) << "select Customers.Na" << false;
        QTest::newRow("unknown table: no list") << "select Nowhere." << "" << 0 << "select Nowhere." << false;
    }
    void completionKeys()
    {
        QFETCH(QString, typed);
        QFETCH(QString, inList);
        QFETCH(int, finalKey);
        QFETCH(QString, text);
        QFETCH(bool, open);
        SqlEditorModel model(m_files, *m_temp, *m_prompts);
        model.open(*m_connection);
        SqlEditorWindow window(model, *m_dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        window.sqlBox()->setFocus();
        QTest::keyClicks(window.sqlBox(), typed);
        if (inList.isEmpty()) {
            QVERIFY(!window.completion()->isOpen());
            QCOMPARE(window.sqlBox()->toPlainText(), text);
            return;
        }
        QVERIFY(window.completion()->isOpen());
        QListWidget *list = window.completion()->list();
        QTest::keyClicks(list, inList);
        QCOMPARE(window.sqlBox()->toPlainText(), typed + inList);
        if (finalKey)
            QTest::keyClick(list, Qt::Key(finalKey), Qt::NoModifier);
        QCOMPARE(window.sqlBox()->toPlainText(), text);
        QCOMPARE(window.completion()->isOpen(), open);
        if (open)
            QCOMPARE(list->currentItem()->text(), QStringLiteral("CustomerID"));
    }

    void buttonsDriveTheModel()
    {
        SqlEditorModel model(m_files, *m_temp, *m_prompts);
        model.open(*m_connection);
        SqlEditorWindow window(model, *m_dialogs);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("SQL Editor"));
        QCOMPARE(window.statementList()->itemText(0), QStringLiteral("Table For Retrieving Child Data"));
        // Add a Date parameter, then insert it where the caret last was.
        m_dialogs->types << 0;
        m_prompts->answer(QStringLiteral("Since"));
        clickButton(window, "cmdAdd");
        QCOMPARE(window.parameterList()->item(0)->text(), QStringLiteral("Since(Date)"));
        window.sqlBox()->setPlainText(QStringLiteral("SELECT * FROM Orders WHERE OrderDate >= "));
        model.rememberCaret(int(window.sqlBox()->toPlainText().size()));
        window.parameterList()->setCurrentRow(0);
        clickButton(window, "cmdInsert");
        QCOMPARE(window.sqlBox()->toPlainText(), QStringLiteral("SELECT * FROM Orders WHERE OrderDate >= Since(Date)"));
        // Save it under a name: the placeholder goes.
        m_prompts->answer(QStringLiteral("Orders"));
        clickButton(window, "cmdSave");
        QCOMPARE(window.statementList()->count(), 1);
        QCOMPARE(window.statementList()->itemText(0), QStringLiteral("Orders"));
        // Preview asks for the date and fills the grid.
        m_dialogs->values << QVariant(QDate(2024, 3, 1));
        clickButton(window, "cmdPreview");
        QCOMPARE(m_dialogs->promptTitles, QStringList{"Please select a value for Since"});
        QCOMPARE(window.recordCountLabel()->text(), QStringLiteral("RecordCount: 1"));
        QCOMPARE(window.resultsGrid()->model()->rowCount(), 1);
        QCOMPARE(window.resultsGrid()->model()->index(0, 0).data().toString(), QStringLiteral("11"));
        // Check SQL upper-cases and reports.
        clickButton(window, "cmdCheckSQL");
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("SQL Executed Without Errors"));
        // Save and Exit writes the working copy and closes.
        clickButton(window, "cmdSaveAndExit");
        QVERIFY(!window.isVisible());
        const QByteArray written = m_files.readBytes(SqlEditorModel::workingCopyPath());
        QVERIFY(written.startsWith("marlowentallymasterfile\r\nnoofparams=1\r\np1=0,Since\r\n##########\r\n1\r\ntablename=Orders\r\n"));
    }

    void showSqlEditorThroughTheControl()
    {
        ControlServices services{std::make_shared<MemorySettingsStore>(), m_prompts, std::make_shared<LocalFileService>(),
                                 m_temp, m_dialogs};
        ReportGenOCX control(nullptr, services);
        bool shown = false;
        connect(&control, &ReportGenOCX::sqlEditorOpened, this, [&](QDialog *editor) {
            shown = true;
            QTimer::singleShot(0, editor, [editor, this] {
                auto *window = static_cast<SqlEditorWindow *>(editor);
                window->sqlBox()->setPlainText(QStringLiteral("SELECT Name FROM Customers"));
                m_prompts->answer(QStringLiteral("Names"));
                window->saveStatement();
                window->saveAndExit();
            });
        });
        QVERIFY(control.page().drawing().isEmpty()); // no connection at start-up, no grid
        control.ShowSQLEditor();
        QVERIFY(shown);
        QVERIFY(control.statementList().contains(QStringLiteral("Names")));
        // Closing the editor reloads the designer, grid included.
        QVERIFY(!control.page().drawing().isEmpty());
    }

    void runTimePromptAsksOncePerRun()
    {
        const auto owned = designerWith("marlowentallymasterfile\r\nnoofparams=1\r\np1=0,Since\r\n##########\r\n2\r\n"
                                        "tablename=Orders\r\nSELECT OrderID FROM Orders WHERE OrderDate >= Since(Date)\r\n"
                                        "tablename=Count\r\nSELECT COUNT(*) AS n FROM Orders WHERE OrderDate >= Since(Date)\r\n"
                                        "tablename=endreport",
                                        {QStringLiteral("DATA:Orders.OrderID"), QStringLiteral("DATA:Count.n")});
        ReportGenOCX &control = *owned;
        m_dialogs->values << QVariant(QDate(2024, 3, 1));
        control.ShowPreview();
        QCOMPARE(m_dialogs->promptTitles, QStringList{"Please select a value for Since"});
        QVERIFY(ModuleState::current().CurrentReportSQL().displayText().contains(QLatin1String("#2024/03/01#")));
        QCOMPARE(ModuleState::current().CurrentReportSQL().values, QList<BoundValue>{BoundValue::date(QDate(2024, 3, 1))});
        // Closed without "OK": the report stops with the missing-value error.
        control.ShowDesign();
        try {
            control.ShowPreview();
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 449);
        }
    }

    void designersListsBeforeAPreviewAskNothing()
    {
        // The first statement wants a date; the report draws from the second.
        const auto owned = designerWith("marlowentallymasterfile\r\nnoofparams=1\r\np1=0,Since\r\n##########\r\n2\r\n"
                                        "tablename=Recent\r\nSELECT OrderID FROM Orders WHERE OrderDate >= Since(Date)\r\n"
                                        "tablename=All\r\nSELECT OrderID FROM Orders ORDER BY OrderID\r\n"
                                        "tablename=endreport",
                                        {QStringLiteral("DATA:All.OrderID")});
        ReportGenOCX &control = *owned;
        control.ShowPreview();
        QVERIFY(m_dialogs->promptTitles.isEmpty());
        QCOMPARE(control.palette().statements(), (QStringList{"Recent", "All"}));
        QCOMPARE(control.palette().selected(), 0);
        QVERIFY(control.palette().fields().isEmpty()); // the first statement could not run
        QVERIFY(ModuleState::current().CurrentReportSQL().sql.contains(QLatin1String("ORDER BY OrderID")));
    }

    void aRenderingHostRunsOnlyTheStatementsItsReportUses()
    {
        // The first statement reads a table that is not there; the report
        // draws from the second. The control as an icon shows no designer,
        // so nothing fills its lists and the first statement never runs.
        const auto owned = designerWith("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n2\r\n"
                                        "tablename=Broken\r\nSELECT * FROM NoSuchTable\r\n"
                                        "tablename=All\r\nSELECT OrderID FROM Orders ORDER BY OrderID\r\n"
                                        "tablename=endreport",
                                        {QStringLiteral("DATA:All.OrderID")});
        ReportGenOCX &control = *owned;
        control.setCurrentMode(ReportGenOCX::ComponentMode);
        control.ShowPreview();
        QCOMPARE(control.palette().selected(), -1);
        QVERIFY(control.palette().fields().isEmpty());
        QVERIFY(control.LabelExtents().first() > 0);
    }

    void parameterDialogRefusesANonNumber()
    {
        ReportParameterPrompt prompt;
        prompt.setReportParameterType(ReportParameterPrompt::NumberInput);
        prompt.setMessageTitle(QStringLiteral("Please select a value for Qty"));
        ReportParametersDialog dialog(prompt, *m_prompts);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Report Parameters"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Please select a value for Qty"));
        QVERIFY(dialog.findChild<QLineEdit *>(QStringLiteral("txtNumber"))->isVisible());
        QVERIFY(!dialog.findChild<QLineEdit *>(QStringLiteral("txtString"))->isVisible());
        dialog.findChild<QLineEdit *>(QStringLiteral("txtNumber"))->setText(QStringLiteral("12x"));
        clickButton(dialog, "cmdOK");
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_prompts->messages(), QStringList{"Please enter a number"});
        dialog.findChild<QLineEdit *>(QStringLiteral("txtNumber"))->setText(QStringLiteral("125"));
        clickButton(dialog, "cmdOK");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(prompt.ReturnData().toString(), QStringLiteral("125"));
    }
};

QTEST_MAIN(TestSqlEditorWindow)
#include "tst_sqleditorwindow.moc"
