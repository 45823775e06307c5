#include "DataConnectionFile.h"
#include "ConnectionString.h"
#include "DataSource.h"
#include "DataSourceLocator.h"
#include "LocalFileService.h"
#include "ReportError.h"
#include "WorkingConnectionFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

class TestConnectionFiles : public QObject
{
    Q_OBJECT
private slots:
    void dataSource_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("source");
        QTest::newRow("jet template") << DataSource::jetConnectionString(QStringLiteral("C:\\Data\\Sales.mdb")) << "C:\\Data\\Sales.mdb";
        QTest::newRow("last entry runs to the end") << "Provider=SQLite;Data Source=/srv/sales.db" << "/srv/sales.db";
        QTest::newRow("last occurrence counts") << "Data Source=a.db;Provider=X;Data Source=b.db;Mode=Read" << "b.db";
        QTest::newRow("empty value") << "Provider=X;Data Source=;Mode=Read" << "";
        QTest::newRow("value taken by position, not by the equals sign") << "Data Source =x;" << "=x";
    }
    void dataSource()
    {
        QFETCH(QString, connection);
        QFETCH(QString, source);
        QCOMPARE(DataSource::extract(connection), source);
    }

    void noDataSourceFails()
    {
        QVERIFY_THROWS_EXCEPTION(ReportError, DataSource::extract(QStringLiteral("Provider=X;data source=lower-case")));
    }

    void jetTemplate()
    {
        QCOMPARE(DataSource::jetConnectionString(QStringLiteral("/a.mdb")),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a.mdb;Persist Security Info=False"));
    }

    void workingConnectionFile()
    {
        QTemporaryDir dir;
        LocalFileService files;
        const QString path = dir.filePath(QStringLiteral("Data.cnn"));
        const QString cs = QStringLiteral("Provider=SQLite;Data Source=/srv/Café.db");
        WorkingConnectionFile::write(files, path, cs);
        QCOMPARE(files.readBytes(path), QByteArray("Provider=SQLite;Data Source=/srv/Caf\xE9.db")); // one line, no line end
        QCOMPARE(WorkingConnectionFile::read(files, path), cs);
        files.writeBytes(path, "Provider=X\r\n");
        QCOMPARE(WorkingConnectionFile::read(files, path), QStringLiteral("Provider=X"));
    }

    void dataConnectionFile()
    {
        DataConnectionFile f;
        f.cnnString = DataSource::jetConnectionString(QStringLiteral("C:\\Sales.mdb"));
        f.selTables = QStringList{"Orders", "Customers"};
        f.selFields = QStringList{"Orders.OrderID", "Customers.Name"};
        f.params = QStringList{"Orders.Total > 100"};
        QCOMPARE(f.toText(), QStringLiteral("KRMLDataConnectionFile\r\n###########\r\nCnnString=%1\r\n"
                                            "SelTables=Orders, Customers\r\nSelFields=Orders.OrderID, Customers.Name\r\n"
                                            "TableLinks=\r\nParams=Orders.Total > 100\r\n")
                                 .arg(f.cnnString));

        QTemporaryDir dir;
        LocalFileService files;
        const QString path = dir.filePath(QStringLiteral("sales.mdq"));
        files.writeBytes(path, "something else, longer than the new file will be ............................................"
                               "..........................................................................................");
        f.write(files, path, true);
        DataConnectionFile back;
        QString why;
        QVERIFY2(back.readFile(files, path, &why), qPrintable(why));
        QVERIFY(back == f);
    }

    void dataSourceLocator()
    {
        QTemporaryDir app, package;
        QDir(package.path()).mkpath(QStringLiteral("Data"));
        QFile(package.filePath(QStringLiteral("Data/Sales.db"))).open(QIODevice::WriteOnly);
        QFile(app.filePath(QStringLiteral("Stock.mdb"))).open(QIODevice::WriteOnly);
        QFile(package.filePath(QStringLiteral("Orders.db"))).open(QIODevice::WriteOnly);
        const QStringList folders{package.path(), app.path()};
        const auto found = [&](const QString &source) {
            return ConnectionString(DataSourceLocator::resolve(QStringLiteral("Provider=X;Data Source=") + source + QStringLiteral(";Mode=Read"),
                                                               folders))
                .dataSource();
        };
        // A Windows path: drive and folders dropped, the name found ignoring case.
        QCOMPARE(found(QStringLiteral("C:\\Reports\\ORDERS.DB")), package.filePath(QStringLiteral("Orders.db")));
        QCOMPARE(found(QStringLiteral("C:\\Reports\\stock.MDB")), app.filePath(QStringLiteral("Stock.mdb")));
        // A relative path, below a folder.
        QCOMPARE(found(QStringLiteral("data\\sales.db")), package.filePath(QStringLiteral("Data/Sales.db")));
        // Existing as written, or nowhere: unchanged.
        const QString existing = app.filePath(QStringLiteral("Stock.mdb"));
        QCOMPARE(found(existing), existing);
        QCOMPARE(found(QStringLiteral("C:\\Nowhere\\none.mdb")), QStringLiteral("C:\\Nowhere\\none.mdb"));
        QCOMPARE(found(QStringLiteral(":memory:")), QStringLiteral(":memory:"));
        // The other parts of the string stay.
        QVERIFY(DataSourceLocator::resolve(QStringLiteral("Provider=X;Data Source=c:\\a\\stock.mdb;Mode=Read"), folders)
                    .contains(QStringLiteral("Mode=Read")));
    }

    void dataConnectionFileBadInput()
    {
        DataConnectionFile f;
        f.cnnString = QStringLiteral("kept");
        QString why;
        QVERIFY(!f.read("not a connection file\r\n", &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!f.read("KRMLDataConnectionFile\r\n###########\r\nCnnString=x\r\nSelTables=\r\n", &why));
        QVERIFY(why.contains(QStringLiteral("SelFields=")));
        QCOMPARE(f.cnnString, QStringLiteral("kept"));
    }
};

QTEST_APPLESS_MAIN(TestConnectionFiles)
#include "tst_connectionfiles.moc"
