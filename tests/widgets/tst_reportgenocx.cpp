#include "ControlServices.h"
#include "DbConnection.h"
#include "DesignerCommands.h"
#include "DesignerView.h"
#include "ExternalDataWizard.h"
#include "ImageSurface.h"
#include "LayoutPage.h"
#include "PreviewNavigator.h"
#include "LocalFileService.h"
#include "MemoryPropertyBag.h"
#include "MemorySettingsStore.h"
#include "ModuleState.h"
#include "ProcessTempNames.h"
#include "ReportError.h"
#include "ReportGenOCX.h"
#include "RecordingSurface.h"
#include "Sizer.h"
#include "ScriptedPrompts.h"
#include "SqliteEngine.h"
#include "StatementPalette.h"

#include <QMetaProperty>
#include <QToolButton>
#include <QPrinter>
#include <QScopeGuard>
#include <QProcess>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;
using RepModes = ReportGenOCX::RepModes;

class TestReportGenOCX : public QObject
{
    Q_OBJECT

    std::shared_ptr<MemorySettingsStore> m_settings;
    std::shared_ptr<ScriptedPrompts> m_prompts;
    QTemporaryDir m_app;

    ControlServices services()
    {
        return ControlServices{m_settings, m_prompts, std::make_shared<LocalFileService>(),
                               std::make_shared<ProcessTempNames>(),
                               nullptr}; // the standard SQL editor dialogs
    }
    void setting(const QString &key, const QString &value)
    {
        m_settings->saveSetting(QStringLiteral("Report Designer"), QStringLiteral("Options"), key, value);
    }
    void writeWorkingSql()
    {
        QDir(m_app.path()).mkpath(QStringLiteral("Temp"));
        LocalFileService().writeBytes(m_app.filePath(QStringLiteral("Temp/SQL.mtq")),
                                      "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                      "tablename=Orders\r\nSELECT * FROM t\r\ntablename=endreport");
    }
    // A data list of the rows of t, a line of 300 twips each from the top of 1000.
    static void addList(ReportGenOCX &c)
    {
        const int list = c.page().createLabel();
        c.page().Label(list).Tag = QStringLiteral("DATA:Orders.x");
        c.page().Label(list).Top = 1000;
        c.page().Label(list).Height = 300;
        c.page().Label(list).Visible = true;
    }
    // The working report SQL file and a connection whose table t holds 1 to n.
    std::shared_ptr<DbConnection> connectionWithRows(int n)
    {
        writeWorkingSql();
        auto connection = openConnection();
        QString rows = QStringLiteral("BEGIN;DELETE FROM t;");
        for (int i = 1; i <= n; ++i)
            rows += QStringLiteral("INSERT INTO t VALUES (%1);").arg(i);
        changeData(rows + QStringLiteral("COMMIT;"));
        return connection;
    }

    std::shared_ptr<DbConnection> openConnection()
    {
        const QString db = m_app.filePath(QStringLiteral("data.db"));
        if (!QFileInfo::exists(db))
            SqliteEngine::create(db)->runScript(QStringLiteral("CREATE TABLE t (x INTEGER);"));
        auto c = std::make_shared<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=") + db);
        c->open();
        return c;
    }

    // Changes the database behind the report's connection, which only reads.
    void changeData(const QString &script)
    {
        SqliteEngine::create(m_app.filePath(QStringLiteral("data.db")))->runScript(script);
    }
    // The working report SQL file and the database with one row in t.
    std::shared_ptr<DbConnection> connectionWithRow(int x)
    {
        writeWorkingSql();
        auto connection = openConnection();
        changeData(QStringLiteral("INSERT INTO t VALUES (%1);").arg(x));
        return connection;
    }
    static int dataLabel(ReportGenOCX &c, const QString &tag)
    {
        const int i = c.page().createLabel();
        c.page().Label(i).Tag = tag;
        c.page().Label(i).Visible = true;
        return i;
    }

private slots:
    void init()
    {
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_app.path());
        m_settings = std::make_shared<MemorySettingsStore>();
        m_prompts = std::make_shared<ScriptedPrompts>();
    }

