#include "DesignerView.h"

#include "DesignerCommands.h"
#include "FieldPalette.h"
#include "LayoutPage.h"
#include "ObjectMenu.h"
#include "PageObjectItem.h"
#include "ReportError.h"
#include "Sizer.h"
#include "SizerItem.h"

#include <QDragEnterEvent>
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
    connect(&page, &LayoutPage::labelRemoved, this, [this](int i) {
        if (m_sizer->BoundControl() == ObjectRef{ObjectRef::Label, i})
            m_commands->clickPage();
        delete m_labels.takeLast();
    });
    connect(&page, &LayoutPage::picRemoved, this, [this](int i) {
        if (m_sizer->BoundControl() == ObjectRef{ObjectRef::Picture, i})
            m_commands->clickPage();
        delete m_pictures.takeLast();
    });
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
    while (m_labels.size() < index) {
        auto *item = new PageObjectItem(m_page, {ObjectRef::Label, int(m_labels.size()) + 1});
        m_scene->addItem(item);
        m_labels.append(item);
    }
}

void DesignerView::addPicture(int index)
{
    while (m_pictures.size() < index) {
        auto *item = new PageObjectItem(m_page, {ObjectRef::Picture, int(m_pictures.size()) + 1});
        m_scene->addItem(item);
        m_pictures.append(item);
    }
}

void DesignerView::rebuild()
{
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
    try {
        if (onSizer(event->pos())) {
            QGraphicsView::mousePressEvent(event);
            return;
        }
        if (PageObjectItem *item = objectAt(event->pos())) {
            const ObjectRef o = item->object();
            if (o.kind == ObjectRef::Label)
                m_commands->pressLabel(o.index, button);
            else
                m_commands->pressPicture(o.index, button);
            if (button == MouseButton::Right)
                m_menu->popupAt(event->globalPosition().toPoint());
            return;
        }
        if (button == MouseButton::Left)
            m_commands->clickPage();
    } catch (const ReportError &) {
        // A press never ends the host; the commands report their own failures.
    }
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
    QGraphicsView::mouseMoveEvent(event);
}

void DesignerView::keyPressEvent(QKeyEvent *event)
{
    const double step = event->modifiers() & Qt::ShiftModifier ? TwipsPerPixel : m_gridStep;
    switch (event->key()) {
    case Qt::Key_Left: m_commands->nudge(-step, 0); return;
    case Qt::Key_Right: m_commands->nudge(step, 0); return;
    case Qt::Key_Up: m_commands->nudge(0, -step); return;
    case Qt::Key_Down: m_commands->nudge(0, step); return;
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
