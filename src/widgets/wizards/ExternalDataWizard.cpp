#include "CommandButton.h"
#include "ExternalDataWizard.h"

#include "ConnectionDialog.h"
#include "DataConnectionFile.h"
#include "UserPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace KRML_ReportGen {

namespace {

QListWidget *list(const QString &name, QWidget *parent)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(name);
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return l;
}

void fill(QListWidget *list, const QStringList &entries)
{
    list->clear();
    list->addItems(entries);
}

} // namespace

ExternalDataWizard::ExternalDataWizard(FileService &files, UserPrompts &prompts, const QString &dbPath, QWidget *parent)
    : QDialog(parent), m_model(files, prompts), m_prompts(prompts), m_dbPath(dbPath)
{
    setWindowTitle(ExternalDataWizardModel::caption());
    setObjectName(QStringLiteral("frmExtData"));
    resize(640, 460);
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("tabData"));
    for (const char *caption : {"Data Connection", "Tables", "Table Links", "Fields", "Parameters", "SQL"})
        m_tabs->addTab(QString::fromLatin1(caption));
    m_tabs->setEnabled(false); // the pages are reached with Back and Next
    layout->addWidget(m_tabs);
    m_pages = new QStackedWidget(this);
    QWidget *tables = choicePage({QStringLiteral("Tables"), QStringLiteral("Available Tables"), QStringLiteral("Selected Tables"),
                                  {QStringLiteral("fraTables"), QStringLiteral("lstAvailable"), QStringLiteral("lstSelected"),
                                   QStringLiteral("cmdAdd"), QStringLiteral("cmdRemove")},
                                  [this](const QStringList &e) { m_model.selectTables(e); },
                                  [this](const QStringList &e) { m_model.deselectTables(e); }},
                                 m_available, m_selected);
    QWidget *fields = choicePage({QStringLiteral("Fields"), QStringLiteral("Available Fields"), QStringLiteral("Selected Fields"),
                                  {QStringLiteral("fraFields"), QStringLiteral("lstAvailableFields"), QStringLiteral("lstSelectedFields"),
                                   QStringLiteral("cmdAddField"), QStringLiteral("cmdRemoveField")},
                                  [this](const QStringList &e) { m_model.selectFields(e); },
                                  [this](const QStringList &e) { m_model.deselectFields(e); }},
                                 m_availableFields, m_selectedFields);
    for (QWidget *page : {connectionPage(), tables, linksPage(), fields, conditionsPage(), sqlPage()})
        m_pages->addWidget(page);
    layout->addWidget(m_pages, 1);
    auto *buttons = new QHBoxLayout;
    m_saveOnFinish = new QCheckBox(QStringLiteral("Save Data Connection on Finish"), this);
    m_saveOnFinish->setObjectName(QStringLiteral("chkSaveDataConn"));
    buttons->addWidget(m_saveOnFinish);
    buttons->addStretch();
    m_back = CommandButton::make(QStringLiteral("Back"), QStringLiteral("cmdBack"), this);
    m_next = CommandButton::make(QStringLiteral("Next"), QStringLiteral("cmdNext"), this);
    m_finish = CommandButton::make(QStringLiteral("Finish"), QStringLiteral("cmdFinish"), this);
    for (QPushButton *b : {m_back, m_next, m_finish})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(m_back, &QPushButton::clicked, this, &ExternalDataWizard::back);
    connect(m_next, &QPushButton::clicked, this, &ExternalDataWizard::next);
    connect(m_finish, &QPushButton::clicked, this, &ExternalDataWizard::finish);
    refresh();
}

QWidget *ExternalDataWizard::connectionPage()
{
    auto *frame = new QGroupBox(QStringLiteral("Data Connection Details"));
    frame->setObjectName(QStringLiteral("fraConnection"));
    auto *l = new QVBoxLayout(frame);
    m_cnn = new QPlainTextEdit(frame);
    m_cnn->setObjectName(QStringLiteral("txtcnnString"));
    l->addWidget(m_cnn);
    auto *row = new QHBoxLayout;
    QPushButton *create = CommandButton::make(QStringLiteral("Create Connection String"), QStringLiteral("cmdCreate"), frame);
    QPushButton *load = CommandButton::make(QStringLiteral("Load Existing Data Connection"), QStringLiteral("cmdLoad"), frame);
    QPushButton *save = CommandButton::make(QStringLiteral("Save"), QStringLiteral("cmdSave"), frame);
    row->addWidget(create);
    row->addWidget(load);
    row->addWidget(save);
    l->addLayout(row);
    connect(m_cnn, &QPlainTextEdit::textChanged, this, [this] { m_model.setConnectionText(m_cnn->toPlainText()); });
    connect(create, &QPushButton::clicked, this, [this] {
        m_model.createConnectionString([this](QString &text) { return ConnectionDialog::EditCnn(this, text, m_prompts); },
                                       m_dbPath);
        refresh();
    });
    connect(load, &QPushButton::clicked, this, [this] {
        const QString path = m_prompts.openFileName(QString(), DataConnectionFile::filter(), 1, QString());
        if (!path.isEmpty())
            m_model.loadDataConnection(path);
        refresh();
    });
    connect(save, &QPushButton::clicked, this, &ExternalDataWizard::saveAndClose);
    return frame;
}

