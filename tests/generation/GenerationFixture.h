#pragma once

#include "DbConnection.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "SqliteEngine.h"

#include <QDir>
#include <QTemporaryDir>

namespace KRML_ReportGen {

// A host folder with a small sales database and a working report SQL file,
// the shared connection open on it.
struct GenerationFixture
{
    QTemporaryDir app;
    LocalFileService files;

    static QByteArray defaultSql()
    {
        return "marlowentallymasterfile\r\nnoofparams=3\r\n"
               "p1=3,Region,1,RegionName,RegionID,SELECT * FROM Regions ORDER BY RegionID\r\n"
               "p2=0,Start\r\n"
               "p3=2,Who\r\n"
               "##########\r\n5\r\n"
               "tablename=Orders\r\nSELECT OrderID, Customer, Total, Qty, Note FROM Orders\r\nWHERE RegionID = Region(Lookup) ORDER BY OrderID\r\n"
               "tablename=Regions\r\nSELECT RegionName FROM Regions ORDER BY RegionID\r\n"
               "tablename=Since\r\nSELECT OrderID FROM Orders WHERE OrderDate >= Start(Date) ORDER BY OrderID\r\n"
               "tablename=Named\r\nSELECT OrderID FROM Orders WHERE Customer = Who(String)\r\n"
               "tablename=AllOrders\r\nSELECT OrderID, Customer, Total FROM Orders ORDER BY OrderID\r\n"
               "tablename=endreport";
    }

    explicit GenerationFixture(const QByteArray &sql = defaultSql())
    {
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(app.path());
        const QString db = app.filePath(QStringLiteral("sales.db"));
        SqliteEngine::create(db)->runScript(QStringLiteral(
            "CREATE TABLE Regions (RegionID INTEGER, RegionName VARCHAR(30), Opened DATE);"
            "INSERT INTO Regions VALUES (1, 'North', '2001-01-01'), (2, 'South', '2002-02-02'), (3, 'O''Brien Land', '2003-03-03');"
            "CREATE TABLE Orders (OrderID INTEGER, RegionID INTEGER, Customer VARCHAR(40), Total CURRENCY, Qty INTEGER,"
            " OrderDate DATE, Note TEXT);"
            "INSERT INTO Orders VALUES (1, 2, 'Ann', 150, 4, '2024-01-10', 'first'),"
            " (2, 2, 'Bob', 20.5, 0, '2024-02-11', NULL),"
            " (3, 2, 'Cy', 7, 7, '2024-03-12', 'third'),"
            " (4, 3, 'O''Hara', 99, 3, '2024-04-13', NULL);"));
        QDir(app.path()).mkpath(QStringLiteral("Temp"));
        files.writeBytes(app.filePath(QStringLiteral("Temp/SQL.mtq")), sql);
        ModuleState::current().data().setRDDataConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + db);
    }
    ~GenerationFixture() { ModuleState::current().reset(); }

    // A visible label in a 10-point font: 240-twip lines and 100-twip
    // characters on the recording surface.
    static int label(LayoutPage &page, float left, float top, float height, const QString &caption,
                     const QString &tag = QString())
    {
        const int i = page.createLabel();
        LayoutLabel &l = page.Label(i);
        l.Left = left;
        l.Top = top;
        l.Height = height;
        l.Caption = caption;
        l.Tag = tag;
        l.Font.size = 10;
        l.Visible = true;
        return i;
    }
};

} // namespace KRML_ReportGen
