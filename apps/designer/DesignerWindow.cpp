#include "DesignerWindow.h"

#include "DesignerCommands.h"
#include "DesignerConnection.h"
#include "DesignerDocument.h"
#include "DesignerEditActions.h"
#include "DesignerView.h"
#include "FieldPalette.h"
#include "FormulaEditorModel.h"
#include "LayoutPage.h"
#include "LengthText.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ObjectListPanel.h"
#include "ObjectMenu.h"
#include "PreviewWindow.h"
#include "PropertyInspector.h"
#include "QueryLoader.h"
#include "ReportError.h"
#include "ReportGenOCX.h"
#include "Ruler.h"
#include "Selection.h"
#include "SettingsStore.h"
#include "Sizer.h"
#include "ThemeIcon.h"
#include "UserDataFolder.h"
#include "ZoomBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

namespace KRML_ReportGen {

namespace {
const QString kAppName = QStringLiteral("Report Designer");
const QString kSection = QStringLiteral("Options");
const QString kWindow = QStringLiteral("Designer Window");
} // namespace

DesignerWindow::DesignerWindow(ControlServices services, QWidget *parent)
    : QMainWindow(parent), m_services(services.completed())
{
    setObjectName(QStringLiteral("frmDesigner"));
    setWindowIcon(ThemeIcon::bundled(QStringLiteral("krml-reportdesigner")));
    ReportGenOCX::checkCommandLine(QCoreApplication::arguments());

    ModuleState &state = ModuleState::current();
    if (state.rdAppPath().isEmpty())
        state.setRdAppPath(UserDataFolder::path());

    m_control = new ReportGenOCX(nullptr, m_services);
    m_control->setCurrentMode(ReportGenOCX::DesignerMode);
    DesignerView &view = m_control->designer();
    view.setDirectEditing(true);
    m_connection = std::make_unique<DesignerConnection>(*m_control, *m_services.settings, *m_services.prompts, *m_services.files);
    m_document = new DesignerDocument(*m_control, *m_connection, m_services, this);
    m_edit = new DesignerEditActions(view, this);

    buildCentre();
    buildDocks();
    buildMenus();
    buildToolBar();
    buildStatusBar();

    connect(m_document, &DesignerDocument::changed, this, &DesignerWindow::updateTitle);
    connect(m_document, &DesignerDocument::packageOpened, this, &DesignerWindow::fitWidth);
    connect(m_document, &DesignerDocument::status, this, [this](const QString &text) { statusBar()->showMessage(text, 5000); });
    connect(&view.commands().selection(), &Selection::changed, this, &DesignerWindow::updateSelectionStatus);
    connect(&view.sizer(), &Sizer::changed, this, &DesignerWindow::updateSelectionStatus);
    connect(&view, &DesignerView::zoomChanged, this, [this] { m_zoomBox->showZoom(m_control->designer().zoom()); });
    connect(m_control, &ReportGenOCX::MousePos, this, [this](qint32 &x, qint32 &y) {
        m_pointer->setText(QStringLiteral("%1, %2 mm").arg(x).arg(y));
    });
    resize(1280, 860);
    restoreSettings();
    updateTitle();
    updateSelectionStatus();
}

DesignerWindow::~DesignerWindow()
{
    // The docks hold widgets that work on the control's page: they go first.
    delete m_preview;
    for (QDockWidget *dock : findChildren<QDockWidget *>())
        delete dock;
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

QAction *DesignerWindow::action(const QString &name, const QString &text, const QString &icon, const QKeySequence &key,
                                const std::function<void()> &slot)
{
    auto *a = new QAction(icon.isEmpty() ? QIcon() : ThemeIcon::get(icon), text, this);
    a->setObjectName(name);
    a->setShortcut(key);
    QString tip = text;
    tip.remove(QLatin1Char('&')).remove(QStringLiteral("..."));
    a->setToolTip(key.isEmpty() ? tip : QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText)));
    connect(a, &QAction::triggered, this, slot);
    return a;
}

