#pragma once

#include "VbBool.h"

#include <QString>
#include <QStringList>
#include <optional>

struct zip;

namespace KRML_ReportGen {

class UserPrompts;

// Extracts a zip archive into a folder. Unzip returns the archiver's result
// code: 0 success, 1 warnings (members skipped: unsafe names, links, sizes
// beyond reason, an empty archive), 2 damaged data (CRC errors, broken
// streams), 3 a damaged archive, 9 not found or not a zip archive, 81
// unsupported compression or encryption, 82 wrong or missing password; an
// archive beyond the limits below is refused whole with 3.
// Nothing is ever written outside ExtractDir.
class CGUnzipFiles
{
public:
    // What one member may expand to: a member beyond it is skipped.
    static constexpr qint64 DefaultMaxMemberSize = 256LL * 1024 * 1024;
    // What a whole archive may hold, in members and in bytes once expanded,
    // and how far one member may expand its compressed data (deflate never
    // gets beyond about 1,030 to 1). An archive beyond any of them is refused
    // whole before anything is written (a zip bomb, or an archive that lies
    // about its sizes).
    static constexpr qint64 DefaultMaxTotalSize = 1024LL * 1024 * 1024;
    static constexpr qint64 DefaultMaxMembers = 65535;
    static constexpr qint64 DefaultMaxRatio = 1100;
    void setSizeLimits(qint64 member, qint64 total)
    {
        m_maxMemberSize = member;
        m_maxTotalSize = total;
    }
    void setMemberLimit(qint64 members) { m_maxMembers = members; }
    void setRatioLimit(qint64 ratio) { m_maxRatio = ratio; }

    // prompts answers the password and replace questions; may be null
    // (no password, never replace).
    explicit CGUnzipFiles(UserPrompts *prompts = nullptr) : m_prompts(prompts) {}

    bool ExtractNewer() const { return m_extractNewer.get(); }
    void setExtractNewer(bool v) { m_extractNewer = v; }
    bool SpaceToUnderScore() const { return m_spaceToUnderScore.get(); }
    void setSpaceToUnderScore(bool v) { m_spaceToUnderScore = v; }
    bool PromptOverwrite() const { return m_promptOverwrite.get(); }
    void setPromptOverwrite(bool v) { m_promptOverwrite = v; }
    qint32 MessageLevel() const { return m_messageLevel; }
    void setMessageLevel(qint32 v) { m_messageLevel = v; }
    bool WriteToStdOut() const { return m_writeToStdOut.get(); }
    void setWriteToStdOut(bool v) { m_writeToStdOut = v; }
    bool TestZip() const { return m_testZip.get(); }
    void setTestZip(bool v) { m_testZip = v; }
    qint32 ExtractList() const { return m_extractList; }
    void setExtractList(qint32 v) { m_extractList = v; }
    bool ExtractOnlyNewer() const { return m_extractOnlyNewer.get(); }
    void setExtractOnlyNewer(bool v) { m_extractOnlyNewer = v; }
    bool DisplayComment() const { return m_displayComment.get(); }
    void setDisplayComment(bool v) { m_displayComment = v; }
    bool HonorDirectories() const { return m_honorDirectories.get(); }
    void setHonorDirectories(bool v) { m_honorDirectories = v; }
    bool OverWriteFiles() const { return m_overWriteFiles.get(); }
    void setOverWriteFiles(bool v) { m_overWriteFiles = v; }
    bool ConvertCRtoCRLF() const { return m_convertCRtoCRLF.get(); }
    void setConvertCRtoCRLF(bool v) { m_convertCRtoCRLF = v; }
    bool Verbose() const { return m_verbose.get(); }
    void setVerbose(bool v) { m_verbose = v; }
    // How member names are matched against the include list.
    bool CaseSensitive() const { return m_caseSensitive.get(); }
    void setCaseSensitive(bool v) { m_caseSensitive = v; }
    qint32 Privilege() const { return m_privilege; }
    void setPrivilege(qint32 v) { m_privilege = v; }
    QString ZipFileName() const { return m_zipFileName; }
    void setZipFileName(const QString &v) { m_zipFileName = v; }
    QString ExtractDir() const { return m_extractDir; }
    void setExtractDir(const QString &v) { m_extractDir = v; }

    // Only the members whose names (as they would be written: the base name
    // when HonorDirectories is false) match one of these patterns ("*" and
    // "?" as wildcards, letter case as CaseSensitive says); empty: all.
    QStringList IncludeNames() const { return m_includeNames; }
    void setIncludeNames(const QStringList &patterns) { m_includeNames = patterns; }

    qint32 Unzip(const QString &zipFileName = QString(), const QString &extractDir = QString());
    // Why the last operation refused the archive whole; empty otherwise.
    QString refusalReason() const { return m_refusal; }
    QString GetLastMessage() const;

    // The replace question's answers.
    static constexpr int ReplaceYes = 102;
    static constexpr int ReplaceNo = 100;
    static constexpr int ReplaceNoneFurther = 104;

private:
    struct Member
    {
        qint64 index = 0;
        QString rawName;
        QString name; // as written, relative to the target folder
        QString path;
        qint64 size = -1; // -1: not declared
        qint64 mtime = 0;
        bool encrypted = false;
    };
    // What one operation has come to so far.
    struct Progress
    {
        qint32 result = 0;
        bool noneFurther = false;
        int extracted = 0;
        // Errors outrank warnings; among errors the first one stays.
        void worse(qint32 code);
    };

    // Why the archive is refused whole (too many members, too large, a
    // member expanding beyond reason), or an empty text.
    QString refusal(::zip *archive, qint64 count) const;
    // Decides whether a member is extracted: its name, its kind, its size,
    // the include list and the overwrite and newer rules.
    bool admit(::zip *archive, qint64 index, const QString &target, Member &member, Progress &progress);
    // Inflates an admitted member (asking for the password of an encrypted
    // one), never beyond the size it declares.
    bool read(::zip *archive, const Member &member, QByteArray &data, Progress &progress);
    // Tests, prints or writes what was read.
    void write(const Member &member, QByteArray data, Progress &progress);
    bool included(const QString &name) const;
    void listMembers(::zip *archive, qint64 count) const;
    int askReplace(const QString &file);

    UserPrompts *m_prompts;
    VbBool m_extractNewer;
    VbBool m_spaceToUnderScore;
    VbBool m_promptOverwrite;
    qint32 m_messageLevel = 2;
    VbBool m_writeToStdOut;
    VbBool m_testZip;
    qint32 m_extractList = 0;
    VbBool m_extractOnlyNewer;
    VbBool m_displayComment;
    VbBool m_honorDirectories = true;
    VbBool m_overWriteFiles = true;
    VbBool m_convertCRtoCRLF;
    VbBool m_verbose;
    VbBool m_caseSensitive = true;
    qint32 m_privilege = 0;
    QString m_zipFileName;
    QString m_extractDir;
    QStringList m_includeNames;
    qint64 m_maxMemberSize = DefaultMaxMemberSize;
    qint64 m_maxTotalSize = DefaultMaxTotalSize;
    qint64 m_maxMembers = DefaultMaxMembers;
    qint64 m_maxRatio = DefaultMaxRatio;
    // The password given in an earlier operation of this object, so that a
    // package read in two steps is not asked for twice.
    std::optional<QByteArray> m_password;
    QString m_refusal;
};

} // namespace KRML_ReportGen
