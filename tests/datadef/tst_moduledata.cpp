#include "LocalFileService.h"
#include "ModuleState.h"
#include "ProviderErrors.h"
#include "SqliteEngine.h"
#include "VbCollection.h"

#include <QTemporaryDir>
#include <QtTest>
#include <thread>

using namespace KRML_ReportGen;

class TestModuleData : public QObject
{
    Q_OBJECT
private slots:
    void init() { ModuleState::current().reset(); }

    void stateIsPerThread()
    {
        ModuleState &mine = ModuleState::current();
        mine.setDevMode(true);
        mine.setRdAppPath(QStringLiteral("/app"));
        bool otherDevMode = true;
        QString otherPath = QStringLiteral("unset");
        ModuleState *otherAddress = nullptr;
        std::thread t([&] {
            otherDevMode = ModuleState::current().devMode();
            otherPath = ModuleState::current().rdAppPath();
            otherAddress = &ModuleState::current();
        });
        t.join();
        QVERIFY(!otherDevMode);
        QCOMPARE(otherPath, QString());
        QVERIFY(otherAddress != &mine);
        QCOMPARE(&ModuleState::current(), &mine);
    }

    void collectionsCreatedOnFirstUse()
    {
        ModuleState &s = ModuleState::current();
        auto fields = s.ParamFieldCollection();
        QVERIFY(fields);
        QCOMPARE(s.ParamFieldCollection(), fields); // the same one again
        auto replaced = std::make_shared<VariantCollection>();
        s.setParamFieldCollection(replaced);
        QCOMPARE(s.ParamFieldCollection(), replaced);
        QCOMPARE(s.parameters()->Count(), 0);
    }

    void workingFilesUnderTemp()
    {
        ModuleState &s = ModuleState::current();
        s.setRdAppPath(QStringLiteral("/srv/app"));
        QCOMPARE(s.tempFolder(), QStringLiteral("/srv/app/Temp"));
        QCOMPARE(s.workingFile(QStringLiteral("SQL.mtq")), QStringLiteral("/srv/app/Temp/SQL.mtq"));
    }

    void collections()
    {
        VariantCollection c;
        c.Add(QStringLiteral("RegionID"));
        c.Add(7, QStringLiteral("k"));
        QCOMPARE(c.Count(), 2);
        QCOMPARE(c.Item(1), QVariant(QStringLiteral("RegionID")));
        QCOMPARE(c.Item(QStringLiteral("K")), QVariant(7));
        QCOMPARE(c.indexOf(QStringLiteral("RegionID")), 1);
        QCOMPARE(c.indexOf(QStringLiteral("nothing")), 0);
        try {
            c.Item(3);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 9);
        }
        QVERIFY_THROWS_EXCEPTION(ReportError, c.Item(0));
        QVERIFY_THROWS_EXCEPTION(ReportError, c.Add(1, QStringLiteral("K")));
        c.Remove(c.Count());
        QCOMPARE(c.Count(), 1);
    }

    void connectionStringOpensTheConnection()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("a.db"));
        SqliteEngine::create(db)->runScript(QStringLiteral("CREATE TABLE t (x INTEGER); INSERT INTO t VALUES (42);"));
        clsData &data = ModuleState::current().data();
        auto connection = data.RDDataConnection();
        QCOMPARE(connection->state(), 0);
        const QString cs = QStringLiteral("Provider=SQLite;Data Source=") + db;
        data.setRDDataConnectionString(cs);
        QCOMPARE(connection->state(), 1);
        QCOMPARE(data.RDDataConnectionString(), cs);
        QCOMPARE(connection->execute(QStringLiteral("SELECT x FROM t"))->field(0).value, QVariant(42));

        // Setting it again closes the open connection and opens anew.
        data.setRDDataConnectionString(cs);
        QCOMPARE(connection->state(), 1);

        // A failing string reaches the caller; the connection stays closed.
        try {
            data.setRDDataConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + dir.filePath(QStringLiteral("missing.db")));
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ProviderErrors::Unspecified);
        }
        QCOMPARE(connection->state(), 0);
    }

    void hostObjectsCreatedOnFirstRead()
    {
        clsData &data = ModuleState::current().data();
        QVERIFY(data.ColCurUsers());
        QCOMPARE(data.ColCurUsers()->Count(), 0);
        QVERIFY(data.CurRst());
        data.setCurUsersPos(5);
        QCOMPARE(data.CurUsersPos(), 5);
    }
};

QTEST_APPLESS_MAIN(TestModuleData)
#include "tst_moduledata.moc"
