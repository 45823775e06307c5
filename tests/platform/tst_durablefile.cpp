// Files written through the one checked path: writes that come up short
// (a file size limit makes the kernel take fewer bytes than asked, as a
// filling disk does), checks that refuse the written file, links, and the
// part files and staging folders that killed processes leave behind.
#include "DurableFile.h"
#include "LocalFileService.h"
#include "ProcessTempNames.h"
#include "ReportError.h"
#include "TextWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utime.h>

using namespace KRML_ReportGen;

namespace {

// While it lives, no file of this process may grow beyond a number of
// bytes: a write that would cross the limit takes only the bytes below it,
// the next one fails with EFBIG.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit r = m_old;
        r.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    struct rlimit m_old;
    void (*m_oldHandler)(int);
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void age(const QString &path, int seconds)
{
    const time_t then = time_t(QDateTime::currentSecsSinceEpoch() - seconds);
    struct utimbuf times{then, then};
    QCOMPARE(::utime(QFile::encodeName(path).constData(), &times), 0);
}

QByteArray pattern(int size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char('a' + i % 26);
    return b;
}

} // namespace

class TestDurableFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

private slots:
    void init()
    {
        for (const QString &f : files())
            QFile::remove(path(f));
    }

    void writesAndReplacesKeepingPermissions()
    {
        const QString target = path(QStringLiteral("file.txt"));
        DurableFile::write(target, "one");
        QCOMPARE(readAll(target), QByteArray("one"));
        QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
        DurableFile::write(target, "two");
        QCOMPARE(readAll(target), QByteArray("two"));
        const auto kept = QFile::permissions(target) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
        QCOMPARE(kept, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
        QCOMPARE(files(), QStringList{"file.txt"});
    }

    void shortWritesLeaveTheOldFile_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("room");
        QTest::newRow("a layout file on a nearly full disk") << 12238 << 4096;
        QTest::newRow("nothing fits") << 100 << 0;
        QTest::newRow("one byte short") << 5 << 4;
        QTest::newRow("beyond a buffer") << 70000 << 65536;
    }
    void shortWritesLeaveTheOldFile()
    {
        QFETCH(int, size);
        QFETCH(int, room);
        const QString target = path(QStringLiteral("Layout.krml"));
        write(target, "the old content");
        const QByteArray bytes = pattern(size);
        // Every writer of the system goes through the same path.
        const QList<std::pair<QString, std::function<void()>>> writers = {
            {QStringLiteral("DurableFile"), [&] { DurableFile::write(target, bytes); }},
            {QStringLiteral("writeBytes"), [&] { LocalFileService().writeBytes(target, bytes); }},
            {QStringLiteral("appendBytes"), [&] { LocalFileService().appendBytes(target, bytes); }},
            {QStringLiteral("TextWriter"), [&] {
                 LocalFileService files;
                 TextWriter w(files, target);
                 w.write(QString::fromLatin1(bytes));
                 w.close();
             }},
        };
        for (const auto &[name, writeIt] : writers) {
            bool failed = false;
            {
                FileSizeLimit limit(rlim_t(room + (name == QLatin1String("appendBytes") ? 15 : 0)));
                try {
                    writeIt();
                } catch (const ReportError &e) {
                    failed = true;
                    QCOMPARE(e.number(), ReportError::DiskFull);
                    QVERIFY2(e.description().contains(target), qPrintable(e.description()));
                }
            }
            QVERIFY2(failed, qPrintable(name + QStringLiteral(" reported success")));
            QCOMPARE(readAll(target), QByteArray("the old content"));
            QCOMPARE(files(), QStringList{"Layout.krml"});
        }
    }

    void streamsAreCheckedAtCommit()
    {
        const QString target = path(QStringLiteral("out.pdf"));
        write(target, "old");
        DurableFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        {
            FileSizeLimit limit(1000);
            for (int i = 0; i < 10; ++i)
                file.write(pattern(300));
        }
        QVERIFY(!file.commit());
        QCOMPARE(file.errorNumber(), ReportError::DiskFull);
        QCOMPARE(readAll(target), QByteArray("old"));
        QCOMPARE(files(), QStringList{"out.pdf"});
    }

    void aCheckRefusesTheFile()
    {
        const QString target = path(QStringLiteral("package.lrd"));
        write(target, "good package");
        QString seen;
        try {
            DurableFile::write(target, "broken", [&](const QString &part) {
                seen = part;
                return readAll(part) == "broken" ? QStringLiteral("a member is missing") : QString();
            });
            QFAIL("written");
        } catch (const ReportError &e) {
            QVERIFY2(e.description().endsWith(QStringLiteral("is not what was meant: a member is missing")), qPrintable(e.description()));
        }
        QVERIFY(DurableFile::isPartName(QFileInfo(seen).fileName()));
        QCOMPARE(readAll(target), QByteArray("good package"));
        QCOMPARE(files(), QStringList{"package.lrd"});
    }

    void linksAreFollowed()
    {
        const QString real = path(QStringLiteral("real.txt"));
        const QString link = path(QStringLiteral("link.txt"));
        write(real, "old");
        QVERIFY(QFile::link(real, link));
        DurableFile::write(link, "new");
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(real), QByteArray("new"));
    }

    void aMissingFolderIsReported()
    {
        try {
            DurableFile::write(path(QStringLiteral("no/such/folder/file.txt")), "x");
            QFAIL("written");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), ReportError::PathNotFound);
        }
    }

    void staleParts()
    {
        const QStringList made{"a.lrd.part.0123abcd", "b.lrd.part.89abcdef", "c.lrd.part.0123abcg", "notes.part.txt",
                               "d.mtq.part.deadbeef", "e.lrd.part.0123abcd.keep"};
        for (const QString &f : made)
            write(path(f), "x");
        for (const QString &f : {QStringLiteral("a.lrd.part.0123abcd"), QStringLiteral("c.lrd.part.0123abcg"),
                                 QStringLiteral("notes.part.txt"), QStringLiteral("d.mtq.part.deadbeef"),
                                 QStringLiteral("e.lrd.part.0123abcd.keep")})
            age(path(f), 120);
        // Only part files of our own pattern that nobody touched for a minute.
        QCOMPARE(DurableFile::removeStaleParts(m_dir.path()), 2);
        QCOMPARE(files(), (QStringList{"b.lrd.part.89abcdef", "c.lrd.part.0123abcg", "e.lrd.part.0123abcd.keep", "notes.part.txt"}));
    }

    void staleStagingFolders()
    {
        QTemporaryDir parent;
        const auto folder = [&](const QString &name, bool owner, int ageSeconds) {
            const QString p = parent.filePath(name);
            QDir().mkpath(p + QStringLiteral("/~0001abcd"));
            write(p + QStringLiteral("/~0001abcd/Layout.krml"), "x");
            if (owner)
                write(p + QStringLiteral("/.krml-owner"), QByteArray());
            age(p, ageSeconds);
            return p;
        };
        const QString orphan = folder(QStringLiteral("krml-reportgen-AAAAAA"), true, 120);
        const QString living = folder(QStringLiteral("krml-reportgen-BBBBBB"), true, 120);
        const QString unowned = folder(QStringLiteral("krml-reportgen-CCCCCC"), false, 120);
        const QString young = folder(QStringLiteral("krml-reportgen-DDDDDD"), true, 0);
        const QString foreign = folder(QStringLiteral("someone-else-EEEEEE"), true, 120);
        // A living process holds the lock on its owner file.
        const int lock = ::open(QFile::encodeName(living + QStringLiteral("/.krml-owner")).constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(lock >= 0);
        QCOMPARE(::flock(lock, LOCK_EX | LOCK_NB), 0);
        // An old folder without an owner file was left by a process killed
        // between making the folder and its owner file.
        QCOMPARE(ProcessTempNames::removeStaleFolders(parent.path()), 2);
        ::close(lock);
        QVERIFY(!QFileInfo::exists(orphan));
        QVERIFY(!QFileInfo::exists(unowned));
        for (const QString &kept : {living, young, foreign})
            QVERIFY2(QFileInfo::exists(kept), qPrintable(kept));

        // A service starting up clears the orphans in the temporary folder
        // and keeps its own folder locked while it lives.
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", parent.path().toLocal8Bit());
        age(living, 120);
        {
            ProcessTempNames names;
            QVERIFY(!QFileInfo::exists(living));
            QVERIFY(names.folder().startsWith(parent.path()));
            age(names.folder(), 120);
            QCOMPARE(ProcessTempNames::removeStaleFolders(parent.path()), 0);
            QVERIFY(QFileInfo::exists(names.folder()));
        }
        qputenv("TMPDIR", oldTmp);
        if (oldTmp.isEmpty())
            qunsetenv("TMPDIR");
    }
};

QTEST_APPLESS_MAIN(TestDurableFile)
#include "tst_durablefile.moc"