QWidget *ExternalDataWizard::choicePage(const ChoicePage &page, QListWidget *&available, QListWidget *&selected)
{
    auto *frame = new QGroupBox(page.caption);
    frame->setObjectName(page.names[0]);
    auto *g = new QGridLayout(frame);
    g->addWidget(new QLabel(page.availableCaption, frame), 0, 0);
    g->addWidget(new QLabel(page.selectedCaption, frame), 0, 2);
    available = list(page.names[1], frame);
    selected = list(page.names[2], frame);
    g->addWidget(available, 1, 0);
    g->addWidget(selected, 1, 2);
    auto *buttons = new QVBoxLayout;
    QPushButton *add = CommandButton::make(QStringLiteral(">>"), page.names[3], frame);
    QPushButton *remove = CommandButton::make(QStringLiteral("<<"), page.names[4], frame);
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    g->addLayout(buttons, 1, 1);
    // The lists take the page's room; the buttons keep their size.
    g->setRowStretch(1, 1);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(2, 1);
    QListWidget *from = available, *to = selected;
    connect(add, &QPushButton::clicked, this, [this, from, page] {
        page.select(selectedTexts(from));
        refresh();
    });
    connect(remove, &QPushButton::clicked, this, [this, to, page] {
        page.deselect(selectedTexts(to));
        refresh();
    });
    connect(from, &QListWidget::itemDoubleClicked, this, [this, page](QListWidgetItem *item) {
        page.select({item->text()});
        refresh();
    });
    connect(to, &QListWidget::itemDoubleClicked, this, [this, page](QListWidgetItem *item) {
        page.deselect({item->text()});
        refresh();
    });
    return frame;
}

QWidget *ExternalDataWizard::linksPage()
{
    auto *frame = new QGroupBox(QStringLiteral("Table Links"));
    frame->setObjectName(QStringLiteral("fraTableLinks"));
    auto *g = new QGridLayout(frame);
    for (int k = 0; k < 2; ++k) {
        m_linkTable[k] = new QComboBox(frame);
        m_linkTable[k]->setObjectName(QStringLiteral("cmbTable%1").arg(k));
        m_linkField[k] = new QComboBox(frame);
        m_linkField[k]->setObjectName(QStringLiteral("cmbField%1").arg(k));
        m_linkField[k]->setEnabled(false);
        g->addWidget(m_linkTable[k], 0, k * 2);
        g->addWidget(m_linkField[k], 1, k * 2);
        connect(m_linkTable[k], &QComboBox::currentTextChanged, this, [this, k](const QString &table) {
            m_model.chooseLinkTable(k, table);
            m_linkField[k]->clear();
            m_linkField[k]->addItems(m_model.linkFields(k));
            m_linkField[k]->setEnabled(m_linkField[k]->count() > 0);
            updateButtons();
        });
        connect(m_linkField[k], &QComboBox::currentTextChanged, this, &ExternalDataWizard::updateButtons);
    }
    m_linkType = new QComboBox(frame);
    m_linkType->setObjectName(QStringLiteral("cmbLinkType"));
    m_linkType->addItems(ExternalDataWizardModel::operators());
    g->addWidget(m_linkType, 0, 1, 2, 1);
    m_linkButton = CommandButton::make(QStringLiteral("Link Fields"), QStringLiteral("cmdLinkFields"), frame);
    g->addWidget(m_linkButton, 2, 0, 1, 3);
    m_links = list(QStringLiteral("lstLinks"), frame);
    g->addWidget(m_links, 3, 0, 1, 3);
    m_removeLink = CommandButton::make(QStringLiteral("Remove"), QStringLiteral("cmdRemoveLink"), frame);
    g->addWidget(m_removeLink, 4, 0, 1, 3);
    connect(m_linkButton, &QPushButton::clicked, this, [this] {
        m_model.addLink(m_linkTable[0]->currentText(), m_linkField[0]->currentText(), m_linkType->currentText(),
                        m_linkTable[1]->currentText(), m_linkField[1]->currentText());
        refresh();
    });
    connect(m_removeLink, &QPushButton::clicked, this, [this] {
        m_model.removeLinks(selectedRows(m_links));
        refresh();
    });
    return frame;
}

