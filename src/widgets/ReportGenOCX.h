#pragma once

#include "DbConnection.h"
#include "KRMLReportGenExport.h"
#include "VbCollection.h"
#include "clsParameter.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

class QLabel;
class QScrollBar;
class QPrinter;

class QDialog;

namespace KRML_ReportGen {

struct ControlServices;
class DrawingSurface;
class ImageSurface;
class LayoutPackage;
class LayoutPage;
struct LayoutLabel;
class DesignerView;
class PreviewNavigator;
class PreviewView;
class PropertyBag;
class QueryLoader;
class Recordset;
class ReportGenerator;
class StatementPalette;

// The report designer and generator control a host places in its window.
// Properties, methods and events keep the order of the control's published
// interface and are reachable through Qt's meta-object system, so hosts that
// bind by name can use them. Errors reach the host as ReportError exceptions.
class KRML_REPORTGEN_EXPORT ReportGenOCX : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(short GridSize READ GridSize WRITE setGridSize)
    Q_PROPERTY(QString DBPath READ DBPath WRITE setDBPath)
    Q_PROPERTY(QString curOpenFile READ curOpenFile WRITE setCurOpenFile)
    Q_PROPERTY(std::shared_ptr<KRML_ReportGen::VariantCollection> ParamFieldCollection READ paramFieldCollectionForMeta WRITE setParamFieldCollection)
    Q_PROPERTY(std::shared_ptr<KRML_ReportGen::VariantCollection> ParamValueCollection READ paramValueCollectionForMeta WRITE setParamValueCollection)
    Q_PROPERTY(ControlModes CurrentMode READ CurrentMode WRITE setCurrentMode)
    Q_PROPERTY(QString OCXVersion READ OCXVersion)
    Q_PROPERTY(int PageWidth READ PageWidth WRITE setPageWidth)
    Q_PROPERTY(int Pageheight READ Pageheight WRITE setPageheight)
    Q_PROPERTY(bool DevMode READ devModeForMeta WRITE setDevMode)
    Q_PROPERTY(QString rdAppName READ rdAppName)
    Q_PROPERTY(QString rdAppPath READ rdAppPathForMeta WRITE setRdAppPath)
    Q_PROPERTY(std::shared_ptr<KRML_ReportGen::DbConnection> RepDataConnection READ RepDataConnection WRITE setRepDataConnection)
    // Beyond the published interface: reports longer than a page.
    Q_PROPERTY(bool Paginate READ Paginate WRITE setPaginate)
    // The Windows code page of the layout text file, the report SQL file,
    // Data.cnn and ".mdq" files (1252 unless the host says otherwise).
    Q_PROPERTY(int CodePage READ CodePage WRITE setCodePage)

public:
    // A fixed underlying type: hosts may pass any number, which is stored or ignored.
    enum ControlModes : int { ComponentMode = 1, DesignerMode = 2 };
    Q_ENUM(ControlModes)
    enum RepModes : int { Designer = 1, Preview = 2, Printing = 3 };
    Q_ENUM(RepModes)

    // Start-up reads the settings ("Report Designer"/"Options"); a stored
    // grid or page size that is not a number fails it with ReportError 13.
    // The desktop's services: settings through QSettings, Qt's dialogs,
    // local files and private temporary names.
    explicit ReportGenOCX(QWidget *parent = nullptr);
    // With the given platform services (the project's own programs and
    // tests; ControlServices is not among the published headers).
    KRML_REPORTGEN_NO_EXPORT ReportGenOCX(QWidget *parent, ControlServices services);
    ~ReportGenOCX() override;

