// The start-up chooser, the external data wizard, the connection dialog,
// the formula editor and the please-wait window on the offscreen platform,
// reached through the control as a host reaches them.

#include "ConnectionDialog.h"
#include "ControlServices.h"
#include "DbConnection.h"
#include "DesignerView.h"
#include "ExternalDataWizard.h"
#include "FormulaEditorWindow.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "MemorySettingsStore.h"
#include "ModuleState.h"
#include "PleaseWaitWindow.h"
#include "ProcessTempNames.h"
#include "ReportGenOCX.h"
#include "ScriptedPrompts.h"
#include "Sizer.h"
#include "SqliteEngine.h"
#include "StartupChooser.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

using namespace KRML_ReportGen;

class TestWizardWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;
    std::shared_ptr<ScriptedPrompts> m_prompts;
    QString m_db;

    std::unique_ptr<ReportGenOCX> control()
    {
        ControlServices services{std::make_shared<MemorySettingsStore>(), m_prompts, std::make_shared<LocalFileService>(),
                                 std::make_shared<ProcessTempNames>(),
                                 nullptr}; // the standard SQL editor dialogs
        auto c = std::make_unique<ReportGenOCX>(nullptr, services);
        c->setCurrentMode(ReportGenOCX::DesignerMode);
        return c;
    }
    QString sqlite() const { return QStringLiteral("Provider=SQLite;Data Source=") + m_db; }

