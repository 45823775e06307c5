#include "CGUnzipFiles.h"

#include "ZipMessage.h"
#include "MsgBoxStyle.h"
#include "PathNames.h"
#include "ReportError.h"
#include "UserPrompts.h"
#include "VbConvert.h"
#include "Windows1252Codec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>
#include <cstdio>
#include <sys/stat.h>
#include <zip.h>

namespace KRML_ReportGen {

namespace {

enum UnzipResult : qint32 {
    UnzipOk = 0,
    UnzipWarning = 1,
    UnzipDataError = 2,
    UnzipBadArchive = 3,
    UnzipNoZip = 9,
    UnzipUnsupported = 81,
    UnzipBadPassword = 82,
};

// A member name made safe for this file system, or empty when the member
// must be refused. Backslashes count as separators (archives made on
// Windows); ".." components, absolute paths and drive letters would reach
// outside the target folder.
QString safeName(const QString &raw, bool honorDirectories, bool spaceToUnderscore, QString *why)
{
    QString name = raw;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.contains(QChar(0))) {
        *why = QStringLiteral("contains a NUL character");
        return QString();
    }
    const bool absolute = name.startsWith(QLatin1Char('/')) || (name.size() >= 2 && name[1] == QLatin1Char(':'));
    QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().size() == 2 && parts.first()[1] == QLatin1Char(':'))
        parts.removeFirst();
    const bool dotdot = parts.contains(QStringLiteral("..")) || parts.contains(QStringLiteral("."));
    if (honorDirectories) {
        if (absolute || dotdot) {
            *why = absolute ? QStringLiteral("absolute path") : QStringLiteral("path leads outside the folder");
            return QString();
        }
    } else {
        // Every member lands directly in the folder, under its base name.
        while (!parts.isEmpty() && (parts.last() == QLatin1String("..") || parts.last() == QLatin1String(".")))
            parts.removeLast();
        parts = parts.isEmpty() ? QStringList() : QStringList{parts.last()};
    }
    if (parts.isEmpty()) {
        *why = QStringLiteral("no file name");
        return QString();
    }
    if (spaceToUnderscore)
        for (QString &p : parts)
            p.replace(QLatin1Char(' '), QLatin1Char('_'));
    return parts.join(QLatin1Char('/'));
}

QByteArray toCrLf(const QByteArray &in)
{
    QByteArray out;
    out.reserve(in.size() + in.size() / 16);
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] == '\n' && (i == 0 || in[i - 1] != '\r'))
            out += '\r';
        out += in[i];
    }
    return out;
}

} // namespace

QString CGUnzipFiles::GetLastMessage() const
{
    return ZipMessage::text();
}

int CGUnzipFiles::askReplace(const QString &file)
{
    if (!m_prompts)
        return ReplaceNo;
    const int answer = m_prompts->msgBox(QStringLiteral("Overwrite ") + file + QStringLiteral("?"),
                                         MsgBoxStyle::YesNoCancel + MsgBoxStyle::Exclamation,
                                         QStringLiteral("VBUnZip32 - File Already Exists!"));
    if (answer == MsgBoxStyle::Yes)
        return ReplaceYes;
    if (answer == MsgBoxStyle::No)
        return ReplaceNo;
    return ReplaceNoneFurther;
}

