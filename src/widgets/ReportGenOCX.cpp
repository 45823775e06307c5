#include "ReportGenOCX.h"

#include "ControlServices.h"
#include "DurableFile.h"
#include "GridBuilder.h"
#include "FormulaEvaluator.h"
#include "ImageSurface.h"
#include "LabelTag.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "CoordinateDialogs.h"
#include "DesignerCommands.h"
#include "DesignerView.h"
#include "FieldPalette.h"
#include "ObjectMenu.h"
#include "OptionsDialog.h"
#include "Sizer.h"
#include "DataSource.h"
#include "ExternalDataWizard.h"
#include "FormulaEditorWindow.h"
#include "PleaseWaitWindow.h"
#include "StartupChooser.h"
#include "SqlErrorMessage.h"
#include "PathNames.h"
#include "PreviewNavigator.h"
#include "PreviewView.h"
#include "PrinterSurface.h"
#include "PropertyBag.h"
#include "QueryLoader.h"
#include "ReportParameterPrompt.h"
#include "SqlEditorModel.h"
#include "SqlEditorWindow.h"
#include "ReportExport.h"
#include "ReportGenerator.h"
#include "ReportError.h"
#include "StatementPalette.h"
#include "Twips.h"
#include "VbConvert.h"
#include "KRMLReportGenVersion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QUndoStack>
#include <limits>


namespace KRML_ReportGen {

namespace {

const QString kAppName = QStringLiteral("Report Designer");
const QString kSection = QStringLiteral("Options");
constexpr int kIconSize = 64;

QPixmap makeIcon()
{
    // A sheet of paper with a folded corner, report lines and a data column.
    QPixmap pm(kIconSize, kIconSize);
    pm.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygonF sheet({QPointF(12, 4), QPointF(44, 4), QPointF(54, 14), QPointF(54, 60), QPointF(12, 60)});
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    p.drawPolyline(QPolygonF({QPointF(44, 4), QPointF(44, 14), QPointF(54, 14)}));
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x9A), 3));
    p.drawLine(QPointF(18, 12), QPointF(38, 12));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 2));
    for (int y = 22; y <= 52; y += 6) {
        p.drawLine(QPointF(18, y), QPointF(30, y));
        p.drawLine(QPointF(35, y), QPointF(48, y));
    }
    p.end();
    return pm;
}

float settingAsSingle(const SettingsStore &settings, const QString &key, const QString &defaultValue)
{
    const QString text = settings.getSetting(kAppName, kSection, key, defaultValue);
    try {
        return VbConvert::toSingle(text);
    } catch (const ReportError &e) {
        throw ReportError(e.number(),
                          QStringLiteral("%1: the stored setting \"%2\" (\"%3\") is not a number").arg(e.description(), key, text),
                          QStringLiteral("ReportGenOCX"));
    }
}

} // namespace

ReportGenOCX::ReportGenOCX(QWidget *parent) : ReportGenOCX(parent, ControlServices::standard())
{
}