private slots:
    void initTestCase()
    {
        m_db = m_app.filePath(QStringLiteral("shop.db"));
        SqliteEngine::create(m_db)->runScript(QStringLiteral(
            "CREATE TABLE Orders (OrderID INTEGER, Total CURRENCY); INSERT INTO Orders VALUES (1, 2.5);"));
    }

    void init()
    {
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_app.path());
        QDir(m_app.path()).mkpath(QStringLiteral("Temp"));
        QFile::remove(m_app.filePath(QStringLiteral("Temp/Data.cnn")));
        QFile::remove(m_app.filePath(QStringLiteral("Temp/SQL.mtq")));
        m_prompts = std::make_shared<ScriptedPrompts>();
    }

    void chooserPicksUpASavedConnection()
    {
        auto c = control();
        bool shownMe = false;
        connect(c.get(), &ReportGenOCX::ShowMe, this, [&] { shownMe = true; });
        int opened = 0;
        connect(c.get(), &ReportGenOCX::dialogOpened, this, [&](QDialog *dialog) {
            ++opened;
            if (auto *chooser = qobject_cast<StartupChooser *>(dialog)) {
                QTimer::singleShot(0, chooser, [chooser] {
                    QVERIFY(chooser->button(0)->isEnabled() && chooser->button(1)->isEnabled() && chooser->button(2)->isEnabled());
                    QCOMPARE(chooser->button(2)->text(), QStringLiteral("Setup Data Source"));
                    chooser->button(2)->click(); // the wizard, modal over the chooser
                    chooser->tick();
                    QCOMPARE(ModuleState::current().data().currentConnectionString(),
                             QStringLiteral("Provider=SQLite;Data Source=") + QDir(ModuleState::current().rdAppPath()).filePath(QStringLiteral("shop.db")));
                    chooser->button(0)->click();
                });
            } else if (auto *wizard = qobject_cast<ExternalDataWizard *>(dialog)) {
                QTimer::singleShot(0, wizard, [wizard, this] {
                    QCOMPARE(wizard->windowTitle(), QStringLiteral("Connect to External Data"));
                    wizard->findChild<QPlainTextEdit *>(QStringLiteral("txtcnnString"))->setPlainText(sqlite());
                    wizard->findChild<QPushButton *>(QStringLiteral("cmdSave"))->click();
                });
            }
        });
        c->ShowWizard();
        QCOMPARE(opened, 2);
        QVERIFY(shownMe);
        QCOMPARE(LocalFileService().readBytes(m_app.filePath(QStringLiteral("Temp/Data.cnn"))), sqlite().toUtf8());
    }

    void layoutDesignFillsTheStatementsAndDrawsTheGrid()
    {
        // No connection at start-up: no statements and no grid yet.
        LocalFileService().writeBytes(m_app.filePath(QStringLiteral("Temp/SQL.mtq")),
                                      "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                      "tablename=Orders\r\nSELECT * FROM Orders\r\ntablename=endreport");
        auto c = control();
        QVERIFY(c->statementList().isEmpty());
        QVERIFY(c->page().drawing().isEmpty());
        QStringList statementsAtShowMe;
        bool gridAtShowMe = false;
        connect(c.get(), &ReportGenOCX::ShowMe, this, [&] {
            statementsAtShowMe = c->statementList();
            gridAtShowMe = !c->page().drawing().isEmpty();
        });
        connect(c.get(), &ReportGenOCX::dialogOpened, this, [](QDialog *dialog) {
            auto *chooser = qobject_cast<StartupChooser *>(dialog);
            QVERIFY(chooser);
            QTimer::singleShot(0, chooser, [chooser] {
                chooser->tick();
                QVERIFY(chooser->button(0)->isEnabled());
                chooser->button(0)->click();
            });
        });
        c->ShowWizard();
        QCOMPARE(statementsAtShowMe, QStringList{QStringLiteral("Orders")});
        QVERIFY(gridAtShowMe);
    }

    void wizardWindowWalksThePages()
    {
        ExternalDataWizard wizard(*std::make_shared<LocalFileService>(), *m_prompts, QString());
        wizard.show();
        wizard.model().setConnectionText(sqlite());
        QVERIFY(wizard.model().testConnection());
        wizard.refresh();
        auto *back = wizard.findChild<QPushButton *>(QStringLiteral("cmdBack"));
        auto *finish = wizard.findChild<QPushButton *>(QStringLiteral("cmdFinish"));
        QVERIFY(!back->isVisible());
        QVERIFY(!finish->isVisible());
        wizard.next();
        auto *available = wizard.findChild<QListWidget *>(QStringLiteral("lstAvailable"));
        QCOMPARE(available->count(), 1);
        available->item(0)->setSelected(true);
        wizard.findChild<QPushButton *>(QStringLiteral("cmdAdd"))->click();
        QCOMPARE(wizard.findChild<QListWidget *>(QStringLiteral("lstSelected"))->count(), 1);
        QVERIFY(back->isVisible());
        wizard.next(); // links
        auto *table0 = wizard.findChild<QComboBox *>(QStringLiteral("cmbTable0"));
        QCOMPARE(table0->count(), 1);
        table0->setCurrentIndex(0);
        QCOMPARE(wizard.findChild<QComboBox *>(QStringLiteral("cmbField0"))->count(), 2);
        QVERIFY(!wizard.findChild<QPushButton *>(QStringLiteral("cmdLinkFields"))->isEnabled());
        wizard.next(); // fields
        auto *fields = wizard.findChild<QListWidget *>(QStringLiteral("lstAvailableFields"));
        QCOMPARE(fields->count(), 2);
        fields->item(1)->setSelected(true);
        wizard.findChild<QPushButton *>(QStringLiteral("cmdAddField"))->click();
        wizard.next(); // conditions
        wizard.findChild<QLineEdit *>(QStringLiteral("txtParam"))->setText(QStringLiteral("2"));
        auto *add = wizard.findChild<QPushButton *>(QStringLiteral("cmdAddParam"));
        QVERIFY(add->isEnabled());
        add->click();
        wizard.next();
        QVERIFY(finish->isVisible());
        QCOMPARE(wizard.findChild<QPlainTextEdit *>(QStringLiteral("txtSQL"))->toPlainText(),
                 QStringLiteral("SELECT Orders.Total\nFROM Orders\nWHERE Orders.OrderID = 2"));
        finish->click();
        QVERIFY(!wizard.isVisible());
    }

    void choiceListsTakeThePage_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("available");
        QTest::addColumn<QString>("selected");
        QTest::newRow("tables") << 2 << "lstAvailable" << "lstSelected";
        QTest::newRow("fields") << 4 << "lstAvailableFields" << "lstSelectedFields";
    }
    void choiceListsTakeThePage()
    {
        QFETCH(int, page);
        QFETCH(QString, available);
        QFETCH(QString, selected);
        ExternalDataWizard wizard(*std::make_shared<LocalFileService>(), *m_prompts, QString());
        wizard.resize(640, 460);
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        wizard.model().setConnectionText(sqlite());
        QVERIFY(wizard.model().testConnection());
        wizard.next();
        wizard.model().selectTables({QStringLiteral("Orders")});
        while (wizard.model().page() < page)
            wizard.next();
        QCoreApplication::processEvents();
        for (const QString &name : {available, selected}) {
            auto *list = wizard.findChild<QListWidget *>(name);
            QVERIFY(list->isVisible());
            // Most of the dialog's height, side by side, each near half its width.
            QVERIFY2(list->height() > 250, qPrintable(QStringLiteral("%1 is %2 px high").arg(name).arg(list->height())));
            QVERIFY2(list->width() > 200, qPrintable(QStringLiteral("%1 is %2 px wide").arg(name).arg(list->width())));
        }
    }

    void connectionDialogEditsAString()
    {
        ConnectionDialog dialog(ConnectionDialogModel(QStringLiteral("Provider=PostgreSQL;Host=db;Port=5433;Database=sales;User ID=ann")),
                                *m_prompts);
        dialog.show();
        QCOMPARE(dialog.field(ConnectionDialogModel::Host)->text(), QStringLiteral("db"));
        QVERIFY(dialog.field(ConnectionDialogModel::Host)->isVisible());
        QVERIFY(!dialog.field(ConnectionDialogModel::File)->isVisible());
        dialog.providers()->setCurrentIndex(ConnectionDialogModel::Sqlite);
        dialog.field(ConnectionDialogModel::File)->setText(m_db);
        QCOMPARE(dialog.connectionString(), sqlite());
        dialog.testConnection();
        QVERIFY(dialog.findChildren<QLabel *>().last()->text() == QStringLiteral("Test connection succeeded."));
        // A string typed by hand fills the fields.
        dialog.stringBox()->setPlainText(QStringLiteral("Provider=MSDASQL;DSN=Shop"));
        QCOMPARE(dialog.field(ConnectionDialogModel::Dsn)->text(), QStringLiteral("Shop"));
    }

    void formulaEditorChecksAsItIsTyped_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("marks");
        QTest::newRow("a result on the first row") << "=Round({Orders.Total} * 3, 1)" << "First row: 7.5" << 0;
        QTest::newRow("an aggregate") << "=\"Orders: \" & Count(*)" << "First row: Orders: 1" << 0;
        QTest::newRow("unfinished") << "=Sum({Orders.Total}" << "Position 20: expected \")\" instead of the end of the expression" << 1;
        QTest::newRow("unknown field") << "=Sum({Orders.Nope})" << "Position 6: the statement \"Orders\" has no field \"Nope\"" << 1;
        QTest::newRow("unknown statement") << "={Nope.X}" << "Position 2: The report SQL file has no statement \"Nope\"" << 1;
        QTest::newRow("legacy formula")
            << "{Orders.Total}/2" << "Without a leading \"=\" the formula is worked out as before: field values and one division." << 0;
    }
    void formulaEditorChecksAsItIsTyped()
    {
        QFETCH(QString, formula);
        QFETCH(QString, said);
        QFETCH(int, marks);
        LocalFileService files;
        files.writeBytes(m_app.filePath(QStringLiteral("Temp/SQL.mtq")),
                         "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                         "tablename=Orders\r\nSELECT * FROM Orders\r\ntablename=endreport");
        DbConnection connection(sqlite());
        connection.open();
        FormulaEditorModel model(files, *m_prompts, connection);
        FormulaEditorWindow editor(model);
        editor.statements()->setCurrentRow(0);
        editor.formula()->setPlainText(formula);
        QCOMPARE(editor.check()->text(), said);
        QCOMPARE(editor.formula()->extraSelections().size(), marks);
        QCOMPARE(model.curFormula, formula);
        QVERIFY(m_prompts->calls.isEmpty());
    }

    void insertFormulaThroughTheEditor()
    {
        LocalFileService().writeBytes(m_app.filePath(QStringLiteral("Temp/SQL.mtq")),
                                      "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                      "tablename=Orders\r\nSELECT * FROM Orders\r\ntablename=endreport");
        auto connection = std::make_shared<DbConnection>(sqlite());
        connection->open();
        ModuleState::current().data().setRDDataConnection(connection);
        auto c = control();
        connect(c.get(), &ReportGenOCX::dialogOpened, this, [](QDialog *dialog) {
            auto *editor = qobject_cast<FormulaEditorWindow *>(dialog);
            QVERIFY(editor);
            QTimer::singleShot(0, editor, [editor] {
                QCOMPARE(editor->windowTitle(), QStringLiteral("Form1"));
                QCOMPARE(editor->functions()->item(0)->text(), QStringLiteral("AddTax{}"));
                QCOMPARE(editor->functions()->item(9)->text(), QStringLiteral("Round{}"));
                QCOMPARE(editor->functions()->item(10)->text(), QStringLiteral("Format{}"));
                QCOMPARE(editor->functions()->item(9)->toolTip(), QStringLiteral("Round(number, decimals): halves to the even digit"));
                QCOMPARE(editor->functions()->count(), 32);
                editor->statements()->setCurrentRow(0);
                QCOMPARE(editor->fields()->count(), 2);
                editor->dropAt(QPoint(0, 0), QStringLiteral("Total"), false);
                editor->formula()->moveCursor(QTextCursor::End);
                editor->formula()->insertPlainText(QStringLiteral("/2"));
                editor->close();
            });
        });
        c->InsertFormula();
        QCOMPARE(c->page().labelCount(), 1);
        QCOMPARE(c->page().Label(1).Tag, QStringLiteral("FORMULA:{Orders.Total}/2"));
        QCOMPARE(c->page().Label(1).Left, 100.0f);
        QCOMPARE(c->designer().sizer().BoundControl(), (ObjectRef{ObjectRef::Label, 1}));
        // Closed without a formula: no label.
        disconnect(c.get(), &ReportGenOCX::dialogOpened, this, nullptr);
        connect(c.get(), &ReportGenOCX::dialogOpened, this, [](QDialog *dialog) {
            QTimer::singleShot(0, dialog, [dialog] { dialog->close(); });
        });
        c->InsertFormula();
        QCOMPARE(c->page().labelCount(), 1);
    }

    void pleaseWaitBounces()
    {
        PleaseWaitWindow wait;
        QCOMPARE(wait.windowTitle(), QStringLiteral("Please Wait"));
        wait.show();
        const int start = wait.barLeft();
        QTest::qWait(250);
        QVERIFY(wait.barLeft() != start);
    }
};

QTEST_MAIN(TestWizardWindows)
#include "tst_wizardwindows.moc"