QAction *DesignerWindow::findAction(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void DesignerWindow::buildCentre()
{
    // The page with a ruler along its top and its left.
    auto *centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("pageArea"));
    auto *grid = new QGridLayout(centre);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    DesignerView &view = m_control->designer();
    m_topRuler = new Ruler(Qt::Horizontal, view, centre);
    m_leftRuler = new Ruler(Qt::Vertical, view, centre);
    auto *corner = new QWidget(centre);
    corner->setFixedSize(m_leftRuler->sizeHint().width(), m_topRuler->sizeHint().height());
    grid->addWidget(corner, 0, 0);
    grid->addWidget(m_topRuler, 0, 1);
    grid->addWidget(m_leftRuler, 1, 0);
    m_control->setParent(centre);
    grid->addWidget(m_control, 1, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    setCentralWidget(centre);
}

void DesignerWindow::buildDocks()
{
    DesignerView &view = m_control->designer();
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    m_fieldsDock = new QDockWidget(QStringLiteral("Database Fields"), this);
    m_fieldsDock->setObjectName(QStringLiteral("dockFields"));
    FieldPalette &palette = view.fieldPalette();
    palette.setDocked(true);
    m_fieldsDock->setWidget(&palette);
    palette.show();
    addDockWidget(Qt::LeftDockWidgetArea, m_fieldsDock);

    m_inspector = new PropertyInspector(m_control->page(), view.commands(), *m_services.prompts);
    m_inspector->setStatementSource([this] { return m_control->statementList(); },
                                    [this](const QString &statement) {
                                        QStringList fields;
                                        try {
                                            m_control->queryLoader().RunReportQuery(statement, fields);
                                        } catch (const ReportError &) {
                                            // The field list stays empty; the binding is shown as it is.
                                        }
                                        return fields;
                                    });
    // The first value of a label as the formula editor reads its sample rows.
    m_inspector->setPreviewSource([this](const QString &statement) {
        FormulaEditorModel model(*m_services.files, *m_services.prompts, *ModuleState::current().data().RDDataConnection());
        return model.sampleRows(statement);
    });
    connect(m_inspector, &PropertyInspector::pageSizeChanged, this, [this] { m_control->LoadGrid(); });
    m_propertiesDock = new QDockWidget(QStringLiteral("Properties"), this);
    m_propertiesDock->setObjectName(QStringLiteral("dockProperties"));
    m_propertiesDock->setWidget(m_inspector);
    addDockWidget(Qt::RightDockWidgetArea, m_propertiesDock);

    m_objects = new ObjectListPanel(m_control->page(), view.commands());
    m_objectsDock = new QDockWidget(QStringLiteral("Objects"), this);
    m_objectsDock->setObjectName(QStringLiteral("dockObjects"));
    m_objectsDock->setWidget(m_objects);
    addDockWidget(Qt::RightDockWidgetArea, m_objectsDock);
    splitDockWidget(m_propertiesDock, m_objectsDock, Qt::Vertical);
    resizeDocks({m_fieldsDock, m_propertiesDock}, {220, 330}, Qt::Horizontal);
    resizeDocks({m_propertiesDock, m_objectsDock}, {480, 320}, Qt::Vertical);
}

void DesignerWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(action(QStringLiteral("mnuNew"), QStringLiteral("&New"), QStringLiteral("document-new"), QKeySequence::New,
                           [this] { run(QStringLiteral("mnuNewLayout"), [this] { m_document->newDocument(); }); }));
    file->addAction(action(QStringLiteral("mnuOpen"), QStringLiteral("&Open..."), QStringLiteral("document-open"), QKeySequence::Open,
                           [this] { run(QStringLiteral("mnuOpenLayout"), [this] { m_document->open(); }); }));
    m_recentMenu = file->addMenu(QStringLiteral("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("mnuRecent"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &DesignerWindow::fillRecentMenu);
    fillRecentMenu();
    file->addAction(action(QStringLiteral("mnuSave"), QStringLiteral("&Save"), QStringLiteral("document-save"), QKeySequence::Save,
                           [this] { run(QStringLiteral("mnuSaveLayout"), [this] { m_document->save(); }); }));
    file->addAction(action(QStringLiteral("mnuSaveAs"), QStringLiteral("Save &As..."), QStringLiteral("document-save-as"),
                           QKeySequence::SaveAs, [this] { run(QStringLiteral("mnuSaveLayout"), [this] { m_document->saveAs(); }); }));
    file->addAction(action(QStringLiteral("mnuClose"), QStringLiteral("&Close"), QStringLiteral("window-close"), QKeySequence::Close,
                           [this] { run(QStringLiteral("mnuCloseLayout"), [this] { m_document->close(); }); }));
    file->addSeparator();
    file->addAction(action(QStringLiteral("mnuConnect"), QStringLiteral("Connect to &Database..."),
                           QStringLiteral("network-server-database"), {},
                           [this] { run(QStringLiteral("mnuConnect"), [this] { m_connection->choose(this); }); }));
    file->addAction(action(QStringLiteral("mnuSQLEditor"), QStringLiteral("SQL &Editor..."), QStringLiteral("krml-sql-editor"), {},
                           [this] { run(QStringLiteral("mnuSQLEditor"), [this] { m_control->ShowSQLEditor(); }); }));
    file->addAction(action(QStringLiteral("mnuOptions"), QStringLiteral("&Options..."), QStringLiteral("document-properties"), {},
                           [this] { run(QStringLiteral("mnuOptions"), [this] { m_control->ShowOptions(); }); }));
    file->addSeparator();
    file->addAction(action(QStringLiteral("mnuPreview"), QStringLiteral("Pre&view"), QStringLiteral("document-print-preview"),
                           QKeySequence(Qt::CTRL | Qt::Key_R), [this] { showPreview(); }));
    file->addAction(action(QStringLiteral("mnuPrint"), QStringLiteral("&Print..."), QStringLiteral("document-print"), QKeySequence::Print,
                           [this] { run(QStringLiteral("mnuPrint"), [this] { preview().print(); }); }));
    file->addSeparator();
    file->addAction(action(QStringLiteral("mnuExit"), QStringLiteral("E&xit"), QStringLiteral("application-exit"), QKeySequence::Quit,
                           [this] { close(); }));

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_edit->fillEditMenu(edit);

    QMenu *insert = menuBar()->addMenu(QStringLiteral("&Insert"));
    insert->addAction(action(QStringLiteral("mnuInsertLabel"), QStringLiteral("&Label"), QStringLiteral("insert-text"), {},
                             [this] { run(QStringLiteral("mnuInsertLabel"), [this] { m_control->InsertLabel(); }); }));
    insert->addAction(action(QStringLiteral("mnuInsertPicture"), QStringLiteral("&Picture"), QStringLiteral("insert-image"), {},
                             [this] { run(QStringLiteral("mnuInsertPicture"), [this] { m_control->InsertPicture(); }); }));
    insert->addAction(action(QStringLiteral("mnuInsertDataField"), QStringLiteral("&Data Field"), QStringLiteral("insert-object"), {},
                             [this] {
                                 run(QStringLiteral("mnuInsertDataField"), [this] {
                                     m_control->InsertDataField();
                                     m_fieldsDock->show();
                                     m_fieldsDock->raise();
                                 });
                             }));
    insert->addAction(action(QStringLiteral("mnuInsertFormula"), QStringLiteral("&Formula..."), QStringLiteral("insert-math-expression"),
                             {}, [this] { run(QStringLiteral("mnuInsertFormula"), [this] { m_control->InsertFormula(); }); }));
    insert->addAction(action(QStringLiteral("mnuCreateBox"), QStringLiteral("&Box..."), QStringLiteral("draw-rectangle"), {},
                             [this] { run(QStringLiteral("mnuCreateBox"), [this] { m_control->CreateBox(); }); }));
    insert->addAction(action(QStringLiteral("mnuInsertExternalData"), QStringLiteral("&External Data..."), {}, {},
                             [this] { run(QStringLiteral("mnuInsertExternalData"), [this] { m_control->InsertExternalData(); }); }));

    QMenu *arrange = menuBar()->addMenu(QStringLiteral("&Arrange"));
    m_edit->fillArrangeMenu(arrange);

    // The control's own object menu: it shows while an object is selected.
    ObjectMenu &object = m_control->designer().objectMenu();
    menuBar()->addMenu(&object);
    const auto refreshObjectMenu = [this] { m_control->designer().objectMenu().refresh(); };
    connect(&m_control->designer().sizer(), &Sizer::changed, this, refreshObjectMenu);
    connect(&m_control->designer().commands().selection(), &Selection::changed, this, refreshObjectMenu);

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(action(QStringLiteral("mnuZoomIn"), QStringLiteral("Zoom &In"), QStringLiteral("zoom-in"), QKeySequence::ZoomIn,
                           [this] { setZoom(m_control->designer().zoom() * 1.25); }));
    view->addAction(action(QStringLiteral("mnuZoomOut"), QStringLiteral("Zoom &Out"), QStringLiteral("zoom-out"), QKeySequence::ZoomOut,
                           [this] { setZoom(m_control->designer().zoom() / 1.25); }));
    view->addAction(action(QStringLiteral("mnuActualSize"), QStringLiteral("&Actual Size"), QStringLiteral("zoom-original"),
                           QKeySequence(Qt::CTRL | Qt::Key_0), [this] { setZoom(100); }));
    view->addAction(action(QStringLiteral("mnuFitPage"), QStringLiteral("Fit &Page"), QStringLiteral("zoom-fit-best"), {},
                           [this] { fitPage(); }));
    view->addAction(action(QStringLiteral("mnuFitWidth"), QStringLiteral("Fit &Width"), QStringLiteral("zoom-fit-width"), {},
                           [this] { fitWidth(); }));
    view->addSeparator();
    for (QDockWidget *dock : {m_fieldsDock, m_propertiesDock, m_objectsDock})
        view->addAction(dock->toggleViewAction());
}

void DesignerWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Main Toolbar"));
    bar->setObjectName(QStringLiteral("tbMain"));
    bar->setIconSize(QSize(20, 20));
    for (const char *name : {"mnuNew", "mnuOpen", "mnuSave"})
        bar->addAction(findAction(QLatin1String(name)));
    bar->addSeparator();
    using E = DesignerEditActions;
    for (E::Id id : {E::Undo, E::Redo})
        bar->addAction(m_edit->action(id));
    bar->addSeparator();
    for (E::Id id : {E::Cut, E::Copy, E::Paste, E::Delete})
        bar->addAction(m_edit->action(id));
    bar->addSeparator();
    for (const char *name : {"mnuInsertLabel", "mnuInsertPicture", "mnuInsertDataField", "mnuInsertFormula"})
        bar->addAction(findAction(QLatin1String(name)));
    bar->addSeparator();
    for (E::Id id : {E::AlignLeft, E::AlignRight, E::AlignTop, E::AlignBottom, E::SameWidth, E::SameHeight, E::DistributeHorizontally,
                     E::DistributeVertically, E::BringToFront, E::SendToBack, E::SnapToGrid})
        bar->addAction(m_edit->action(id));
    bar->addSeparator();
    bar->addAction(findAction(QStringLiteral("mnuConnect")));
    bar->addAction(findAction(QStringLiteral("mnuPreview")));
}

void DesignerWindow::buildStatusBar()
{
    m_connectionStatus = new QLabel(this);
    m_connectionStatus->setObjectName(QStringLiteral("lblConnection"));
    m_pointer = new QLabel(this);
    m_pointer->setObjectName(QStringLiteral("lblPointer"));
    m_pointer->setMinimumWidth(m_pointer->fontMetrics().horizontalAdvance(QStringLiteral("0000, 0000 mm")));
    m_pointer->setToolTip(QStringLiteral("Pointer position"));
    m_selection = new QLabel(this);
    m_selection->setObjectName(QStringLiteral("lblSelection"));
    m_selection->setToolTip(QStringLiteral("Selection size"));
    m_zoomBox = new ZoomBox(this);
    statusBar()->addWidget(m_connectionStatus, 1);
    statusBar()->addPermanentWidget(m_selection);
    statusBar()->addPermanentWidget(m_pointer);
    statusBar()->addPermanentWidget(m_zoomBox);
    connect(m_zoomBox, &ZoomBox::zoomRequested, this, &DesignerWindow::setZoom);
    connect(m_zoomBox, &ZoomBox::fitPageRequested, this, &DesignerWindow::fitPage);
    connect(m_zoomBox, &ZoomBox::fitWidthRequested, this, &DesignerWindow::fitWidth);
    const auto showConnection = [this](const QString &text) {
        m_connectionStatus->setText(text);
        m_connectionStatus->setToolTip(text);
    };
    connect(m_connection.get(), &DesignerConnection::statusChanged, this, showConnection);
    showConnection(m_connection->statusText());
    m_zoomBox->showZoom(m_control->designer().zoom());
}

void DesignerWindow::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_document->recentFiles().files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)), this,
                                             [this, path] { run(QStringLiteral("mnuOpenLayout"), [this, path] { m_document->open(path); }); });
        a->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