ReportGenOCX::ReportGenOCX(QWidget *parent, ControlServices services)
    : QWidget(parent), m_ownServices(std::make_unique<ControlServices>(services.completed())), m_services(*m_ownServices),
      m_page(std::make_unique<LayoutPage>()),
      m_preview(std::make_unique<ImageSurface>()), m_palette(std::make_unique<StatementPalette>()),
      m_loader(std::make_unique<QueryLoader>(*m_services.files, *m_services.prompts)),
      m_generator(std::make_unique<ReportGenerator>(*m_page, *m_loader))
{
    m_loader->setValueSource([this](const clsParameter &p) { return askForParameter(p); });
    connect(m_palette.get(), &StatementPalette::statementsChanged, this, &ReportGenOCX::statementListChanged);
    setObjectName(QStringLiteral("ReportGenOCX"));

    m_previewView = new PreviewView(m_preview.get(), this);
    m_pageView = new DesignerView(*m_page, *m_services.prompts, *m_services.files, this);
    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_hScroll->setObjectName(QStringLiteral("HScroll1"));
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    m_vScroll->setObjectName(QStringLiteral("VScroll1"));
    m_navigator = new PreviewNavigator(this);
    m_navigator->hide();
    connect(m_navigator, &PreviewNavigator::pageRequested, this, &ReportGenOCX::showPreviewPage);
    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("picIcon"));
    m_icon->setPixmap(makeIcon());
    m_icon->setFixedSize(kIconSize, kIconSize);

    connect(m_hScroll, &QScrollBar::valueChanged, this, &ReportGenOCX::layoutChildren);
    connect(m_vScroll, &QScrollBar::valueChanged, this, &ReportGenOCX::layoutChildren);
    connect(m_page.get(), &LayoutPage::sizeChanged, this, [this] {
        // The preview surface keeps the page's size, however the page got it.
        m_preview->setWidth(m_page->Width());
        m_preview->setHeight(m_page->Height());
        m_previewView->syncSize();
        syncScrollBars();
    });
    connect(m_pageView, &DesignerView::mouseMovedTwips, this, &ReportGenOCX::onPageMouseMove);
    wireDesigner();

    startUp();
    // A control placed anew shows its icon; a host restoring a saved one
    // calls ReadProperties afterwards.
    InitProperties();
}

ReportGenOCX::~ReportGenOCX() = default;

void ReportGenOCX::startUp()
{
    const SettingsStore &settings = *m_services.settings;
    const QString grid = settings.getSetting(kAppName, kSection, QStringLiteral("GridSize"), QStringLiteral("2"));
    try {
        m_gridSize = VbConvert::toInt16(grid);
    } catch (const ReportError &e) {
        throw ReportError(e.number(),
                          QStringLiteral("%1: the stored setting \"GridSize\" (\"%2\") is not a number").arg(e.description(), grid),
                          QStringLiteral("ReportGenOCX"));
    }
    m_page->setWidth(settingAsSingle(settings, QStringLiteral("PageWidth"), QStringLiteral("11907")));
    m_page->setHeight(settingAsSingle(settings, QStringLiteral("PageHeight"), QStringLiteral("16839.9")));
    m_dbPath = settings.getSetting(kAppName, kSection, QStringLiteral("DBPath"), QString());
    m_preview->setWidth(settingAsSingle(settings, QStringLiteral("PageWidth"), QStringLiteral("11907")));
    m_preview->setHeight(settingAsSingle(settings, QStringLiteral("PageHeight"), QStringLiteral("16839.9")));
    m_previewView->syncSize();

    if (ModuleState::current().data().RDDataConnection()->state() == DbConnection::Open) {
        fillStatementList();
        LoadGrid();
    }
}

// ---------------------------------------------------------------- properties

void ReportGenOCX::setParamFieldCollection(std::shared_ptr<VariantCollection> collection)
{
    ModuleState::current().setParamFieldCollection(std::move(collection));
}

void ReportGenOCX::setParamValueCollection(std::shared_ptr<VariantCollection> collection)
{
    ModuleState::current().setParamValueCollection(std::move(collection));
}

std::shared_ptr<VariantCollection> ReportGenOCX::paramFieldCollectionForMeta() const
{
    return ModuleState::current().ParamFieldCollection();
}

std::shared_ptr<VariantCollection> ReportGenOCX::paramValueCollectionForMeta() const
{
    return ModuleState::current().ParamValueCollection();
}

void ReportGenOCX::setCurrentMode(ControlModes mode)
{
    setCurrentMode(static_cast<int>(mode));
}

void ReportGenOCX::setCurrentMode(int mode)
{
    m_currentMode = mode;
    if (mode == ComponentMode) {
        m_icon->move(0, 0);
        setFixedSize(m_icon->size());
        m_icon->raise();
        m_icon->show();
    } else if (mode == DesignerMode) {
        m_icon->hide();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layoutChildren();
    }
    updateGeometry();
}

QString ReportGenOCX::versionString(int major, int minor, int, int revision)
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString ReportGenOCX::OCXVersion() const
{
    return versionString(KRML_REPORTGEN_VERSION_MAJOR, KRML_REPORTGEN_VERSION_MINOR, KRML_REPORTGEN_VERSION_BUILD,
                         KRML_REPORTGEN_VERSION_REVISION);
}

