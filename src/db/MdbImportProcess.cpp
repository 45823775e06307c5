#include "MdbImportProcess.h"

#include "DurableFile.h"
#include "ProviderErrors.h"
#include "SqliteEngine.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/stat.h>

#if defined(__SANITIZE_ADDRESS__)
#define KRML_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KRML_ADDRESS_SANITIZER 1
#endif
#endif

namespace KRML_ReportGen {

namespace {

const QString kHelper = QStringLiteral("krml-mdbimport");

ReportError damaged(const QString &path, const QString &why)
{
    return ProviderErrors::unspecified(QStringLiteral("The Access file '%1' is damaged: %2").arg(QDir::toNativeSeparators(path), why));
}

// In the helper, between fork and exec: only system calls.
void applyLimits(const MdbImportProcess::Limits &limits)
{
    const auto set = [](int resource, rlim_t soft, rlim_t hard) {
        struct rlimit r;
        r.rlim_cur = soft;
        r.rlim_max = hard;
        setrlimit(resource, &r);
    };
    set(RLIMIT_CORE, 0, 0);
    // Past the soft limit the helper is told (SIGXCPU), at the hard one killed.
    set(RLIMIT_CPU, rlim_t(limits.cpuSeconds), rlim_t(limits.cpuSeconds) + 2);
    set(RLIMIT_FSIZE, rlim_t(limits.fileBytes), rlim_t(limits.fileBytes));
#ifndef KRML_ADDRESS_SANITIZER
    // AddressSanitizer reserves terabytes of address space for itself.
    set(RLIMIT_AS, rlim_t(limits.memoryBytes), rlim_t(limits.memoryBytes));
#endif
}

QString signalText(int signal, const MdbImportProcess::Limits &limits)
{
    switch (signal) {
    case SIGXCPU:
    case SIGKILL:
        return QStringLiteral("reading it took more than %1 seconds of processor time").arg(limits.cpuSeconds);
    case SIGXFSZ:
        return QStringLiteral("its data grew beyond %1 MB").arg(limits.fileBytes / (1024 * 1024));
    case SIGABRT:
        return QStringLiteral("the reader gave up (it may have needed more than %1 MB of memory)").arg(limits.memoryBytes / (1024 * 1024));
    default:
        return QStringLiteral("the reader crashed (%1)").arg(QString::fromLocal8Bit(strsignal(signal)));
    }
}

QString executableIn(const QString &folder)
{
    for (const QString &candidate : {folder + QLatin1Char('/') + kHelper, folder + QStringLiteral("/../libexec/") + kHelper}) {
        const QFileInfo fi(candidate);
        if (fi.isFile() && fi.isExecutable())
            return fi.canonicalFilePath();
    }
    return QString();
}

} // namespace

QString MdbImportProcess::helperPath()
{
    const QString given = qEnvironmentVariable("KRML_MDBIMPORT");
    if (!given.isEmpty())
        return given;
    QStringList folders;
    folders << QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    // A host that embeds the control may live elsewhere than the library.
    Dl_info info;
    if (dladdr(reinterpret_cast<void *>(&MdbImportProcess::helperPath), &info) != 0 && info.dli_fname)
        folders << QFileInfo(QFile::decodeName(info.dli_fname)).canonicalPath();
#ifdef KRML_MDBIMPORT_INSTALL_DIR
    folders << QStringLiteral(KRML_MDBIMPORT_INSTALL_DIR);
#endif
#ifdef KRML_MDBIMPORT_BUILD_DIR
    folders << QStringLiteral(KRML_MDBIMPORT_BUILD_DIR);
#endif
    for (const QString &folder : folders)
        if (const QString found = executableIn(folder); !found.isEmpty())
            return found;
    return QString();
}

QString MdbImportProcess::cacheFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath() + QStringLiteral("/krml-reportgen-cache-%1").arg(::getuid());
    return base + QStringLiteral("/krml-reportgen/access");
}

