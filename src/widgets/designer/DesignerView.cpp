#include "DesignerView.h"

#include "DesignerCommands.h"
#include "FieldPalette.h"
#include "LayoutPage.h"
#include "ObjectMenu.h"
#include "PageObjectItem.h"
#include "ReportError.h"
#include "Selection.h"
#include "Sizer.h"
#include "SizerItem.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QRubberBand>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUndoStack>

namespace KRML_ReportGen {

DesignerView::DesignerView(LayoutPage &page, UserPrompts &prompts, FileService &files, QWidget *parent)
    : QGraphicsView(parent), m_page(page), m_scene(new QGraphicsScene(this)), m_undo(std::make_unique<QUndoStack>()),
      m_sizer(std::make_unique<Sizer>(page))
{
    setObjectName(QStringLiteral("Page"));
    m_commands = std::make_unique<DesignerCommands>(page, *m_sizer, prompts, files, *m_undo);
    setScene(m_scene);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    setBackgroundBrush(Qt::white);
    m_scene->setItemIndexMethod(QGraphicsScene::BspTreeIndex);
    m_paper = new PaperItem(page);
    m_scene->addItem(m_paper);
    m_sizerItem = new SizerItem(*m_sizer, [this](const SizerGeometry::Rect &before) {
        m_commands->objectResized(m_sizer->BoundControl(), before);
    });
    m_scene->addItem(m_sizerItem);
    m_menu = new ObjectMenu(*m_commands, this);
    m_palette = new FieldPalette(this);
    m_palette->hide();

    connect(&page, &LayoutPage::labelAdded, this, &DesignerView::addLabel);
    connect(&page, &LayoutPage::picAdded, this, &DesignerView::addPicture);
    connect(&page, &LayoutPage::labelChanged, this, [this](int i) {
        if (i >= 1 && i <= m_labels.size())
            m_labels[i - 1]->sync();
    });
    connect(&page, &LayoutPage::picChanged, this, [this](int i) {
        if (i >= 1 && i <= m_pictures.size())
            m_pictures[i - 1]->sync();
    });
    // The selection (and with it the sizer) follows removals by itself.
    connect(&page, &LayoutPage::labelRemoved, this, [this](int i) { removed(m_labels, ObjectRef::Label, i); });
    connect(&page, &LayoutPage::picRemoved, this, [this](int i) { removed(m_pictures, ObjectRef::Picture, i); });
    connect(&m_commands->selection(), &Selection::changed, this, &DesignerView::markSelection);
    connect(&page, &LayoutPage::cleared, this, &DesignerView::rebuild);
    connect(&page, &LayoutPage::drawingChanged, this, [this] { m_paper->update(); });
    connect(&page, &LayoutPage::sizeChanged, this, &DesignerView::syncSize);
    rebuild();
}

DesignerView::~DesignerView()
{
    // Items first: they refer to the sizer and the page.
    delete m_scene;
    m_scene = nullptr;
}

void DesignerView::addLabel(int index)
{
    added(m_labels, ObjectRef::Label, index);
}

void DesignerView::addPicture(int index)
{
    added(m_pictures, ObjectRef::Picture, index);
}

void DesignerView::added(QList<PageObjectItem *> &items, ObjectRef::Kind kind, int index)
{
    const int count = kind == ObjectRef::Label ? m_page.labelCount() : m_page.picCount();
    if (index <= items.size() && count > items.size()) {
        // Put in before others (paste, stacking order): the ones after it
        // now show the next object each.
        auto *item = new PageObjectItem(m_page, {kind, index});
        m_scene->addItem(item);
        items.insert(index - 1, item);
        for (int i = index; i < items.size(); ++i)
            items[i]->setObject({kind, i + 1});
        // The selection followed the indices before the items did.
        markSelection();
        return;
    }
    while (items.size() < count) {
        auto *item = new PageObjectItem(m_page, {kind, int(items.size()) + 1});
        m_scene->addItem(item);
        items.append(item);
    }
}

void DesignerView::removed(QList<PageObjectItem *> &items, ObjectRef::Kind kind, int index)
{
    if (index < 1 || index > items.size())
        return;
    PageObjectItem *gone = items.takeAt(index - 1);
    m_marked.removeOne(gone);
    if (m_raised == gone)
        m_raised = nullptr;
    delete gone;
    for (int i = index - 1; i < items.size(); ++i)
        items[i]->setObject({kind, i + 1});
    // The selection followed the indices before the items did.
    markSelection();
}

PageObjectItem *DesignerView::itemFor(const ObjectRef &o) const
{
    const QList<PageObjectItem *> &items = o.kind == ObjectRef::Label ? m_labels : m_pictures;
    return o.index >= 1 && o.index <= items.size() ? items[o.index - 1] : nullptr;
}

void DesignerView::markSelection()
{
    // The sizer frames the last object chosen; the others get an outline.
    for (PageObjectItem *item : std::as_const(m_marked))
        item->setMarked(false);
    m_marked.clear();
    const QList<ObjectRef> &selected = m_commands->selection().objects();
    for (int i = 0; i + 1 < selected.size(); ++i)
        if (PageObjectItem *item = itemFor(selected[i])) {
            item->setMarked(true);
            m_marked.append(item);
        }
    PageObjectItem *primary = selected.isEmpty() ? nullptr : itemFor(selected.last());
    if (m_raised != primary) {
        if (m_raised)
            m_raised->setRaised(false);
        m_raised = primary;
        if (m_raised)
            m_raised->setRaised(true);
    }
}

void DesignerView::setGridStep(double twips)
{
    m_gridStep = twips;
    if (m_snap)
        m_commands->setSnapStep(twips);
}

void DesignerView::setSnapToGrid(bool on)
{
    m_snap = on;
    m_commands->setSnapStep(on ? m_gridStep : 0);
}

void DesignerView::rebuild()
{
    m_marked.clear();
    m_raised = nullptr;
    qDeleteAll(m_labels);
    qDeleteAll(m_pictures);
    m_labels.clear();
    m_pictures.clear();
    m_sizer->hide();
    addLabel(m_page.labelCount());
    addPicture(m_page.picCount());
    syncSize();
}

void DesignerView::syncSize()
{
    m_paper->sync();
    m_scene->setSceneRect(0, 0, m_page.Width(), m_page.Height());
    const double scale = m_zoom / 100.0 / TwipsPerPixel;
    setTransform(QTransform::fromScale(scale, scale));
    resize(std::max(1, int(std::lround(m_page.Width() * scale))), std::max(1, int(std::lround(m_page.Height() * scale))));
    emit placementChanged();
}

void DesignerView::moveEvent(QMoveEvent *event)
{
    QGraphicsView::moveEvent(event);
    emit placementChanged();
}

void DesignerView::setZoom(double percent)
{
    m_zoom = std::clamp(percent, 50.0, 400.0);
    syncSize();
    emit zoomChanged();
}

void DesignerView::fitPage(const QSize &viewport)
{
    const double w = viewport.width() * TwipsPerPixel / m_page.Width();
    const double h = viewport.height() * TwipsPerPixel / m_page.Height();
    setZoom(std::min(w, h) * 100);
}

void DesignerView::fitWidth(int viewportWidth)
{
    setZoom(viewportWidth * TwipsPerPixel / m_page.Width() * 100);
}

PageObjectItem *DesignerView::objectAt(const QPoint &viewPos) const
{
    for (QGraphicsItem *item : items(viewPos))
        if (item->type() == PageObjectItem::Type && item->isVisible())
            return static_cast<PageObjectItem *>(item);
    return nullptr;
}

bool DesignerView::onSizer(const QPoint &viewPos) const
{
    for (QGraphicsItem *item : items(viewPos))
        if ((item == m_sizerItem || item->parentItem() == m_sizerItem) && item->acceptedMouseButtons() != Qt::NoButton)
            return true;
    return false;
}

void DesignerView::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    const MouseButton button = event->button() == Qt::LeftButton    ? MouseButton::Left
                               : event->button() == Qt::RightButton ? MouseButton::Right
                                                                    : MouseButton::None;
    m_gesture = Gesture::None;
    try {
        if (onSizer(event->pos())) {
            QGraphicsView::mousePressEvent(event);
            return;
        }
        PageObjectItem *item = objectAt(event->pos());
        if (m_direct && directPress(event, item))
            return;
        if (item) {
            const ObjectRef o = item->object();
            if (o.kind == ObjectRef::Label)
                m_commands->pressLabel(o.index, button);
            else
                m_commands->pressPicture(o.index, button);
            if (button == MouseButton::Right)
                m_menu->popupAt(event->globalPosition().toPoint());
            else if (m_direct && button == MouseButton::Left)
                m_gesture = Gesture::Pressed;
            return;
        }
        if (button == MouseButton::Left)
            m_commands->clickPage();
    } catch (const ReportError &) {
        // A press never ends the host; the commands report their own failures.
    }
}