    void newInstanceShowsItsIcon()
    {
        ReportGenOCX c(nullptr, services());
        QCOMPARE(c.CurrentMode(), ReportGenOCX::ComponentMode);
        QCOMPARE(c.size(), QSize(64, 64));
        QVERIFY(!c.iconWidget()->isHidden());
        // It refuses other sizes while it is a component.
        c.resize(500, 400);
        QCOMPARE(c.size(), QSize(64, 64));

        c.setCurrentMode(ReportGenOCX::DesignerMode);
        QVERIFY(c.iconWidget()->isHidden());
        c.resize(500, 400);
        QCOMPARE(c.size(), QSize(500, 400));

        c.setCurrentMode(ReportGenOCX::ComponentMode);
        QCOMPARE(c.size(), QSize(64, 64));
        QCOMPARE(c.iconWidget()->pos(), QPoint(0, 0));

        // Other values are only stored.
        c.setCurrentMode(7);
        QCOMPARE(int(c.CurrentMode()), 7);
    }

    void currentModePersists()
    {
        MemoryPropertyBag bag;
        {
            ReportGenOCX c(nullptr, services());
            c.WriteProperties(bag);
            QVERIFY(bag.values().isEmpty()); // the default is not stored
            c.setCurrentMode(ReportGenOCX::DesignerMode);
            c.WriteProperties(bag);
            QCOMPARE(bag.values().value(QStringLiteral("CurrentMode")), QVariant(2));
        }
        ReportGenOCX restored(nullptr, services());
        restored.ReadProperties(bag);
        QCOMPARE(restored.CurrentMode(), ReportGenOCX::DesignerMode);
        QVERIFY(restored.iconWidget()->isHidden());

        MemoryPropertyBag empty;
        restored.ReadProperties(empty);
        QCOMPARE(restored.CurrentMode(), ReportGenOCX::ComponentMode);
    }

    void startUpReadsSettings()
    {
        setting(QStringLiteral("GridSize"), QStringLiteral("5"));
        setting(QStringLiteral("PageWidth"), QStringLiteral("16839.9"));
        setting(QStringLiteral("PageHeight"), QStringLiteral("11907"));
        setting(QStringLiteral("DBPath"), QStringLiteral("/data/sales.mdb"));
        ReportGenOCX c(nullptr, services());
        QCOMPARE(c.GridSize(), short(5));
        QCOMPARE(c.PageWidth(), 16840);
        QCOMPARE(c.Pageheight(), 11907);
        QCOMPARE(c.DBPath(), QStringLiteral("/data/sales.mdb"));
        QCOMPARE(c.previewSurface().Width(), double(16839.9f));
        QCOMPARE(c.previewSurface().Height(), 11907.0);
    }

    void defaultsWithoutSettings()
    {
        ReportGenOCX c(nullptr, services());
        QCOMPARE(c.GridSize(), short(2));
        QCOMPARE(c.PageWidth(), 11907);
        QCOMPARE(c.Pageheight(), 16840);
        QCOMPARE(c.page().Height(), 16839.9f);
        QCOMPARE(c.DBPath(), QString());
    }

