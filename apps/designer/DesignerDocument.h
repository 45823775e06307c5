#pragma once

#include "ControlServices.h"
#include "RecentFiles.h"

#include <QObject>
#include <optional>

class QWidget;

namespace KRML_ReportGen {

class DesignerConnection;
class ReportGenOCX;

// The report the standalone designer has open: its package file, whether
// it has changes not saved (the undo stack is not clean), and the file
// commands on it: new, open, save, save as, close. Changes are never lost
// silently: before they would be, the user chooses Save, Discard or Cancel.
class DesignerDocument : public QObject
{
    Q_OBJECT
public:
    DesignerDocument(ReportGenOCX &control, DesignerConnection &connection, ControlServices services, QWidget *window);

    QString path() const { return m_path; }
    QString displayName() const;
    bool isModified() const;
    RecentFiles &recentFiles() { return m_recent; }

    // Each returns false when it did not happen (cancelled or failed).
    bool newDocument();
    // An empty path asks for one.
    bool open(const QString &path = QString());
    bool save();
    bool saveAs();
    bool close() { return newDocument(); }
    // Asks Save / Discard / Cancel when there are changes; true to go on.
    bool maybeSave();

    static QString saveQuestion(const QString &name);

signals:
    // The file or its modified state changed (the window title follows).
    void changed();
    void status(const QString &text);
    // Another package is on the page.
    void packageOpened();

private:
    bool saveTo(const QString &path);
    QString initialFolder() const;

    ReportGenOCX &m_control;
    DesignerConnection &m_connection;
    ControlServices m_services;
    QWidget *m_window;
    RecentFiles m_recent;
    QString m_path;
    // Whether saving keeps the connection in the package: as the opened
    // package did, or as the user answered the first time.
    std::optional<bool> m_storeConnection;
};

} // namespace KRML_ReportGen
