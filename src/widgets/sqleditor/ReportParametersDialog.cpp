#include "ReportParametersDialog.h"

#include "ReportParameterPrompt.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace KRML_ReportGen {

ReportParametersDialog::ReportParametersDialog(ReportParameterPrompt &prompt, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_prompts(prompts)
{
    setWindowTitle(ReportParameterPrompt::caption());
    setObjectName(QStringLiteral("frmReportParameters"));
    auto *layout = new QVBoxLayout(this);
    m_title = new QLabel(prompt.messageTitle(), this);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    layout->addWidget(m_title);
    m_date = new QDateEdit(prompt.initialDate(), this);
    m_date->setObjectName(QStringLiteral("dtpDate"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_number = new QLineEdit(prompt.initialNumber(), this);
    m_number->setObjectName(QStringLiteral("txtNumber"));
    m_string = new QLineEdit(prompt.initialString(), this);
    m_string->setObjectName(QStringLiteral("txtString"));
    m_lookup = new QComboBox(this);
    m_lookup->setObjectName(QStringLiteral("cmbLookup"));
    m_lookup->addItems(prompt.lookupEntries());
    for (QWidget *w : {static_cast<QWidget *>(m_date), static_cast<QWidget *>(m_number),
                       static_cast<QWidget *>(m_string), static_cast<QWidget *>(m_lookup)}) {
        layout->addWidget(w);
        w->hide();
    }
    if (QWidget *input = visibleInput())
        input->show();
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &ReportParametersDialog::onOk);
}

QWidget *ReportParametersDialog::visibleInput() const
{
    switch (m_prompt.ReportParameterType()) {
    case ReportParameterPrompt::DateInput: return m_date;
    case ReportParameterPrompt::NumberInput: return m_number;
    case ReportParameterPrompt::StringInput: return m_string;
    case ReportParameterPrompt::LookupInput: return m_lookup;
    default: return nullptr;
    }
}

void ReportParametersDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QWidget *input = visibleInput())
        input->setFocus();
    if (m_prompt.ReportParameterType() == ReportParameterPrompt::LookupInput && m_lookup->count() > 0)
        m_lookup->setCurrentIndex(0);
}

void ReportParametersDialog::onOk()
{
    QVariant entry;
    switch (m_prompt.ReportParameterType()) {
    case ReportParameterPrompt::DateInput: entry = m_date->date(); break;
    case ReportParameterPrompt::NumberInput: entry = m_number->text(); break;
    case ReportParameterPrompt::StringInput: entry = m_string->text(); break;
    case ReportParameterPrompt::LookupInput: entry = m_lookup->currentIndex(); break;
    default: break;
    }
    if (m_prompt.ok(entry, m_prompts)) {
        accept();
        return;
    }
    if (m_prompt.ReportParameterType() == ReportParameterPrompt::NumberInput)
        m_number->setFocus();
}

} // namespace KRML_ReportGen
