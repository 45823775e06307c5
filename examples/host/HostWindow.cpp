#include "HostWindow.h"

#include <KRMLReportGen/ReportError.h>
#include <KRMLReportGen/ReportGenOCX.h>

#include <QAction>
#include <QFileDialog>
#include <QStatusBar>
#include <QToolBar>

using namespace KRML_ReportGen;

// The README's snippet (ReadmeSnippet.cpp, made from the README at configure time).
ReportGenOCX *addReport(QWidget *window, const QString &appFolder, const QString &database);

HostWindow::HostWindow(const QString &appFolder, const QString &database)
{
    setWindowTitle(QStringLiteral("Report host"));
    auto *central = new QWidget(this);
    setCentralWidget(central);
    m_report = addReport(central, appFolder, database);
    // The control keeps its children where they are; the host sizes it.
    m_report->resize(900, 700);
    buildToolBar();

    connect(m_report, &ReportGenOCX::ModeSwitch, this, [this](ReportGenOCX::RepModes &mode) {
        statusBar()->showMessage(mode == ReportGenOCX::Preview ? tr("Preview") : tr("Design"));
    });
    connect(m_report, &ReportGenOCX::MousePos, this, [this](qint32 &x, qint32 &y) {
        statusBar()->showMessage(tr("%1 mm, %2 mm").arg(x).arg(y));
    });
    connect(m_report, &ReportGenOCX::ProcessorSending, this, [this](ParameterCollection &parameters) {
        statusBar()->showMessage(tr("Opened: %1 parameters").arg(parameters.Count()));
    });
    resize(960, 780);
}

void HostWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(tr("Report"));
    bar->setObjectName(QStringLiteral("reportToolBar"));
    bar->addAction(tr("Open..."), this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Open layout"), QString(), tr("Layout packages (*.lrd)"));
        if (!path.isEmpty())
            openPackage(path);
    });
    bar->addSeparator();
    // Switching the mode the host's way: by name through the meta-object
    // system for the property, by the C++ interface for the methods.
    bar->addAction(tr("Icon"), this, [this] { m_report->setProperty("CurrentMode", int(ReportGenOCX::ComponentMode)); });
    bar->addAction(tr("Designer"), this, [this] {
        m_report->setProperty("CurrentMode", int(ReportGenOCX::DesignerMode));
        m_report->resize(900, 700);
    });
    bar->addSeparator();
    bar->addAction(tr("Design"), this, [this] { m_report->ShowDesign(); });
    bar->addAction(tr("Preview"), this, [this] {
        try {
            m_report->ShowPreview();
        } catch (const ReportError &e) {
            statusBar()->showMessage(tr("The report failed: %1").arg(e.description()));
        }
    });
}

bool HostWindow::openPackage(const QString &path)
{
    try {
        m_report->OpenLayout(path);
        return m_report->curOpenFile() == path;
    } catch (const ReportError &e) {
        statusBar()->showMessage(tr("%1 could not be opened: %2").arg(path, e.description()));
        return false;
    }
}
