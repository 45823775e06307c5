#include "CommandButton.h"
#include "SqlEditorWindow.h"

#include "CompletionPopup.h"
#include "DatabaseReference.h"
#include "MsgBoxStyle.h"
#include "ParameterCommands.h"
#include "RecordsetTableModel.h"
#include "ReportError.h"
#include "SqlEditorModel.h"
#include "SqlHighlighter.h"
#include "StatementTrial.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace KRML_ReportGen {

SqlEditorWindow::SqlEditorWindow(SqlEditorModel &model, SqlEditorDialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_model(model), m_dialogs(dialogs),
      m_parameterCommands(std::make_unique<ParameterCommands>(model, dialogs)),
      m_trial(std::make_unique<StatementTrial>(model, dialogs))
{
    setWindowTitle(SqlEditorModel::caption());
    setObjectName(QStringLiteral("frmSqlEditor"));
    resize(900, 680);
    auto *outer = new QVBoxLayout(this);

    auto *menuBar = new QMenuBar(this);
    QMenu *file = menuBar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), this, &SqlEditorWindow::newDefinition);
    file->addSeparator();
    file->addAction(QStringLiteral("&Load"), this, &SqlEditorWindow::loadFile);
    file->addAction(QStringLiteral("&Import"), this, &SqlEditorWindow::importFile);
    file->addAction(QStringLiteral("&Save As ..."), this, &SqlEditorWindow::saveFileAs);
    file->addSeparator();
    file->addAction(QStringLiteral("&Save and Exit"), this, &SqlEditorWindow::saveAndExit);
    outer->setMenuBar(menuBar);

    auto *grid = new QGridLayout;
    outer->addLayout(grid);
    grid->addWidget(new QLabel(QStringLiteral("Saved SQL Statements"), this), 0, 0);
    m_statements = new QComboBox(this);
    m_statements->setObjectName(QStringLiteral("cmbStatements"));
    m_statements->setIconSize(QSize(80, 24));
    grid->addWidget(m_statements, 1, 0);

    grid->addWidget(new QLabel(QStringLiteral("Current SQL Statement"), this), 2, 0);
    m_sqlBox = new QPlainTextEdit(this);
    m_sqlBox->setObjectName(QStringLiteral("rtbSQL"));
    m_sqlBox->setFont(QFont(QStringLiteral("Courier New"), 10));
    m_highlighter = new SqlHighlighter(m_sqlBox->document());
    grid->addWidget(m_sqlBox, 3, 0);
    auto *sqlButtons = new QHBoxLayout;
    QPushButton *save = CommandButton::make(QStringLiteral("Save"), QStringLiteral("cmdSave"), this);
    QPushButton *check = CommandButton::make(QStringLiteral("Check SQL"), QStringLiteral("cmdCheckSQL"), this);
    QPushButton *previewButton = CommandButton::make(QStringLiteral("Preview"), QStringLiteral("cmdPreview"), this);
    sqlButtons->addWidget(save);
    sqlButtons->addWidget(check);
    sqlButtons->addWidget(previewButton);
    sqlButtons->addStretch();
    grid->addLayout(sqlButtons, 4, 0);

    grid->addWidget(new QLabel(QStringLiteral("Parameters"), this), 2, 1);
    m_parameters = new QListWidget(this);
    m_parameters->setObjectName(QStringLiteral("lstParameters"));
    grid->addWidget(m_parameters, 3, 1);
    auto *paramButtons = new QHBoxLayout;
    QPushButton *add = CommandButton::make(QStringLiteral("Add"), QStringLiteral("cmdAdd"), this);
    QPushButton *modify = CommandButton::make(QStringLiteral("Modify"), QStringLiteral("cmdModify"), this);
    QPushButton *remove = CommandButton::make(QStringLiteral("Remove"), QStringLiteral("cmdRemove"), this);
    QPushButton *insert = CommandButton::make(QStringLiteral("Insert"), QStringLiteral("cmdInsert"), this);
    for (QPushButton *b : {add, modify, remove, insert})
        paramButtons->addWidget(b);
    grid->addLayout(paramButtons, 4, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);

    outer->addWidget(new QLabel(QStringLiteral("Results Preview"), this));
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grdResults"));
    m_gridModel = new RecordsetTableModel(this);
    m_grid->setModel(m_gridModel);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    outer->addWidget(m_grid, 1);
    auto *bottom = new QHBoxLayout;
    m_recordCount = new QLabel(QStringLiteral("RecordCount: 0"), this);
    m_recordCount->setObjectName(QStringLiteral("lblRecordCount"));
    bottom->addWidget(m_recordCount);
    QPushButton *exportButton = CommandButton::make(QStringLiteral("Export"), QStringLiteral("cmdExport"), this);
    bottom->addWidget(exportButton);
    m_exportFrame = new QGroupBox(QStringLiteral("Export Progress"), this);
    auto *exportLayout = new QHBoxLayout(m_exportFrame);
    m_progress = new QProgressBar(m_exportFrame);
    m_progress->setRange(0, StatementTrial::ProgressMaximum);
    m_percent = new QLabel(QStringLiteral("0.00"), m_exportFrame);
    exportLayout->addWidget(m_progress);
    exportLayout->addWidget(m_percent);
    m_exportFrame->hide();
    bottom->addWidget(m_exportFrame, 1);
    bottom->addStretch();
    QPushButton *saveExit = CommandButton::make(QStringLiteral("Save and Exit"), QStringLiteral("cmdSaveAndExit"), this);
    bottom->addWidget(saveExit);
    outer->addLayout(bottom);

    m_completion = new CompletionPopup(
        m_sqlBox,
        [this](const QString &word) {
            return DatabaseReference::completionEntries(m_model.files(), m_model.reference().path(), word);
        },
        this);

    connect(save, &QPushButton::clicked, this, &SqlEditorWindow::saveStatement);
    connect(check, &QPushButton::clicked, this, &SqlEditorWindow::checkSql);
    connect(previewButton, &QPushButton::clicked, this, &SqlEditorWindow::preview);
    connect(exportButton, &QPushButton::clicked, this, &SqlEditorWindow::exportResults);
    connect(add, &QPushButton::clicked, this, &SqlEditorWindow::addParameter);
    connect(modify, &QPushButton::clicked, this, &SqlEditorWindow::modifyParameter);
    connect(remove, &QPushButton::clicked, this, &SqlEditorWindow::removeParameter);
    connect(insert, &QPushButton::clicked, this, &SqlEditorWindow::insertParameter);
    connect(saveExit, &QPushButton::clicked, this, &SqlEditorWindow::saveAndExit);
    connect(m_statements, &QComboBox::activated, this, [this](int index) {
        runGuarded([&] {
            if (m_model.choose(index))
                pullText();
        });
    });
    connect(m_sqlBox, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_syncing)
            pushText();
    });
    connect(m_completion, &CompletionPopup::accepted, this, [this] {
        pushText();
        m_model.CheckSyntax();
        pullText();
    });
    m_sqlBox->installEventFilter(this);
    refresh();
}

