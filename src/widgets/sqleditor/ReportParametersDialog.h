#pragma once

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

namespace KRML_ReportGen {

class ReportParameterPrompt;
class UserPrompts;

// "Report Parameters": asks for one parameter's value with the input its
// type needs (a date picker, a number, a text, a lookup list) and leaves
// the typed value in the prompt's ReturnData (an entry that does not convert
// is refused with the prompt's message, and the dialog stays open).
class ReportParametersDialog : public QDialog
{
    Q_OBJECT
public:
    ReportParametersDialog(ReportParameterPrompt &prompt, UserPrompts &prompts, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onOk();
    QWidget *visibleInput() const;

    ReportParameterPrompt &m_prompt;
    UserPrompts &m_prompts;
    QLabel *m_title;
    QDateEdit *m_date;
    QLineEdit *m_number;
    QLineEdit *m_string;
    QComboBox *m_lookup;
};

} // namespace KRML_ReportGen
