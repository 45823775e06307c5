#pragma once

#include "FormulaEditorModel.h"

#include <QDialog>

class QListWidget;
class QTextEdit;

namespace KRML_ReportGen {

// The formula editor ("Form1"): statements, their fields and the function
// names, dragged into the formula box; closing it leaves the formula in
// curFormula.
class FormulaEditorWindow : public QDialog
{
    Q_OBJECT
public:
    FormulaEditorWindow(FormulaEditorModel &model, QWidget *parent = nullptr);

    QListWidget *statements() const { return m_tables; }
    QListWidget *fields() const { return m_fields; }
    QListWidget *functions() const { return m_functions; }
    QTextEdit *formula() const { return m_formula; }
    // A drop of a field or function at a point of the formula box.
    void dropAt(const QPoint &pos, const QString &text, bool isFunction);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FormulaEditorModel &m_model;
    QListWidget *m_tables;
    QListWidget *m_fields;
    QListWidget *m_functions;
    QTextEdit *m_formula;
    QPoint m_pressAt;
};

} // namespace KRML_ReportGen
