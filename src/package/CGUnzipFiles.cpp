#include "CGUnzipFiles.h"

#include "DurableFile.h"
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
#include <QRegularExpression>
#include <QScopeGuard>
#include <cstdio>
#include <limits>
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

void CGUnzipFiles::Progress::worse(qint32 code)
{
    if (result == UnzipOk || (result == UnzipWarning && code != UnzipOk))
        result = code;
}

bool CGUnzipFiles::included(const QString &name) const
{
    if (m_includeNames.isEmpty())
        return true;
    const auto options = CaseSensitive() ? QRegularExpression::NoPatternOption : QRegularExpression::CaseInsensitiveOption;
    for (const QString &pattern : m_includeNames) {
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                    options);
        if (re.match(name).hasMatch())
            return true;
    }
    return false;
}

void CGUnzipFiles::listMembers(zip_t *archive, qint64 count) const
{
    ZipMessage::say(QStringLiteral("  Length      Date    Time    Name"));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS, &st) == 0)
            ZipMessage::say(QStringLiteral("%1  %2   %3")
                    .arg(qint64(st.size), 8)
                    .arg(QDateTime::fromSecsSinceEpoch(st.mtime).toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                    .arg(QString::fromUtf8(st.name)));
    }
}

QString CGUnzipFiles::refusal(zip_t *archive, qint64 count) const
{
    if (count > m_maxMembers)
        return QStringLiteral("the archive holds %1 members, more than the %2 it may hold").arg(count).arg(m_maxMembers);
    // Only what the central directory declares is looked at here; reading
    // a member later never goes beyond its declared size.
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            continue;
        const qint64 size = qint64(std::min<zip_uint64_t>(st.size, zip_uint64_t(std::numeric_limits<qint64>::max() / 2)));
        total += size;
        if (total > m_maxTotalSize)
            return QStringLiteral("the archive's members expand to more than %1 MB").arg(m_maxTotalSize / (1024 * 1024));
        // Small members may compress as far as they like; only a large one
        // that claims to come from next to nothing is a bomb.
        if ((st.valid & ZIP_STAT_COMP_SIZE) && size > 1024 * 1024
            && (st.comp_size == 0 || size / qint64(st.comp_size) > m_maxRatio))
            return QStringLiteral("%1 claims to expand %2 bytes to %3, more than %4 to 1")
                .arg(QString::fromUtf8(st.name))
                .arg(qint64(st.comp_size))
                .arg(size)
                .arg(m_maxRatio);
    }
    return QString();
}

bool CGUnzipFiles::admit(zip_t *archive, qint64 index, const QString &target, Member &member, Progress &progress)
{
    zip_stat_t st;
    if (zip_stat_index(archive, zip_uint64_t(index), ZIP_FL_ENC_GUESS, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
        ZipMessage::say(QStringLiteral("error: member %1 cannot be read").arg(index));
        progress.worse(UnzipBadArchive);
        return false;
    }
    member.index = index;
    member.rawName = QString::fromUtf8(st.name);
    member.size = (st.valid & ZIP_STAT_SIZE) ? qint64(std::min<zip_uint64_t>(st.size, zip_uint64_t(m_maxMemberSize) + 1)) : -1;
    member.mtime = qint64(st.mtime);
    member.encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    const bool isDirectory = member.rawName.endsWith(QLatin1Char('/')) || member.rawName.endsWith(QLatin1Char('\\'));

    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, zip_uint64_t(index), 0, &opsys, &attributes) == 0
        && opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK) {
        ZipMessage::say(QStringLiteral("skipping: %1 (symbolic link)").arg(member.rawName));
        progress.worse(UnzipWarning);
        return false;
    }

    QString why;
    member.name = safeName(member.rawName, HonorDirectories(), SpaceToUnderScore(), &why);
    if (member.name.isEmpty()) {
        if (!(isDirectory && !HonorDirectories())) {
            ZipMessage::say(QStringLiteral("skipping: %1 (%2)").arg(member.rawName, why));
            progress.worse(UnzipWarning);
        }
        return false;
    }
    member.path = target + QLatin1Char('/') + member.name;
    const bool writing = !TestZip() && !WriteToStdOut();
    if (isDirectory) {
        if (HonorDirectories() && writing && included(member.name))
            QDir().mkpath(member.path);
        return false;
    }
    if (!included(member.name))
        return false;

    if (member.size > m_maxMemberSize) {
        ZipMessage::say(QStringLiteral("skipping: %1 (%2 bytes is more than a member may hold)").arg(member.rawName).arg(qint64(st.size)));
        progress.worse(UnzipWarning);
        return false;
    }
    if (!writing)
        return true;

    const QFileInfo existing(member.path);
    if (!existing.exists())
        return !ExtractOnlyNewer();
    if ((ExtractOnlyNewer() || ExtractNewer()) && existing.lastModified() >= QDateTime::fromSecsSinceEpoch(member.mtime))
        return false;
    if (existing.isDir()) {
        ZipMessage::say(QStringLiteral("skipping: %1 (a folder of that name exists)").arg(member.rawName));
        progress.worse(UnzipWarning);
        return false;
    }
    if (OverWriteFiles())
        return true;
    if (!PromptOverwrite() || progress.noneFurther)
        return false;
    const int answer = askReplace(member.path);
    if (answer == ReplaceNoneFurther)
        progress.noneFurther = true;
    return answer == ReplaceYes;
}