bool DesignerView::directPress(QMouseEvent *event, PageObjectItem *item)
{
    m_pressAt = event->pos();
    m_pressTwips = mapToScene(event->pos());
    const bool adding = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (event->button() != Qt::LeftButton)
        return false;
    if (item && adding) {
        // Shift or Ctrl: in or out of the selection, nothing else.
        m_commands->selection().toggle(item->object());
        return true;
    }
    if (!item) {
        // The empty page: a rubber band (adding to the selection with Shift or Ctrl).
        if (!adding)
            m_commands->clickPage();
        m_bandAdds = adding;
        m_gesture = Gesture::Band;
        if (!m_band)
            m_band = new QRubberBand(QRubberBand::Rectangle, viewport());
        m_band->setGeometry(QRect(m_pressAt, QSize()));
        m_band->show();
        return true;
    }
    return false;
}

void DesignerView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (PageObjectItem *item = objectAt(event->pos())) {
        if (item->object().kind == ObjectRef::Label)
            m_commands->editText();
        else
            m_commands->editPicture();
        return;
    }
    QGraphicsView::mouseDoubleClickEvent(event);
}

void DesignerView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF t = mapToScene(event->pos());
    emit mouseMovedTwips(t.x(), t.y());
    if (m_gesture == Gesture::Pressed && (event->buttons() & Qt::LeftButton)
        && (event->pos() - m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
        m_gesture = Gesture::Dragging;
        m_commands->beginDrag();
        viewport()->setCursor(Qt::SizeAllCursor);
    }
    if (m_gesture == Gesture::Dragging) {
        m_commands->dragBy(t.x() - m_pressTwips.x(), t.y() - m_pressTwips.y());
        return;
    }
    if (m_gesture == Gesture::Band) {
        m_band->setGeometry(QRect(m_pressAt, event->pos()).normalized());
        return;
    }
    QGraphicsView::mouseMoveEvent(event);
}