int ReportGenOCX::PageWidth() const
{
    return VbConvert::toInt32(m_page->Width());
}

void ReportGenOCX::setPageWidth(int twips)
{
    m_page->setWidth(float(twips));
    m_preview->setWidth(float(twips));
    m_previewView->syncSize();
}

int ReportGenOCX::Pageheight() const
{
    return VbConvert::toInt32(m_page->Height());
}

void ReportGenOCX::setPageheight(int twips)
{
    m_page->setHeight(float(twips));
    m_preview->setHeight(float(twips));
    m_previewView->syncSize();
}

void ReportGenOCX::setDevMode(bool on)
{
    ModuleState::current().setDevMode(on);
}

bool ReportGenOCX::devModeForMeta() const
{
    return ModuleState::current().devMode();
}

void ReportGenOCX::setRdAppPath(const QString &path)
{
    ModuleState::current().setRdAppPath(PathNames::normalize(path));
    // Working files that a killed process was writing when it died.
    DurableFile::removeStaleParts(PathNames::resolve(ModuleState::current().tempFolder()));
}

int ReportGenOCX::CodePage() const
{
    return ModuleState::current().codePage();
}

void ReportGenOCX::setCodePage(int number)
{
    (void)KRML_ReportGen::CodePage(number); // refuses a page it does not know
    ModuleState::current().setCodePage(number);
}

QString ReportGenOCX::rdAppPathForMeta() const
{
    return ModuleState::current().rdAppPath();
}

std::shared_ptr<DbConnection> ReportGenOCX::RepDataConnection() const
{
    return ModuleState::current().data().RDDataConnection();
}

void ReportGenOCX::setRepDataConnection(std::shared_ptr<DbConnection> connection)
{
    ModuleState::current().data().setRDDataConnection(std::move(connection));
    fillStatementList();
    LoadGrid();
}

// ------------------------------------------------------------------- methods

void ReportGenOCX::Reload(bool ShowGrid)
{
    fillStatementList();
    if (ShowGrid) {
        LoadGrid();
    } else {
        m_page->drawing().clear();
        m_page->notifyDrawingChanged();
    }
}

void ReportGenOCX::ShowPreview()
{
    RepModes mode = Preview;
    FlipMode(mode);
}

void ReportGenOCX::ShowDesign()
{
    RepModes mode = Designer;
    FlipMode(mode);
}

void ReportGenOCX::PrintReport()
{
    RepModes mode = Printing;
    FlipMode(mode);
}

void ReportGenOCX::FlipMode(RepModes &selMode)
{
    emit ModeSwitch(selMode);
    ModuleState &state = ModuleState::current();
    switch (selMode) {
    case Designer:
        m_navigator->hide();
        Reload(true);
        for (int i = 1; i <= m_page->labelCount(); ++i) {
            LayoutLabel &label = m_page->Label(i);
            if (LabelTag::isDataFieldForDesigner(label.Tag)) {
                label.Caption = LabelTag::dataCaption(label.Tag);
                m_page->notifyLabelChanged(i);
            }
        }
        m_pageView->show();
        break;
    case Preview:
        state.setParamFieldCollection(std::make_shared<VariantCollection>());
        state.setParamValueCollection(std::make_shared<VariantCollection>());
        m_previewPage = 1;
        m_generator->setPaginate(m_paginate);
        m_generator->setPageRange(1, 1);
        // A generator that fails ends the switch here: the page and the
        // selection stay as the user left them.
        GenerateOutput(*m_preview);
        m_previewView->update();
        m_pageView->hide();
        m_pageView->sizer().hide();
        if (m_generator->paginate()) {
            m_navigator->setPages(1, m_generator->pageCount());
            m_navigator->show();
            m_navigator->raise();
        }
        break;
    case Printing:
        state.setParamFieldCollection(std::make_shared<VariantCollection>());
        state.setParamValueCollection(std::make_shared<VariantCollection>());
        m_generator->setPaginate(m_paginate);
        m_generator->setPageRange(1, std::numeric_limits<int>::max());
        GenerateOutput(printerSurface());
        break;
    default:
        break;
    }
}

