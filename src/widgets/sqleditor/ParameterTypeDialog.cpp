#include "ParameterTypeDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace KRML_ReportGen {

ParameterTypeDialog::ParameterTypeDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Add Report Parameter"));
    setObjectName(QStringLiteral("frmAddReportParameter"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please select parameter type:"), this));
    const char *names[] = {"Date", "Number", "String", "Lookup"};
    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(QString::fromLatin1(names[i]), this);
        m_options[i]->setObjectName(QStringLiteral("optType%1").arg(i));
        layout->addWidget(m_options[i]);
    }
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

int ParameterTypeDialog::AddParameterType() const
{
    for (int i = 0; i < 4; ++i)
        if (m_options[i]->isChecked())
            return i;
    return 0;
}

void ParameterTypeDialog::setAddParameterType(int type)
{
    if (type >= 0 && type < 4)
        m_options[type]->setChecked(true);
}

} // namespace KRML_ReportGen