void DesignerView::mouseReleaseEvent(QMouseEvent *event)
{
    const Gesture gesture = std::exchange(m_gesture, Gesture::None);
    if (gesture == Gesture::Dragging) {
        viewport()->unsetCursor();
        m_commands->endDrag();
        return;
    }
    if (gesture == Gesture::Band) {
        m_band->hide();
        const QRectF area = mapToScene(QRect(m_pressAt, event->pos()).normalized()).boundingRect();
        QList<ObjectRef> chosen = m_bandAdds ? m_commands->selection().objects() : QList<ObjectRef>{};
        // Every object the band touches, in page order.
        QList<ObjectRef> touched;
        for (QGraphicsItem *item : m_scene->items(area, Qt::IntersectsItemShape))
            if (item->type() == PageObjectItem::Type && item->isVisible())
                touched.append(static_cast<PageObjectItem *>(item)->object());
        std::sort(touched.begin(), touched.end(),
                  [](const ObjectRef &a, const ObjectRef &b) { return a.kind != b.kind ? a.kind < b.kind : a.index < b.index; });
        for (const ObjectRef &o : touched)
            if (!chosen.contains(o))
                chosen.append(o);
        if (area.width() > 0 || area.height() > 0)
            m_commands->selection().set(chosen);
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
}

void DesignerView::keyPressEvent(QKeyEvent *event)
{
    const double step = event->modifiers() & Qt::ShiftModifier ? TwipsPerPixel : m_gridStep;
    switch (event->key()) {
    case Qt::Key_Left: m_commands->nudge(-step, 0); return;
    case Qt::Key_Right: m_commands->nudge(step, 0); return;
    case Qt::Key_Up: m_commands->nudge(0, -step); return;
    case Qt::Key_Down: m_commands->nudge(0, step); return;
    case Qt::Key_Escape:
        if (m_direct) {
            m_commands->clickPage();
            return;
        }
        break;
    default: QGraphicsView::keyPressEvent(event);
    }
}

void DesignerView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(FieldPalette::mimeType()))
        event->acceptProposedAction();
}

void DesignerView::dragMoveEvent(QDragMoveEvent *event)
{
    // Only the bare page takes a field.
    if (event->mimeData()->hasFormat(FieldPalette::mimeType()) && !objectAt(event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DesignerView::dropEvent(QDropEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (!event->mimeData()->hasFormat(FieldPalette::mimeType()) || objectAt(at) || !m_drop)
        return;
    const QStringList parts = QString::fromUtf8(event->mimeData()->data(FieldPalette::mimeType())).split(QLatin1Char('\n'));
    if (parts.size() != 2)
        return;
    const QPointF t = mapToScene(at);
    m_drop(parts[0], parts[1], t.x(), t.y());
    event->acceptProposedAction();
}

} // namespace KRML_ReportGen