QPrinter *ReportGenOCX::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printer.get();
}

DrawingSurface &ReportGenOCX::printerSurface()
{
    if (!m_printerSurface)
        m_printerSurface = std::make_unique<PrinterSurface>(printer());
    return *m_printerSurface;
}

QString ReportGenOCX::GenerateOutput(DrawingSurface &outDestination)
{
    runGenerator([&] { m_generator->GenerateOutput(outDestination); });
    return QString();
}

void ReportGenOCX::runGenerator(const std::function<void()> &work)
{
    preparePalette();
    work();
    // A report that lost rows never does so silently.
    for (const CutList &cut : m_generator->cutLists())
        emit RowsCut(cut.statement, cut.printed, cut.total);
}

QStringList ReportGenOCX::ExportReport(const QString &path, const QString &format)
{
    const QList<ReportExport::Format> formats = ReportExport::standardFormats();
    const ReportExport::Format *chosen =
        format.isEmpty() ? ReportExport::formatFor(formats, path) : ReportExport::formatWithSuffix(formats, format);
    if (!chosen)
        throw ReportError(ReportError::InvalidProcedureCall,
                          QStringLiteral("There is no export format \"%1\"; the formats are %2.")
                              .arg(format.isEmpty() ? QFileInfo(path).suffix() : format, ReportExport::suffixList(formats)));
    // The values are asked for as printing asks for them.
    ModuleState &state = ModuleState::current();
    state.setParamFieldCollection(std::make_shared<VariantCollection>());
    state.setParamValueCollection(std::make_shared<VariantCollection>());
    m_generator->setPaginate(m_paginate);
    m_generator->setPageRange(1, std::numeric_limits<int>::max());
    ReportExport::Options options;
    options.filePerPage = chosen->filePerPage && m_generator->paginate();
    options.documentName = m_curOpenFile.isEmpty() ? rdAppName() : QFileInfo(m_curOpenFile).completeBaseName();
    const auto progress = [this](const QString &counting) {
        return [this, counting](int done, int total) {
            bool cancel = false;
            emit ExportProgress(counting, done, total, cancel);
            if (cancel)
                throw ReportError(ReportError::UserInterrupt, QStringLiteral("User interrupt occurred"));
        };
    };
    m_generator->setPageProgress(progress(QStringLiteral("pages")));
    m_generator->setRowProgress(progress(QStringLiteral("rows")));
    const auto quiet = qScopeGuard([this] {
        m_generator->setPageProgress({});
        m_generator->setRowProgress({});
    });
    QStringList written;
    runGenerator([&] { written = chosen->write(*m_generator, *m_page, path, options); });
    return written;
}

void ReportGenOCX::preparePalette()
{
    // The designer's lists follow the working report SQL file before a
    // report is drawn, where the designer is shown. They are no part of the
    // report: nobody is asked for a parameter value here, what the first
    // statement's lookups chose does not reach the report's values, and a
    // failure leaves the report to run. A host that only renders (the
    // control in component mode) runs no statement its report does not use.
    if (m_currentMode != DesignerMode)
        return;
    try {
        m_palette->prepareForReport(m_loader->FillStatementList(m_palette->statements()),
                                    ModuleState::current().CurrentReportSQL().isEmpty(), [this](const QString &statement) {
                                        ModuleState &state = ModuleState::current();
                                        const VariantCollection fields = *state.ParamFieldCollection();
                                        const VariantCollection values = *state.ParamValueCollection();
                                        const auto restore = qScopeGuard([&] {
                                            *state.ParamFieldCollection() = fields;
                                            *state.ParamValueCollection() = values;
                                        });
                                        QueryLoader quiet(*m_services.files, *m_services.prompts);
                                        QStringList names;
                                        quiet.RunReportQuery(statement, names);
                                        return names;
                                    });
    } catch (const ReportError &) {
    }
}