    // --- properties, in interface order ---
    short GridSize() const { return m_gridSize; }
    void setGridSize(short mm) { m_gridSize = mm; }
    QString DBPath() const { return m_dbPath; }
    void setDBPath(const QString &path) { m_dbPath = path; }
    QString curOpenFile() const { return m_curOpenFile; }
    void setCurOpenFile(const QString &path) { m_curOpenFile = path; }
    void setParamFieldCollection(std::shared_ptr<VariantCollection> collection);
    void setParamValueCollection(std::shared_ptr<VariantCollection> collection);
    ControlModes CurrentMode() const { return static_cast<ControlModes>(m_currentMode); }
    void setCurrentMode(ControlModes mode);
    void setCurrentMode(int mode);
    QString OCXVersion() const;
    int PageWidth() const;
    void setPageWidth(int twips);
    int Pageheight() const;
    void setPageheight(int twips);
    void setDevMode(bool on);
    QString rdAppName() const { return QStringLiteral("Report Designer"); }
    void setRdAppPath(const QString &path);
    std::shared_ptr<DbConnection> RepDataConnection() const;
    void setRepDataConnection(std::shared_ptr<DbConnection> connection);
    // Off (the default), a report is one page whose lists run on past its
    // foot; on, lists continue on further pages, the preview pages through
    // them and printing prints them all.
    bool Paginate() const { return m_paginate; }
    void setPaginate(bool on) { m_paginate = on; }
    // Shared by the controls of the thread, like rdAppPath: the working
    // files are theirs together. A page the system does not know is an
    // error (ReportError), and the page stays as it was.
    int CodePage() const;
    void setCodePage(int number);
    // The preview's page (paginated reports).
    void showPreviewPage(int page);
    int previewPage() const { return m_previewPage; }
    int previewPages() const;

    // --- methods, in interface order ---
    Q_INVOKABLE void Reload(bool ShowGrid = true);
    Q_INVOKABLE void ShowPreview();
    Q_INVOKABLE void ShowDesign();
    Q_INVOKABLE void FlipMode(KRML_ReportGen::ReportGenOCX::RepModes &selMode);
    Q_INVOKABLE QString GenerateOutput(KRML_ReportGen::DrawingSurface &outDestination);
    Q_INVOKABLE QString AnalyseFunction(const QString &funcString, KRML_ReportGen::Recordset &funcRS);
    Q_INVOKABLE void CreateBox();
    Q_INVOKABLE void ShowWizard();
    Q_INVOKABLE void ShowSQLEditor();
    Q_INVOKABLE void PrintReport();
    Q_INVOKABLE void LoadGrid();
    Q_INVOKABLE void InsertExternalData();
    Q_INVOKABLE void InsertDataField();
    Q_INVOKABLE void InsertFormula();
    Q_INVOKABLE void InsertPicture();
    Q_INVOKABLE void InsertLabel();
    Q_INVOKABLE void NewLayout();
    Q_INVOKABLE void OpenLayout(const QString &rptFile = QString());
    Q_INVOKABLE void ShowOptions();
    Q_INVOKABLE void SaveLayout();
    Q_INVOKABLE bool CheckForPrintOverlap(const KRML_ReportGen::LayoutLabel &PrintObject, qint32 &returnLeft, qint32 &returnTop);
    // After the published methods: writes the report, as printing would
    // (pages as Paginate says), to a file of a format named by its suffix
    // ("pdf", "png", "svg", "xlsx", "html", "csv"; empty: the path's own).
    // Returns the files written: one, or one per page (images) or per
    // statement (CSV). An unknown format is ReportError 5; a failure
    // leaves no file behind. ExportProgress tells how it goes; a host that
    // cancels there ends it with ReportError 18 and any older file at the
    // path unchanged.
    Q_INVOKABLE QStringList ExportReport(const QString &path, const QString &format = QString());

    // --- persistence through the host's property bag ---
    void InitProperties();
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    // --- what the control holds, for its views, its windows and its tests ---
    LayoutPage &page() { return *m_page; }
    const LayoutPage &page() const { return *m_page; }
    ImageSurface &previewSurface() { return *m_preview; }
    // The printer PrintReport prints on; a host may choose it or set an
    // output file (a PDF) before printing.
    QPrinter *printer();
    const QStringList &statementList() const;
    StatementPalette &palette() { return *m_palette; }
    // The report query loader the control's generator runs statements with
    // (it asks for parameter values the host left out).
    QueryLoader &queryLoader() { return *m_loader; }
    // The generator's lists of the last run.
    const QList<double> &LabelTops() const;
    const QList<double> &LabelExtents() const;
    qint16 gridStep() const { return m_gridStep; }
    const ControlServices &services() const { return m_services; }
    QWidget *pageWidget() const;
    // The designer's page: its sizer, commands, undo stack, object menu,
    // field palette and zoom.
    DesignerView &designer() const { return *m_pageView; }
    QWidget *previewWidget() const;
    QWidget *iconWidget() const;
    PreviewNavigator *previewNavigator() const { return m_navigator; }

