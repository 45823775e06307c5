#pragma once

#include <QDialog>

class QRadioButton;

namespace KRML_ReportGen {

// "Add Report Parameter": the four parameter types as option buttons, in
// the order of their type codes.
class ParameterTypeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ParameterTypeDialog(QWidget *parent = nullptr);

    // The selected option's type code (0 when none is selected).
    int AddParameterType() const;
    void setAddParameterType(int type);

private:
    QRadioButton *m_options[4];
};

} // namespace KRML_ReportGen