void ReportGenOCX::showPreviewPage(int page)
{
    // The host's parameter values stay as they are: only the page changes.
    m_generator->setPaginate(m_paginate);
    m_generator->setPageRange(page, page);
    GenerateOutput(*m_preview);
    m_previewPage = std::min(page, m_generator->pageCount());
    m_previewView->update();
    m_navigator->setPages(m_previewPage, m_generator->pageCount());
}

int ReportGenOCX::previewPages() const
{
    return m_generator->pageCount();
}

QString ReportGenOCX::AnalyseFunction(const QString &funcString, Recordset &funcRS)
{
    return FormulaEvaluator::AnalyseFunction(funcString, funcRS);
}

const QStringList &ReportGenOCX::statementList() const
{
    return m_palette->statements();
}

const QList<double> &ReportGenOCX::LabelTops() const
{
    return m_generator->LabelTops();
}

const QList<double> &ReportGenOCX::LabelExtents() const
{
    return m_generator->LabelExtents();
}

void ReportGenOCX::wireDesigner()
{
    connect(m_pageView, &DesignerView::zoomChanged, this, &ReportGenOCX::syncScrollBars);
    FieldPalette &palette = m_pageView->fieldPalette();
    palette.setFieldsOf([this](const QString &statement) {
        QStringList fields;
        try {
            m_loader->RunReportQuery(statement, fields);
        } catch (const ReportError &e) {
            m_services.prompts->msgBox(SqlErrorMessage::text(e), SqlErrorMessage::style, SqlErrorMessage::title());
        }
        return fields;
    });
    connect(m_palette.get(), &StatementPalette::statementsChanged, this,
            [this] { m_pageView->fieldPalette().setStatements(m_palette->statements()); });
    m_pageView->setFieldDrop([this](const QString &statement, const QString &field, double x, double y) {
        ModuleState &state = ModuleState::current();
        m_pageView->commands().dropField(statement, field, x, y, *state.data().RDDataConnection(), state.CurrentReportSQL());
    });
    m_pageView->objectMenu().setCoordinateDialog([this] { openCoordinateDialog(); });
}

void ReportGenOCX::openCoordinateDialog()
{
    const Sizer &sizer = m_pageView->sizer();
    if (sizer.BoundControl().isNull())
        return;
    // Shows where the object is; "Move" puts the object there.
    const auto g = sizer.BoundControl().geometry(*m_page);
    CoordinateDialog dialog(CoordinateDialog::Positioning, {QString::number(g.left), QString::number(g.top)},
                            [this](const QStringList &v) { return m_pageView->commands().moveTo(v[0], v[1]); }, this);
    dialog.exec();
}

void ReportGenOCX::CreateBox()
{
    CoordinateDialog dialog(
        CoordinateDialog::BoxCreator, {},
        [this](const QStringList &v) {
            if (!m_pageView->commands().createBox(v[0], v[1], v[2], v[3]))
                return false;
            // The same outline on the preview surface.
            m_preview->Line(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble(), 0, DrawingSurface::LineStyle::Box);
            m_previewView->update();
            return true;
        },
        this);
    dialog.exec();
}
void ReportGenOCX::ShowWizard()
{
    StartupChooser chooser(*m_services.files, *m_services.prompts, [this] { showExternalDataWizard(); }, this);
    emit dialogOpened(&chooser);
    chooser.exec();
    if (chooser.model().layoutDesignChosen) {
        fillStatementList();
        LoadGrid();
        emit ShowMe();
    }
    else if (chooser.model().sqlEditorChosen)
        ShowSQLEditor();
}

void ReportGenOCX::showExternalDataWizard()
{
    ModuleState &state = ModuleState::current();
    ExternalDataWizard wizard(*m_services.files, *m_services.prompts, m_dbPath, this);
    wizard.model().open(state.data().RDDataConnectionString(), state.data().currentConnectionString());
    wizard.refresh();
    emit dialogOpened(&wizard);
    wizard.exec();
}
void ReportGenOCX::ShowSQLEditor()
{
    auto connection = ModuleState::current().data().RDDataConnection();
    SqlEditorModel model(*m_services.files, *m_services.tempNames, *m_services.prompts);
    {
        // Reading a large schema takes a moment.
        PleaseWaitWindow wait(this);
        wait.show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        model.open(*connection);
    }
    SqlEditorWindow window(model, *m_services.editorDialogs, this);
    emit sqlEditorOpened(&window);
    window.exec();
    // The designer offers the statements the editor saved, on a fresh grid.
    Reload(true);
}

