#include "ArchiveMembers.h"
#include "CGUnzipFiles.h"
#include "CGZipFiles.h"
#include "DbConnection.h"
#include "LayoutFile.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "ProcessTempNames.h"
#include "ReportError.h"
#include "ScriptedPrompts.h"
#include "SqliteEngine.h"
#include "WorkingConnectionFile.h"

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <utime.h>

using namespace KRML_ReportGen;

namespace {

const QByteArray kSql = "marlowentallymasterfile\r\nnoofparams=1\r\np1=3,Region,1,RegionName,RegionID,SELECT * FROM Regions\r\n"
                        "##########\r\n1\r\ntablename=Orders\r\nSELECT * FROM Orders\r\ntablename=endreport";

// A file service that refuses to write files whose name contains a given
// text: a full disk or a vanished folder in the middle of a save.
class FailingFileService : public LocalFileService
{
public:
    QString failOn;
    void writeBytes(const QString &path, const QByteArray &bytes) override
    {
        if (!failOn.isEmpty() && path.contains(failOn))
            throw ReportError(61, QStringLiteral("Disk full"));
        LocalFileService::writeBytes(path, bytes);
    }
};

} // namespace

class TestLayoutPackage : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_app;
    FailingFileService m_files;
    std::unique_ptr<ProcessTempNames> m_temp;
    ScriptedPrompts m_prompts;
    LayoutPage m_page;

    LayoutPackage package() { return LayoutPackage(m_files, *m_temp, m_prompts, m_page); }
    QString app(const QString &rel) const { return m_app->filePath(rel); }
    void writeWorking(const QString &name, const QByteArray &bytes)
    {
        QDir(m_app->path()).mkpath(QStringLiteral("Temp"));
        m_files.writeBytes(app(QStringLiteral("Temp/") + name), bytes);
    }
    void fillPage(int pictures)
    {
        for (int i = 0; i < 3; ++i) {
            const int l = m_page.createLabel();
            m_page.Label(l).Caption = QStringLiteral("Label %1").arg(i);
            m_page.Label(l).Visible = true;
        }
        m_page.Label(2).Tag = QStringLiteral("DATA:Orders.Total");
        for (int i = 0; i < pictures; ++i) {
            const int p = m_page.createPic();
            QImage img(8, 6, QImage::Format_RGB32);
            img.fill(QColor(10 * i, 100, 200));
            m_page.Pic(p).Picture = img;
            m_page.Pic(p).Visible = true;
        }
    }
    bool tempFolderEmpty() const { return QDir(m_temp->folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty(); }

private slots:
    void init()
    {
        m_app = std::make_unique<QTemporaryDir>();
        m_temp = std::make_unique<ProcessTempNames>();
        m_files.failOn.clear();
        m_prompts.calls.clear();
        m_prompts.answers.clear();
        m_page.removeAll();
        m_page.setWidth(11907);
        m_page.setHeight(16839.9f);
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_app->path());
    }

    void saveAndOpen()
    {
        fillPage(2);
        writeWorking(QStringLiteral("SQL.mtq"), kSql);
        const QString db = app(QStringLiteral("sales.db"));
        SqliteEngine::create(db)->runScript(QStringLiteral("CREATE TABLE Regions (RegionID INTEGER);"));
        ModuleState::current().data().setRDDataConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + db);

        const QString target = app(QStringLiteral("Reports/sales.lrd"));
        QDir(m_app->path()).mkpath(QStringLiteral("Reports"));
        m_prompts.answer(target);
        m_prompts.answer(6); // keep the connection
        QCOMPARE(package().saveLayout(), LayoutPackage::Result::Done);
        QCOMPARE(m_prompts.calls[0].kind, QStringLiteral("saveFile"));
        QCOMPARE(m_prompts.calls[0].filter, QStringLiteral("All Files (*.*)|*.*|Varrow Report Designer (*.lrd)|*.lrd"));
        QCOMPARE(m_prompts.calls[0].filterIndex, 2);
        QCOMPARE(m_prompts.calls[1].text, QStringLiteral("Would you like to save the data connection details in this file ?"));
        QCOMPARE(m_prompts.calls[1].style, 4 + 32);
        QCOMPARE(m_prompts.messages().last(), QStringLiteral("Successfully saved the layout file"));
        QCOMPARE(archiveMembers(target), (QStringList{"Layout.krml", "sql.mtq", "Data.cnn", "Picture1.bmp", "Picture2.bmp"}));
        QVERIFY(tempFolderEmpty()); // the staging folder is gone

        // Open it again on a changed page and changed working files.
        m_page.removeAll();
        writeWorking(QStringLiteral("SQL.mtq"), "other");
        ModuleState::current().parameters()->Add(clsParameter());
        QString curOpenFile;
        int newLayouts = 0;
        const auto result = package().openLayout(target, curOpenFile, [&] {
            ++newLayouts;
            package().clearLayout();
        });
        QCOMPARE(result, LayoutPackage::Result::Done);
        QCOMPARE(newLayouts, 1);
        QCOMPARE(curOpenFile, target);
        QCOMPARE(m_page.labelCount(), 3);
        QCOMPARE(m_page.picCount(), 2);
        QCOMPARE(m_page.Label(2).Tag, QStringLiteral("DATA:Orders.Total"));
        QCOMPARE(m_files.readBytes(app(QStringLiteral("Temp/sql.mtq"))), kSql);
        QCOMPARE(m_files.readBytes(app(QStringLiteral("Temp/Data.cnn"))), (QStringLiteral("Provider=SQLite;Data Source=") + db).toUtf8());
        // The report's parameters, as the SQL editor reads them.
        QCOMPARE(ModuleState::current().parameters()->Count(), 1);
        QCOMPARE(ModuleState::current().parameters()->Item(1).ParameterName, QStringLiteral("Region"));
        QVERIFY(tempFolderEmpty());
        QCOMPARE(ModuleState::current().data().RDDataConnection()->state(), 0); // opening closes the connection
    }

    void sqlMemberIsAlwaysLowerCase_data()
    {
        QTest::addColumn<QString>("workingName");
        QTest::newRow("written by the SQL editor") << "SQL.mtq";
        QTest::newRow("copied from a package") << "sql.mtq";
        QTest::newRow("any other case") << "Sql.MTQ";
    }
    void sqlMemberIsAlwaysLowerCase()
    {
        QFETCH(QString, workingName);
        fillPage(0);
        writeWorking(workingName, kSql);
        const QString target = app(QStringLiteral("cased.lrd"));
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        QCOMPARE(archiveMembers(target), (QStringList{"Layout.krml", "sql.mtq"}));
        // The working file itself is left as it was.
        QVERIFY(QFileInfo::exists(app(QStringLiteral("Temp/") + workingName)));
    }

    void resavingKeepsTheConnectionStringAsGiven()
    {
        // A report made on Windows names "C:\Reports\shop.db"; here the
        // file lies beside the package, where it is found to connect.
        fillPage(0);
        QDir(m_app->path()).mkpath(QStringLiteral("Reports"));
        SqliteEngine::create(app(QStringLiteral("Reports/shop.db")))->runScript(QStringLiteral("CREATE TABLE t (x INTEGER);"));
        ModuleState &state = ModuleState::current();
        state.data().setPackageFolder(app(QStringLiteral("Reports")));
        const QString given = QStringLiteral("Provider=SQLite;Data Source=C:\\Reports\\shop.db");
        state.data().setRDDataConnectionString(given);
        QCOMPARE(state.data().RDDataConnection()->state(), int(DbConnection::Open));
        QVERIFY(state.data().RDDataConnection()->connectionString().contains(app(QStringLiteral("Reports/shop.db"))));
        QCOMPARE(state.data().RDDataConnectionString(), given);

        const QString target = app(QStringLiteral("Reports/resaved.lrd"));
        m_prompts.answer(6); // keep the connection
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        QString cur;
        QCOMPARE(package().openLayout(target, cur, [&] { package().clearLayout(); }), LayoutPackage::Result::Done);
        QCOMPARE(m_files.readBytes(app(QStringLiteral("Temp/Data.cnn"))), given.toLatin1());

        // A connection the host replaced reports its own string.
        auto other = std::make_shared<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=") + app(QStringLiteral("Reports/shop.db")));
        state.data().setRDDataConnection(other);
        QCOMPARE(state.data().RDDataConnectionString(), other->connectionString());
    }

    void damagedReportSqlFileIsNamed_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("style");
        QTest::newRow("wrong first line") << QByteArray("marlowentallymaster\r\nnoofparams=0\r\n##########\r\n0\r\ntablename=endreport")
                                          << "This is not a valid Marlowen Report" << 64;
        QTest::newRow("no terminator") << QByteArray("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                                     "tablename=Orders\r\nSELECT * FROM Orders\r\n")
                                       << "the file ends before \"tablename=endreport\"." << 48;
    }
    void damagedReportSqlFileIsNamed()
    {
        QFETCH(QByteArray, sql);
        QFETCH(QString, message);
        QFETCH(int, style);
        fillPage(0);
        writeWorking(QStringLiteral("sql.mtq"), sql);
        const QString target = app(QStringLiteral("damaged.lrd"));
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        m_prompts.calls.clear();
        QString cur;
        QCOMPARE(package().openLayout(target, cur, [&] { package().clearLayout(); }), LayoutPackage::Result::Failed);
        const QStringList got = m_prompts.messages();
        QCOMPARE(got.size(), 2);
        QVERIFY2(got[0].endsWith(message), qPrintable(got[0]));
        QCOMPARE(m_prompts.calls[0].style, style);
        if (style == 48) // the member is named
            QVERIFY2(got[0].contains(QStringLiteral("damaged.lrd/sql.mtq")), qPrintable(got[0]));
        QCOMPARE(got[1], QStringLiteral("An error occurred while opening layout file.\r\n\r\n"
                                        "Please check that it is a valid layout file and try again."));
    }

    void optionalMembers()
    {
        fillPage(0);
        // No working SQL file, and No to the connection question.
        ModuleState::current().data().RDDataConnection()->setConnectionString(QStringLiteral("Provider=SQLite;Data Source=x"));
        writeWorking(QStringLiteral("Data.cnn"), "Provider=SQLite;Data Source=x");
        const QString target = app(QStringLiteral("plain.lrd"));
        m_prompts.answer(target);
        m_prompts.answer(7);
        QCOMPARE(package().saveLayout(), LayoutPackage::Result::Done);
        QCOMPARE(archiveMembers(target), QStringList{"Layout.krml"});

        // Opening it removes the old working connection file.
        QString cur;
        QCOMPARE(package().openLayout(target, cur, [&] { package().clearLayout(); }), LayoutPackage::Result::Done);
        QVERIFY(!m_files.fileExists(app(QStringLiteral("Temp/Data.cnn"))));
        QVERIFY(!m_files.fileExists(app(QStringLiteral("Temp/sql.mtq"))));
    }

    void infoZipPackageOpens()
    {
        const QString zipTool = QStandardPaths::findExecutable(QStringLiteral("zip"));
        if (zipTool.isEmpty())
            QSKIP("Info-ZIP zip is not installed");
        // Members made by hand, in folders and other letter cases.
        LayoutPage source;
        const int l = source.createLabel();
        source.Label(l).Caption = QStringLiteral("Made with Info-ZIP");
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("pack/inner"));
        LayoutFile::WriteLayoutFile(m_files, dir.filePath(QStringLiteral("pack/inner")), source);
        m_files.writeBytes(dir.filePath(QStringLiteral("pack/SQL.MTQ")), kSql);
        QProcess p;
        p.setWorkingDirectory(dir.filePath(QStringLiteral("pack")));
        p.start(zipTool, {QStringLiteral("-r"), dir.filePath(QStringLiteral("hand.lrd")), QStringLiteral(".")});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);

        QString cur;
        QCOMPARE(package().openLayout(dir.filePath(QStringLiteral("hand.lrd")), cur, [&] { package().clearLayout(); }),
                 LayoutPackage::Result::Done);
        QCOMPARE(m_page.labelCount(), 1);
        QCOMPARE(m_page.Label(1).Caption, QStringLiteral("Made with Info-ZIP"));
        QCOMPARE(m_files.readBytes(app(QStringLiteral("Temp/SQL.mtq"))), kSql);
    }

    void windows1251PackageRoundTrips()
    {
        // A package made on a machine whose code page is Windows-1251: its
        // text members are in that page, byte for byte as that machine wrote them.
        QStringEncoder cyrillic("windows-1251");
        QVERIFY(cyrillic.isValid());
        LayoutPage source;
        source.setWidth(11907);
        source.setHeight(16840);
        const int l = source.createLabel();
        source.Label(l).Caption = QStringLiteral("Продажи по регионам — итог");
        source.Label(l).Tag = QStringLiteral("DATA:Заказы.Сумма");
        source.Label(l).Font.name = QStringLiteral("Arial Cyr");
        source.Label(l).Visible = true;
        const QByteArray layout = cyrillic.encode(LayoutFile::toText(source));
        const QByteArray sql = cyrillic.encode(QStringLiteral(
            "marlowentallymasterfile\r\nnoofparams=1\r\np1=2,Клиент\r\n##########\r\n1\r\n"
            "tablename=Заказы\r\nSELECT * FROM [Заказы] WHERE [Имя] = Клиент(String) AND Примечание <> 'ё'\r\n"
            "tablename=endreport"));
        const QByteArray cnn = cyrillic.encode(QStringLiteral("Provider=SQLite;Data Source=C:\\Отчёты\\продажи.db"));
        QVERIFY(!cyrillic.hasError());
        QTemporaryDir dir;
        m_files.writeBytes(dir.filePath(QStringLiteral("Layout.krml")), layout);
        m_files.writeBytes(dir.filePath(QStringLiteral("sql.mtq")), sql);
        m_files.writeBytes(dir.filePath(QStringLiteral("Data.cnn")), cnn);
        const QString legacy = dir.filePath(QStringLiteral("legacy.lrd"));
        CGZipFiles zip;
        zip.setZipFileName(legacy);
        for (const char *member : {"Layout.krml", "sql.mtq", "Data.cnn"})
            zip.AddFile(dir.filePath(QString::fromLatin1(member)));
        QCOMPARE(zip.MakeZipFile(), 0);

        ModuleState::current().setCodePage(1251);
        QString cur;
        QCOMPARE(package().openLayout(legacy, cur, [&] { package().clearLayout(); }), LayoutPackage::Result::Done);
        QCOMPARE(m_page.Label(1).Caption, QStringLiteral("Продажи по регионам — итог"));
        QCOMPARE(m_page.Label(1).Tag, QStringLiteral("DATA:Заказы.Сумма"));
        QCOMPARE(ModuleState::current().parameters()->Item(1).ParameterName, QStringLiteral("Клиент"));
        const QString working = ModuleState::current().workingFile(QStringLiteral("Data.cnn"));
        ModuleState::current().data().RDDataConnection()->setConnectionString(WorkingConnectionFile::read(m_files, working));

        const QString again = dir.filePath(QStringLiteral("again.lrd"));
        m_prompts.answer(6); // keep the connection
        QCOMPARE(package().saveLayoutTo(again), LayoutPackage::Result::Done);
        const QString out = dir.filePath(QStringLiteral("out"));
        QDir(dir.path()).mkpath(QStringLiteral("out"));
        CGUnzipFiles unzip;
        QCOMPARE(unzip.Unzip(again, out), 0);
        QCOMPARE(m_files.readBytes(out + QStringLiteral("/Layout.krml")), layout);
        QCOMPARE(m_files.readBytes(m_files.resolve(out + QStringLiteral("/sql.mtq"))), sql);
        QCOMPARE(m_files.readBytes(out + QStringLiteral("/Data.cnn")), cnn);

        // The same page cannot be written in Windows-1252: refused with a
        // message that names the character, and no package is left.
        ModuleState::current().setCodePage(1252);
        m_prompts.calls.clear();
        const QString western = dir.filePath(QStringLiteral("western.lrd"));
        m_prompts.answer(6);
        QCOMPARE(package().saveLayoutTo(western), LayoutPackage::Result::Failed);
        QVERIFY(!QFileInfo::exists(western));
        QVERIFY2(m_prompts.messages().last().contains(QStringLiteral("\"П\" (U+041F) cannot be written in code page 1252")),
                 qPrintable(m_prompts.messages().join(QLatin1Char('|'))));
        QCOMPARE(m_prompts.calls.last().style, 48);
    }

    void openThroughTheDialog()
    {
        fillPage(1);
        const QString target = app(QStringLiteral("Reports/chosen.lrd"));
        QDir(m_app->path()).mkpath(QStringLiteral("Reports"));
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        m_prompts.calls.clear();

        // Cancelled: nothing changes but the connection is closed.
        QString cur = QStringLiteral("before");
        int cleared = 0;
        QCOMPARE(package().openLayout(QString(), cur, [&] { ++cleared; }), LayoutPackage::Result::Cancelled);
        QCOMPARE(cleared, 0);
        QCOMPARE(cur, QStringLiteral("before"));
        QCOMPARE(m_prompts.calls[0].kind, QStringLiteral("openFile"));
        QCOMPARE(m_prompts.calls[0].filter, QStringLiteral("All Files (*.*)|*.*|Report Designer Files (*.lrd)|*.lrd"));
        QCOMPARE(m_prompts.calls[0].filterIndex, 2);

        m_prompts.answer(target);
        QCOMPARE(package().openLayout(QString(), cur, [&] { package().clearLayout(); }), LayoutPackage::Result::Done);
        QCOMPARE(cur, QStringLiteral("chosen.lrd")); // the name alone
        QCOMPARE(m_page.picCount(), 1);
    }

    void badPackages_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("devMessage");
        QTest::newRow("not a zip") << QByteArray("this is no zip archive") << "Error in mnuOpenLayout 99: Error unzipping layout file";
        QTest::newRow("empty file") << QByteArray() << "Error in mnuOpenLayout 99: Error unzipping layout file";
        QTest::newRow("zip without layout") << QByteArray("ZIP:other.txt") << "Error in mnuOpenLayout 53: File not found";
        QTest::newRow("broken layout") << QByteArray("ZIP:Layout.krml") << "Error in mnuOpenLayout 13: Type mismatch";
    }
    void badPackages()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, devMessage);
        const QString path = app(QStringLiteral("bad.lrd"));
        if (content.startsWith("ZIP:")) {
            QTemporaryDir src;
            const QString member = src.filePath(QString::fromLatin1(content.mid(4)));
            m_files.writeBytes(member, "KRMLLayoutFile\r\n#\r\nNumberOfLabels=x\r\n");
            const QString zipTool = QStandardPaths::findExecutable(QStringLiteral("zip"));
            if (zipTool.isEmpty())
                QSKIP("Info-ZIP zip is not installed");
            QProcess::execute(zipTool, {QStringLiteral("-j"), path, member});
        } else {
            m_files.writeBytes(path, content);
        }
        for (const bool dev : {false, true}) {
            ModuleState::current().setDevMode(dev);
            m_prompts.calls.clear();
            QString cur;
            QCOMPARE(package().openLayout(path, cur, [&] { package().clearLayout(); }), LayoutPackage::Result::Failed);
            QStringList expected;
            if (dev)
                expected << devMessage;
            expected << QStringLiteral("An error occurred while opening layout file.\r\n\r\n"
                                       "Please check that it is a valid layout file and try again.");
            const QStringList got = m_prompts.messages();
            if (dev)
                QVERIFY2(got.first().startsWith(devMessage), qPrintable(got.join(QLatin1Char('|'))));
            QCOMPARE(got.last(), expected.last());
            QVERIFY(tempFolderEmpty());
        }
    }

    void saveReplacesOnlyWhenComplete()
    {
        const QString target = app(QStringLiteral("keep.lrd"));
        fillPage(1);
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        const QByteArray good = m_files.readBytes(target);

        // A bitmap that cannot be written: the old package stays.
        m_page.createPic(); // a picture without an image is saved too
        m_prompts.calls.clear();
        m_files.failOn = QStringLiteral("Picture2.bmp");
        ModuleState::current().setDevMode(true);
        m_prompts.calls.clear();
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Failed);
        QCOMPARE(m_prompts.messages(), QStringList{"Error in mnuSaveLayout 61: Disk full"});
        QCOMPARE(m_files.readBytes(target), good);
        QCOMPARE(QDir(m_app->path()).entryList(QDir::Files), QStringList{"keep.lrd"}); // no partial file left
        QVERIFY(tempFolderEmpty());

        // A saved package replaces the old one whole.
        m_files.failOn.clear();
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        QCOMPARE(archiveMembers(target), (QStringList{"Layout.krml", "Picture1.bmp", "Picture2.bmp"}));
    }

    void unusedMembersStayPacked()
    {
        // A member nothing in the layout names is never extracted: here it
        // is damaged, and the package opens all the same.
        fillPage(1);
        const QString target = app(QStringLiteral("extra.lrd"));
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        QTemporaryDir scratch;
        QByteArray noise(20000, Qt::Uninitialized);
        QRandomGenerator random(7);
        for (char &c : noise)
            c = char(random.generate());
        QFile extra(scratch.filePath(QStringLiteral("extra.bin")));
        QVERIFY(extra.open(QIODevice::WriteOnly));
        extra.write(noise);
        extra.close();
        CGZipFiles zip;
        zip.setZipFileName(target);
        zip.setUpdatingZip(true);
        zip.AddFile(extra.fileName());
        QCOMPARE(zip.MakeZipFile(), 0);
        QByteArray bytes = m_files.readBytes(target);
        const qsizetype at = bytes.indexOf("extra.bin");
        QVERIFY(at > 0);
        bytes[at + 1000] = char(bytes[at + 1000] ^ 0x55); // inside its data
        m_files.writeBytes(target, bytes);
        CGUnzipFiles all;
        QVERIFY(all.Unzip(target, scratch.filePath(QStringLiteral("all"))) != 0); // the member is damaged

        QString cur;
        QCOMPARE(package().openLayout(target, cur, [&] { package().clearLayout(); }), LayoutPackage::Result::Done);
        QCOMPARE(m_page.picCount(), 1);
        QVERIFY(tempFolderEmpty());
    }

    void packagesBeyondLimitsAreRefused()
    {
        // 1,001 members, ten times what a package of ours can hold.
        QTemporaryDir scratch;
        const QString many = scratch.filePath(QStringLiteral("many"));
        QDir().mkpath(many);
        for (int i = 0; i < 1001; ++i) {
            QFile f(many + QStringLiteral("/m%1.txt").arg(i));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
        CGZipFiles zip;
        const QString target = app(QStringLiteral("many.lrd"));
        zip.setZipFileName(target);
        zip.setRecurseFolders(true);
        zip.setRootDirectory(scratch.path());
        zip.AddFile(many);
        QCOMPARE(zip.MakeZipFile(), 0);
        ModuleState::current().setDevMode(true);
        QString cur;
        QCOMPARE(package().openLayout(target, cur, [&] { package().clearLayout(); }), LayoutPackage::Result::Failed);
        QVERIFY2(m_prompts.messages().first().startsWith(
                     QStringLiteral("Error in mnuOpenLayout 99: Error unzipping layout file: the archive holds 1002 members, "
                                    "more than the 1000 it may hold")),
                 qPrintable(m_prompts.messages().join(QLatin1Char('|'))));
        QVERIFY(tempFolderEmpty());
    }

    void saveFailuresAreToldInEveryMode()
    {
        fillPage(1);
        const QString target = app(QStringLiteral("missing/report.lrd"));
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Failed);
        QCOMPARE(m_prompts.messages(),
                 QStringList{QStringLiteral("The layout file was not saved: Cannot create a file beside '%1': No such file or "
                                            "directory\r\n\r\nAny earlier file of that name is unchanged.")
                                 .arg(target)});
        QVERIFY(tempFolderEmpty());
    }

    void saveClearsStalePartFiles()
    {
        fillPage(1);
        const QString target = app(QStringLiteral("report.lrd"));
        const QString stale = target + QStringLiteral(".part.0123abcd");
        const QString recent = target + QStringLiteral(".part.89abcdef");
        m_files.writeBytes(stale, "half a package");
        m_files.writeBytes(recent, "a save going on");
        const time_t then = time_t(QDateTime::currentSecsSinceEpoch() - 120);
        struct utimbuf times{then, then};
        QCOMPARE(::utime(QFile::encodeName(stale).constData(), &times), 0);
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(QFileInfo::exists(recent));
    }

    void tooManyMembers()
    {
        // 97 pictures, the SQL file and the connection: 100 members.
        const QString target = app(QStringLiteral("big.lrd"));
        m_files.writeBytes(target, "old package");
        fillPage(97);
        writeWorking(QStringLiteral("sql.mtq"), kSql);
        ModuleState::current().data().RDDataConnection()->setConnectionString(QStringLiteral("Provider=SQLite;Data Source=x"));
        m_prompts.answer(6);
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Failed);
        // Outside development mode the user hears of the failure too.
        QCOMPARE(m_prompts.messages(), (QStringList{"Would you like to save the data connection details in this file ?",
                                                    "The layout file was not saved: Subscript out of range\r\n\r\n"
                                                    "Any earlier file of that name is unchanged."}));
        ModuleState::current().setDevMode(true);
        m_prompts.answer(6);
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Failed);
        QCOMPARE(m_prompts.messages().last(), QStringLiteral("Error in mnuSaveLayout 9: Subscript out of range"));
        QCOMPARE(m_files.readBytes(target), QByteArray("old package"));
    }

    void clearLayoutEmptiesWorkingFiles()
    {
        fillPage(1);
        writeWorking(QStringLiteral("SQL.mtq"), kSql);
        writeWorking(QStringLiteral("Data.cnn"), "x");
        ModuleState::current().setCurrentReportSQL(BoundStatement(QStringLiteral("SELECT 1")));
        m_page.setWidth(9000);
        package().clearLayout();
        QCOMPARE(m_page.labelCount(), 0);
        QCOMPARE(m_page.picCount(), 0);
        QCOMPARE(m_page.Width(), 9000.0f); // the page size stays
        QVERIFY(!m_files.fileExists(app(QStringLiteral("Temp/SQL.mtq"))));
        QVERIFY(!m_files.fileExists(app(QStringLiteral("Temp/Data.cnn"))));
        QVERIFY(ModuleState::current().CurrentReportSQL().isEmpty());
    }
};

QTEST_MAIN(TestLayoutPackage)
#include "tst_layoutpackage.moc"
