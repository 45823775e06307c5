#include "LegacyReportFile.h"
#include "LocalFileService.h"
#include "ParameterMarker.h"
#include "ReportError.h"
#include "ReportSqlFile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

namespace {

ReportDefinition::Lookup regionLookup()
{
    ReportDefinition::Lookup l;
    l.mode = 2;
    l.displayField = QStringLiteral("RegionName");
    l.returnField = QStringLiteral("RegionID");
    l.sql = QStringLiteral("SELECT RegionID, RegionName FROM Regions WHERE RegionID IN (1, 2, 3)");
    return l;
}

QByteArray bytes(const char *text)
{
    return QByteArray(text);
}

} // namespace

class TestReportSqlFile : public QObject
{
    Q_OBJECT
private slots:
    void writerOutput_data()
    {
        QTest::addColumn<int>("parameters");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("no parameters, no statements")
            << 0 << bytes("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n0\r\ntablename=endreport");
        QTest::newRow("one lookup with commas in its SQL")
            << 1
            << bytes("marlowentallymasterfile\r\nnoofparams=1\r\n"
                     "p1=3,Region,2,RegionName,RegionID,SELECT RegionID, RegionName FROM Regions WHERE RegionID IN (1, 2, 3)\r\n"
                     "##########\r\n0\r\ntablename=endreport");
        QByteArray ten = "marlowentallymasterfile\r\nnoofparams=11\r\n";
        for (int i = 1; i <= 11; ++i)
            ten += QStringLiteral("p%1=%2,P%1\r\n").arg(i).arg(i % 3).toLatin1();
        ten += "##########\r\n0\r\ntablename=endreport";
        QTest::newRow("eleven parameters") << 11 << ten;
    }
    void writerOutput()
    {
        QFETCH(int, parameters);
        QFETCH(QByteArray, expected);
        ReportDefinition d;
        if (parameters == 1) {
            const auto l = regionLookup();
            d.addParameter(QStringLiteral("Region(Lookup)"), &l);
        } else {
            for (int i = 1; i <= parameters; ++i)
                d.addParameter(ParameterMarker::make(QStringLiteral("P%1").arg(i), i % 3));
        }
        QCOMPARE(ReportSqlFile::toText(d).toLatin1(), expected);
    }

    void writerStatements()
    {
        ReportDefinition d;
        d.addParameter(QStringLiteral("Customer(String)"));
        d.addParameter(QStringLiteral("Start(Date)"));
        d.addStatement(QStringLiteral("Orders"), QStringLiteral("SELECT *\r\nFROM Orders\r\nWHERE Placed > Start(Date)"));
        d.addStatement(QStringLiteral("Empty"), QString());
        d.addStatement(QStringLiteral("Café €"), QStringLiteral("SELECT 'ß'"));
        QTemporaryDir dir;
        LocalFileService files;
        const QString path = dir.filePath(QStringLiteral("r.mtq"));
        ReportSqlFile::write(files, path, d);
        QCOMPARE(files.readBytes(path),
                 QByteArray("marlowentallymasterfile\r\nnoofparams=2\r\np1=2,Customer\r\np2=0,Start\r\n##########\r\n3\r\n"
                            "tablename=Orders\r\nSELECT *\r\nFROM Orders\r\nWHERE Placed > Start(Date)\r\n"
                            "tablename=Empty\r\n\r\n"
                            "tablename=Caf\xE9 \x80\r\nSELECT '\xDF'\r\n"
                            "tablename=endreport"));
    }