QWidget *ExternalDataWizard::conditionsPage()
{
    auto *frame = new QGroupBox(QStringLiteral("Parameters"));
    frame->setObjectName(QStringLiteral("fraParameters"));
    auto *g = new QGridLayout(frame);
    m_paramField = new QComboBox(frame);
    m_paramField->setObjectName(QStringLiteral("cmbParamField"));
    m_paramType = new QComboBox(frame);
    m_paramType->setObjectName(QStringLiteral("cmbParamType"));
    m_paramType->addItems(ExternalDataWizardModel::operators());
    m_paramValue = new QLineEdit(frame);
    m_paramValue->setObjectName(QStringLiteral("txtParam"));
    g->addWidget(m_paramField, 0, 0);
    g->addWidget(m_paramType, 0, 1);
    g->addWidget(m_paramValue, 0, 2);
    m_addParam = CommandButton::make(QStringLiteral("Add New Parameter"), QStringLiteral("cmdAddParam"), frame);
    g->addWidget(m_addParam, 1, 0, 1, 3);
    m_conditions = list(QStringLiteral("lstParams"), frame);
    g->addWidget(m_conditions, 2, 0, 1, 3);
    QPushButton *remove = CommandButton::make(QStringLiteral("Remove Parameter"), QStringLiteral("cmdRemoveParam"), frame);
    g->addWidget(remove, 3, 0, 1, 3);
    connect(m_paramValue, &QLineEdit::textChanged, this, &ExternalDataWizard::updateButtons);
    connect(m_paramField, &QComboBox::currentTextChanged, this, &ExternalDataWizard::updateButtons);
    connect(m_addParam, &QPushButton::clicked, this, [this] {
        m_model.addCondition(m_paramField->currentText(), m_paramType->currentText(), m_paramValue->text());
        refresh();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        m_model.removeConditions(selectedRows(m_conditions));
        refresh();
    });
    return frame;
}

QWidget *ExternalDataWizard::sqlPage()
{
    auto *frame = new QGroupBox(QStringLiteral("Label"));
    frame->setObjectName(QStringLiteral("fraLabel"));
    auto *l = new QVBoxLayout(frame);
    m_sql = new QPlainTextEdit(frame);
    m_sql->setObjectName(QStringLiteral("txtSQL"));
    m_sql->setReadOnly(true);
    l->addWidget(m_sql);
    return frame;
}

QStringList ExternalDataWizard::selectedTexts(QListWidget *list)
{
    QStringList texts;
    for (QListWidgetItem *item : list->selectedItems())
        texts << item->text();
    return texts;
}

QList<int> ExternalDataWizard::selectedRows(QListWidget *list)
{
    QList<int> rows;
    for (QListWidgetItem *item : list->selectedItems())
        rows << list->row(item);
    return rows;
}

void ExternalDataWizard::updateButtons()
{
    m_linkButton->setEnabled(ExternalDataWizardModel::canLink({m_linkTable[0]->currentText(), m_linkField[0]->currentText(),
                                                               m_linkType->currentText(), m_linkTable[1]->currentText(),
                                                               m_linkField[1]->currentText()}));
    m_removeLink->setEnabled(m_links->count() > 0);
    // "<<" works while its list has entries.
    findChild<QPushButton *>(QStringLiteral("cmdRemove"))->setEnabled(m_selected->count() > 0);
    findChild<QPushButton *>(QStringLiteral("cmdRemoveField"))->setEnabled(m_selectedFields->count() > 0);
    m_addParam->setEnabled(ExternalDataWizardModel::canAddCondition(m_paramField->currentText(), m_paramType->currentText(),
                                                                    m_paramValue->text()));
    m_back->setVisible(m_model.backVisible());
    m_next->setVisible(m_model.nextVisible());
    m_next->setEnabled(m_model.nextEnabled());
    m_finish->setVisible(m_model.finishVisible());
    m_saveOnFinish->setVisible(m_model.finishVisible());
}

void ExternalDataWizard::refresh()
{
    const QSignalBlocker block(m_cnn);
    if (m_cnn->toPlainText() != m_model.connectionText())
        m_cnn->setPlainText(m_model.connectionText());
    fill(m_available, m_model.availableTables());
    fill(m_selected, m_model.selectedTables());
    fill(m_availableFields, m_model.availableFields());
    fill(m_selectedFields, m_model.selectedFields());
    fill(m_links, m_model.links());
    fill(m_conditions, m_model.conditions());
    m_sql->setPlainText(m_model.sql());
    m_tabs->setCurrentIndex(m_model.page() - 1);
    m_pages->setCurrentIndex(m_model.page() - 1);
    updateButtons();
}

void ExternalDataWizard::next()
{
    const int before = m_model.page();
    if (!m_model.next()) {
        refresh();
        return;
    }
    if (before == ExternalDataWizardModel::TablesPage) {
        for (int k = 0; k < 2; ++k) {
            const QSignalBlocker b(m_linkTable[k]);
            m_linkTable[k]->clear();
            m_linkTable[k]->addItems(m_model.selectedTables());
            m_linkTable[k]->setCurrentIndex(-1);
            m_linkField[k]->clear();
            m_linkField[k]->setEnabled(false);
        }
    }
    if (before == ExternalDataWizardModel::FieldsPage) {
        m_paramField->clear();
        m_paramField->addItems(m_model.conditionFields());
    }
    refresh();
}

void ExternalDataWizard::back()
{
    m_model.back();
    refresh();
}

void ExternalDataWizard::saveAndClose()
{
    m_model.setConnectionText(m_cnn->toPlainText());
    if (m_model.save())
        accept();
}

void ExternalDataWizard::finish()
{
    if (m_model.finish(m_saveOnFinish->isChecked()))
        hide();
}

} // namespace KRML_ReportGen
