// Every example package and file, damaged: truncated, bit-flipped and
// oversized. Each must end in the user's message (or read cleanly), with
// nothing left half-done.

#include "DataConnectionFile.h"
#include "LayoutFile.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "ProcessTempNames.h"
#include "ReportError.h"
#include "ReportSqlFile.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

namespace {

QStringList examplePackages()
{
    const QDir dir(QStringLiteral(KRML_SOURCE_DIR "/examples"));
    QStringList out;
    for (const QString &f : dir.entryList({QStringLiteral("*.lrd")}, QDir::Files, QDir::Name))
        out << dir.filePath(f);
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Damaged copies of bytes: cut at several lengths, single bits flipped
// across the whole file, and the file with a megabyte of junk behind it.
QList<QPair<QString, QByteArray>> variants(const QByteArray &good)
{
    QList<QPair<QString, QByteArray>> out;
    const qsizetype n = good.size();
    for (qsizetype cut : {qsizetype(0), qsizetype(1), qsizetype(22), n / 4, n / 2, n - 22, n - 1})
        if (cut >= 0 && cut < n)
            out.append({QStringLiteral("truncated to %1").arg(cut), good.left(cut)});
    for (int k = 0; k < 24; ++k) {
        const qsizetype at = (n * k) / 24 + 3;
        if (at >= n)
            continue;
        QByteArray flipped = good;
        flipped[at] = char(flipped[at] ^ (1 << (k % 8)));
        out.append({QStringLiteral("bit %1 flipped at %2").arg(k % 8).arg(at), flipped});
    }
    out.append({QStringLiteral("oversized"), good + QByteArray(1024 * 1024, 'Z')});
    return out;
}

} // namespace

class TestCorruptInput : public QObject
{
    Q_OBJECT
private slots:
    void damagedPackages()
    {
        const QStringList packages = examplePackages();
        QVERIFY(!packages.isEmpty());
        int failed = 0, opened = 0;
        for (const QString &package : packages) {
            const QByteArray good = readFile(package);
            for (const auto &[what, bytes] : variants(good)) {
                QTemporaryDir app;
                ModuleState::current().reset();
                ModuleState::current().setRdAppPath(app.path());
                LocalFileService files;
                ProcessTempNames temp;
                ScriptedPrompts prompts;
                LayoutPage page;
                // A working file from before: opening always starts anew.
                files.createFolder(app.filePath(QStringLiteral("Temp")));
                files.writeBytes(app.filePath(QStringLiteral("Temp/SQL.mtq")), "from the report open before");
                const QString path = app.filePath(QStringLiteral("damaged.lrd"));
                files.writeBytes(path, bytes);
                LayoutPackage layout(files, temp, prompts, page);
                QString current;
                const auto result = layout.openLayout(path, current, [&] { layout.clearLayout(); });
                const QString context = QFileInfo(package).fileName() + QStringLiteral(", ") + what;
                if (result == LayoutPackage::Result::Failed) {
                    ++failed;
                    QVERIFY2(prompts.messages() == QStringList{QStringLiteral("An error occurred while opening layout file.\r\n\r\nPlease check that it is a valid layout file and try again.")}, qPrintable(context));
                } else {
                    ++opened;
                    QVERIFY2(prompts.messages().isEmpty(), qPrintable(context));
                    QVERIFY2(page.labelCount() > 0, qPrintable(context));
                }
                // No staging folder survives, the package is untouched, and
                // the old working file is gone either way.
                QVERIFY2(QDir(temp.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty(), qPrintable(context));
                QVERIFY2(readFile(path) == bytes, qPrintable(context));
                const QString working = app.filePath(QStringLiteral("Temp/SQL.mtq"));
                QVERIFY2(!files.fileExists(working) || files.readBytes(working) != "from the report open before",
                         qPrintable(context));
            }
        }
        // Most damage is caught; a flip in unused bytes may leave a package whole.
        QVERIFY(failed > opened);
        qInfo("%d damaged packages refused, %d still whole", failed, opened);
    }

    void damagedMembers()
    {
        const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
        if (unzip.isEmpty())
            QSKIP("Info-ZIP unzip is not installed");
        for (const QString &package : examplePackages()) {
            QTemporaryDir dir;
            QProcess p;
            p.start(unzip, {QStringLiteral("-q"), package, QStringLiteral("-d"), dir.path()});
            QVERIFY(p.waitForFinished());
            LocalFileService files;
            const QByteArray layout = files.readBytes(dir.filePath(QStringLiteral("Layout.krml")));
            const QByteArray sql = files.readBytes(files.resolve(dir.filePath(QStringLiteral("sql.mtq"))));
            for (const auto &[what, bytes] : variants(layout)) {
                LayoutPage page;
                try {
                    LayoutFile::read(bytes, page, [&](const QString &name) { return files.readBytes(dir.filePath(name)); });
                } catch (const ReportError &e) {
                    QVERIFY2(e.number() > 0 && !e.description().isEmpty(), qPrintable(what));
                }
            }
            for (const auto &[what, bytes] : variants(sql)) {
                ReportDefinition definition;
                definition.addStatement(QStringLiteral("Kept"), QStringLiteral("SELECT 1"));
                const ReportDefinition before = definition;
                const auto r = ReportSqlFile::read(bytes, QStringLiteral("sql.mtq"), definition);
                if (!r.ok()) {
                    QVERIFY2(definition == before, qPrintable(what));
                    QVERIFY2(r.message == QStringLiteral("This is not a valid Marlowen Report") || r.message.contains(QStringLiteral("\"sql.mtq\"")),
                             qPrintable(what + QStringLiteral(": ") + r.message));
                }
            }
        }
    }

    void damagedConnectionFiles()
    {
        DataConnectionFile good;
        good.cnnString = QStringLiteral("Provider=SQLite;Data Source=sales.db");
        good.selTables = QStringList{QStringLiteral("Orders")};
        for (const auto &[what, bytes] : variants(good.toText().toLatin1())) {
            DataConnectionFile file = good;
            QString why;
            if (!file.read(bytes, &why)) {
                QVERIFY2(file == good, qPrintable(what)); // unchanged
                QVERIFY(!why.isEmpty());
            }
        }
    }
};

QTEST_MAIN(TestCorruptInput)
#include "tst_corruptinput.moc"
