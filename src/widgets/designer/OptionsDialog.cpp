#include "OptionsDialog.h"

#include "UserPrompts.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace KRML_ReportGen {

namespace {

QLineEdit *edit(const QString &name, const QString &text, QWidget *parent)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

QWidget *withUnit(QLineEdit *e, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(e);
    l->addWidget(new QLabel(QStringLiteral("(mm)"), w));
    return w;
}

} // namespace

OptionsDialog::OptionsDialog(const OptionsModel::Values &current, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setWindowTitle(OptionsModel::caption());
    setObjectName(QStringLiteral("frmOptions"));
    const OptionsModel::Texts t = OptionsModel::textsOf(current);
    auto *layout = new QVBoxLayout(this);
    auto *page = new QGroupBox(QStringLiteral("Page Layout"), this);
    auto *pageForm = new QFormLayout(page);
    m_height = edit(QStringLiteral("txtPageHeight"), t.pageHeight, page);
    m_width = edit(QStringLiteral("txtPageWidth"), t.pageWidth, page);
    m_grid = edit(QStringLiteral("txtGridSize"), t.gridSize, page);
    m_grid->setToolTip(OptionsModel::gridTip());
    pageForm->addRow(QStringLiteral("Page Height"), withUnit(m_height, page));
    pageForm->addRow(QStringLiteral("Page Width"), withUnit(m_width, page));
    pageForm->addRow(QStringLiteral("Grid Size"), m_grid);
    layout->addWidget(page);
    auto *db = new QGroupBox(QStringLiteral("Database"), this);
    auto *dbForm = new QFormLayout(db);
    m_path = edit(QStringLiteral("txtDBPath"), t.dbPath, db);
    auto *browse = new QPushButton(QStringLiteral("Browse..."), db);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    auto *pathRow = new QWidget(db);
    auto *pathLayout = new QHBoxLayout(pathRow);
    pathLayout->setContentsMargins(0, 0, 0, 0);
    pathLayout->addWidget(m_path);
    pathLayout->addWidget(browse);
    dbForm->addRow(QStringLiteral("Database Path"), pathRow);
    layout->addWidget(db);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(okButton);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = m_prompts.openFileName(QString(), OptionsModel::browseFilter(), 2, QString());
        if (!path.isEmpty())
            m_path->setText(path);
    });
}

QLineEdit *OptionsDialog::field(OptionsModel::Field f) const
{
    switch (f) {
    case OptionsModel::GridSize: return m_grid;
    case OptionsModel::PageHeight: return m_height;
    case OptionsModel::PageWidth: return m_width;
    default: return m_path;
    }
}

void OptionsDialog::ok()
{
    OptionsModel::Field focus = OptionsModel::DBPath;
    m_result = OptionsModel::ok({m_grid->text(), m_height->text(), m_width->text(), m_path->text()}, m_prompts, &focus);
    if (!m_result) {
        field(focus)->setFocus();
        return;
    }
    accept();
}

} // namespace KRML_ReportGen
