#include "StartupChooser.h"

#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace KRML_ReportGen {

StartupChooser::StartupChooser(FileService &files, UserPrompts &prompts, std::function<void()> setupDataSource, QWidget *parent)
    : QDialog(parent), m_model(files, prompts)
{
    setWindowTitle(QStringLiteral("KRML ReportGen"));
    setObjectName(QStringLiteral("frmWizard"));
    auto *layout = new QVBoxLayout(this);
    const char *captions[] = {"Report Layout Design", "SQL Editor", "Setup Data Source"};
    const char *names[] = {"cmdReportDesigner", "cmdSQL", "cmdDataSource"};
    for (int i = 0; i < 3; ++i) {
        m_buttons[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        m_buttons[i]->setObjectName(QLatin1String(names[i]));
        m_buttons[i]->setAutoDefault(false);
        layout->addWidget(m_buttons[i]);
    }
    connect(m_buttons[0], &QPushButton::clicked, this, [this] {
        m_model.layoutDesignChosen = true;
        hide();
    });
    connect(m_buttons[1], &QPushButton::clicked, this, [this] {
        m_model.sqlEditorChosen = true;
        hide();
    });
    connect(m_buttons[2], &QPushButton::clicked, this, [setupDataSource] {
        if (setupDataSource)
            setupDataSource();
    });
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(StartupChooserModel::TickMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &StartupChooser::tick);
    m_timer->start();
}

void StartupChooser::tick()
{
    m_model.tick();
    m_buttons[0]->setEnabled(m_model.layoutEnabled);
    m_buttons[1]->setEnabled(m_model.sqlEnabled);
    m_buttons[2]->setEnabled(m_model.dataSourceEnabled);
}

} // namespace KRML_ReportGen
