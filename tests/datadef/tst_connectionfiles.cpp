#include "DataConnectionFile.h"
#include "DataSource.h"
#include "LocalFileService.h"
#include "ReportError.h"
#include "WorkingConnectionFile.h"

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