void DesignerWindow::updateTitle()
{
    setWindowFilePath(m_document->path());
    setWindowTitle(QStringLiteral("%1[*] - Report Designer").arg(m_document->displayName()));
    setWindowModified(m_document->isModified());
    if (m_preview)
        m_preview->setWindowTitle(QStringLiteral("Preview - %1").arg(m_document->displayName()));
}

void DesignerWindow::updateSelectionStatus()
{
    const DesignerView &view = m_control->designer();
    const QList<ObjectRef> &selected = const_cast<DesignerView &>(view).commands().selection().objects();
    if (selected.isEmpty()) {
        m_selection->setText(QStringLiteral("Page %1 x %2 mm")
                                 .arg(LengthText::millimetres(m_control->page().Width()), LengthText::millimetres(m_control->page().Height())));
        return;
    }
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const ObjectRef &o : selected) {
        const auto g = o.geometry(m_control->page());
        left = std::min(left, g.left);
        top = std::min(top, g.top);
        right = std::max(right, g.left + g.width);
        bottom = std::max(bottom, g.top + g.height);
    }
    const QString size = QStringLiteral("%1 x %2 mm").arg(LengthText::millimetres(right - left), LengthText::millimetres(bottom - top));
    m_selection->setText(selected.size() == 1 ? size : QStringLiteral("%1 objects, %2").arg(selected.size()).arg(size));
}