    void statementLineBreaksWrittenAsCrLf_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("LF, as the editor's plain text") << "SELECT a\nFROM t\nWHERE a > 1";
        QTest::newRow("CR LF") << "SELECT a\r\nFROM t\r\nWHERE a > 1";
        QTest::newRow("CR alone") << "SELECT a\rFROM t\rWHERE a > 1";
        QTest::newRow("mixed") << "SELECT a\r\nFROM t\nWHERE a > 1";
        QTest::newRow("ending in LF") << "SELECT a\nFROM t\nWHERE a > 1\n";
    }
    void statementLineBreaksWrittenAsCrLf()
    {
        QFETCH(QString, sql);
        ReportDefinition d;
        d.addStatement(QStringLiteral("S"), sql);
        QCOMPARE(ReportSqlFile::toText(d).toLatin1(),
                 QByteArray("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                            "tablename=S\r\nSELECT a\r\nFROM t\r\nWHERE a > 1\r\ntablename=endreport"));
    }

    void lookupWithoutDetailsWritesNothing()
    {
        ReportDefinition d;
        d.addParameter(QStringLiteral("Region(Lookup)"));
        QTemporaryDir dir;
        LocalFileService files;
        const QString path = dir.filePath(QStringLiteral("r.mtq"));
        files.writeBytes(path, "old");
        try {
            ReportSqlFile::write(files, path, d);
            QFAIL("written");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ReportSqlFile::LookupInfoMissing);
            QCOMPARE(e.description(), QStringLiteral("Error Saving Parameter: Parameter Lookup Info Not Found"));
        }
        QCOMPARE(files.readBytes(path), QByteArray("old"));
    }

    void roundTrip()
    {
        ReportDefinition d;
        const auto l = regionLookup();
        d.addParameter(QStringLiteral("Region(Lookup)"), &l);
        for (int i = 0; i < 10; ++i)
            d.addParameter(ParameterMarker::make(QStringLiteral("N%1").arg(i), 1));
        d.addStatement(QStringLiteral("Orders"), QStringLiteral("SELECT *\r\nFROM Orders WHERE RegionID = Region(Lookup)"));
        d.addStatement(QStringLiteral("Orders"), QStringLiteral("SELECT 2")); // names need not be unique
        d.addStatement(QStringLiteral("Blank"), QString());
        const QByteArray file = ReportSqlFile::toText(d).toLatin1();

        ReportDefinition back;
        ParameterCollection shared;
        const auto r = ReportSqlFile::read(file, QStringLiteral("r.mtq"), back, &shared);
        QVERIFY2(r.ok(), qPrintable(r.message));
        QCOMPARE(back.parameters().size(), 11);
        QCOMPARE(back.parameters()[0].marker, QStringLiteral("Region(Lookup)"));
        QCOMPARE(back.parameters()[0].key(), QStringLiteral("Key1"));
        QCOMPARE(back.parameters()[10].marker, QStringLiteral("N9(Number)")); // p11 read like p1
        QCOMPARE(*back.lookup(1), l);
        QCOMPARE(back.statements().size(), 3);
        // Text read back ends with its line break.
        QCOMPARE(back.statements()[0].sql, QStringLiteral("SELECT *\r\nFROM Orders WHERE RegionID = Region(Lookup)\r\n"));
        QCOMPARE(back.statements()[2].sql, QStringLiteral("\r\n"));
        // Written again, the file is the same to the byte.
        QCOMPARE(ReportSqlFile::toText(back).toLatin1(), file);

        QCOMPARE(shared.Count(), 11);
        QCOMPARE(shared.Item(1).ParamType, 3);
        QCOMPARE(shared.Item(1).ParameterName, QStringLiteral("Region"));
        QCOMPARE(shared.Item(1).Mode, qint16(2));
        QCOMPARE(shared.Item(1).SQL, l.sql);
        QCOMPARE(shared.Item(2).ParamType, 1);
    }

    void readingMergesIntoExistingContent()
    {
        ReportDefinition d;
        d.addParameter(QStringLiteral("Existing(Date)"));
        d.addStatement(QStringLiteral("First"), QStringLiteral("SELECT 1"));
        const QByteArray file = "marlowentallymasterfile\r\nnoofparams=1\r\np1=2,Name\r\n##########\r\n1\r\n"
                                "tablename=Second\r\nSELECT 2\r\ntablename=endreport";
        QVERIFY(ReportSqlFile::read(file, QStringLiteral("x.mtq"), d).ok());
        QCOMPARE(d.parameters().size(), 2);
        QCOMPARE(d.parameters()[1].marker, QStringLiteral("Name(String)"));
        QCOMPARE(d.parameters()[1].keyNumber, 2);
        QCOMPARE(d.statements().size(), 2);
        QCOMPARE(d.statements()[1].name, QStringLiteral("Second"));
        // The positions written next are the new list positions.
        QVERIFY(ReportSqlFile::toText(d).contains(QStringLiteral("p2=2,Name\r\n")));
    }

    void endreportEndsTheStatements()
    {
        const QByteArray file = "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n3\r\n"
                                "tablename=A\r\nSELECT 1\r\ntablename=endreport\r\nSELECT 2\r\ntablename=C\r\nSELECT 3\r\n"
                                "tablename=endreport";
        ReportDefinition d;
        QVERIFY(ReportSqlFile::read(file, QStringLiteral("x.mtq"), d).ok());
        QCOMPARE(d.statements().size(), 1);
        QCOMPARE(d.statements()[0].name, QStringLiteral("A"));
    }

    void lfOnlyFilesRead()
    {
        const QByteArray file = "marlowentallymasterfile\nnoofparams=0\n##########\n1\ntablename=A\nSELECT 1\ntablename=endreport\n";
        ReportDefinition d;
        QVERIFY(ReportSqlFile::read(file, QStringLiteral("x.mtq"), d).ok());
        QCOMPARE(d.statements()[0].sql, QStringLiteral("SELECT 1\r\n"));
    }

    void badFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong magic") << bytes("marlowentallymasterfilex\r\nnoofparams=0\r\n") << int(ReportSqlFile::ReadResult::NotValid)
                                     << "This is not a valid Marlowen Report";
        QTest::newRow("magic in another case") << bytes("MarlowenTallyMasterFile\r\n") << int(ReportSqlFile::ReadResult::NotValid)
                                               << "This is not a valid Marlowen Report";
        QTest::newRow("empty file") << QByteArray() << int(ReportSqlFile::ReadResult::NotValid)
                                    << "This is not a valid Marlowen Report";
        QTest::newRow("count not a number") << bytes("marlowentallymasterfile\r\nnoofparams=two\r\n")
                                            << int(ReportSqlFile::ReadResult::Malformed)
                                            << "The report SQL file \"bad.mtq\" cannot be read: line 2: \"noofparams=two\" does not give the number of parameters.";
        QTest::newRow("parameter line without comma") << bytes("marlowentallymasterfile\r\nnoofparams=1\r\np1=2Customer\r\n")
                                                      << int(ReportSqlFile::ReadResult::Malformed)
                                                      << "The report SQL file \"bad.mtq\" cannot be read: line 3: a parameter line without the comma after its type code.";
        QTest::newRow("type not a digit") << bytes("marlowentallymasterfile\r\nnoofparams=1\r\np1=x,Customer\r\n")
                                          << int(ReportSqlFile::ReadResult::Malformed)
                                          << "The report SQL file \"bad.mtq\" cannot be read: line 3: the parameter type \"x\" is not one of 0, 1, 2 and 3.";
        QTest::newRow("lookup without its fields") << bytes("marlowentallymasterfile\r\nnoofparams=1\r\np1=3,Region,1,RegionName\r\n")
                                                   << int(ReportSqlFile::ReadResult::Malformed)
                                                   << "The report SQL file \"bad.mtq\" cannot be read: line 3: a lookup parameter line without all of its fields.";
        QTest::newRow("fewer parameter lines than counted")
            << bytes("marlowentallymasterfile\r\nnoofparams=3\r\np1=1,A\r\n") << int(ReportSqlFile::ReadResult::Malformed)
            << "The report SQL file \"bad.mtq\" cannot be read: line 3: the file ends before \"tablename=endreport\".";
        QTest::newRow("statement count not a number")
            << bytes("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\nmany\r\n") << int(ReportSqlFile::ReadResult::Malformed)
            << "The report SQL file \"bad.mtq\" cannot be read: line 4: \"many\" is not a number of statements.";
        QTest::newRow("truncated in a statement")
            << bytes("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\ntablename=A\r\nSELECT 1\r\n")
            << int(ReportSqlFile::ReadResult::Malformed)
            << "The report SQL file \"bad.mtq\" cannot be read: line 6: the file ends before \"tablename=endreport\".";
    }
    void badFilesChangeNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(QString, message);
        ReportDefinition d;
        d.addParameter(QStringLiteral("Kept(Number)"));
        d.addStatement(QStringLiteral("Kept"), QStringLiteral("SELECT 1"));
        const ReportDefinition before = d;
        ParameterCollection shared;
        const auto r = ReportSqlFile::read(file, QStringLiteral("bad.mtq"), d, &shared);
        QCOMPARE(int(r.status), status);
        QCOMPARE(r.message, message);
        QVERIFY(d == before);
        QCOMPARE(shared.Count(), 0);
    }

    void missingFileIsReported()
    {
        ReportDefinition d;
        LocalFileService files;
        const auto r = ReportSqlFile::readFile(files, QStringLiteral("/no/such/folder/SQL.mtq"), d);
        QCOMPARE(int(r.status), int(ReportSqlFile::ReadResult::Malformed));
        QVERIFY(r.message.contains(QStringLiteral("SQL.mtq")));
    }

    void legacyImport_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sql");
        QTest::newRow("no statement count, no header")
            << bytes("kwmtallymasterfile\r\nreporttype=\r\nnoofparams=2\r\np1=2,Customer\r\np2=3,Region,RegionName,RegionID,Regions\r\n"
                     "SELECT * FROM Orders WHERE Customer = %v#p1% AND RegionID = %V#P2%\r\nORDER BY 1\r\n")
            << QStringList{"ReportDetails"}
            << QStringList{"SELECT * FROM Orders WHERE Customer = Customer(String) AND RegionID = Region(Lookup)\r\nORDER BY 1\r\n"};
        QTest::newRow("with a statement count")
            << bytes("kwmtallymasterfile\r\nreporttype=multi\r\nnoofparams=1\r\np1=0,Start\r\nskipped\r\n2\r\nskipped too\r\n"
                     "tablename=Orders\r\nSELECT 1 WHERE d > %v#p1%\r\ntablename=Lines\r\nSELECT 2\r\ntablename=endreport")
            << QStringList{"Orders", "Lines"} << QStringList{"SELECT 1 WHERE d > Start(Date)\r\n", "SELECT 2\r\n"};
        QTest::newRow("second statement without header keeps the name")
            << bytes("kwmtallymasterfile\r\nk= x \r\nnoofparams=0\r\n-\r\n2\r\n-\r\nSELECT 1\r\n")
            << QStringList{"ReportDetails"} << QStringList{"SELECT 1\r\n"};
    }
    void legacyImport()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, names);
        QFETCH(QStringList, sql);
        ReportDefinition d;
        const auto r = LegacyReportFile::import(file, QStringLiteral("old.kwr"), d);
        QVERIFY2(r.ok(), qPrintable(r.message));
        QStringList gotNames, gotSql;
        for (const auto &s : d.statements()) {
            gotNames << s.name;
            gotSql << s.sql;
        }
        QCOMPARE(gotNames, names);
        QCOMPARE(gotSql, sql);
    }

    void legacyLookupsBecomeTableLookups()
    {
        ReportDefinition d;
        QVERIFY(LegacyReportFile::import("kwmtallymasterfile\r\nx=\r\nnoofparams=1\r\np1=3,Region,RegionName,RegionID,Regions\r\nSELECT 1\r\n",
                                         QStringLiteral("old.kwr"), d)
                    .ok());
        const auto *l = d.lookup(d.parameters()[0].keyNumber);
        QVERIFY(l);
        QCOMPARE(l->sql, QStringLiteral("SELECT * FROM Regions"));
        QCOMPARE(l->mode, qint16(1));
        QCOMPARE(l->displayField, QStringLiteral("RegionName"));
        QCOMPARE(l->returnField, QStringLiteral("RegionID"));
    }

    void legacyBadFiles()
    {
        ReportDefinition d;
        auto r = LegacyReportFile::import("marlowentallymasterfile\r\n", QStringLiteral("old.kwr"), d);
        QCOMPARE(int(r.status), int(ReportSqlFile::ReadResult::NotValid));
        QCOMPARE(r.message, QStringLiteral("This is not a valid Kindlewood Report"));
        r = LegacyReportFile::import("kwmtallymasterfile\r\nx=\r\nnoofparams=2\r\np1=1,A\r\n", QStringLiteral("old.kwr"), d);
        QCOMPARE(int(r.status), int(ReportSqlFile::ReadResult::Malformed));
        QVERIFY(r.message.contains(QStringLiteral("old.kwr")));
        QVERIFY(d.parameters().isEmpty());
    }

    void statementNamesForTheLists()
    {
        QTemporaryDir dir;
        LocalFileService files;
        const QString path = dir.filePath(QStringLiteral("SQL.mtq"));
        QCOMPARE(ReportSqlFile::statementNames(files, path, {QStringLiteral("kept")}), QStringList{"kept"});
        files.writeBytes(path, "marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n2\r\n"
                               "tablename=Orders\r\nSELECT * FROM Orders\r\ntablename=orders\r\nSELECT 1\r\n"
                               "tablename=endreport");
        QCOMPARE(ReportSqlFile::statementNames(files, path, {QStringLiteral("old")}),
                 (QStringList{"Orders", "orders"}));
    }
};

QTEST_APPLESS_MAIN(TestReportSqlFile)
#include "tst_reportsqlfile.moc"
