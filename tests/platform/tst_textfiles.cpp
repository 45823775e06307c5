#include "CodePage.h"
#include "LocalFileService.h"
#include "PathNames.h"
#include "ProcessTempNames.h"
#include "ReportError.h"
#include "TextReader.h"
#include "TextWriter.h"
#include "Windows1252Codec.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

class TestTextFiles : public QObject
{
    Q_OBJECT

    QByteArray readRaw(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray("<unreadable>");
        return f.readAll();
    }

private slots:
    void codePages_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("1252") << 1252 << QStringLiteral("Café € „x“") << QByteArray("Caf\xe9 \x80 \x84x\x93");
        QTest::newRow("1251") << 1251 << QStringLiteral("Привет №1") << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2 \xb9" "1");
        QTest::newRow("1250") << 1250 << QStringLiteral("Łódź") << QByteArray("\xa3\xf3\x64\x9f");
        QTest::newRow("1253") << 1253 << QStringLiteral("Αθήνα") << QByteArray("\xc1\xe8\xde\xed\xe1");
        QTest::newRow("1254") << 1254 << QStringLiteral("İstanbul ş") << QByteArray("\xddstanbul \xfe");
        QTest::newRow("1257") << 1257 << QStringLiteral("Rīga") << QByteArray("R\xeega");
        QTest::newRow("874") << 874 << QStringLiteral("ไทย") << QByteArray("\xe4\xb7\xc2");
        QTest::newRow("932") << 932 << QStringLiteral("日本") << QByteArray("\x93\xfa\x96\x7b");
        QTest::newRow("936") << 936 << QStringLiteral("中文") << QByteArray("\xd6\xd0\xce\xc4");
        QTest::newRow("949") << 949 << QStringLiteral("한국") << QByteArray("\xc7\xd1\xb1\xb9");
        QTest::newRow("950") << 950 << QStringLiteral("中文") << QByteArray("\xa4\xa4\xa4\xe5");
    }
    void codePages()
    {
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QVERIFY(CodePage::isSupported(page));
        const CodePage cp(page);
        QCOMPARE(cp.encode(text), bytes);
        QCOMPARE(cp.decode(bytes), text);
        QCOMPARE(cp.unencodableAt(text), qsizetype(-1));
    }

    void everyByteOfASingleBytePageRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        for (int page : {1250, 1251, 1252, 1253, 1254, 1257})
            QCOMPARE(CodePage(page).encode(CodePage(page).decode(all)), all);
    }

    void aCharacterThePageCannotHoldIsRefused()
    {
        const CodePage western(1252);
        const QString text = QStringLiteral("line one\r\nПродажи");
        QCOMPARE(western.unencodableAt(text), qsizetype(10));
        try {
            western.encode(text);
            QFAIL("written");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 17);
            QCOMPARE(e.description(), QStringLiteral("The character \"П\" (U+041F) cannot be written in code page 1252 "
                                                     "(line 2: Продажи). Remove it, or choose a code page that holds it."));
        }
        // Outside the basic plane, and in a double-byte page.
        QCOMPARE(CodePage(1251).unencodableAt(QStringLiteral("ab😀")), qsizetype(2));
        QCOMPARE(CodePage(932).unencodableAt(QStringLiteral("日本€")), qsizetype(2));
        // A writer writes nothing when a line cannot be written.
        QTemporaryDir dir;
        LocalFileService files;
        const QString path = dir.filePath(QStringLiteral("w.txt"));
        TextWriter w(files, path, TextWriter::Mode::Write, CodePage(1252));
        QVERIFY_THROWS_EXCEPTION(ReportError, w.writeLine(QStringLiteral("Ж")));
        QVERIFY(!QFileInfo::exists(path));
    }

    void unknownPagesAreRefused()
    {
        for (int page : {0, 437, 65001, 1259})
            QVERIFY(!CodePage::isSupported(page));
        QVERIFY_THROWS_EXCEPTION(ReportError, CodePage(437));
    }

    void codecRoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Windows1252Codec::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Windows1252Codec::encode(text), all);
    }

    void codecTypographicCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
        QTest::newRow("e acute") << QStringLiteral("é") << QByteArray("\xE9");
        QTest::newRow("sharp s") << QStringLiteral("ß") << QByteArray("\xDF");
        QTest::newRow("quotes") << QStringLiteral("“x”") << QByteArray("\x93x\x94");
        QTest::newRow("dash and ellipsis") << QStringLiteral("–…") << QByteArray("\x96\x85");
        QTest::newRow("Œ and Ÿ") << QStringLiteral("ŒŸ") << QByteArray("\x8C\x9F");
        QTest::newRow("not in the code page") << QStringLiteral("Ω") << QByteArray("?");
        QTest::newRow("emoji is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
    }
    void codecTypographicCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Windows1252Codec::encode(text), bytes);
        if (!bytes.contains('?'))
            QCOMPARE(Windows1252Codec::decode(bytes), text);
    }

    void writerWritesCp1252WithCrLf()
    {
        QTemporaryDir dir;
        LocalFileService files;
        const QString path = dir.filePath(QStringLiteral("out.txt"));
        TextWriter w(files, path);
        w.writeLine(QStringLiteral("Caption=Café €5"));
        w.write(QStringLiteral("tablename=endreport"));
        QVERIFY(!QFileInfo::exists(path)); // nothing reaches the disk before close
        w.close();
        QCOMPARE(readRaw(path), QByteArray("Caption=Caf\xE9 \x80" "5\r\ntablename=endreport"));

        TextWriter a(files, path, TextWriter::Mode::Append);
        a.writeLine();
        a.writeLine(QStringLiteral("ß"));
        a.close();
        QCOMPARE(readRaw(path), QByteArray("Caption=Caf\xE9 \x80" "5\r\ntablename=endreport\r\n\xDF\r\n"));
    }

    void readerSplitsLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loneCrEnds");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << false << QStringList{"a", "b"};
        QTest::newRow("no final line end") << QByteArray("a\r\nb") << false << QStringList{"a", "b"};
        QTest::newRow("lf only") << QByteArray("a\nb\n") << false << QStringList{"a", "b"};
        QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\nb") << false << QStringList{"a", "", "b"};
        QTest::newRow("lone cr stays in the line") << QByteArray("a\rb\r\n") << false << QStringList{"a\rb"};
        QTest::newRow("empty file") << QByteArray() << false << QStringList{};
        QTest::newRow("only a line end") << QByteArray("\r\n") << false << QStringList{""};
        // Where the reader is told that a lone CR ends a line.
        QTest::newRow("cr only, ending lines") << QByteArray("a\rb\r") << true << QStringList{"a", "b"};
        QTest::newRow("crlf still one line end") << QByteArray("a\r\nb\r\n") << true << QStringList{"a", "b"};
        QTest::newRow("lf, cr ending lines") << QByteArray("a\nb") << true << QStringList{"a", "b"};
        QTest::newRow("all three mixed") << QByteArray("a\rb\nc\r\nd") << true << QStringList{"a", "b", "c", "d"};
        QTest::newRow("empty lines kept, cr ending lines") << QByteArray("a\r\rb\r") << true << QStringList{"a", "", "b"};
    }
    void readerSplitsLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loneCrEnds);
        QFETCH(QStringList, lines);
        TextReader r = TextReader::fromBytes(bytes, loneCrEnds ? TextReader::LoneCr::EndsLine : TextReader::LoneCr::InLine);
        QStringList got;
        while (!r.atEnd())
            got.append(r.readLine());
        QCOMPARE(got, lines);
    }

    void readerPastEndFails()
    {
        TextReader r = TextReader::fromBytes("one\r\n");
        r.skipLine();
        QVERIFY(r.atEnd());
        try {
            r.readLine();
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 62);
        }
    }

    void readerReadAllJoinsRest()
    {
        TextReader r = TextReader::fromBytes("h\r\nx\ny\r\n");
        r.skipLine();
        QCOMPARE(r.readAll(), QStringLiteral("x\r\ny"));
        QVERIFY(r.atEnd());
    }

    void workingFilesFoundWithoutRegardToCase()
    {
        QTemporaryDir dir;
        LocalFileService files;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Temp")));
        files.writeBytes(dir.filePath(QStringLiteral("Temp/SQL.mtq")), "x");
        // Both spellings of the system name one file, with either separator.
        const QString lower = dir.path() + QStringLiteral("\\temp\\sql.mtq");
        QVERIFY(files.fileExists(lower));
        QCOMPARE(files.readBytes(lower), QByteArray("x"));
        files.writeBytes(lower, "y");
        QCOMPARE(QDir(dir.filePath(QStringLiteral("Temp"))).entryList(QDir::Files), QStringList{"SQL.mtq"});
        QCOMPARE(readRaw(dir.filePath(QStringLiteral("Temp/SQL.mtq"))), QByteArray("y"));
        QVERIFY(files.folderExists(dir.path() + QStringLiteral("/TEMP")));
        QVERIFY(!files.fileExists(dir.path() + QStringLiteral("/temp/other.mtq")));
    }

    void pathNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("normalized");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("folder");
        QTest::newRow("backslashes") << "C:\\App\\Temp\\SQL.mtq" << "C:/App/Temp/SQL.mtq" << "SQL.mtq" << "C:/App/Temp";
        QTest::newRow("doubled") << "/a//b\\\\c" << "/a/b/c" << "c" << "/a/b";
        QTest::newRow("bare name") << "Layout.krml" << "Layout.krml" << "Layout.krml" << "";
        QTest::newRow("root file") << "/x" << "/x" << "x" << "/";
    }
    void pathNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, normalized);
        QFETCH(QString, base);
        QFETCH(QString, folder);
        QCOMPARE(PathNames::normalize(path), normalized);
        QCOMPARE(PathNames::baseName(path), base);
        QCOMPARE(PathNames::folderOf(path), folder);
        QCOMPARE(PathNames::join(QStringLiteral("/app\\"), QStringLiteral("\\Temp")), QStringLiteral("/app/Temp"));
    }

    void folderOperations()
    {
        QTemporaryDir dir;
        LocalFileService files;
        const QString folder = dir.filePath(QStringLiteral("stage"));
        files.createFolder(folder);
        QVERIFY(files.folderExists(folder));
        QVERIFY_THROWS_EXCEPTION(ReportError, files.createFolder(folder));
        files.writeBytes(folder + QStringLiteral("/a.txt"), "a");
        // A folder that still holds files is not deleted.
        QVERIFY_THROWS_EXCEPTION(ReportError, files.deleteFolder(folder));
        QVERIFY(files.folderExists(folder));
        files.copyFile(folder + QStringLiteral("/a.txt"), folder + QStringLiteral("/b.txt"));
        files.writeBytes(folder + QStringLiteral("/b.txt"), "bb");
        files.copyFile(folder + QStringLiteral("/a.txt"), folder + QStringLiteral("/B.TXT")); // copy over, any case
        QCOMPARE(files.readBytes(folder + QStringLiteral("/b.txt")), QByteArray("a"));
        QCOMPARE(files.listFiles(folder), (QStringList{"a.txt", "b.txt"}));
        files.deleteFile(folder + QStringLiteral("/a.txt"));
        files.deleteFile(folder + QStringLiteral("/b.txt"));
        files.deleteFolder(folder);
        QVERIFY(!files.folderExists(folder));
    }

    void failuresCarryNumbersAndNames()
    {
        QTemporaryDir dir;
        LocalFileService files;
        const QString missing = dir.filePath(QStringLiteral("missing.txt"));
        try {
            files.readBytes(missing);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 53);
            QVERIFY(e.description().contains(QStringLiteral("missing.txt")));
        }
        try {
            files.writeBytes(dir.filePath(QStringLiteral("no/such/folder/x.txt")), "x");
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 76);
        }
        QVERIFY_THROWS_EXCEPTION(ReportError, files.deleteFile(missing));
        QVERIFY_THROWS_EXCEPTION(ReportError, files.copyFile(missing, dir.filePath(QStringLiteral("y"))));
    }

    void writerDroppedWithoutCloseWritesNothing()
    {
        QTemporaryDir dir;
        LocalFileService files;
        const QString path = dir.filePath(QStringLiteral("half.txt"));
        files.writeBytes(path, "whole");
        {
            TextWriter w(files, path);
            w.writeLine(QStringLiteral("half"));
        }
        QCOMPARE(readRaw(path), QByteArray("whole"));
    }

    void tempNamesAreUniqueAndCleanedUp()
    {
        QString folder;
        {
            ProcessTempNames names;
            folder = names.folder();
            QSet<QString> seen;
            for (int i = 0; i < 200; ++i) {
                const QString n = names.newName(QStringLiteral("~"), QStringLiteral(".tmp"));
                QVERIFY(PathNames::baseName(n).startsWith(QLatin1Char('~')));
                QVERIFY(n.endsWith(QStringLiteral(".tmp")));
                QVERIFY(!seen.contains(n));
                seen.insert(n);
            }
            const QString bmp = names.newName(QStringLiteral("~"), QStringLiteral("bmp"));
            QVERIFY(bmp.endsWith(QStringLiteral(".bmp")));
            QFile f(bmp);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
            f.close();
            QVERIFY(QFileInfo::exists(folder));
        }
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_APPLESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
