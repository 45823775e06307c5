#pragma once

#include "LookupSetupModel.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;

namespace KRML_ReportGen {

class UserPrompts;

// "Lookup Parameter Setup": a view of LookupSetupModel with its two tabs.
// "OK" closes it only when the model's check passes.
class LookupSetupDialog : public QDialog
{
    Q_OBJECT
public:
    LookupSetupDialog(LookupSetupModel &model, UserPrompts &prompts, QWidget *parent = nullptr);

    // Shows the model's values (after the caller has set them).
    void syncFromModel();

private:
    void fillFields();
    void onOk();

    LookupSetupModel &m_model;
    UserPrompts &m_prompts;
    QTabBar *m_tabs;
    QStackedWidget *m_frames;
    QComboBox *m_table;
    QComboBox *m_display;
    QComboBox *m_return;
    QPlainTextEdit *m_sql;
    QLineEdit *m_displayText;
    QLineEdit *m_returnText;
};

} // namespace KRML_ReportGen
