#include "CGUnzipFiles.h"
#include "CGZipFiles.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "ReportError.h"
#include "ScriptedPrompts.h"
#include "TestData.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

namespace {

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every file below a folder, relative to it.
QStringList tree(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

QString run(const QString &program, const QStringList &args, int *exitCode = nullptr, const QString &cwd = QString())
{
    QProcess p;
    if (!cwd.isEmpty())
        p.setWorkingDirectory(cwd);
    p.start(program, args);
    p.waitForFinished(30000);
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
}

} // namespace

class TestZipClasses : public QObject
{
    Q_OBJECT
private slots:
    void init() { ModuleState::current().reset(); }

    void fileListRules()
    {
        CGZipFiles zip;
        QCOMPARE(zip.ZipFileCount(), 0);
        zip.AddFile(QStringLiteral("/tmp/a.txt"));
        zip.AddFile(QStringLiteral("/tmp/b.txt"));
        QCOMPARE(zip.ZipFileCount(), 2);
        try {
            zip.AddFile(QStringLiteral("/TMP/A.TXT"));
            QFAIL("added twice");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), qint32(0x800407D1));
            QCOMPARE(e.source(), QStringLiteral("CGZip::AddFile"));
            QCOMPARE(e.description(), QStringLiteral("File is already in Zip List"));
        }
        try {
            zip.RemoveFile(QStringLiteral("/tmp/never.txt"));
            QFAIL("removed");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), qint32(0x800407D2));
            QCOMPARE(e.source(), QStringLiteral("CGZip::RemoveFile"));
            QCOMPARE(e.description(), QStringLiteral("File is not in Zip List"));
        }
        zip.RemoveFile(QStringLiteral("/tmp/A.txt"));
        QCOMPARE(zip.ZipFileCount(), 1);
        // The placeholder is no file and cannot be added again.
        QVERIFY_THROWS_EXCEPTION(ReportError, zip.AddFile(QStringLiteral("querty")));
    }

    void booleansAreKeptAsOneAndZero()
    {
        CGZipFiles zip;
        QCOMPARE(zip.RootDirectory(), QStringLiteral("\\"));
        zip.setEncrypted(true);
        QVERIFY(zip.Encrypted());
        CGUnzipFiles unzip;
        QVERIFY(unzip.HonorDirectories());
        QVERIFY(unzip.OverWriteFiles());
        QVERIFY(unzip.CaseSensitive());
        QVERIFY(!unzip.PromptOverwrite());
        QCOMPARE(unzip.MessageLevel(), 2);
        QCOMPARE(VbBool(true).raw(), qint16(1));
        QCOMPARE(VbBool(false).raw(), qint16(0));
    }

    void ninetyNineFilesAndNoMore()
    {
        QTemporaryDir dir;
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("many.zip")));
        for (int i = 1; i <= 99; ++i) {
            const QString f = dir.filePath(QStringLiteral("f%1.txt").arg(i));
            writeFile(f, QByteArray::number(i));
            zip.AddFile(f);
        }
        QCOMPARE(zip.MakeZipFile(), 0);
        const QString extra = dir.filePath(QStringLiteral("f100.txt"));
        writeFile(extra, "100");
        zip.AddFile(extra);
        QVERIFY(QFile::remove(zip.ZipFileName()));
        try {
            zip.MakeZipFile();
            QFAIL("a 100th file was archived");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 9);
            QCOMPARE(e.source(), QStringLiteral("CGZipFiles::MakeZipFile"));
        }
        QVERIFY(!QFileInfo::exists(zip.ZipFileName()));
    }

    void archivesAreReadByInfoZip()
    {
        const QString unzipTool = QStandardPaths::findExecutable(QStringLiteral("unzip"));
        if (unzipTool.isEmpty())
            QSKIP("Info-ZIP unzip is not installed");
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("stage/Layout.krml")), "KRMLLayoutFile\r\n");
        writeFile(dir.filePath(QStringLiteral("stage/Picture1.bmp")), QByteArray(5000, 'x'));
        CGZipFiles zip;
        zip.setEncrypted(true); // reported back, never applied
        zip.setZipFileName(dir.filePath(QStringLiteral("out.lrd")));
        zip.AddFile(dir.filePath(QStringLiteral("stage/Layout.krml")));
        zip.AddFile(dir.filePath(QStringLiteral("stage/Picture1.bmp")));
        QCOMPARE(zip.MakeZipFile(), 0);
        QVERIFY(zip.GetLastMessage().contains(QStringLiteral("adding: Layout.krml")));
        int code = -1;
        const QString test = run(unzipTool, {QStringLiteral("-t"), zip.ZipFileName()}, &code);
        QCOMPARE(code, 0);
        QVERIFY2(test.contains(QStringLiteral("No errors detected")), qPrintable(test));
        // Members are stored by name, in list order, without folders.
        const QString list = run(unzipTool, {QStringLiteral("-Z1"), zip.ZipFileName()});
        QCOMPARE(list.split(QLatin1Char('\n'), Qt::SkipEmptyParts), (QStringList{"Layout.krml", "Picture1.bmp"}));
    }

    void infoZipArchivesExtract()
    {
        const QString zipTool = QStandardPaths::findExecutable(QStringLiteral("zip"));
        if (zipTool.isEmpty())
            QSKIP("Info-ZIP zip is not installed");
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("src/a.txt")), "alpha\n");
        writeFile(dir.filePath(QStringLiteral("src/sub dir/b.txt")), "beta\nline\n");
        int code = -1;
        run(zipTool, {QStringLiteral("-r"), QStringLiteral("../made.zip"), QStringLiteral(".")}, &code, dir.filePath(QStringLiteral("src")));
        QCOMPARE(code, 0);

        CGUnzipFiles unzip;
        QCOMPARE(unzip.Unzip(dir.filePath(QStringLiteral("made.zip")), dir.filePath(QStringLiteral("out"))), 0);
        QCOMPARE(tree(dir.filePath(QStringLiteral("out"))), (QStringList{"a.txt", "sub dir/b.txt"}));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("out/sub dir/b.txt"))), QByteArray("beta\nline\n"));

        // Without folders, every member lands directly in the folder; an
        // empty archive path means the one set before.
        CGUnzipFiles flat;
        flat.setZipFileName(dir.filePath(QStringLiteral("made.zip")));
        flat.setHonorDirectories(false);
        flat.setSpaceToUnderScore(true);
        flat.setConvertCRtoCRLF(true);
        QCOMPARE(flat.Unzip(QString(), dir.filePath(QStringLiteral("flat"))), 0);
        QCOMPARE(tree(dir.filePath(QStringLiteral("flat"))), (QStringList{"a.txt", "b.txt"}));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flat/b.txt"))), QByteArray("beta\r\nline\r\n"));

        CGUnzipFiles spaces;
        spaces.setSpaceToUnderScore(true);
        QCOMPARE(spaces.Unzip(dir.filePath(QStringLiteral("made.zip")), dir.filePath(QStringLiteral("sp"))), 0);
        QCOMPARE(tree(dir.filePath(QStringLiteral("sp"))), (QStringList{"a.txt", "sub_dir/b.txt"}));
    }

    void testAndListWriteNothing()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("a.txt")), "a");
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("t.zip")));
        zip.AddFile(dir.filePath(QStringLiteral("a.txt")));
        QCOMPARE(zip.MakeZipFile(), 0);
        CGUnzipFiles test;
        test.setTestZip(true);
        QCOMPARE(test.Unzip(zip.ZipFileName(), dir.filePath(QStringLiteral("none"))), 0);
        QVERIFY(test.GetLastMessage().contains(QStringLiteral("testing: a.txt")));
        CGUnzipFiles list;
        list.setExtractList(1);
        QCOMPARE(list.Unzip(zip.ZipFileName(), dir.filePath(QStringLiteral("none"))), 0);
        QVERIFY(list.GetLastMessage().contains(QStringLiteral("a.txt")));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("none"))));
        CGUnzipFiles bad;
        bad.setMessageLevel(70000);
        QVERIFY_THROWS_EXCEPTION(ReportError, bad.Unzip(zip.ZipFileName(), dir.filePath(QStringLiteral("none"))));
    }

    void overwriteRules()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("src/a.txt")), "new a");
        writeFile(dir.filePath(QStringLiteral("src/b.txt")), "new b");
        writeFile(dir.filePath(QStringLiteral("src/c.txt")), "new c");
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("o.zip")));
        for (const char *n : {"a", "b", "c"})
            zip.AddFile(dir.filePath(QStringLiteral("src/%1.txt").arg(QLatin1String(n))));
        QCOMPARE(zip.MakeZipFile(), 0);
        const QString out = dir.filePath(QStringLiteral("out"));
        for (const char *n : {"a", "b", "c"})
            writeFile(out + QStringLiteral("/%1.txt").arg(QLatin1String(n)), "old");

        // Neither overwrite nor prompt: existing files are kept.
        CGUnzipFiles keep;
        keep.setOverWriteFiles(false);
        QCOMPARE(keep.Unzip(zip.ZipFileName(), out), 0);
        QCOMPARE(readFile(out + QStringLiteral("/a.txt")), QByteArray("old"));

        // Ask: Yes replaces, No skips.
        ScriptedPrompts prompts;
        prompts.answer(6);
        prompts.answer(7);
        prompts.answer(6);
        CGUnzipFiles ask(&prompts);
        ask.setOverWriteFiles(false);
        ask.setPromptOverwrite(true);
        QCOMPARE(ask.Unzip(zip.ZipFileName(), out), 0);
        QCOMPARE(prompts.calls.size(), 3);
        QCOMPARE(prompts.calls[0].text, QStringLiteral("Overwrite %1/a.txt?").arg(QDir(out).path()));
        QCOMPARE(prompts.calls[0].title, QStringLiteral("VBUnZip32 - File Already Exists!"));
        QCOMPARE(prompts.calls[0].style, 3 + 48);
        QCOMPARE(readFile(out + QStringLiteral("/a.txt")), QByteArray("new a"));
        QCOMPARE(readFile(out + QStringLiteral("/b.txt")), QByteArray("old"));
        QCOMPARE(readFile(out + QStringLiteral("/c.txt")), QByteArray("new c"));

        // Cancel: this file and every further one are skipped.
        writeFile(out + QStringLiteral("/a.txt"), "old");
        writeFile(out + QStringLiteral("/c.txt"), "old");
        ScriptedPrompts cancel;
        cancel.answer(2);
        CGUnzipFiles stop(&cancel);
        stop.setOverWriteFiles(false);
        stop.setPromptOverwrite(true);
        QCOMPARE(stop.Unzip(zip.ZipFileName(), out), 0);
        QCOMPARE(cancel.calls.size(), 1);
        QCOMPARE(readFile(out + QStringLiteral("/c.txt")), QByteArray("old"));
    }

    void newerRules()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("src/a.txt")), "member a");
        writeFile(dir.filePath(QStringLiteral("src/b.txt")), "member b");
        const QDateTime memberTime = QDateTime::currentDateTime().addDays(-1);
        for (const char *n : {"a", "b"}) {
            QFile f(dir.filePath(QStringLiteral("src/%1.txt").arg(QLatin1String(n))));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(memberTime, QFileDevice::FileModificationTime));
        }
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("n.zip")));
        zip.AddFile(dir.filePath(QStringLiteral("src/a.txt")));
        zip.AddFile(dir.filePath(QStringLiteral("src/b.txt")));
        QCOMPARE(zip.MakeZipFile(), 0);

        const QString out = dir.filePath(QStringLiteral("out"));
        writeFile(out + QStringLiteral("/a.txt"), "older file");
        QFile a(out + QStringLiteral("/a.txt"));
        QVERIFY(a.open(QIODevice::ReadWrite));
        QVERIFY(a.setFileTime(memberTime.addDays(-5), QFileDevice::FileModificationTime));
        a.close();

        // Freshen: only files that exist and are older.
        CGUnzipFiles freshen;
        freshen.setExtractOnlyNewer(true);
        QCOMPARE(freshen.Unzip(zip.ZipFileName(), out), 0);
        QCOMPARE(readFile(out + QStringLiteral("/a.txt")), QByteArray("member a"));
        QVERIFY(!QFileInfo::exists(out + QStringLiteral("/b.txt")));

        // Update: newer members and new files; a newer file on disk stays.
        writeFile(out + QStringLiteral("/a.txt"), "newer file");
        CGUnzipFiles update;
        update.setExtractNewer(true);
        QCOMPARE(update.Unzip(zip.ZipFileName(), out), 0);
        QCOMPARE(readFile(out + QStringLiteral("/a.txt")), QByteArray("newer file"));
        QCOMPARE(readFile(out + QStringLiteral("/b.txt")), QByteArray("member b"));
    }

    void missingFileFailsTheArchive()
    {
        QTemporaryDir dir;
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("m.zip")));
        zip.AddFile(dir.filePath(QStringLiteral("not-there.txt")));
        QCOMPARE(zip.MakeZipFile(), 18);
        QVERIFY(zip.GetLastMessage().contains(QStringLiteral("not-there.txt")));
        QVERIFY(!QFileInfo::exists(zip.ZipFileName()));
        CGZipFiles none;
        none.setZipFileName(dir.filePath(QStringLiteral("e.zip")));
        QCOMPARE(none.MakeZipFile(), 12);
    }

    void foldersAndRoot()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("base/docs/a.txt")), "a");
        writeFile(dir.filePath(QStringLiteral("base/docs/deep/b.txt")), "b");
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("f.zip")));
        zip.setRootDirectory(dir.filePath(QStringLiteral("base")));
        zip.setRecurseFolders(true);
        zip.AddFile(dir.filePath(QStringLiteral("base/docs")));
        QCOMPARE(zip.MakeZipFile(), 0);
        CGUnzipFiles unzip;
        QCOMPARE(unzip.Unzip(zip.ZipFileName(), dir.filePath(QStringLiteral("out"))), 0);
        QCOMPARE(tree(dir.filePath(QStringLiteral("out"))), (QStringList{"docs/a.txt", "docs/deep/b.txt"}));

        // Updating adds to what is there.
        writeFile(dir.filePath(QStringLiteral("base/c.txt")), "c");
        CGZipFiles more;
        more.setZipFileName(zip.ZipFileName());
        more.setRootDirectory(dir.filePath(QStringLiteral("base")));
        more.setUpdatingZip(true);
        more.AddFile(dir.filePath(QStringLiteral("base/c.txt")));
        QCOMPARE(more.MakeZipFile(), 0);
        QCOMPARE(unzip.Unzip(zip.ZipFileName(), dir.filePath(QStringLiteral("out2"))), 0);
        QCOMPARE(tree(dir.filePath(QStringLiteral("out2"))), (QStringList{"c.txt", "docs/a.txt", "docs/deep/b.txt"}));
    }

    void passwordAskedOnce()
    {
        KRML_REQUIRE_TESTDATA();
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        prompts.answer(QStringLiteral("foo"));
        CGUnzipFiles unzip(&prompts);
        const qint32 r = unzip.Unzip(TestData::path(QStringLiteral("zip/libzip/encrypt.zip")), dir.path());
        QCOMPARE(r, 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("encrypted"))), QByteArray("foo\n"));
        QCOMPARE(prompts.calls.size(), 1);
        QCOMPARE(prompts.calls[0].kind, QStringLiteral("inputBox"));
        QCOMPARE(prompts.calls[0].text, QStringLiteral("Please Enter The Password!"));

        QTemporaryDir dir2;
        ScriptedPrompts wrong;
        wrong.answer(QStringLiteral("bar"));
        CGUnzipFiles unzip2(&wrong);
        const qint32 r2 = unzip2.Unzip(TestData::path(QStringLiteral("zip/libzip/encrypt.zip")), dir2.path());
        QVERIFY(r2 != 0);
        QVERIFY(!QFileInfo::exists(dir2.filePath(QStringLiteral("encrypted"))));
        QCOMPARE(readFile(dir2.filePath(QStringLiteral("plain"))), readFile(dir.filePath(QStringLiteral("plain"))));

        QTemporaryDir dir3;
        ScriptedPrompts none; // an empty answer: no password
        CGUnzipFiles unzip3(&none);
        QVERIFY(unzip3.Unzip(TestData::path(QStringLiteral("zip/libzip/encrypt.zip")), dir3.path()) != 0);
        QCOMPARE(none.calls.size(), 1);
    }

    void hostileArchives_data()
    {
        // outcome: 1 must fail, 0 must succeed, -1 either (archives that some
        // readers accept and others refuse; what counts is that nothing
        // escapes the folder and nothing crashes).
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("honor");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("extracted");
        const QStringList any{"*"};
        QTest::newRow("zip-slip, folders kept") << "snyk/zip-slip.zip" << true << 1 << QStringList{"good.txt"};
        QTest::newRow("zip-slip, flat") << "snyk/zip-slip.zip" << false << 0 << QStringList{"evil.txt", "good.txt"};
        QTest::newRow("zip-slip backslashes, folders kept") << "snyk/zip-slip-win.zip" << true << 1 << QStringList{"good.txt"};
        QTest::newRow("zip-slip backslashes, flat") << "snyk/zip-slip-win.zip" << false << 0 << QStringList{"evil.txt", "good.txt"};
        QTest::newRow("absolute path") << "yauzl/abs-path-unix.zip" << true << 1 << QStringList{"b.txt"};
        QTest::newRow("absolute path, flat") << "yauzl/abs-path-unix.zip" << false << 0 << QStringList{"atxt", "b.txt"};
        QTest::newRow("drive letter") << "yauzl/abs-path-drive-letter.zip" << true << 1 << QStringList{"b.txt"};
        QTest::newRow("drive letter, flat") << "yauzl/abs-path-drive-letter.zip" << false << 0 << QStringList{"b.txt", "xt"};
        QTest::newRow("relative dotdot") << "yauzl/relative-dotdot.zip" << true << 1 << QStringList{"b.txt"};
        QTest::newRow("backslash in name") << "yauzl/backslash-in-name.zip" << true << 0 << QStringList{"a/txt", "b.txt"};
        QTest::newRow("stored size mismatch") << "yauzl/stored-size-mismatch.zip" << true << 1 << any;
        QTest::newRow("data overflows file") << "yauzl/data-overflows-file.zip" << true << 1 << any;
        QTest::newRow("bad local header") << "yauzl/bad-local-header-sig.zip" << true << -1 << any;
        QTest::newRow("bad central header") << "yauzl/bad-central-header-sig.zip" << true << 1 << any;
        QTest::newRow("corrupt deflate") << "yauzl/corrupt-deflate-stream.zip" << true << 1 << any;
        QTest::newRow("deflate shorter than declared") << "yauzl/deflate-shorter-than-declared.zip" << true << -1 << any;
        QTest::newRow("shrink method") << "yauzl/unsupported-method-shrink.zip" << true << 1 << any;
        QTest::newRow("strong encryption") << "yauzl/strong-encryption.zip" << true << 1 << any;
        QTest::newRow("no end record") << "yauzl/no-eocd.zip" << true << 1 << QStringList{};
        QTest::newRow("zip64 data descriptor") << "yauzl/zip64-data-descriptor.zip" << true << 0 << any;
        QTest::newRow("unicode names") << "yauzl/unicode-names.zip" << true << 0 << any;
        QTest::newRow("windows folder") << "yauzl/windows-compressed-folder.zip" << true << 0 << any;
        QTest::newRow("zip64") << "libzip/zip64.zip" << true << 0 << any;
        QTest::newRow("streamed zip64") << "libzip/streamed-zip64.zip" << true << 0 << any;
        QTest::newRow("truncated") << "libzip/testfile-truncated.zip" << true << 1 << any;
        QTest::newRow("bogus") << "libzip/bogus.zip" << true << 1 << QStringList{};
        QTest::newRow("empty") << "libzip/testempty.zip" << true << 1 << QStringList{};
        QTest::newRow("crc errors") << "libzip/broken.zip" << true << 1 << any;
        QTest::newRow("inconsistent crc") << "libzip/incons-local-crc.zip" << true << -1 << any;
        QTest::newRow("junk at start") << "libzip/junk-at-start.zip" << true << -1 << any;
        QTest::newRow("duplicate names") << "libzip/filename_duplicate.zip" << true << 0 << QStringList{"test1"};
        QTest::newRow("nul in name") << "libzip/incons-filename-nul-byte.zip" << true << -1 << any;
        QTest::newRow("utf-8 name") << "libzip/test-utf8.zip" << true << 0 << any;
        QTest::newRow("cp437 names") << "libzip/test-cp437.zip" << true << -1 << any;
        QTest::newRow("multi-disk") << "libzip/multidisk.zip" << true << 1 << any;
        QTest::newRow("lzma") << "libzip/testfile-lzma.zip" << true << -1 << any;
        QTest::newRow("aes without password") << "libzip/encrypt-aes128.zip" << true << 1 << any;
        QTest::newRow("baseline") << "libzip/teststored.zip" << true << 0 << any;
    }
    void hostileArchives()
    {
        KRML_REQUIRE_TESTDATA();
        QFETCH(QString, file);
        QFETCH(bool, honor);
        QFETCH(int, outcome);
        QFETCH(QStringList, extracted);
        QTemporaryDir outer;
        const QString out = outer.filePath(QStringLiteral("a/b/c/out"));
        CGUnzipFiles unzip;
        unzip.setHonorDirectories(honor);
        const qint32 r = unzip.Unzip(TestData::path(QStringLiteral("zip/") + file), out);
        if (outcome == 1)
            QVERIFY2(r != 0, qPrintable(unzip.GetLastMessage()));
        else if (outcome == 0)
            QVERIFY2(r == 0, qPrintable(QStringLiteral("%1: %2").arg(r).arg(unzip.GetLastMessage())));
        QVERIFY(!unzip.GetLastMessage().isEmpty());
        // Nothing anywhere but inside the target folder.
        for (const QString &f : tree(outer.path()))
            QVERIFY2(f.startsWith(QStringLiteral("a/b/c/out/")), qPrintable(f));
        if (extracted != QStringList{"*"})
            QCOMPARE(tree(out), extracted);
    }

    void includeNamesChooseMembers_data()
    {
        QTest::addColumn<QStringList>("include");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QStringList>("extracted");
        QTest::newRow("all") << QStringList() << true << QStringList{"Layout.krml", "Picture1.bmp", "Picture2.bmp", "notes.txt"};
        QTest::newRow("names") << QStringList{"Layout.krml", "Picture2.bmp"} << true << QStringList{"Layout.krml", "Picture2.bmp"};
        QTest::newRow("letter case ignored") << QStringList{"layout.KRML"} << false << QStringList{"Layout.krml"};
        QTest::newRow("letter case kept") << QStringList{"layout.KRML"} << true << QStringList();
        QTest::newRow("wildcards") << QStringList{"Picture?.bmp"} << true << QStringList{"Picture1.bmp", "Picture2.bmp"};
        QTest::newRow("a name in brackets stands for itself") << QStringList{"Picture[*].bmp"} << true << QStringList();
    }
    void includeNamesChooseMembers()
    {
        QFETCH(QStringList, include);
        QFETCH(bool, caseSensitive);
        QFETCH(QStringList, extracted);
        QTemporaryDir dir;
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("p.zip")));
        for (const char *name : {"Layout.krml", "Picture1.bmp", "Picture2.bmp", "notes.txt"}) {
            writeFile(dir.filePath(QString::fromLatin1(name)), name);
            zip.AddFile(dir.filePath(QString::fromLatin1(name)));
        }
        QCOMPARE(zip.MakeZipFile(), 0);
        CGUnzipFiles unzip;
        unzip.setIncludeNames(include);
        unzip.setCaseSensitive(caseSensitive);
        QCOMPARE(unzip.Unzip(zip.ZipFileName(), dir.filePath(QStringLiteral("out"))), 0);
        QCOMPARE(tree(dir.filePath(QStringLiteral("out"))), extracted);
    }

    void archivesBeyondLimitsAreRefusedWhole_data()
    {
        QTest::addColumn<int>("members");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("ratio");
        QTest::addColumn<QString>("why");
        QTest::newRow("members") << 2 << qint64(1024) * 1024 * 1024 << qint64(1100)
                                 << "the archive holds 3 members, more than the 2 it may hold";
        QTest::newRow("expanded size") << 100 << qint64(10) * 1024 * 1024 << qint64(1100)
                                       << "the archive's members expand to more than 10 MB";
        QTest::newRow("compression ratio") << 100 << qint64(1024) * 1024 * 1024 << qint64(100) << "zeros.bin claims to expand";
    }
    void archivesBeyondLimitsAreRefusedWhole()
    {
        QFETCH(int, members);
        QFETCH(qint64, total);
        QFETCH(qint64, ratio);
        QFETCH(QString, why);
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("zeros.bin")), QByteArray(8 * 1024 * 1024, '\0'));
        writeFile(dir.filePath(QStringLiteral("more.bin")), QByteArray(8 * 1024 * 1024, '\1'));
        writeFile(dir.filePath(QStringLiteral("small.txt")), "small");
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("big.zip")));
        for (const char *name : {"small.txt", "zeros.bin", "more.bin"})
            zip.AddFile(dir.filePath(QString::fromLatin1(name)));
        QCOMPARE(zip.MakeZipFile(), 0);
        CGUnzipFiles unzip;
        unzip.setMemberLimit(members);
        unzip.setSizeLimits(CGUnzipFiles::DefaultMaxMemberSize, total);
        unzip.setRatioLimit(ratio);
        QCOMPARE(unzip.Unzip(zip.ZipFileName(), dir.filePath(QStringLiteral("out"))), 3);
        QVERIFY2(unzip.refusalReason().startsWith(why), qPrintable(unzip.refusalReason()));
        QVERIFY(unzip.GetLastMessage().contains(why));
        QVERIFY(tree(dir.filePath(QStringLiteral("out"))).isEmpty()); // nothing at all was written
    }

    void sizeLimitsRefuseBombs()
    {
        QTemporaryDir dir;
        // 40 MB of zeros deflate to a few tens of kilobytes.
        writeFile(dir.filePath(QStringLiteral("zeros.bin")), QByteArray(40 * 1024 * 1024, '\0'));
        CGZipFiles zip;
        zip.setZipFileName(dir.filePath(QStringLiteral("bomb.zip")));
        zip.AddFile(dir.filePath(QStringLiteral("zeros.bin")));
        QCOMPARE(zip.MakeZipFile(), 0);
        QVERIFY(QFileInfo(zip.ZipFileName()).size() < 1024 * 1024);
        CGUnzipFiles unzip;
        unzip.setSizeLimits(10 * 1024 * 1024, 100 * 1024 * 1024);
        QCOMPARE(unzip.Unzip(zip.ZipFileName(), dir.filePath(QStringLiteral("out"))), 1);
        QVERIFY(unzip.GetLastMessage().contains(QStringLiteral("zeros.bin")));
        QVERIFY(tree(dir.filePath(QStringLiteral("out"))).isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestZipClasses)
#include "tst_zipclasses.moc"