bool CGUnzipFiles::read(zip_t *archive, const Member &m, QByteArray &data, Progress &progress)
{
    zip_file_t *member = nullptr;
    if (m.encrypted) {
        // Asked once, at the first member that needs it; later members
        // and operations of this object use the same answer.
        if (!m_password) {
            m_password = m_prompts ? Windows1252Codec::encode(m_prompts->inputBox(QStringLiteral("Please Enter The Password!")))
                                   : QByteArray();
        }
        if (!m_password || m_password->isEmpty()) {
            ZipMessage::say(QStringLiteral("skipping: %1 (no password given)").arg(m.rawName));
            progress.worse(UnzipBadPassword);
            return false;
        }
        member = zip_fopen_index_encrypted(archive, zip_uint64_t(m.index), 0, m_password->constData());
    } else {
        member = zip_fopen_index(archive, zip_uint64_t(m.index), 0);
    }
    if (!member) {
        const int code = zip_error_code_zip(zip_get_error(archive));
        ZipMessage::say(QStringLiteral("skipping: %1 (%2)").arg(m.rawName, QString::fromUtf8(zip_strerror(archive))));
        zip_error_clear(archive);
        if (code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_NOPASSWD)
            progress.worse(UnzipBadPassword);
        else if (code == ZIP_ER_COMPNOTSUPP || code == ZIP_ER_ENCRNOTSUPP)
            progress.worse(UnzipUnsupported);
        else
            progress.worse(UnzipDataError);
        return false;
    }

    // Read no more than the member declares: a stream that goes on past
    // its size is a damaged or hostile archive.
    const qint64 declared = m.size >= 0 ? m.size : m_maxMemberSize;
    data.reserve(qsizetype(std::min<qint64>(declared, 16 * 1024 * 1024)));
    char buffer[65536];
    bool failed = false;
    for (;;) {
        const zip_int64_t n = zip_fread(member, buffer, sizeof buffer);
        if (n < 0) {
            ZipMessage::say(QStringLiteral("error: %1 (%2)").arg(m.rawName, QString::fromUtf8(zip_file_strerror(member))));
            failed = true;
            break;
        }
        if (n == 0)
            break;
        if (qint64(data.size()) + n > declared) {
            ZipMessage::say(QStringLiteral("error: %1 (more data than the archive declares)").arg(m.rawName));
            failed = true;
            break;
        }
        data.append(buffer, qsizetype(n));
    }
    zip_fclose(member);
    if (failed)
        progress.worse(UnzipDataError);
    return !failed;
}

void CGUnzipFiles::write(const Member &m, QByteArray data, Progress &progress)
{
    if (TestZip()) {
        ZipMessage::say(QStringLiteral("    testing: %1   OK").arg(m.name));
        return;
    }
    if (ConvertCRtoCRLF() && !data.contains('\0'))
        data = toCrLf(data);
    if (WriteToStdOut()) {
        std::fwrite(data.constData(), 1, size_t(data.size()), stdout);
        return;
    }
    if (HonorDirectories())
        QDir().mkpath(PathNames::folderOf(m.path));
    try {
        DurableFile::write(m.path, data);
    } catch (const ReportError &e) {
        ZipMessage::say(QStringLiteral("error: cannot write %1 (%2)").arg(m.path, e.description()));
        progress.worse(UnzipDataError);
        return;
    }
    QFile written(m.path);
    if (written.open(QIODevice::ReadWrite))
        written.setFileTime(QDateTime::fromSecsSinceEpoch(m.mtime), QFileDevice::FileModificationTime);
    ZipMessage::say(QStringLiteral("  inflating: %1").arg(m.name));
    ++progress.extracted;
}

qint32 CGUnzipFiles::Unzip(const QString &zipFileName, const QString &extractDir)
{
    if (!zipFileName.isEmpty())
        m_zipFileName = zipFileName;
    if (!extractDir.isEmpty())
        m_extractDir = extractDir;
    ZipMessage::clear();
    m_refusal.clear();
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
        listMembers(archive, count);
        return UnzipOk;
    }
    if (const QString why = refusal(archive, count); !why.isEmpty()) {
        m_refusal = why;
        ZipMessage::say(QStringLiteral("error: %1 is refused: %2").arg(m_zipFileName, why));
        return UnzipBadArchive;
    }

    const QString target = PathNames::normalize(m_extractDir.isEmpty() ? QStringLiteral(".") : m_extractDir);
    if (!TestZip() && !WriteToStdOut() && !QDir().mkpath(target)) {
        ZipMessage::say(QStringLiteral("error: cannot create folder %1").arg(target));
        return UnzipBadArchive;
    }

    Progress progress;
    for (zip_int64_t i = 0; i < count; ++i) {
        Member member;
        QByteArray data;
        if (admit(archive, i, target, member, progress) && read(archive, member, data, progress))
            write(member, std::move(data), progress);
    }
    if (progress.result == UnzipBadPassword && progress.extracted > 0)
        return UnzipWarning;
    return progress.result;
}

} // namespace KRML_ReportGen
