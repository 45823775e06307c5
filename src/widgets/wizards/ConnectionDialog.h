#pragma once

#include "ConnectionDialogModel.h"

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace KRML_ReportGen {

class UserPrompts;

// The connection dialog: a provider, its fields (a file with "Browse...",
// or host, port, database, user and password), the connection string they
// make (editable), and "Test Connection".
class ConnectionDialog : public QDialog
{
    Q_OBJECT
public:
    ConnectionDialog(const ConnectionDialogModel &model, UserPrompts &prompts, QWidget *parent = nullptr);

    QString connectionString() const;
    ConnectionDialogModel &model() { return m_model; }
    QLineEdit *field(ConnectionDialogModel::Field f) const { return m_edits[f]; }
    QComboBox *providers() const { return m_provider; }
    QPlainTextEdit *stringBox() const { return m_string; }
    void testConnection();

    // EditCnn and NewCnn: true with the new string when the user confirms.
    static bool EditCnn(QWidget *owner, QString &connectionString, UserPrompts &prompts);
    static bool NewCnn(QWidget *owner, QString &connectionString, UserPrompts &prompts);

private:
    void showFields();
    void rebuildString();

    ConnectionDialogModel m_model;
    UserPrompts &m_prompts;
    QComboBox *m_provider;
    QFormLayout *m_form;
    QLineEdit *m_edits[ConnectionDialogModel::FieldCount] = {};
    QWidget *m_rows[ConnectionDialogModel::FieldCount] = {};
    QPlainTextEdit *m_string;
    QLabel *m_result;
    bool m_syncing = false;
};

} // namespace KRML_ReportGen