SqlEditorWindow::~SqlEditorWindow() = default;

void SqlEditorWindow::pushText()
{
    m_model.setSqlText(m_sqlBox->toPlainText());
}

void SqlEditorWindow::pullText()
{
    const QSignalBlocker block(m_sqlBox);
    m_syncing = true;
    // The box shows line breaks as the model holds them (CR LF in files).
    QString text = m_model.sqlText();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (m_sqlBox->toPlainText() != text) {
        const int caret = m_sqlBox->textCursor().position();
        m_sqlBox->setPlainText(text);
        QTextCursor c = m_sqlBox->textCursor();
        c.setPosition(std::min(caret, int(text.size())));
        m_sqlBox->setTextCursor(c);
    }
    m_syncing = false;
}

void SqlEditorWindow::refresh()
{
    {
        const QSignalBlocker block(m_statements);
        m_statements->clear();
        const QStringList entries = m_model.entries();
        for (int i = 0; i < entries.size(); ++i) {
            const QString thumbnail = i < m_model.thumbnails().size() ? m_model.thumbnails()[i] : QString();
            m_statements->addItem(QIcon(thumbnail), entries[i]);
        }
        m_statements->setCurrentIndex(std::min(m_model.selectedEntry(), int(entries.size()) - 1));
    }
    const int selected = m_parameters->currentRow();
    m_parameters->clear();
    for (const auto &p : m_model.definition().parameters()) {
        auto *item = new QListWidgetItem(p.marker, m_parameters);
        item->setData(Qt::UserRole, p.key());
    }
    m_parameters->setCurrentRow(std::min(selected, m_parameters->count() - 1));
    m_highlighter->setNames(m_model.reference().tables(), m_model.reference().columns());
    pullText();
}