    void nonNumericSettingFailsStartUp_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("GridSize") << "GridSize";
        QTest::newRow("PageWidth") << "PageWidth";
        QTest::newRow("PageHeight") << "PageHeight";
    }
    void nonNumericSettingFailsStartUp()
    {
        QFETCH(QString, key);
        setting(key, QStringLiteral("wide"));
        try {
            ReportGenOCX c(nullptr, services());
            QFAIL("start-up succeeded");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 13);
            QVERIFY(e.description().startsWith(QStringLiteral("Type mismatch")));
            QVERIFY(e.description().contains(key));
            QVERIFY(e.description().contains(QStringLiteral("wide")));
        }
    }

    void withoutConnectionNoGridAndNoStatements()
    {
        writeWorkingSql();
        ReportGenOCX c(nullptr, services());
        QVERIFY(c.statementList().isEmpty());
        QVERIFY(c.page().drawing().isEmpty());
    }

    void withOpenConnectionStatementsAndGrid()
    {
        writeWorkingSql();
        ModuleState::current().data().setRDDataConnection(openConnection());
        ReportGenOCX c(nullptr, services());
        QCOMPARE(c.statementList(), QStringList{"Orders"});
        QCOMPARE(c.gridStep(), qint16(113));
        QCOMPARE(c.page().drawing().strokes().size(), 106 + 150);
    }

    void settingTheConnectionRefillsAndRedraws()
    {
        writeWorkingSql();
        ReportGenOCX c(nullptr, services());
        QSignalSpy changed(&c, &ReportGenOCX::statementListChanged);
        auto connection = openConnection();
        c.setRepDataConnection(connection);
        QCOMPARE(c.RepDataConnection(), connection);
        QCOMPARE(ModuleState::current().data().RDDataConnection(), connection);
        QCOMPARE(c.statementList(), QStringList{"Orders"});
        QCOMPARE(changed.count(), 1);
        QVERIFY(!c.page().drawing().isEmpty());
    }

    void pageSizeSetsPageAndPreview()
    {
        ReportGenOCX c(nullptr, services());
        c.LoadGrid();
        const auto before = c.page().drawing().strokes();
        c.setPageWidth(10000);
        QCOMPARE(c.PageWidth(), 10000);
        QCOMPARE(c.page().Width(), 10000.0f);
        QCOMPARE(c.previewSurface().Width(), 10000.0);
        QCOMPARE(c.pageWidget()->width(), 667);
        // The grid is not redrawn until LoadGrid.
        QCOMPARE(c.page().drawing().strokes(), before);
        c.setPageheight(5000);
        QCOMPARE(c.previewSurface().Height(), 5000.0);
        c.LoadGrid();
        QVERIFY(c.page().drawing().strokes() != before);
    }

    void loadGridReportsOnlyInDevelopmentMode()
    {
        ReportGenOCX c(nullptr, services());
        c.setPageWidth(40000);
        c.LoadGrid();
        QVERIFY(m_prompts->calls.isEmpty());
        QVERIFY(c.page().drawing().isEmpty());

        c.setDevMode(true);
        c.LoadGrid();
        QCOMPARE(m_prompts->messages(), QStringList{"Error in LoadGrid 6: Overflow"});
        QCOMPARE(m_prompts->calls[0].style, 0);
        QCOMPARE(m_prompts->calls[0].title, QStringLiteral("KRML_ReportGen"));
    }

    void gridSizeZeroClearsTheDrawing()
    {
        ReportGenOCX c(nullptr, services());
        c.LoadGrid();
        QVERIFY(!c.page().drawing().isEmpty());
        c.setGridSize(0);
        c.LoadGrid();
        QVERIFY(c.page().drawing().isEmpty());
    }

    void reloadWithoutGridKeepsObjects()
    {
        ReportGenOCX c(nullptr, services());
        c.page().createLabel();
        c.page().createPic();
        c.LoadGrid();
        c.page().drawing().box(100, 100, 500, 500, 0, false);
        c.Reload(false);
        QVERIFY(c.page().drawing().isEmpty());
        QCOMPARE(c.page().labelCount(), 1);
        QCOMPARE(c.page().picCount(), 1);
        c.Reload();
        QVERIFY(!c.page().drawing().isEmpty());
    }

    void flipModeRaisesTheEventFirst()
    {
        ReportGenOCX c(nullptr, services());
        c.setCurrentMode(ReportGenOCX::DesignerMode);
        QStringList order;
        connect(&c, &ReportGenOCX::ModeSwitch, this, [&](RepModes &m) {
            order << QStringLiteral("event %1, page %2").arg(int(m)).arg(c.pageWidget()->isHidden() ? "hidden" : "shown");
        });
        c.ShowPreview();
        QCOMPARE(order, QStringList{"event 2, page shown"});
        QVERIFY(c.pageWidget()->isHidden());
        c.ShowDesign();
        QVERIFY(!c.pageWidget()->isHidden());

        // A preview that fails leaves the page shown; the error reaches the host.
        const int f = c.page().createLabel();
        c.page().Label(f).Tag = QStringLiteral("FORMULA:{Orders.Total}/2");
        c.page().Label(f).Visible = true;
        try {
            c.ShowPreview();
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 91);
        }
        QVERIFY(!c.pageWidget()->isHidden());
    }

    void handlerCanChangeTheMode()
    {
        ReportGenOCX c(nullptr, services());
        const int data = c.page().createLabel();
        c.page().Label(data).Tag = QStringLiteral("DATA:Sales.Amount");
        c.page().Label(data).Caption = QStringLiteral("1234.5");
        const int formula = c.page().createLabel();
        c.page().Label(formula).Tag = QStringLiteral("FORMULA:{Sales.Amount}/2");
        c.page().Label(formula).Caption = QStringLiteral("{Sales.Amount}/2 evaluated");
        c.pageWidget()->hide();

        connect(&c, &ReportGenOCX::ModeSwitch, this, [](RepModes &m) {
            if (m == ReportGenOCX::Preview)
                m = ReportGenOCX::Designer;
        });
        RepModes mode = ReportGenOCX::Preview;
        c.FlipMode(mode); // switches to the designer instead of previewing
        QCOMPARE(mode, ReportGenOCX::Designer);
        QCOMPARE(c.page().Label(data).Caption, QStringLiteral("Sales.Amount"));
        QCOMPARE(c.page().Label(formula).Caption, QStringLiteral("{Sales.Amount}/2 evaluated"));
        QVERIFY(!c.pageWidget()->isHidden());
        QVERIFY(!c.page().drawing().isEmpty()); // Reload drew the grid
    }

    void unknownModeOnlyRaisesTheEvent()
    {
        ReportGenOCX c(nullptr, services());
        int events = 0;
        connect(&c, &ReportGenOCX::ModeSwitch, this, [&](RepModes &) { ++events; });
        RepModes mode = static_cast<RepModes>(9);
        c.FlipMode(mode);
        QCOMPARE(events, 1);
        QVERIFY(c.page().drawing().isEmpty());
    }

    void previewAndPrintingReplaceTheHostCollections()
    {
        ReportGenOCX c(nullptr, services());
        auto fields = std::make_shared<VariantCollection>();
        fields->Add(QStringLiteral("RegionID"));
        c.setParamFieldCollection(fields);
        c.setParamValueCollection(fields);
        try {
            c.PrintReport();
        } catch (const ReportError &) {
        }
        QVERIFY(ModuleState::current().ParamFieldCollection() != fields);
        QCOMPARE(ModuleState::current().ParamFieldCollection()->Count(), 0);
        QCOMPARE(ModuleState::current().ParamValueCollection()->Count(), 0);
    }

    void versionLeavesTheBuildOut()
    {
        QCOMPARE(ReportGenOCX::versionString(0, 5, 0, 8), QStringLiteral("0.5.8"));
        QCOMPARE(ReportGenOCX::versionString(1, 10, 3, 0), QStringLiteral("1.10.0"));
        ReportGenOCX c(nullptr, services());
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(c.OCXVersion()).hasMatch());
        QCOMPARE(c.rdAppName(), QStringLiteral("Report Designer"));
    }

    void instancesShareModuleState()
    {
        ReportGenOCX a(nullptr, services());
        ReportGenOCX b(nullptr, services());
        a.setDevMode(true);
        a.setRdAppPath(QStringLiteral("C:\\Apps\\Sales"));
        QVERIFY(ModuleState::current().devMode());
        QCOMPARE(b.property("rdAppPath").toString(), QStringLiteral("C:/Apps/Sales"));
        QCOMPARE(b.property("DevMode").toBool(), true);
        auto connection = std::make_shared<DbConnection>();
        a.setRepDataConnection(connection);
        QCOMPARE(b.RepDataConnection(), connection);
        // Each keeps its own page.
        a.page().createLabel();
        QCOMPARE(b.page().labelCount(), 0);
    }

    void commandLineCheck()
    {
        ReportGenOCX::checkCommandLine({QStringLiteral("designer"), QStringLiteral("/DEVELOPMENTMODE")});
        QVERIFY(!ModuleState::current().devMode());
        ReportGenOCX::checkCommandLine({QStringLiteral("designer"), QStringLiteral("/developmentmode")});
        QVERIFY(ModuleState::current().devMode());
    }

    void interfaceReachableByName()
    {
        ReportGenOCX c(nullptr, services());
        const QMetaObject *mo = c.metaObject();
        // Properties in interface order; Paginate and CodePage come after the published ones.
        const QStringList expected{"GridSize", "DBPath", "curOpenFile", "ParamFieldCollection", "ParamValueCollection",
                                   "CurrentMode", "OCXVersion", "PageWidth", "Pageheight", "DevMode", "rdAppName",
                                   "rdAppPath", "RepDataConnection", "Paginate", "CodePage"};
        QStringList names;
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
            names << QString::fromLatin1(mo->property(i).name());
        QCOMPARE(names, expected);

        QCOMPARE(c.property("CodePage").toInt(), 1252);
        QVERIFY(c.setProperty("CodePage", 1251));
        QCOMPARE(ModuleState::current().codePage(), 1251);
        QVERIFY_THROWS_EXCEPTION(ReportError, c.setCodePage(437));
        QCOMPARE(c.CodePage(), 1251);
        c.setCodePage(1252);
        QVERIFY(c.setProperty("PageWidth", 9000));
        QCOMPARE(c.PageWidth(), 9000);
        QVERIFY(c.setProperty("CurrentMode", int(ReportGenOCX::DesignerMode)));
        QCOMPARE(c.CurrentMode(), ReportGenOCX::DesignerMode);
        QCOMPARE(c.property("rdAppName").toString(), QStringLiteral("Report Designer"));

        // FlipMode by name, with its argument by reference.
        connect(&c, &ReportGenOCX::ModeSwitch, this, [](RepModes &m) { m = ReportGenOCX::Designer; });
        RepModes mode = ReportGenOCX::Printing;
        QVERIFY(QMetaObject::invokeMethod(&c, "FlipMode", Qt::DirectConnection,
                                          Q_ARG(KRML_ReportGen::ReportGenOCX::RepModes &, mode)));
        QCOMPARE(mode, ReportGenOCX::Designer);
        QVERIFY(QMetaObject::invokeMethod(&c, "Reload", Qt::DirectConnection, Q_ARG(bool, false)));
        QVERIFY(c.page().drawing().isEmpty());
    }

    void generatorMethodsReachableByName()
    {
        auto connection = connectionWithRow(7);
        const auto emptied = qScopeGuard([&] { changeData(QStringLiteral("DELETE FROM t;")); });
        ReportGenOCX c(nullptr, services());
        c.setRepDataConnection(connection);
        const int list = dataLabel(c, QStringLiteral("DATA:Orders.x"));
        c.page().Label(list).Top = 400;
        c.page().Label(list).Visible = true;

        // GenerateOutput on a surface the host hands over.
        RecordingSurface surface;
        QString result = QStringLiteral("unset");
        QVERIFY(QMetaObject::invokeMethod(&c, "GenerateOutput", Qt::DirectConnection, Q_RETURN_ARG(QString, result),
                                          Q_ARG(KRML_ReportGen::DrawingSurface &, surface)));
        QCOMPARE(result, QString());
        QVERIFY(surface.printedTexts().contains(QStringLiteral("7")));

        // AnalyseFunction on a recordset of the host's.
        auto rs = connection->openRecordset(QStringLiteral("SELECT x FROM t"));
        QVERIFY(QMetaObject::invokeMethod(&c, "AnalyseFunction", Qt::DirectConnection, Q_RETURN_ARG(QString, result),
                                          Q_ARG(QString, QStringLiteral("{Any.x}/2")), Q_ARG(KRML_ReportGen::Recordset &, *rs)));
        QCOMPARE(result, QStringLiteral("3.5"));

        // CheckForPrintOverlap with its positions by reference.
        LayoutLabel fixed = c.page().Label(0);
        fixed.Left = c.page().Label(list).Left;
        fixed.Top = 500;
        qint32 left = 0, top = 0;
        bool moved = false;
        QVERIFY(QMetaObject::invokeMethod(&c, "CheckForPrintOverlap", Qt::DirectConnection, Q_RETURN_ARG(bool, moved),
                                          Q_ARG(const KRML_ReportGen::LayoutLabel &, fixed), Q_ARG(qint32 &, left),
                                          Q_ARG(qint32 &, top)));
        bool direct = false;
        qint32 directLeft = 0, directTop = 0;
        direct = c.CheckForPrintOverlap(fixed, directLeft, directTop);
        QCOMPARE(moved, direct);
        QCOMPARE(left, directLeft);
        QCOMPARE(top, directTop);
        QVERIFY(top > 500);
    }

    void failedPreviewLeavesTheDesignerAsItWas()
    {
        auto connection = connectionWithRow(1);
        const auto emptied = qScopeGuard([&] { changeData(QStringLiteral("DELETE FROM t;")); });
        ReportGenOCX c(nullptr, services());
        c.setRepDataConnection(connection);
        c.setCurrentMode(ReportGenOCX::DesignerMode);
        const int list = dataLabel(c, QStringLiteral("DATA:Orders.nosuchfield"));
        c.designer().commands().pressLabel(list, MouseButton::Left);
        QVERIFY(c.designer().sizer().isVisible());

        QVERIFY_THROWS_EXCEPTION(ReportError, c.ShowPreview());
        QVERIFY(c.designer().sizer().isVisible());
        QVERIFY(!c.pageWidget()->isHidden());
    }

    void insertExternalDataWithoutADatabasePathFails()
    {
        ReportGenOCX c(nullptr, services());
        QCOMPARE(c.DBPath(), QString());
        int shown = 0;
        connect(&c, &ReportGenOCX::dialogOpened, this, [&](QDialog *dialog) {
            ++shown;
            QVERIFY(qobject_cast<ExternalDataWizard *>(dialog));
            QTimer::singleShot(0, dialog, [dialog] { dialog->close(); });
        });
        // The Jet template with an empty path names no database: the
        // provider's error reaches the host.
        try {
            c.InsertExternalData();
            QFAIL("no error reached the host");
        } catch (const ReportError &e) {
            QCOMPARE(e.description(), QStringLiteral("Could not find file ''."));
        }
        QCOMPARE(shown, 1);
    }

    void mousePositionInMillimetres()
    {
        ReportGenOCX c(nullptr, services());
        c.setCurrentMode(ReportGenOCX::DesignerMode);
        c.resize(600, 400);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        qint32 gotX = -1, gotY = -1;
        connect(&c, &ReportGenOCX::MousePos, this, [&](qint32 &x, qint32 &y) {
            gotX = x;
            gotY = y;
        });
        // 100 px = 1500 twips = 26.5 mm; 40 px = 600 twips = 10.6 mm.
        QTest::mouseMove(c.pageWidget(), QPoint(100, 40));
        QTRY_COMPARE(gotX, 26);
        QCOMPARE(gotY, 11);
    }

    void layoutPackageCommands()
    {
        writeWorkingSql();
        ReportGenOCX c(nullptr, services());
        const int l = c.page().createLabel();
        c.page().Label(l).Tag = QStringLiteral("DATA:Orders.x");
        c.page().Label(l).Caption = QStringLiteral("printed value");
        c.page().Label(l).Visible = true;
        c.setPageWidth(12000);
        const QString target = m_app.filePath(QStringLiteral("report.lrd"));
        QStringList failures;
        connect(&c, &ReportGenOCX::SaveFailed, this, [&](const QString &path, const QString &reason) {
            failures << path + QStringLiteral(" | ") + reason;
        });
        m_prompts->answer(target);
        c.SaveLayout();
        QCOMPARE(m_prompts->messages().last(), QStringLiteral("Successfully saved the layout file"));
        QCOMPARE(failures, QStringList());

        // A save that cannot be made is told to the user and to the host.
        const QString nowhere = m_app.filePath(QStringLiteral("no such folder/report.lrd"));
        m_prompts->answer(nowhere);
        c.SaveLayout();
        const QString reason = QStringLiteral("Cannot create a file beside '%1': No such file or directory").arg(nowhere);
        QCOMPARE(m_prompts->messages().last(),
                 QStringLiteral("The layout file was not saved: %1\r\n\r\nAny earlier file of that name is unchanged.").arg(reason));
        QCOMPARE(failures, QStringList{nowhere + QStringLiteral(" | ") + reason});

        // NewLayout clears the page and the working files, and shows the designer.
        QStringList events;
        connect(&c, &ReportGenOCX::ModeSwitch, this, [&](RepModes &m) { events << QStringLiteral("mode %1").arg(int(m)); });
        connect(&c, &ReportGenOCX::ProcessorSending, this, [&](ParameterCollection &p) {
            events << QStringLiteral("sending %1").arg(p.Count());
        });
        c.NewLayout();
        QCOMPARE(c.page().labelCount(), 0);
        QVERIFY(!QFileInfo::exists(m_app.filePath(QStringLiteral("Temp/SQL.mtq"))));
        QCOMPARE(events, QStringList{"mode 1"});

        c.setPageWidth(5000);
        events.clear();
        c.OpenLayout(target);
        QCOMPARE(events, (QStringList{"mode 1", "sending 0"}));
        QCOMPARE(c.curOpenFile(), target);
        QCOMPARE(c.PageWidth(), 12000);
        QCOMPARE(c.previewSurface().Width(), 12000.0); // the preview follows the page
        QCOMPARE(c.page().labelCount(), 1);
        QCOMPARE(c.page().Label(1).Caption, QStringLiteral("printed value"));
        QVERIFY(QFileInfo::exists(m_app.filePath(QStringLiteral("Temp/sql.mtq"))));

        // A failed open raises no event.
        events.clear();
        c.OpenLayout(m_app.filePath(QStringLiteral("missing.lrd")));
        QCOMPARE(events, QStringList{"mode 1"});
        QVERIFY(m_prompts->messages().last().startsWith(QStringLiteral("An error occurred while opening layout file.")));
    }

    void previewAndPrint()
    {
        writeWorkingSql();
        auto connection = openConnection();
        changeData(QStringLiteral("INSERT INTO t VALUES (41), (42);"));
        ReportGenOCX c(nullptr, services());
        c.setRepDataConnection(connection);
        c.setCurrentMode(ReportGenOCX::DesignerMode);
        const int title = c.page().createLabel();
        c.page().Label(title).Caption = QStringLiteral("Printed by the control");
        c.page().Label(title).Visible = true;
        const int list = c.page().createLabel();
        c.page().Label(list).Tag = QStringLiteral("DATA:Orders.x");
        c.page().Label(list).Top = 2000;
        c.page().Label(list).Visible = true;

        c.ShowPreview();
        QCOMPARE(c.LabelTops().size(), 2);
        QVERIFY(c.LabelExtents()[1] > 0);
        // The designer's lists were brought up to date first.
        QCOMPARE(c.palette().selected(), 0);
        QCOMPARE(c.palette().fields(), QStringList{"x"});
        int ink = 0;
        const QImage &img = c.previewSurface().image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ink += qGray(img.pixel(x, y)) < 128;
        QVERIFY(ink > 50);
        c.ShowDesign();
        QCOMPARE(c.page().Label(list).Caption, QStringLiteral("Orders.x"));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
        c.printer()->setOutputFileName(pdf);
        c.PrintReport();
        QVERIFY(QFileInfo(pdf).size() > 0);
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("poppler-utils not installed");
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished());
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("Printed by the control")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("41")) && text.contains(QStringLiteral("42")));

        // AnalyseFunction for a host, on a recordset of its own.
        auto rs = connection->openRecordset(QStringLiteral("SELECT x FROM t ORDER BY x"));
        QCOMPARE(c.AnalyseFunction(QStringLiteral("{Any.x}/2"), *rs), QStringLiteral("20.5"));
    }

    void paginatedPreviewAndPrint()
    {
        auto connection = connectionWithRows(150);
        ReportGenOCX c(nullptr, services());
        c.setRepDataConnection(connection);
        c.setCurrentMode(ReportGenOCX::DesignerMode);
        c.resize(900, 700);
        const int header = c.page().createLabel();
        c.page().Label(header).Caption = QStringLiteral("Page [Page] of [Pages]");
        c.page().Label(header).Top = 100;
        c.page().Label(header).Visible = true;
        addList(c);
        const int footer = c.page().createLabel(); // at the bottom: the body reaches it
        c.page().Label(footer).Caption = QStringLiteral("footer");
        c.page().Label(footer).Top = 16000;
        c.page().Label(footer).Height = 300;
        c.page().Label(footer).Visible = true;

        c.setPaginate(true);
        c.ShowPreview();
        QVERIFY(c.previewPages() > 1);
        QVERIFY(!c.previewNavigator()->isHidden());
        QCOMPARE(c.previewNavigator()->text(), QStringLiteral("Page 1 of %1").arg(c.previewPages()));
        QTest::mouseClick(c.previewNavigator()->findChild<QToolButton *>(QStringLiteral("cmdLastPage")), Qt::LeftButton);
        QCOMPARE(c.previewPage(), c.previewPages());
        QCOMPARE(c.previewNavigator()->text(), QStringLiteral("Page %1 of %1").arg(c.previewPages()));
        QTest::mouseClick(c.previewNavigator()->findChild<QToolButton *>(QStringLiteral("cmdPreviousPage")), Qt::LeftButton);
        QCOMPARE(c.previewPage(), c.previewPages() - 1);
        c.ShowDesign();
        QVERIFY(c.previewNavigator()->isHidden());

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("all.pdf"));
        c.printer()->setOutputFileName(pdf);
        c.PrintReport();
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdfinfo.isEmpty())
            QSKIP("poppler-utils not installed");
        QProcess p;
        p.start(pdfinfo, {pdf});
        QVERIFY(p.waitForFinished());
        QVERIFY2(QString::fromUtf8(p.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(c.previewPages()))),
                 "every page printed");
    }

    void onePagePreviewSaysWhatItCut()
    {
        auto connection = connectionWithRows(150);
        ReportGenOCX c(nullptr, services());
        c.setRepDataConnection(connection);
        c.setCurrentMode(ReportGenOCX::DesignerMode);
        addList(c);
        QList<std::tuple<QString, int, int>> cuts;
        connect(&c, &ReportGenOCX::RowsCut, this,
                [&](const QString &statement, qint32 printed, qint32 total) { cuts.append({statement, printed, total}); });

        c.ShowPreview(); // Paginate off, the layout does not ask for pages: one page
        QCOMPARE(c.previewPages(), 1);
        QCOMPARE(cuts.size(), 1);
        QCOMPARE(std::get<0>(cuts[0]), QStringLiteral("Orders"));
        QCOMPARE(std::get<2>(cuts[0]), 150);
        QVERIFY(std::get<1>(cuts[0]) > 20 && std::get<1>(cuts[0]) < 150);
        c.ShowDesign();

        // A layout made to be paginated is, though the host did not ask.
        cuts.clear();
        c.page().extension().Paginate = true;
        c.ShowPreview();
        QVERIFY(c.previewPages() > 1);
        QVERIFY(!c.previewNavigator()->isHidden());
        QVERIFY(cuts.isEmpty());
    }

    void exportReportByName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("written"); // file names; "*" stands for every page's number
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("workbook") << "r.xlsx" << "" << QStringList{"r.xlsx"} << QByteArray("PK");
        QTest::newRow("web page, named by the format") << "r.out" << "html" << QStringList{"r.out"} << QByteArray("<!DOCTYPE html>");
        QTest::newRow("CSV, a file per statement") << "r.csv" << "CSV" << QStringList{"r-Orders.csv"} << QByteArray("\xEF\xBB\xBFx\r\n1\r\n");
        QTest::newRow("PDF") << "r.pdf" << "" << QStringList{"r.pdf"} << QByteArray("%PDF-");
        QTest::newRow("PNG, a file per page") << "r.png" << "" << QStringList{"r-*.png"} << QByteArray("\x89PNG");
    }
    void exportReportByName()
    {
        QFETCH(QString, file);
        QFETCH(QString, format);
        QFETCH(QStringList, written);
        QFETCH(QByteArray, start);
        auto connection = connectionWithRows(150);
        ReportGenOCX c(nullptr, services());
        c.setRepDataConnection(connection);
        c.setCurrentMode(ReportGenOCX::ComponentMode);
        addList(c);
        c.setPaginate(true);

        QTemporaryDir dir;
        QStringList files;
        QVERIFY(QMetaObject::invokeMethod(&c, "ExportReport", Qt::DirectConnection, Q_RETURN_ARG(QStringList, files),
                                          Q_ARG(QString, dir.filePath(file)), Q_ARG(QString, format)));
        QStringList expected;
        for (const QString &name : written)
            if (name.contains(QLatin1Char('*')))
                for (int page = 1; page <= c.previewPages(); ++page)
                    expected << dir.filePath(QString(name).replace(QLatin1Char('*'), QString::number(page)));
            else
                expected << dir.filePath(name);
        QVERIFY(expected.size() >= 1);
        QCOMPARE(files, expected);
        for (const QString &f : files) {
            QFile out(f);
            QVERIFY(out.open(QIODevice::ReadOnly));
            QVERIFY2(out.read(start.size()) == start, qPrintable(f));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), files.size());
    }

    // The host hears how an export goes (the pages, then the workbook's
    // rows) and can stop it; a stopped export leaves the older file.
    void exportReportTellsProgressAndCancels()
    {
        auto connection = connectionWithRows(150);
        ReportGenOCX c(nullptr, services());
        c.setRepDataConnection(connection);
        c.setCurrentMode(ReportGenOCX::ComponentMode);
        addList(c);
        c.setPaginate(true);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.xlsx"));

        QStringList told;
        int stopAtPage = 0;
        connect(&c, &ReportGenOCX::ExportProgress, this, [&](const QString &counting, qint32 done, qint32 total, bool &cancel) {
            told << QStringLiteral("%1 %2/%3").arg(counting).arg(done).arg(total);
            cancel = counting == QLatin1String("pages") && done == stopAtPage;
        });
        QCOMPARE(c.ExportReport(path), QStringList{path});
        const int pages = c.previewPages();
        QVERIFY(pages >= 2);
        QStringList expected;
        for (int page = 1; page <= pages; ++page)
            expected << QStringLiteral("pages %1/%2").arg(page).arg(pages);
        expected << QStringLiteral("rows 0/150") << QStringLiteral("rows 150/150");
        QCOMPARE(told, expected);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray older = file.readAll();
        file.close();
        stopAtPage = 2;
        try {
            c.ExportReport(path);
            QFAIL("the export was not stopped");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 18);
            QCOMPARE(e.description(), QStringLiteral("User interrupt occurred"));
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), older);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"r.xlsx"});
    }

    void exportReportToAnUnknownFormat()
    {
        ReportGenOCX c(nullptr, services());
        QTemporaryDir dir;
        try {
            c.ExportReport(dir.filePath(QStringLiteral("r.doc")));
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 5);
            QCOMPARE(e.description(), QStringLiteral("There is no export format \"doc\"; the formats are .pdf, .png, .svg, .xlsx, .html or .csv."));
        }
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(TestReportGenOCX)
#include "tst_reportgenocx.moc"
