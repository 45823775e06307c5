// Saving a layout package while the file system misbehaves: writes that
// come up short, a disk that fills up at every stage of the save, a target
// folder that cannot be written, and saves killed at random points. Each
// must leave the old package as it was or the new one complete, and a
// failure must be told. The saves run in fault_save with faultshim
// preloaded (see faultshim.cpp).
#include "CGUnzipFiles.h"
#include "DurableFile.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <utime.h>

using namespace KRML_ReportGen;

namespace {

constexpr int kPictures = 4;

struct Outcome
{
    int exitCode = -1;
    bool killed = false;
    QString told;
};

void age(const QString &path, int seconds)
{
    const time_t then = time_t(QDateTime::currentSecsSinceEpoch() - seconds);
    struct utimbuf times{then, then};
    ::utime(QFile::encodeName(path).constData(), &times);
}

} // namespace

class TestFaultInjection : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;  // the target's folder
    QTemporaryDir m_temp; // the temporary folder of the saving processes
    QString m_target;
    QByteArray m_old;

    Outcome save(const QStringList &faults, int killAfterMs = -1, int pictures = kPictures)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAULT_SHIM));
        env.insert(QStringLiteral("TMPDIR"), m_temp.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Under AddressSanitizer the shim comes before its runtime.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
        for (const QString &f : faults)
            env.insert(QStringLiteral("AT_SAVE_") + f.section(QLatin1Char('='), 0, 0), f.section(QLatin1Char('='), 1));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(FAULT_SAVE), {m_target, QString::number(pictures)});
        Outcome o;
        if (!p.waitForStarted(30000))
            return o;
        if (killAfterMs >= 0 && !p.waitForFinished(killAfterMs)) {
            p.kill();
            o.killed = true;
        }
        p.waitForFinished(120000);
        o.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        o.told = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        return o;
    }

    // The members of a package that reads back whole; empty otherwise.
    static QStringList completeMembers(const QString &path)
    {
        CGUnzipFiles unzip;
        unzip.setTestZip(true);
        if (unzip.Unzip(path) != 0)
            return {};
        QStringList names;
        for (const QString &line : unzip.GetLastMessage().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            if (line.trimmed().startsWith(QLatin1String("testing: ")))
                names << line.trimmed().mid(9).section(QLatin1Char(' '), 0, 0);
        names.sort();
        return names;
    }

    static QStringList newMembers()
    {
        QStringList names{QStringLiteral("Layout.krml"), QStringLiteral("sql.mtq")};
        for (int i = 1; i <= kPictures; ++i)
            names << QStringLiteral("Picture%1.bmp").arg(i);
        names.sort();
        return names;
    }

    QByteArray target() const
    {
        QFile f(m_target);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QStringList partFiles() const
    {
        QStringList parts;
        for (const QString &f : QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden))
            if (DurableFile::isPartName(f))
                parts << f;
        return parts;
    }

    void restoreOld() { DurableFile::write(m_target, m_old); }

private slots:
    void initTestCase()
    {
        m_target = m_dir.filePath(QStringLiteral("report.lrd"));
        const Outcome made = save({}, -1, 1);
        QCOMPARE(made.exitCode, 0);
        m_old = target();
        QVERIFY(!m_old.isEmpty());
        QCOMPARE(completeMembers(m_target), (QStringList{"Layout.krml", "Picture1.bmp", "sql.mtq"}));
    }

    void init() { restoreOld(); }

    void diskFillsUp_data()
    {
        // The save writes about 0.8 MB of bitmaps into its staging folder,
        // then the same again as the archive: the disk fills up at each stage.
        QTest::addColumn<QString>("room");
        for (const char *room : {"0", "100", "4096", "200000", "800000", "1000000", "1500000"})
            QTest::newRow(room) << QString::fromLatin1(room);
    }
    void diskFillsUp()
    {
        QFETCH(QString, room);
        const Outcome o = save({QStringLiteral("KRML_FAULT_ROOM=") + room});
        QCOMPARE(o.exitCode, 2);
        QVERIFY2(o.told.startsWith(QStringLiteral("The layout file was not saved: ")), qPrintable(o.told));
        QCOMPARE(target(), m_old);
        QCOMPARE(partFiles(), QStringList());
    }

    void everyWriteComesUpShort()
    {
        // Short writes that go on taking bytes are no failure: the rest is
        // written after them.
        const Outcome o = save({QStringLiteral("KRML_FAULT_SHORT=1")});
        QCOMPARE(o.exitCode, 0);
        QCOMPARE(o.told, QStringLiteral("Successfully saved the layout file"));
        QCOMPARE(completeMembers(m_target), newMembers());
    }

    void readOnlyTarget()
    {
        const Outcome o = save({QStringLiteral("KRML_FAULT_READONLY=") + m_dir.path()});
        QCOMPARE(o.exitCode, 2);
        QVERIFY2(o.told.startsWith(QStringLiteral("The layout file was not saved: ")), qPrintable(o.told));
        QVERIFY2(o.told.contains(QStringLiteral("Read-only file system")), qPrintable(o.told));
        QCOMPARE(target(), m_old);
    }

    void killedAtRandomPoints()
    {
        // How long a save takes here, to kill the others within it.
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(save({}).exitCode, 0);
        const int span = int(std::max<qint64>(clock.elapsed() * 5 / 4, 50));
        QRandomGenerator random(20240607);
        int old = 0, complete = 0, finished = 0;
        for (int i = 0; i < 50; ++i) {
            restoreOld();
            const Outcome o = save({}, int(random.bounded(span)));
            if (!o.killed)
                ++finished;
            if (target() == m_old)
                ++old;
            else if (completeMembers(m_target) == newMembers())
                ++complete;
            else
                QFAIL(qPrintable(QStringLiteral("kill %1 left a damaged package").arg(i)));
        }
        qInfo("50 saves killed within %d ms: %d left the old package, %d the new one (%d had finished)", span, old, complete,
              finished);
        QVERIFY(old > 0);

        // What the killed saves left behind goes once it is a minute old:
        // part files at the next save into the folder, staging folders when
        // the next process starts.
        for (const QString &f : partFiles())
            age(m_dir.filePath(f), 120);
        const QStringList staging = QDir(m_temp.path()).entryList({QStringLiteral("krml-reportgen-*")}, QDir::Dirs);
        for (const QString &f : staging)
            age(m_temp.filePath(f), 120);
        QCOMPARE(save({}).exitCode, 0);
        QCOMPARE(partFiles(), QStringList());
        QCOMPARE(QDir(m_temp.path()).entryList({QStringLiteral("krml-reportgen-*")}, QDir::Dirs), QStringList());
    }
};

QTEST_APPLESS_MAIN(TestFaultInjection)
#include "tst_faultinjection.moc"