void SqlEditorWindow::runGuarded(const std::function<void()> &command)
{
    // A command that fails reports it and leaves the window open.
    try {
        command();
    } catch (const ReportError &e) {
        m_model.prompts().msgBox(QString::number(e.number()) + QStringLiteral(" - ") + e.description(),
                                 MsgBoxStyle::Exclamation);
    }
}

void SqlEditorWindow::saveStatement()
{
    runGuarded([&] {
        pushText();
        m_model.save();
        refresh();
    });
}

void SqlEditorWindow::checkSql()
{
    runGuarded([&] {
        pushText();
        m_trial->checkSql();
        pullText();
    });
}

void SqlEditorWindow::preview()
{
    runGuarded([&] {
        pushText();
        if (m_trial->preview()) {
            m_gridModel->setRecordset(m_trial->results());
            m_recordCount->setText(m_trial->recordCountText());
        }
    });
}

void SqlEditorWindow::exportResults()
{
    runGuarded([&] {
        m_exportFrame->show();
        m_trial->exportResults([this](int value, const QString &label) {
            m_progress->setValue(value);
            m_percent->setText(label);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        m_exportFrame->hide();
        m_gridModel->setRecordset(m_trial->results()); // the export moved the rows
    });
}

void SqlEditorWindow::addParameter()
{
    runGuarded([&] {
        m_parameterCommands->add();
        refresh();
        m_parameters->setCurrentRow(m_parameters->count() - 1);
    });
}

void SqlEditorWindow::modifyParameter()
{
    runGuarded([&] {
        const int row = m_parameters->currentRow();
        m_parameterCommands->modify(row);
        refresh();
        m_parameters->setCurrentRow(row);
    });
}

void SqlEditorWindow::removeParameter()
{
    runGuarded([&] {
        m_parameterCommands->remove(m_parameters->currentRow());
        refresh();
    });
}

void SqlEditorWindow::insertParameter()
{
    runGuarded([&] {
        pushText();
        m_model.insertMarker(m_parameters->currentRow());
        pullText();
    });
}

void SqlEditorWindow::newDefinition()
{
    runGuarded([&] {
        m_model.newDefinition();
        m_gridModel->setRecordset(nullptr);
        refresh();
    });
}

void SqlEditorWindow::loadFile()
{
    runGuarded([&] {
        m_model.load();
        refresh();
    });
}

void SqlEditorWindow::importFile()
{
    runGuarded([&] {
        m_model.import();
        refresh();
    });
}

void SqlEditorWindow::saveFileAs()
{
    runGuarded([&] { m_model.saveAs(); });
}

void SqlEditorWindow::saveAndExit()
{
    runGuarded([&] { m_model.saveAndExit(); });
    accept(); // closes even when the write was abandoned
}

bool SqlEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_sqlBox) {
        if (event->type() == QEvent::FocusOut)
            m_model.rememberCaret(m_sqlBox->textCursor().position());
        if (event->type() == QEvent::KeyRelease) {
            auto *key = static_cast<QKeyEvent *>(event);
            try {
                if (key->key() == Qt::Key_Period)
                    m_completion->openAtCaret();
                else if (key->key() == Qt::Key_Escape) {
                    m_completion->close();
                    QTextCursor c = m_sqlBox->textCursor();
                    c.setPosition(c.selectionEnd());
                    m_sqlBox->setTextCursor(c);
                } else if (m_completion->isOpen() && !m_completion->list()->hasFocus())
                    m_completion->close();
            } catch (const ReportError &) {
                // Completion is a help: its failures are not the user's concern.
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace KRML_ReportGen
