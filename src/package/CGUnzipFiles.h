#pragma once

#include "VbBool.h"

#include <QString>

namespace KRML_ReportGen {

class UserPrompts;

// Extracts a zip archive into a folder. Unzip returns the archiver's result
// code: 0 success, 1 warnings (members skipped: unsafe names, links, sizes
// beyond reason, an empty archive), 2 damaged data (CRC errors, broken
// streams), 3 a damaged archive, 9 not found or not a zip archive, 81
// unsupported compression or encryption, 82 wrong or missing password.
// Nothing is ever written outside ExtractDir.
class CGUnzipFiles
{
public:
    // What one member and a whole archive may expand to; a member beyond
    // either is skipped (a zip bomb, or an archive that lies about sizes).
    static constexpr qint64 DefaultMaxMemberSize = 256LL * 1024 * 1024;
    static constexpr qint64 DefaultMaxTotalSize = 1024LL * 1024 * 1024;
    void setSizeLimits(qint64 member, qint64 total)
    {
        m_maxMemberSize = member;
        m_maxTotalSize = total;
    }

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
    // Member names are matched against include and exclude lists; every
    // operation extracts all members, so this only travels with the options.
    bool CaseSensitive() const { return m_caseSensitive.get(); }
    void setCaseSensitive(bool v) { m_caseSensitive = v; }
    qint32 Privilege() const { return m_privilege; }
    void setPrivilege(qint32 v) { m_privilege = v; }
    QString ZipFileName() const { return m_zipFileName; }
    void setZipFileName(const QString &v) { m_zipFileName = v; }
    QString ExtractDir() const { return m_extractDir; }
    void setExtractDir(const QString &v) { m_extractDir = v; }

    qint32 Unzip(const QString &zipFileName = QString(), const QString &extractDir = QString());
    QString GetLastMessage() const;

    // The replace question's answers.
    static constexpr int ReplaceYes = 102;
    static constexpr int ReplaceNo = 100;
    static constexpr int ReplaceNoneFurther = 104;

private:
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
    qint64 m_maxMemberSize = DefaultMaxMemberSize;
    qint64 m_maxTotalSize = DefaultMaxTotalSize;
};

} // namespace KRML_ReportGen
