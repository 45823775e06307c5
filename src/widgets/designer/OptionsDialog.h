#pragma once

#include "OptionsModel.h"

#include <QDialog>
#include <optional>

class QLineEdit;

namespace KRML_ReportGen {

class UserPrompts;

// "Options": grid size, page size in millimetres and the database path. A
// view of OptionsModel; result() holds the new values after "&OK".
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    OptionsDialog(const OptionsModel::Values &current, UserPrompts &prompts, QWidget *parent = nullptr);

    std::optional<OptionsModel::Values> result() const { return m_result; }
    QLineEdit *field(OptionsModel::Field f) const;
    void ok();

private:
    UserPrompts &m_prompts;
    QLineEdit *m_grid;
    QLineEdit *m_height;
    QLineEdit *m_width;
    QLineEdit *m_path;
    std::optional<OptionsModel::Values> m_result;
};

} // namespace KRML_ReportGen