qint32 CGUnzipFiles::Unzip(const QString &zipFileName, const QString &extractDir)
{
    if (!zipFileName.isEmpty())
        m_zipFileName = zipFileName;
    if (!extractDir.isEmpty())
        m_extractDir = extractDir;
    ZipMessage::clear();
    // The password is asked for once per operation, at the first member
    // that needs one.
    bool passwordAsked = false;
    try {
        VbConvert::toInt16(m_messageLevel);
        VbConvert::toInt16(m_extractList);
        VbConvert::toInt16(m_privilege);
    } catch (const ReportError &e) {
        throw ReportError(e.number(), e.description(), QStringLiteral("CGUnZipFiles::Unzip"));
    }

    const QString archivePath = PathNames::resolve(m_zipFileName);
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        ZipMessage::say(QStringLiteral("error: cannot open %1: %2").arg(m_zipFileName, QString::fromUtf8(zip_error_strerror(&ze))));
        zip_error_fini(&ze);
        if (error == ZIP_ER_NOENT || error == ZIP_ER_OPEN || error == ZIP_ER_NOZIP || error == ZIP_ER_READ)
            return UnzipNoZip;
        return UnzipBadArchive;
    }
    const auto closeArchive = qScopeGuard([archive] { zip_discard(archive); });

    if (DisplayComment()) {
        int length = 0;
        if (const char *comment = zip_get_archive_comment(archive, &length, ZIP_FL_ENC_GUESS))
            ZipMessage::say(QString::fromUtf8(comment, length));
    }

    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count <= 0) {
        ZipMessage::say(QStringLiteral("warning: %1 is empty").arg(m_zipFileName));
        return UnzipWarning;
    }

    if (m_extractList != 0) {
        ZipMessage::say(QStringLiteral("  Length      Date    Time    Name"));
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t st;
            if (zip_stat_index(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS, &st) == 0)
                ZipMessage::say(QStringLiteral("%1  %2   %3")
                        .arg(qint64(st.size), 8)
                        .arg(QDateTime::fromSecsSinceEpoch(st.mtime).toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                        .arg(QString::fromUtf8(st.name)));
        }
        return UnzipOk;
    }

    const QString target = PathNames::normalize(m_extractDir.isEmpty() ? QStringLiteral(".") : m_extractDir);
    if (!TestZip() && !WriteToStdOut() && !QDir().mkpath(target)) {
        ZipMessage::say(QStringLiteral("error: cannot create folder %1").arg(target));
        return UnzipBadArchive;
    }

    qint32 result = UnzipOk;
    const auto worse = [&result](qint32 code) {
        // Errors outrank warnings; among errors the first one stays.
        if (result == UnzipOk || (result == UnzipWarning && code != UnzipOk))
            result = code;
    };
    QByteArray password;
    bool noneFurther = false;
    qint64 total = 0;
    int extracted = 0;

    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
            ZipMessage::say(QStringLiteral("error: member %1 cannot be read").arg(i));
            worse(UnzipBadArchive);
            continue;
        }
        const QString rawName = QString::fromUtf8(st.name);
        const bool isDirectory = rawName.endsWith(QLatin1Char('/')) || rawName.endsWith(QLatin1Char('\\'));

        zip_uint8_t opsys = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(archive, zip_uint64_t(i), 0, &opsys, &attributes) == 0
            && opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK) {
            ZipMessage::say(QStringLiteral("skipping: %1 (symbolic link)").arg(rawName));
            worse(UnzipWarning);
            continue;
        }

        QString why;
        const QString name = safeName(rawName, HonorDirectories(), SpaceToUnderScore(), &why);
        if (name.isEmpty()) {
            if (!(isDirectory && !HonorDirectories())) {
                ZipMessage::say(QStringLiteral("skipping: %1 (%2)").arg(rawName, why));
                worse(UnzipWarning);
            }
            continue;
        }
        const QString path = target + QLatin1Char('/') + name;
        if (isDirectory) {
            if (HonorDirectories() && !TestZip() && !WriteToStdOut())
                QDir().mkpath(path);
            continue;
        }

        if ((st.valid & ZIP_STAT_SIZE) && qint64(st.size) > m_maxMemberSize) {
            ZipMessage::say(QStringLiteral("skipping: %1 (%2 bytes is more than a member may hold)").arg(rawName).arg(qint64(st.size)));
            worse(UnzipWarning);
            continue;
        }
        if (total + qint64(st.size) > m_maxTotalSize) {
            ZipMessage::say(QStringLiteral("skipping: %1 (the archive expands beyond a sane size)").arg(rawName));
            worse(UnzipWarning);
            continue;
        }

        const bool writing = !TestZip() && !WriteToStdOut();
        if (writing) {
            const QFileInfo existing(path);
            const QDateTime memberTime = QDateTime::fromSecsSinceEpoch(st.mtime);
            if (ExtractOnlyNewer() && !existing.exists())
                continue;
            if ((ExtractOnlyNewer() || ExtractNewer()) && existing.exists() && existing.lastModified() >= memberTime)
                continue;
            if (existing.exists()) {
                if (existing.isDir()) {
                    ZipMessage::say(QStringLiteral("skipping: %1 (a folder of that name exists)").arg(rawName));
                    worse(UnzipWarning);
                    continue;
                }
                if (!OverWriteFiles()) {
                    if (!PromptOverwrite() || noneFurther)
                        continue;
                    const int answer = askReplace(path);
                    if (answer == ReplaceNoneFurther)
                        noneFurther = true;
                    if (answer != ReplaceYes)
                        continue;
                }
            }
        }

        zip_file_t *member = nullptr;
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
            if (!passwordAsked) {
                passwordAsked = true;
                if (m_prompts)
                    password = Windows1252Codec::encode(m_prompts->inputBox(QStringLiteral("Please Enter The Password!")));
            }
            if (password.isEmpty()) {
                ZipMessage::say(QStringLiteral("skipping: %1 (no password given)").arg(rawName));
                worse(UnzipBadPassword);
                continue;
            }
            member = zip_fopen_index_encrypted(archive, zip_uint64_t(i), 0, password.constData());
        } else {
            member = zip_fopen_index(archive, zip_uint64_t(i), 0);
        }
        if (!member) {
            const int code = zip_error_code_zip(zip_get_error(archive));
            ZipMessage::say(QStringLiteral("skipping: %1 (%2)").arg(rawName, QString::fromUtf8(zip_strerror(archive))));
            zip_error_clear(archive);
            if (code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_NOPASSWD)
                worse(UnzipBadPassword);
            else if (code == ZIP_ER_COMPNOTSUPP || code == ZIP_ER_ENCRNOTSUPP)
                worse(UnzipUnsupported);
            else
                worse(UnzipDataError);
            continue;
        }

        // Read no more than the member declares: a stream that goes on
        // past its size is a damaged or hostile archive.
        QByteArray data;
        const qint64 declared = (st.valid & ZIP_STAT_SIZE) ? qint64(st.size) : m_maxMemberSize;
        data.reserve(int(std::min<qint64>(declared, 16 * 1024 * 1024)));
        char buffer[65536];
        bool failed = false;
        for (;;) {
            const zip_int64_t n = zip_fread(member, buffer, sizeof buffer);
            if (n < 0) {
                ZipMessage::say(QStringLiteral("error: %1 (%2)").arg(rawName, QString::fromUtf8(zip_file_strerror(member))));
                failed = true;
                break;
            }
            if (n == 0)
                break;
            if (qint64(data.size()) + n > declared) {
                ZipMessage::say(QStringLiteral("error: %1 (more data than the archive declares)").arg(rawName));
                failed = true;
                break;
            }
            data.append(buffer, int(n));
        }
        zip_fclose(member);
        if (failed) {
            worse(UnzipDataError);
            continue;
        }
        total += data.size();

        if (TestZip()) {
            ZipMessage::say(QStringLiteral("    testing: %1   OK").arg(name));
            continue;
        }
        if (ConvertCRtoCRLF() && !data.contains('\0'))
            data = toCrLf(data);
        if (WriteToStdOut()) {
            std::fwrite(data.constData(), 1, size_t(data.size()), stdout);
            continue;
        }
        if (HonorDirectories())
            QDir().mkpath(PathNames::folderOf(path));
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit()) {
            ZipMessage::say(QStringLiteral("error: cannot write %1 (%2)").arg(path, out.errorString()));
            worse(UnzipDataError);
            continue;
        }
        QFile written(path);
        if (written.open(QIODevice::ReadWrite))
            written.setFileTime(QDateTime::fromSecsSinceEpoch(st.mtime), QFileDevice::FileModificationTime);
        ZipMessage::say(QStringLiteral("  inflating: %1").arg(name));
        ++extracted;
    }
    if (result == UnzipBadPassword && extracted > 0)
        result = UnzipWarning;
    return result;
}

} // namespace KRML_ReportGen
