#pragma once

#include "ControlServices.h"

#include <QMainWindow>
#include <functional>

namespace KRML_ReportGen {

class ReportGenOCX;

// The standalone designer: a top-level window around one control in
// designer mode, with the control's layout and insert commands in its menus.
class DesignerWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit DesignerWindow(ControlServices services = ControlServices::standard(), QWidget *parent = nullptr);

    ReportGenOCX *control() const { return m_control; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Runs a menu command; its failure is reported as "Error in <name> ...".
    void run(const QString &commandName, const std::function<void()> &command);
    void buildMenus();
    void saveSettings();

    ControlServices m_services;
    ReportGenOCX *m_control = nullptr;
};

} // namespace KRML_ReportGen