PreviewWindow &DesignerWindow::preview()
{
    if (!m_preview) {
        m_preview = new PreviewWindow(m_control->page(), m_control->queryLoader(), *m_services.prompts, this);
        m_preview->setWindowFlag(Qt::Window);
        m_preview->setWindowIcon(windowIcon());
        SettingsStore &s = *m_services.settings;
        m_preview->setPaginate(s.getSetting(kAppName, kWindow, QStringLiteral("Paginate"), QStringLiteral("0")) == QLatin1String("1"));
        connect(m_preview, &PreviewWindow::paginateChanged, this, [this](bool on) {
            m_services.settings->saveSetting(kAppName, kWindow, QStringLiteral("Paginate"), on ? QStringLiteral("1") : QStringLiteral("0"));
        });
        updateTitle();
    }
    m_preview->setWindowFilePath(m_document->path());
    return *m_preview;
}

void DesignerWindow::showPreview()
{
    PreviewWindow &window = preview();
    window.show();
    window.raise();
    window.activateWindow();
    window.refresh();
}

void DesignerWindow::setZoom(double percent)
{
    m_control->designer().setZoom(percent);
}

void DesignerWindow::fitPage()
{
    // The control's own area, less its scroll bars.
    m_control->designer().fitPage(m_control->size() - QSize(20, 20));
}

