#pragma once

#include <QString>

namespace KRML_ReportGen {

class FileService;
class UserPrompts;

// The start-up chooser ("Report Layout Design", "SQL Editor", "Setup Data
// Source") without its window: the choice, and the timer's tick that picks
// up a connection saved in the external data wizard. The tick enables
// buttons, never disables them, and reports an unreadable working
// connection file (or one without "Data Source") once without stopping.
class StartupChooserModel
{
public:
    static constexpr int TickMilliseconds = 1000;

    StartupChooserModel(FileService &files, UserPrompts &prompts);

    bool layoutDesignChosen = false;
    bool sqlEditorChosen = false;
    bool layoutEnabled = true;
    bool sqlEnabled = true;
    bool dataSourceEnabled = true;

    void tick();

private:
    FileService &m_files;
    UserPrompts &m_prompts;
    QString m_reported; // the connection file text last reported as unusable
};

// The please-wait window's bar: where it goes on the next tick, and the
// step after it (reversed at either edge).
struct BouncingBar
{
    int left = 0;
    int step = 100;
    void advance(int innerWidth, int barWidth);
};

} // namespace KRML_ReportGen
