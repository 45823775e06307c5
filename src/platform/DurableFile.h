#pragma once

#include <QIODevice>
#include <QString>
#include <functional>

namespace KRML_ReportGen {

// A file that replaces its target in one step, and only once every byte is
// known to be in it: the bytes go to "<name>.part.<8 hex digits>" beside the
// target, every write's count is checked, the file is flushed to the disk
// (fsync) and its size compared with what was written, an optional check
// looks at the finished file (a zip archive reopened), and only then is it
// renamed over the target. Anything that fails on the way leaves the target
// as it was and removes the part file; a process killed on the way leaves
// the part file, which removeStaleParts clears later.
//
// Stream into it like any QIODevice (PDF and image writers do) and call
// commit(), or hand it all the bytes at once with write().
class DurableFile : public QIODevice
{
public:
    // Looks at the finished part file before it replaces the target; returns
    // why it is not what was meant to be written, or an empty text.
    using Check = std::function<QString(const QString &partPath)>;

    explicit DurableFile(const QString &target);
    ~DurableFile() override; // discards unless committed

    // WriteOnly; fails (false, errorText) when the folder cannot take a file.
    bool open(OpenMode mode) override;
    void setCheck(Check check) { m_check = std::move(check); }
    // True when the target now holds exactly what was written.
    bool commit();
    // Drops what was written; the target stays as it was.
    void discard();

    // Why the file could not be written, and the error number that goes
    // with it (61 disk full, 70 permission denied, 75 path/file access
    // error, 76 path not found).
    QString errorText() const { return m_errorText; }
    qint32 errorNumber() const { return m_errorNumber; }
    QString target() const { return m_target; }

    bool isSequential() const override { return true; }

    using QIODevice::write;
    // The whole file in one call; a ReportError naming the file when it
    // could not be written.
    static void write(const QString &target, const QByteArray &bytes, const Check &check = Check());

    // True for the names part files get ("<name>.part.<8 hex digits>").
    static bool isPartName(const QString &fileName);
    // Removes the part files in a folder that were last touched more than
    // maxAgeSeconds ago (a write that a killed process left behind); younger
    // ones may belong to a write still going on. Returns how many went.
    static int removeStaleParts(const QString &folder, int maxAgeSeconds = 60);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void fail(int error, const QString &what);
    void closeDescriptor();
    void removePart();

    QString m_target;
    QString m_part;
    int m_fd = -1;
    qint64 m_written = 0;
    Check m_check;
    QString m_errorText;
    qint32 m_errorNumber = 0;
};

} // namespace KRML_ReportGen
