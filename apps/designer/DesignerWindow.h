#pragma once

#include "ControlServices.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;

namespace KRML_ReportGen {

class DesignerConnection;
class DesignerDocument;
class DesignerEditActions;
class ObjectListPanel;
class PreviewWindow;
class PropertyInspector;
class ReportGenOCX;
class Ruler;
class ZoomBox;

// The standalone designer: one control in designer mode with rulers, the
// property inspector, the object list and the field palette as docks, a
// toolbar, a status line with the pointer's position, the selection's size
// and the zoom, the file commands on a document, a database connection,
// and a preview window of its own. What it shows is the control's; what it
// adds are the widget layer's reusable parts.
class DesignerWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit DesignerWindow(ControlServices services = ControlServices::standard(), QWidget *parent = nullptr);
    ~DesignerWindow() override;

    ReportGenOCX *control() const { return m_control; }
    DesignerDocument &document() const { return *m_document; }
    DesignerConnection &connection() const { return *m_connection; }
    DesignerEditActions &editActions() const { return *m_edit; }
    PropertyInspector *inspector() const { return m_inspector; }
    ObjectListPanel *objectList() const { return m_objects; }
    ZoomBox *zoomBox() const { return m_zoomBox; }
    // The preview window, made on first use.
    PreviewWindow &preview();
    QAction *findAction(const QString &objectName) const;

    // The command line's work after the window is shown: a connection
    // string, then a package to open.
    void start(const QString &connectionString, const QString &package);

public slots:
    void showPreview();
    void fitPage();
    void fitWidth();
    void setZoom(double percent);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Runs a menu command; its failure is reported as "Error in <name> ...".
    void run(const QString &commandName, const std::function<void()> &command);
    void buildCentre();
    void buildDocks();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void fillRecentMenu();
    void updateTitle();
    void updateSelectionStatus();
    void restoreSettings();
    void saveSettings();
    QAction *action(const QString &name, const QString &text, const QString &icon, const QKeySequence &key,
                    const std::function<void()> &slot);

    ControlServices m_services;
    ReportGenOCX *m_control = nullptr;
    std::unique_ptr<DesignerConnection> m_connection;
    DesignerDocument *m_document = nullptr;
    DesignerEditActions *m_edit = nullptr;
    PropertyInspector *m_inspector = nullptr;
    ObjectListPanel *m_objects = nullptr;
    QDockWidget *m_fieldsDock = nullptr;
    QDockWidget *m_propertiesDock = nullptr;
    QDockWidget *m_objectsDock = nullptr;
    Ruler *m_topRuler = nullptr;
    Ruler *m_leftRuler = nullptr;
    ZoomBox *m_zoomBox = nullptr;
    QLabel *m_pointer = nullptr;
    QLabel *m_selection = nullptr;
    QLabel *m_connectionStatus = nullptr;
    QMenu *m_recentMenu = nullptr;
    PreviewWindow *m_preview = nullptr;
};

} // namespace KRML_ReportGen
