#include "ConnectionDialog.h"

#include "UserPrompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace KRML_ReportGen {

ConnectionDialog::ConnectionDialog(const ConnectionDialogModel &model, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_model(model), m_prompts(prompts)
{
    setWindowTitle(ConnectionDialogModel::caption());
    setObjectName(QStringLiteral("CnnWizard"));
    auto *layout = new QVBoxLayout(this);
    m_form = new QFormLayout;
    m_provider = new QComboBox(this);
    m_provider->setObjectName(QStringLiteral("cmbProvider"));
    m_provider->addItems(ConnectionDialogModel::providerNames());
    m_provider->setCurrentIndex(m_model.provider());
    m_form->addRow(QStringLiteral("Provider"), m_provider);
    for (int f = 0; f < ConnectionDialogModel::FieldCount; ++f) {
        const auto field = ConnectionDialogModel::Field(f);
        auto *edit = new QLineEdit(m_model.field(field), this);
        edit->setObjectName(QStringLiteral("txtField%1").arg(f));
        if (field == ConnectionDialogModel::Password)
            edit->setEchoMode(QLineEdit::Password);
        m_edits[f] = edit;
        QWidget *row = edit;
        if (field == ConnectionDialogModel::File) {
            row = new QWidget(this);
            auto *h = new QHBoxLayout(row);
            h->setContentsMargins(0, 0, 0, 0);
            h->addWidget(edit);
            auto *browse = new QPushButton(QStringLiteral("Browse..."), row);
            browse->setObjectName(QStringLiteral("cmdBrowse"));
            h->addWidget(browse);
            connect(browse, &QPushButton::clicked, this, [this, edit] {
                const QString path = m_prompts.openFileName(
                    QString(), QStringLiteral("All Files (*.*)|*.*|Databases (*.db;*.sqlite;*.mdb;*.accdb)|*.db;*.sqlite;*.mdb;*.accdb"), 2,
                    QString());
                if (!path.isEmpty())
                    edit->setText(path);
            });
        }
        m_rows[f] = row;
        m_form->addRow(ConnectionDialogModel::fieldCaption(field), row);
        connect(edit, &QLineEdit::textChanged, this, [this, field](const QString &text) {
            m_model.setField(field, text);
            rebuildString();
        });
    }
    layout->addLayout(m_form);
    layout->addWidget(new QLabel(QStringLiteral("Connection string"), this));
    m_string = new QPlainTextEdit(this);
    m_string->setObjectName(QStringLiteral("txtConnectionString"));
    m_string->setMaximumHeight(70);
    layout->addWidget(m_string);
    auto *test = new QPushButton(QStringLiteral("Test Connection"), this);
    test->setObjectName(QStringLiteral("cmdTest"));
    m_result = new QLabel(this);
    m_result->setWordWrap(true);
    layout->addWidget(test);
    layout->addWidget(m_result);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(test, &QPushButton::clicked, this, &ConnectionDialog::testConnection);
    connect(m_provider, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_model.setProvider(ConnectionDialogModel::Provider(index));
        showFields();
        rebuildString();
    });
    connect(m_string, &QPlainTextEdit::textChanged, this, [this] {
        if (m_syncing)
            return;
        // A string typed by hand: the fields follow it.
        m_syncing = true;
        m_model = ConnectionDialogModel(m_string->toPlainText());
        m_provider->setCurrentIndex(m_model.provider());
        for (int f = 0; f < ConnectionDialogModel::FieldCount; ++f)
            m_edits[f]->setText(m_model.field(ConnectionDialogModel::Field(f)));
        showFields();
        m_syncing = false;
    });
    showFields();
    rebuildString();
}

void ConnectionDialog::showFields()
{
    const QList<ConnectionDialogModel::Field> shown = ConnectionDialogModel::fieldsOf(m_model.provider());
    for (int f = 0; f < ConnectionDialogModel::FieldCount; ++f)
        m_form->setRowVisible(m_rows[f], shown.contains(ConnectionDialogModel::Field(f)));
}

void ConnectionDialog::rebuildString()
{
    if (m_syncing)
        return;
    m_syncing = true;
    m_string->setPlainText(m_model.connectionString());
    m_syncing = false;
}

QString ConnectionDialog::connectionString() const
{
    return m_string->toPlainText().trimmed();
}

void ConnectionDialog::testConnection()
{
    m_result->setText(ConnectionDialogModel(connectionString()).test());
}

bool ConnectionDialog::EditCnn(QWidget *owner, QString &connectionString, UserPrompts &prompts)
{
    ConnectionDialog dialog(ConnectionDialogModel(connectionString), prompts, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    connectionString = dialog.connectionString();
    return true;
}

bool ConnectionDialog::NewCnn(QWidget *owner, QString &connectionString, UserPrompts &prompts)
{
    ConnectionDialog dialog(ConnectionDialogModel(), prompts, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.connectionString().isEmpty())
        return false;
    connectionString = dialog.connectionString();
    return true;
}

} // namespace KRML_ReportGen
