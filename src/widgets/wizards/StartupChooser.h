#pragma once

#include "StartupChooserModel.h"

#include <QDialog>
#include <functional>

class QPushButton;
class QTimer;

namespace KRML_ReportGen {

// The start-up chooser: "Report Layout Design", "SQL Editor", "Setup Data
// Source", and the timer that picks up a saved connection every second.
class StartupChooser : public QDialog
{
    Q_OBJECT
public:
    StartupChooser(FileService &files, UserPrompts &prompts, std::function<void()> setupDataSource, QWidget *parent = nullptr);

    StartupChooserModel &model() { return m_model; }
    QPushButton *button(int i) const { return m_buttons[i]; }
    void tick();

private:
    StartupChooserModel m_model;
    QPushButton *m_buttons[3];
    QTimer *m_timer;
};

} // namespace KRML_ReportGen
