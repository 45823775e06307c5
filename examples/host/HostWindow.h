#pragma once

#include <QMainWindow>

namespace KRML_ReportGen {
class ReportGenOCX;
}

// A host's main window: the report control in the middle, a toolbar that
// switches its modes, a status bar that follows its events.
class HostWindow : public QMainWindow
{
    Q_OBJECT
public:
    HostWindow(const QString &appFolder, const QString &database);

    KRML_ReportGen::ReportGenOCX *report() const { return m_report; }
    // Opens a layout package in the control (false, with the reason in the
    // status bar, when it cannot).
    bool openPackage(const QString &path);

private:
    void buildToolBar();

    KRML_ReportGen::ReportGenOCX *m_report = nullptr;
};
