#pragma once

#include "FormulaEditorModel.h"

#include <QDialog>
#include <memory>

class QLabel;
class QListWidget;
class QTextEdit;

namespace KRML_ReportGen {

class RowsExpressionScope;

// The formula editor ("Form1"): statements, their fields and the function
// names (each with its signature as a tip), dragged into the formula box;
// closing it leaves the formula in curFormula. An expression is checked as
// it is typed: the error and its place are marked, or the result on the
// statements' first row is shown.
class FormulaEditorWindow : public QDialog
{
    Q_OBJECT
public:
    FormulaEditorWindow(FormulaEditorModel &model, QWidget *parent = nullptr);
    ~FormulaEditorWindow() override;

    QListWidget *statements() const { return m_tables; }
    QListWidget *fields() const { return m_fields; }
    QListWidget *functions() const { return m_functions; }
    QTextEdit *formula() const { return m_formula; }
    QLabel *check() const { return m_check; }
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
    QLabel *m_check;
    QPoint m_pressAt;
    std::unique_ptr<RowsExpressionScope> m_sample; // the statements' first rows, read once

    void checkFormula();
};

} // namespace KRML_ReportGen
