#include "DesignerWindow.h"

#include "DesignerView.h"
#include "ModuleState.h"
#include "ObjectMenu.h"
#include "Sizer.h"
#include "MsgBoxStyle.h"
#include "ReportError.h"
#include "ReportGenOCX.h"
#include "UserDataFolder.h"
#include "VbConvert.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QStatusBar>
#include <QUndoStack>

namespace KRML_ReportGen {

namespace {
const QString kAppName = QStringLiteral("Report Designer");
const QString kSection = QStringLiteral("Options");
} // namespace

DesignerWindow::DesignerWindow(ControlServices services, QWidget *parent)
    : QMainWindow(parent), m_services(services.completed())
{
    setWindowTitle(QStringLiteral("KRML Report Designer"));
    ReportGenOCX::checkCommandLine(QCoreApplication::arguments());

    ModuleState &state = ModuleState::current();
    if (state.rdAppPath.isEmpty())
        state.rdAppPath = UserDataFolder::path();

    m_control = new ReportGenOCX(this, m_services);
    m_control->setCurrentMode(ReportGenOCX::DesignerMode);
    setCentralWidget(m_control);
    buildMenus();

    connect(m_control, &ReportGenOCX::MousePos, this, [this](qint32 &x, qint32 &y) {
        statusBar()->showMessage(QStringLiteral("%1 mm, %2 mm").arg(x).arg(y));
    });
    resize(1000, 760);
}

void DesignerWindow::run(const QString &commandName, const std::function<void()> &command)
{
    try {
        command();
    } catch (const ReportError &e) {
        m_services.prompts->msgBox(QStringLiteral("Error in %1 %2: %3").arg(commandName).arg(e.number()).arg(e.description()),
                                   MsgBoxStyle::Exclamation);
    }
}

void DesignerWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New Layout"), this, [this] { run(QStringLiteral("mnuNewLayout"), [this] { m_control->NewLayout(); }); });
    file->addAction(QStringLiteral("&Open Layout..."), this, [this] { run(QStringLiteral("mnuOpenLayout"), [this] { m_control->OpenLayout(); }); });
    file->addAction(QStringLiteral("&Save Layout"), this, [this] { run(QStringLiteral("mnuSaveLayout"), [this] { m_control->SaveLayout(); }); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Preview"), this, [this] { run(QStringLiteral("mnuPreview"), [this] { m_control->ShowPreview(); }); });
    file->addAction(QStringLiteral("&Design"), this, [this] { run(QStringLiteral("mnuDesign"), [this] { m_control->ShowDesign(); }); });
    file->addAction(QStringLiteral("P&rint"), this, [this] { run(QStringLiteral("mnuPrint"), [this] { m_control->PrintReport(); }); });
    file->addSeparator();
    file->addAction(QStringLiteral("SQL &Editor..."), this, [this] { run(QStringLiteral("mnuSQLEditor"), [this] { m_control->ShowSQLEditor(); }); });
    file->addAction(QStringLiteral("&Options..."), this, [this] { run(QStringLiteral("mnuOptions"), [this] { m_control->ShowOptions(); }); });
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

    QMenu *insert = menuBar()->addMenu(QStringLiteral("&Insert"));
    insert->addAction(QStringLiteral("&Label"), this, [this] { run(QStringLiteral("mnuInsertLabel"), [this] { m_control->InsertLabel(); }); });
    insert->addAction(QStringLiteral("&Picture"), this, [this] { run(QStringLiteral("mnuInsertPicture"), [this] { m_control->InsertPicture(); }); });
    insert->addAction(QStringLiteral("&Data Field"), this, [this] { run(QStringLiteral("mnuInsertDataField"), [this] { m_control->InsertDataField(); }); });
    insert->addAction(QStringLiteral("&Formula"), this, [this] { run(QStringLiteral("mnuInsertFormula"), [this] { m_control->InsertFormula(); }); });
    insert->addAction(QStringLiteral("&Box"), this, [this] { run(QStringLiteral("mnuCreateBox"), [this] { m_control->CreateBox(); }); });
    insert->addAction(QStringLiteral("&External Data..."), this, [this] { run(QStringLiteral("mnuInsertExternalData"), [this] { m_control->InsertExternalData(); }); });

    // The control's own object menu: it shows while an object is selected.
    ObjectMenu &object = m_control->designer().objectMenu();
    menuBar()->addMenu(&object);
    connect(&m_control->designer().sizer(), &Sizer::changed, this, [this] {
        m_control->designer().objectMenu().refresh();
    });

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QUndoStack &undo = m_control->designer().undoStack();
    QAction *undoAction = undo.createUndoAction(this, QStringLiteral("&Undo"));
    undoAction->setShortcut(QKeySequence::Undo);
    QAction *redoAction = undo.createRedoAction(this, QStringLiteral("&Redo"));
    redoAction->setShortcut(QKeySequence::Redo);
    edit->addAction(undoAction);
    edit->addAction(redoAction);

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    DesignerView &page = m_control->designer();
    view->addAction(QStringLiteral("Fit &Page"), this, [this, &page] { page.fitPage(m_control->size()); });
    view->addAction(QStringLiteral("Fit &Width"), this, [this, &page] { page.fitWidth(m_control->width() - 20); });
    view->addSeparator();
    for (int percent : {50, 75, 100, 150, 200, 300, 400})
        view->addAction(QStringLiteral("%1 %").arg(percent), this, [&page, percent] { page.setZoom(percent); });
}

void DesignerWindow::saveSettings()
{
    // The control only reads the settings; the standalone window keeps what
    // the user chose in "Options" for the next start.
    SettingsStore &s = *m_services.settings;
    s.saveSetting(kAppName, kSection, QStringLiteral("GridSize"), QString::number(m_control->GridSize()));
    s.saveSetting(kAppName, kSection, QStringLiteral("PageWidth"), QString::number(m_control->PageWidth()));
    s.saveSetting(kAppName, kSection, QStringLiteral("PageHeight"), QString::number(m_control->Pageheight()));
    s.saveSetting(kAppName, kSection, QStringLiteral("DBPath"), m_control->DBPath());
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    saveSettings();
    event->accept();
}

} // namespace KRML_ReportGen