std::optional<QVariant> ReportGenOCX::askForParameter(const clsParameter &parameter)
{
    // The host gave no value: the user is asked, once per run; the answer
    // joins the host's collections so later statements find it there.
    ReportParameterPrompt prompt;
    prompt.setReportParameterType(parameter.ParamType);
    if (parameter.ParamType == clsParameter::Date)
        prompt.setInitialDate(QDate::currentDate());
    prompt.setMessageTitle(ReportParameterPrompt::titlePrefix() + parameter.ParameterName);
    // The prompt accepts only what converts (it asks again otherwise), so
    // the answer is already a value of the parameter's type.
    const std::optional<QVariant> answer = m_services.editorDialogs->askParameterValue(prompt);
    if (!answer)
        return std::nullopt;
    ModuleState &state = ModuleState::current();
    state.ParamFieldCollection()->Add(parameter.ParameterName);
    state.ParamValueCollection()->Add(*answer);
    return answer;
}
void ReportGenOCX::InsertExternalData()
{
    showExternalDataWizard();
    // The database the options name must open, an empty path included: its
    // error reaches the host.
    DbConnection check(DataSource::jetConnectionString(m_dbPath));
    check.open();
    check.close();
}
void ReportGenOCX::InsertDataField()
{
    FieldPalette &palette = m_pageView->fieldPalette();
    palette.setStatements(m_palette->statements());
    if (palette.pos().isNull())
        palette.move(20, 20);
    palette.show();
    palette.raise();
}
void ReportGenOCX::InsertFormula()
{
    FormulaEditorModel model(*m_services.files, *m_services.prompts, *ModuleState::current().data().RDDataConnection());
    {
        FormulaEditorWindow editor(model, this);
        emit dialogOpened(&editor);
        editor.exec();
    }
    m_pageView->commands().insertFormula(model.curFormula);
}
void ReportGenOCX::InsertPicture()
{
    m_pageView->commands().insertPicture();
}

void ReportGenOCX::InsertLabel()
{
    m_pageView->commands().insertLabel();
}

void ReportGenOCX::ShowOptions()
{
    OptionsDialog dialog({m_gridSize, double(Pageheight()), double(PageWidth()), m_dbPath}, *m_services.prompts, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.result())
        return;
    const OptionsModel::Values v = *dialog.result();
    m_gridSize = v.gridSize;
    setPageheight(VbConvert::toInt32(v.pageHeight));
    setPageWidth(VbConvert::toInt32(v.pageWidth));
    m_dbPath = v.dbPath;
    LoadGrid();
}

LayoutPackage ReportGenOCX::package()
{
    return LayoutPackage(*m_services.files, *m_services.tempNames, *m_services.prompts, *m_page);
}

void ReportGenOCX::NewLayout()
{
    package().clearLayout();
    // What could be undone belonged to the page that is gone.
    m_pageView->undoStack().clear();
    m_palette->clear();
    RepModes mode = Designer;
    FlipMode(mode);
}

void ReportGenOCX::OpenLayout(const QString &rptFile)
{
    const auto result = package().openLayout(rptFile, m_curOpenFile, [this] { NewLayout(); });
    // In development mode an open goes on past its failures to the end.
    if (result == LayoutPackage::Result::Done
        || (result == LayoutPackage::Result::Failed && ModuleState::current().devMode()))
        emit ProcessorSending(*ModuleState::current().parameters());
}

void ReportGenOCX::SaveLayout()
{
    LayoutPackage layout = package();
    if (layout.saveLayout() == LayoutPackage::Result::Failed)
        emit SaveFailed(layout.saveTarget(), layout.failure());
}

