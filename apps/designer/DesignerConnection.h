#pragma once

#include <QObject>
#include <QString>

namespace KRML_ReportGen {

class FileService;
class ReportGenOCX;
class SettingsStore;
class UserPrompts;

// The standalone designer's database connection: chosen in the connection
// dialog or on the command line and remembered for the next start
// (without its password), or the one a package names in its Data.cnn
// (looked for beside the package when it does not exist as written). An
// open connection becomes the control's RepDataConnection, so the field
// palette, Check SQL, the preview and the formula editor work on it. A
// connection that fails says why, in the status line and a message.
class DesignerConnection : public QObject
{
    Q_OBJECT
public:
    DesignerConnection(ReportGenOCX &control, SettingsStore &settings, UserPrompts &prompts, FileService &files,
                       QObject *parent = nullptr);

    // Opens the connection; true when it is open. remember: kept for the
    // next start. tellFailure: a message box besides the status line.
    bool connectTo(const QString &connectionString, bool remember, bool tellFailure);
    // The connection dialog on the string in use (or the remembered one).
    bool choose(QWidget *owner);
    // After a package was opened (which closes the connection): the
    // package's own Data.cnn when it has one, else the string in use before.
    void afterOpen();
    // A string to use instead of the next package's own (the command line's).
    void setOverrideForNextOpen(const QString &connectionString) { m_override = connectionString; }

    QString current() const { return m_current; }
    QString remembered() const;
    bool isOpen() const;
    QString statusText() const { return m_status; }

    static QString withoutPassword(const QString &connectionString);
    // "Connected to sales.db" and the like.
    static QString describe(const QString &connectionString);

signals:
    void statusChanged(const QString &text);

private:
    void setStatus(const QString &text);

    ReportGenOCX &m_control;
    SettingsStore &m_settings;
    UserPrompts &m_prompts;
    FileService &m_files;
    QString m_current;
    QString m_override;
    QString m_status;
};

} // namespace KRML_ReportGen
