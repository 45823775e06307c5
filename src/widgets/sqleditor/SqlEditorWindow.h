#pragma once

#include <QDialog>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QTableView;

namespace KRML_ReportGen {

class CompletionPopup;
class ParameterCommands;
class RecordsetTableModel;
class SqlEditorDialogs;
class SqlEditorModel;
class SqlHighlighter;
class StatementTrial;

// The "SQL Editor" window: a view of SqlEditorModel. Its buttons and menus
// call the model's commands and show the model's state again; the SQL box
// colours as the user types and completes column names after "Table.".
class SqlEditorWindow : public QDialog
{
    Q_OBJECT
public:
    SqlEditorWindow(SqlEditorModel &model, SqlEditorDialogs &dialogs, QWidget *parent = nullptr);
    ~SqlEditorWindow() override;

    QPlainTextEdit *sqlBox() const { return m_sqlBox; }
    QComboBox *statementList() const { return m_statements; }
    QListWidget *parameterList() const { return m_parameters; }
    CompletionPopup *completion() const { return m_completion; }
    QLabel *recordCountLabel() const { return m_recordCount; }
    QTableView *resultsGrid() const { return m_grid; }

    // The window's commands, as its buttons and menu items run them.
    void saveStatement();
    void checkSql();
    void preview();
    void exportResults();
    void addParameter();
    void modifyParameter();
    void removeParameter();
    void insertParameter();
    void newDefinition();
    void loadFile();
    void importFile();
    void saveFileAs();
    void saveAndExit();

    // Shows the model's state again (after any command).
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pushText(); // the SQL box into the model
    void pullText(); // the model's SQL text into the box
    void runGuarded(const std::function<void()> &command);

    SqlEditorModel &m_model;
    SqlEditorDialogs &m_dialogs;
    std::unique_ptr<ParameterCommands> m_parameterCommands;
    std::unique_ptr<StatementTrial> m_trial;
    QComboBox *m_statements;
    QPlainTextEdit *m_sqlBox;
    SqlHighlighter *m_highlighter;
    QListWidget *m_parameters;
    QTableView *m_grid;
    RecordsetTableModel *m_gridModel;
    QLabel *m_recordCount;
    QGroupBox *m_exportFrame;
    QProgressBar *m_progress;
    QLabel *m_percent;
    CompletionPopup *m_completion;
    bool m_syncing = false;
};

} // namespace KRML_ReportGen
