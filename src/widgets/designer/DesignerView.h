#pragma once

#include "ObjectRef.h"

#include <QGraphicsView>
#include <QHash>
#include <functional>
#include <memory>

class QRubberBand;
class QUndoStack;

namespace KRML_ReportGen {

class DesignerCommands;
class FieldPalette;
class FileService;
class LayoutPage;
class ObjectMenu;
class PageObjectItem;
class PaperItem;
class Sizer;
class SizerItem;
class UserPrompts;

// The page in the designer: a graphics scene in twips whose items are
// views of the page model, the sizer over the selected object, the object
// menu on the right button, the field palette, zoom, and the arrow keys.
// The control scrolls it by moving it; its size is the page's at the zoom.
// With direct editing on (the standalone designer turns it on; a host may)
// objects are also dragged by their bodies, chosen by a rubber band and
// added to or taken from the selection with Shift or Ctrl; off, the page
// answers the pointer as the control always has.
class DesignerView : public QGraphicsView
{
    Q_OBJECT
public:
    static constexpr double TwipsPerPixel = 15;

    DesignerView(LayoutPage &page, UserPrompts &prompts, FileService &files, QWidget *parent = nullptr);
    ~DesignerView() override;

    LayoutPage &page() const { return m_page; }
    Sizer &sizer() { return *m_sizer; }
    DesignerCommands &commands() { return *m_commands; }
    QUndoStack &undoStack() { return *m_undo; }
    ObjectMenu &objectMenu() { return *m_menu; }
    FieldPalette &fieldPalette() { return *m_palette; }

    // Zoom in percent (50 to 400); the widget takes the page's size at it.
    double zoom() const { return m_zoom; }
    void setZoom(double percent);
    void fitPage(const QSize &viewport);
    void fitWidth(int viewportWidth);
    // The arrow keys' step (twips): the grid step, or 15 with Shift.
    void setGridStep(double twips);
    double gridStep() const { return m_gridStep; }
    void setDirectEditing(bool on) { m_direct = on; }
    bool directEditing() const { return m_direct; }
    // Dragging (objects and grips) snaps to the grid step.
    void setSnapToGrid(bool on);
    bool snapToGrid() const { return m_snap; }
    PageObjectItem *itemFor(const ObjectRef &o) const;
    // Where a field dropped from the palette gets its type from.
    using FieldDrop = std::function<void(const QString &statement, const QString &field, double x, double y)>;
    void setFieldDrop(FieldDrop drop) { m_drop = std::move(drop); }

    QPointF toTwips(const QPoint &viewPos) const { return mapToScene(viewPos); }
    QPoint fromTwips(const QPointF &twips) const { return mapFromScene(twips); }

signals:
    void mouseMovedTwips(double x, double y);
    void zoomChanged();
    // The view moved in its parent (scrolling) or changed its scale.
    void placementChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void addLabel(int index);
    void addPicture(int index);
    void added(QList<PageObjectItem *> &items, ObjectRef::Kind kind, int index);
    void removed(QList<PageObjectItem *> &items, ObjectRef::Kind kind, int index);
    void markSelection();
    bool directPress(QMouseEvent *event, PageObjectItem *item);
    void rebuild();
    void syncSize();
    PageObjectItem *objectAt(const QPoint &viewPos) const;
    bool onSizer(const QPoint &viewPos) const;

    LayoutPage &m_page;
    QGraphicsScene *m_scene;
    PaperItem *m_paper;
    QList<PageObjectItem *> m_labels; // index - 1
    QList<PageObjectItem *> m_pictures;
    std::unique_ptr<QUndoStack> m_undo;
    std::unique_ptr<Sizer> m_sizer;
    std::unique_ptr<DesignerCommands> m_commands;
    SizerItem *m_sizerItem;
    ObjectMenu *m_menu;
    FieldPalette *m_palette;
    double m_zoom = 100;
    double m_gridStep = 113;
    FieldDrop m_drop;
    bool m_direct = false;
    bool m_snap = false;
    QList<PageObjectItem *> m_marked;
    PageObjectItem *m_raised = nullptr;
    // Direct editing: a press on an object that may become a drag, a drag
    // under way, or a rubber band from the empty page.
    enum class Gesture { None, Pressed, Dragging, Band };
    Gesture m_gesture = Gesture::None;
    QPoint m_pressAt;
    QPointF m_pressTwips;
    bool m_bandAdds = false;
    QRubberBand *m_band = nullptr;
};

} // namespace KRML_ReportGen