    // The major, minor and revision numbers joined by "." (the build number
    // is not part of it): 0.5.0.8 gives "0.5.8".
    static QString versionString(int major, int minor, int build, int revision);
    // Sets development mode when the process command line holds
    // "/developmentmode" (letter case as written).
    static void checkCommandLine(const QStringList &arguments);

    QSize sizeHint() const override;

signals:
    // --- events, in interface order (arguments by reference) ---
    void ShowMe();
    void MousePos(qint32 &MouseX, qint32 &MouseY);
    void ModeSwitch(KRML_ReportGen::ReportGenOCX::RepModes &curMode);
    void ProcessorSending(KRML_ReportGen::ParameterCollection &ParamStringCollection);
    void ProcessorReceivedResults(qint32 &ProcessorErrorNumber, QString &ProcessorErrorMessage);
    // After the published events: a one-page report (Paginate off) printed
    // only the first printed of its statement's total rows; the rest ran
    // past the page's foot. Raised once per statement after each run.
    void RowsCut(const QString &statement, qint32 printed, qint32 total);
    // A layout package could not be saved (the user has been told why too);
    // whatever file was at path before is unchanged.
    void SaveFailed(const QString &path, const QString &reason);
    // ExportReport under way: what is counted ("pages" as they are drawn,
    // then "rows" as a workbook's data sheets or CSV files are written),
    // how many are done, how many in all. Setting Cancel stops the export.
    void ExportProgress(const QString &counting, qint32 done, qint32 total, bool &Cancel);

    // The statement list changed (the field palette follows it).
    void statementListChanged();
    // The SQL editor is about to be shown modally (tests drive it from here).
    void sqlEditorOpened(QDialog *editor);
    // Another of the control's modal windows is about to be shown.
    void dialogOpened(QDialog *dialog);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void startUp();
    // Runs the generator's work, then tells the host of rows a one-page
    // report cut.
    void runGenerator(const std::function<void()> &work);
    std::optional<QVariant> askForParameter(const clsParameter &parameter);
    void wireDesigner();
    void showExternalDataWizard();
    void openCoordinateDialog();
    void fillStatementList();
    void preparePalette();
    void layoutChildren();
    void syncScrollBars();
    void onPageMouseMove(double xTwips, double yTwips);
    std::shared_ptr<VariantCollection> paramFieldCollectionForMeta() const;
    std::shared_ptr<VariantCollection> paramValueCollectionForMeta() const;
    bool devModeForMeta() const;
    QString rdAppPathForMeta() const;
    DrawingSurface &printerSurface();
    LayoutPackage package();

    // Held apart so that the published header needs no private one.
    std::unique_ptr<ControlServices> m_ownServices;
    ControlServices &m_services;
    std::unique_ptr<LayoutPage> m_page;
    std::unique_ptr<ImageSurface> m_preview;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<DrawingSurface> m_printerSurface;
    QLabel *m_icon = nullptr;
    DesignerView *m_pageView = nullptr;
    PreviewView *m_previewView = nullptr;
    QScrollBar *m_hScroll = nullptr;
    QScrollBar *m_vScroll = nullptr;
    PreviewNavigator *m_navigator = nullptr;
    bool m_paginate = false;
    int m_previewPage = 1;

    qint32 m_currentMode = 1;
    short m_gridSize = 2;
    qint16 m_gridStep = 0;
    QString m_dbPath;
    QString m_curOpenFile;
    std::unique_ptr<StatementPalette> m_palette;
    std::unique_ptr<QueryLoader> m_loader;
    std::unique_ptr<ReportGenerator> m_generator;
};

} // namespace KRML_ReportGen

Q_DECLARE_METATYPE(std::shared_ptr<KRML_ReportGen::VariantCollection>)
Q_DECLARE_METATYPE(std::shared_ptr<KRML_ReportGen::DbConnection>)