void DesignerWindow::fitWidth()
{
    m_control->designer().fitWidth(m_control->width() - 20);
}

void DesignerWindow::start(const QString &connectionString, const QString &package)
{
    if (!connectionString.isEmpty()) {
        m_connection->connectTo(connectionString, true, true);
        m_connection->setOverrideForNextOpen(connectionString);
    } else if (!m_connection->remembered().isEmpty()) {
        // The connection of the last session; a failure only shows in the status line.
        m_connection->connectTo(m_connection->remembered(), false, false);
    }
    if (!package.isEmpty())
        run(QStringLiteral("mnuOpenLayout"), [this, &package] { m_document->open(package); });
    m_connection->setOverrideForNextOpen(QString());
    fitWidth();
}

void DesignerWindow::restoreSettings()
{
    SettingsStore &s = *m_services.settings;
    const QByteArray geometry = QByteArray::fromBase64(s.getSetting(kAppName, kWindow, QStringLiteral("Geometry")).toLatin1());
    const QByteArray dockState = QByteArray::fromBase64(s.getSetting(kAppName, kWindow, QStringLiteral("State")).toLatin1());
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    if (!dockState.isEmpty())
        restoreState(dockState);
    const bool snap = s.getSetting(kAppName, kWindow, QStringLiteral("SnapToGrid"), QStringLiteral("1")) == QLatin1String("1");
    m_edit->action(DesignerEditActions::SnapToGrid)->setChecked(snap);
    m_control->designer().setSnapToGrid(snap);
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
    s.saveSetting(kAppName, kWindow, QStringLiteral("Geometry"), QString::fromLatin1(saveGeometry().toBase64()));
    s.saveSetting(kAppName, kWindow, QStringLiteral("State"), QString::fromLatin1(saveState().toBase64()));
    s.saveSetting(kAppName, kWindow, QStringLiteral("SnapToGrid"), m_control->designer().snapToGrid() ? QStringLiteral("1") : QStringLiteral("0"));
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    if (!m_document->maybeSave()) {
        event->ignore();
        return;
    }
    saveSettings();
    if (m_preview)
        m_preview->close();
    event->accept();
}

} // namespace KRML_ReportGen