bool ReportGenOCX::CheckForPrintOverlap(const LayoutLabel &PrintObject, qint32 &returnLeft, qint32 &returnTop)
{
    return m_generator->CheckForPrintOverlap(PrintObject, returnLeft, returnTop);
}

void ReportGenOCX::LoadGrid()
{
    try {
        m_gridStep = GridBuilder::stepFor(m_gridSize);
        m_pageView->setGridStep(m_gridStep >= 1 ? m_gridStep : DesignerView::TwipsPerPixel);
        GridBuilder::draw(m_page->drawing(), m_gridStep, m_page->Width(), m_page->Height());
    } catch (const ReportError &e) {
        if (ModuleState::current().devMode())
            m_services.prompts->msgBox(QStringLiteral("Error in LoadGrid %1: %2").arg(e.number()).arg(e.description()),
                                       MsgBoxStyle::OKOnly);
    }
    m_page->notifyDrawingChanged();
}

void ReportGenOCX::fillStatementList()
{
    m_palette->setStatements(m_loader->FillStatementList(m_palette->statements()));
}

// --------------------------------------------------------------- persistence

void ReportGenOCX::InitProperties()
{
    setCurrentMode(ComponentMode);
}

void ReportGenOCX::ReadProperties(const PropertyBag &bag)
{
    bool ok = false;
    const int mode = bag.readProperty(QStringLiteral("CurrentMode"), 1).toInt(&ok);
    setCurrentMode(ok ? mode : 1);
}

void ReportGenOCX::WriteProperties(PropertyBag &bag) const
{
    bag.writeProperty(QStringLiteral("CurrentMode"), m_currentMode, 1);
}

// ------------------------------------------------------------------ geometry

QWidget *ReportGenOCX::pageWidget() const { return m_pageView; }
QWidget *ReportGenOCX::previewWidget() const { return m_previewView; }
QWidget *ReportGenOCX::iconWidget() const { return m_icon; }

QSize ReportGenOCX::sizeHint() const
{
    if (m_currentMode == ComponentMode)
        return m_icon->size();
    return QSize(800, 600);
}

void ReportGenOCX::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_currentMode == ComponentMode && event->size() != m_icon->size()) {
        resize(m_icon->size());
        return;
    }
    syncScrollBars();
}

void ReportGenOCX::syncScrollBars()
{
    const int barH = m_hScroll->sizeHint().height();
    const int barW = m_vScroll->sizeHint().width();
    const int viewW = std::max(0, width() - barW);
    const int viewH = std::max(0, height() - barH);
    m_hScroll->setGeometry(0, viewH, viewW, barH);
    m_vScroll->setGeometry(viewW, 0, barW, viewH);
    m_hScroll->setRange(0, std::max(0, m_pageView->width() - viewW));
    m_hScroll->setPageStep(std::max(1, viewW));
    m_vScroll->setRange(0, std::max(0, m_pageView->height() - viewH));
    m_vScroll->setPageStep(std::max(1, viewH));
    layoutChildren();
}

void ReportGenOCX::layoutChildren()
{
    // The page scrolls by moving: its Left and Top are minus the scroll values.
    m_pageView->move(-m_hScroll->value(), -m_vScroll->value());
    m_previewView->move(-m_hScroll->value(), -m_vScroll->value());
    m_hScroll->raise();
    m_vScroll->raise();
    if (m_currentMode == ComponentMode)
        m_icon->raise();
}

void ReportGenOCX::onPageMouseMove(double xTwips, double yTwips)
{
    // Whole millimetres: twips x 10 / 567.
    qint32 x = VbConvert::toInt32(xTwips * 10.0 / 567.0);
    qint32 y = VbConvert::toInt32(yTwips * 10.0 / 567.0);
    emit MousePos(x, y);
}

void ReportGenOCX::checkCommandLine(const QStringList &arguments)
{
    if (arguments.join(QLatin1Char(' ')).contains(QLatin1String("/developmentmode")))
        ModuleState::current().setDevMode(true);
}

} // namespace KRML_ReportGen