void MdbImportProcess::convert(const QString &accessPath, const QString &target, const Limits &limits)
{
    const QString helper = helperPath();
    if (helper.isEmpty())
        throw ProviderErrors::unspecified(
            QStringLiteral("Access files are read by the program %1, which was not found beside this program "
                           "(KRML_MDBIMPORT may name it).")
                .arg(kHelper));
    QProcess process;
    process.setProgram(helper);
    process.setArguments({accessPath, target});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("MDBOPTS")); // the reader's debugging switches
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([limits] { applyLimits(limits); });
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(30000))
        throw ProviderErrors::unspecified(QStringLiteral("The program %1 could not be started: %2").arg(helper, process.errorString()));

    // The reader's messages are read as they come and only the first kept:
    // a reader looping over a damaged page prints without end.
    QElapsedTimer clock;
    clock.start();
    QByteArray reason;
    QByteArray warnings;
    qint64 printed = 0;
    QString stopped;
    while (process.state() != QProcess::NotRunning) {
        process.waitForFinished(100);
        reason += process.readAllStandardOutput();
        reason.truncate(4096);
        const QByteArray more = process.readAllStandardError();
        printed += more.size();
        if (warnings.size() < 4096)
            warnings += more.left(4096 - warnings.size());
        if (printed > limits.messageBytes)
            stopped = QStringLiteral("the reader printed more than %1 KB of warnings").arg(limits.messageBytes / 1024);
        else if (clock.elapsed() > qint64(limits.wallSeconds) * 1000)
            stopped = QStringLiteral("reading it took longer than %1 seconds").arg(limits.wallSeconds);
        if (!stopped.isEmpty()) {
            process.kill();
            process.waitForFinished(10000);
            throw damaged(accessPath, stopped);
        }
    }
    if (process.exitStatus() == QProcess::CrashExit)
        throw damaged(accessPath, signalText(process.exitCode(), limits));
    if (process.exitCode() != 0) {
        QString why = QString::fromUtf8(reason).trimmed();
        if (why.isEmpty())
            why = QString::fromUtf8(warnings).trimmed().section(QLatin1Char('\n'), 0, 0);
        if (why.isEmpty())
            why = QStringLiteral("the reader failed (exit code %1)").arg(process.exitCode());
        throw damaged(accessPath, why);
    }
}

QString MdbImportProcess::convertedFile(const QString &accessPath, const Limits &limits)
{
    struct stat st;
    if (::stat(QFile::encodeName(accessPath).constData(), &st) != 0)
        throw ProviderErrors::fileNotFound(accessPath);
    const QString canonical = QFileInfo(accessPath).canonicalFilePath();
    const QString key = QString::fromLatin1(QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
    const QString folder = cacheFolder();
    if (!QDir().mkpath(folder))
        throw ProviderErrors::unspecified(QStringLiteral("The folder '%1' for converted Access files cannot be made.").arg(folder));
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    const QString name = QStringLiteral("%1-%2-%3.%4-v%5.sqlite")
                             .arg(key)
                             .arg(qint64(st.st_size))
                             .arg(qint64(st.st_mtim.tv_sec))
                             .arg(qint64(st.st_mtim.tv_nsec))
                             .arg(FormatVersion);
    const QString cached = folder + QLatin1Char('/') + name;
    if (SqliteEngine::isSqliteFile(cached))
        return cached;

    // An older conversion of this file (it has changed since) goes.
    DurableFile::removeStaleParts(folder);
    for (const QString &old : QDir(folder).entryList({key + QStringLiteral("-*.sqlite")}, QDir::Files))
        QFile::remove(folder + QLatin1Char('/') + old);
    const QString part = QStringLiteral("%1.part.%2").arg(cached).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    try {
        convert(accessPath, part, limits);
    } catch (const ReportError &) {
        QFile::remove(part);
        throw;
    }
    if (!SqliteEngine::isSqliteFile(part) || ::rename(QFile::encodeName(part).constData(), QFile::encodeName(cached).constData()) != 0) {
        QFile::remove(part);
        throw damaged(accessPath, QStringLiteral("the converted data could not be kept in '%1'").arg(folder));
    }
    return cached;
}

std::unique_ptr<SqliteEngine> MdbImportProcess::open(const QString &accessPath, MdbImporter::SavedQueries *savedQueries)
{
    auto engine = SqliteEngine::openReadOnly(convertedFile(accessPath, Limits()), accessPath);
    const MdbImporter::SavedQueries notes = MdbImporter::readSavedQueries(*engine);
    if (savedQueries)
        *savedQueries = notes;
    return engine;
}

} // namespace KRML_ReportGen
