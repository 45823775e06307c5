#include "LookupSetupDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace KRML_ReportGen {

LookupSetupDialog::LookupSetupDialog(LookupSetupModel &model, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_model(model), m_prompts(prompts)
{
    setWindowTitle(LookupSetupModel::caption());
    setObjectName(QStringLiteral("frmLookupSetup"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabBar(this);
    m_tabs->addTab(QStringLiteral("Basic Setup"));
    m_tabs->addTab(QStringLiteral("Advanced Setup"));
    layout->addWidget(m_tabs);
    m_frames = new QStackedWidget(this);
    layout->addWidget(m_frames);

    auto *basic = new QWidget(m_frames);
    auto *basicForm = new QFormLayout(basic);
    m_table = new QComboBox(basic);
    m_table->setObjectName(QStringLiteral("cmbTable"));
    m_display = new QComboBox(basic);
    m_display->setObjectName(QStringLiteral("cmbDisplayField"));
    m_return = new QComboBox(basic);
    m_return->setObjectName(QStringLiteral("cmbReturnField"));
    basicForm->addRow(QStringLiteral("Table"), m_table);
    basicForm->addRow(QStringLiteral("Display Field"), m_display);
    basicForm->addRow(QStringLiteral("Return Field"), m_return);
    m_frames->addWidget(basic);

    auto *advanced = new QWidget(m_frames);
    auto *advancedForm = new QFormLayout(advanced);
    m_sql = new QPlainTextEdit(advanced);
    m_sql->setObjectName(QStringLiteral("txtSQL"));
    m_displayText = new QLineEdit(advanced);
    m_displayText->setObjectName(QStringLiteral("txtDisplayField"));
    m_returnText = new QLineEdit(advanced);
    m_returnText->setObjectName(QStringLiteral("txtReturnField"));
    advancedForm->addRow(QStringLiteral("SQL"), m_sql);
    advancedForm->addRow(QStringLiteral("Display Field"), m_displayText);
    advancedForm->addRow(QStringLiteral("Return Field"), m_returnText);
    m_frames->addWidget(advanced);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    layout->addWidget(ok);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        m_frames->setCurrentIndex(index);
        m_model.setMode(qint16(index + 1));
    });
    connect(m_table, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_model.chooseTable(index);
        fillFields();
    });
    connect(m_display, &QComboBox::currentIndexChanged, this, [this](int i) { m_model.chooseDisplayField(i); });
    connect(m_return, &QComboBox::currentIndexChanged, this, [this](int i) { m_model.chooseReturnField(i); });
    connect(m_sql, &QPlainTextEdit::textChanged, this, [this] { m_model.setSQL(m_sql->toPlainText()); });
    connect(m_displayText, &QLineEdit::textChanged, this, [this](const QString &t) { m_model.setDisplayField(t); });
    connect(m_returnText, &QLineEdit::textChanged, this, [this](const QString &t) { m_model.setReturnField(t); });
    connect(ok, &QPushButton::clicked, this, &LookupSetupDialog::onOk);
    syncFromModel();
}

void LookupSetupDialog::fillFields()
{
    const QSignalBlocker a(m_display), b(m_return);
    m_display->clear();
    m_return->clear();
    m_display->addItems(m_model.fields());
    m_return->addItems(m_model.fields());
    m_display->setCurrentIndex(m_model.displayIndex());
    m_return->setCurrentIndex(m_model.returnIndex());
}

void LookupSetupDialog::syncFromModel()
{
    {
        const QSignalBlocker t(m_table), tabs(m_tabs), s(m_sql), d(m_displayText), r(m_returnText);
        m_table->clear();
        m_table->addItems(m_model.tables());
        m_table->setCurrentIndex(m_model.tableIndex());
        m_tabs->setCurrentIndex(m_model.Mode() - 1);
        m_frames->setCurrentIndex(m_model.Mode() - 1);
        m_sql->setPlainText(m_model.SQL());
        m_displayText->setText(m_model.DisplayField());
        m_returnText->setText(m_model.ReturnField());
    }
    fillFields();
}

void LookupSetupDialog::onOk()
{
    if (m_model.ok(m_prompts))
        accept();
}

} // namespace KRML_ReportGen
