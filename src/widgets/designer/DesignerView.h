#pragma once

#include <QGraphicsView>
#include <QHash>
#include <functional>
#include <memory>

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
class DesignerView : public QGraphicsView
{
    Q_OBJECT
public:
    static constexpr double TwipsPerPixel = 15;

    DesignerView(LayoutPage &page, UserPrompts &prompts, FileService &files, QWidget *parent = nullptr);
    ~DesignerView() override;

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
    void setGridStep(double twips) { m_gridStep = twips; }
    // Where a field dropped from the palette gets its type from.
    using FieldDrop = std::function<void(const QString &statement, const QString &field, double x, double y)>;
    void setFieldDrop(FieldDrop drop) { m_drop = std::move(drop); }

    QPointF toTwips(const QPoint &viewPos) const { return mapToScene(viewPos); }
    QPoint fromTwips(const QPointF &twips) const { return mapFromScene(twips); }

signals:
    void mouseMovedTwips(double x, double y);
    void zoomChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void addLabel(int index);
    void addPicture(int index);
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
};

} // namespace KRML_ReportGen
