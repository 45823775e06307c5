#include "DesignerCommands.h"

#include "DbConnection.h"
#include "LayoutClipboard.h"
#include "LayoutPage.h"
#include "LegacyNumber.h"
#include "MsgBoxStyle.h"
#include "ObjectChangeCommand.h"
#include "PagePropertyCommand.h"
#include "PictureLoader.h"
#include "PropertyDescriptor.h"
#include "RemoveObjectCommand.h"
#include "ReportError.h"
#include "Sizer.h"
#include "UserPrompts.h"
#include "VbConvert.h"

#include <QMap>
#include <QMimeData>
#include <utility>
#include <QUndoStack>

namespace KRML_ReportGen {

DesignerCommands::DesignerCommands(LayoutPage &page, Sizer &sizer, UserPrompts &prompts, FileService &files, QUndoStack &undo)
    : m_page(page), m_sizer(sizer), m_prompts(prompts), m_files(files), m_undo(undo),
      m_selection(std::make_unique<Selection>(page, sizer))
{
    // However the selection changed (a press, the object list, a rubber
    // band), the "&Object" menu offers what its last object takes.
    QObject::connect(m_selection.get(), &Selection::changed, m_selection.get(), [this] {
        const ObjectRef o = m_selection->primary();
        if (o.kind == ObjectRef::Label)
            m_menu.pressLabel(m_page.Label(o.index), MouseButton::Left);
        else if (o.kind == ObjectRef::Picture)
            m_menu.pressPicture(MouseButton::Left);
        else
            m_menu.clickPage();
    });
}


ObjectRef DesignerCommands::selected() const
{
    return m_sizer.isVisible() ? m_sizer.BoundControl() : ObjectRef{};
}

template <typename Change>
void DesignerCommands::changeSelected(const QString &what, Change change)
{
    const ObjectRef o = selected();
    if (!o.isNull())
        changeObjects(what, {o}, change);
}

template <typename Change>
void DesignerCommands::changeObjects(const QString &what, const QList<ObjectRef> &objects, Change change)
{
    QList<QPair<ObjectRef, ObjectChangeCommand::State>> changed;
    for (const ObjectRef &o : objects) {
        ObjectChangeCommand::State before = ObjectChangeCommand::stateOf(m_page, o);
        if (!change(o))
            continue;
        if (o.kind == ObjectRef::Label)
            m_page.notifyLabelChanged(o.index);
        else
            m_page.notifyPicChanged(o.index);
        changed.append({o, std::move(before)});
    }
    pushChanges(what, changed);
}

void DesignerCommands::pushChanges(const QString &what, const QList<QPair<ObjectRef, ObjectChangeCommand::State>> &before)
{
    // One object is one command; several are the children of one, so that
    // a single undo takes them all back.
    if (before.size() == 1) {
        m_undo.push(new ObjectChangeCommand(m_page, before[0].first, before[0].second, what));
    } else if (before.size() > 1) {
        auto *parent = new QUndoCommand(what);
        for (const auto &[o, state] : before)
            new ObjectChangeCommand(m_page, o, state, what, parent);
        m_undo.push(parent);
    }
}

void DesignerCommands::pressLabel(int index, MouseButton button)
{
    m_sizer.setBoundControl({ObjectRef::Label, index});
    m_menu.pressLabel(m_page.Label(index), button);
}

void DesignerCommands::pressPicture(int index, MouseButton button)
{
    if (button == MouseButton::Left)
        m_sizer.setBoundControl({ObjectRef::Picture, index});
    m_menu.pressPicture(button);
}

void DesignerCommands::clickPage()
{
    m_sizer.hide();
    m_menu.clickPage();
}

void DesignerCommands::editText()
{
    if (selected().kind != ObjectRef::Label)
        return;
    const QString text = m_prompts.inputBox(editTextPrompt(), QString(), QString());
    if (text.isEmpty())
        return;
    changeSelected(QStringLiteral("Edit Text"), [&](const ObjectRef &o) {
        m_page.Label(o.index).Caption = text;
        return true;
    });
}

void DesignerCommands::formatText()
{
    if (selected().kind != ObjectRef::Label)
        return;
    FontDescription font = m_page.Label(selected().index).Font;
    if (!m_prompts.chooseFont(font))
        return; // Cancel changes nothing
    quint32 colour = m_page.Label(selected().index).ForeColor;
    const bool coloured = m_prompts.chooseColor(colour);
    changeSelected(QStringLiteral("Format Text"), [&](const ObjectRef &o) {
        m_page.Label(o.index).Font = font;
        if (coloured)
            m_page.Label(o.index).ForeColor = colour;
        return true;
    });
}

void DesignerCommands::align(int alignment)
{
    changeSelected(QStringLiteral("Alignment"), [&](const ObjectRef &o) {
        if (o.kind != ObjectRef::Label)
            return false;
        m_page.Label(o.index).Alignment = qint16(alignment);
        return true;
    });
}

void DesignerCommands::toggleBorder()
{
    if (selected().kind != ObjectRef::Label)
        return;
    const bool checked = m_menu.toggleBorder();
    changeSelected(QStringLiteral("Border"), [&](const ObjectRef &o) {
        m_page.Label(o.index).BorderStyle = checked ? 1 : 0;
        return true;
    });
}

void DesignerCommands::editPicture()
{
    const ObjectRef o = selected();
    if (o.kind != ObjectRef::Picture)
        return;
    const QString path = m_prompts.openFileName(QString(), PictureLoader::filter(), 2, QString());
    if (path.isEmpty())
        return;
    QImage image;
    try {
        const LayoutPicture &pic = m_page.Pic(o.index);
        image = PictureLoader::scaledInto(m_files, path, pic.Width, pic.Height, pic.BackColor);
    } catch (const ReportError &) {
        m_prompts.msgBox(unrecognisedPictureMessage(), MsgBoxStyle::Exclamation);
        return;
    }
    changeSelected(QStringLiteral("Edit Picture"), [&](const ObjectRef &sel) {
        m_page.Pic(sel.index).Picture = image;
        m_page.Pic(sel.index).Tag = path;
        return true;
    });
}

void DesignerCommands::backColor()
{
    const ObjectRef o = selected();
    if (o.kind == ObjectRef::Picture) {
        pictureBackColor(o.index);
        return;
    }
    if (o.kind != ObjectRef::Label)
        return;
    quint32 colour = m_page.Label(o.index).BackColor;
    if (!m_prompts.chooseColor(colour))
        return;
    changeSelected(QStringLiteral("BackColor"), [&](const ObjectRef &sel) {
        m_page.Label(sel.index).BackColor = colour;
        return true;
    });
}

void DesignerCommands::pictureBackColor(int index)
{
    const LayoutPicture &pic = m_page.Pic(index);
    quint32 colour = pic.BackColor;
    if (!m_prompts.chooseColor(colour))
        return;
    // The image is drawn again on the new colour: from its file when it is
    // still there, otherwise the old image over the colour.
    QImage image;
    try {
        if (pic.Tag.isEmpty())
            throw ReportError(ReportError::FileNotFound, QStringLiteral("File not found"));
        image = PictureLoader::scaledInto(m_files, pic.Tag, pic.Width, pic.Height, colour);
    } catch (const ReportError &) {
        image = PictureLoader::onBackColor(pic.Picture, pic.Width, pic.Height, colour);
    }
    changeSelected(QStringLiteral("BackColor"), [&](const ObjectRef &sel) {
        m_page.Pic(sel.index).BackColor = colour;
        m_page.Pic(sel.index).Picture = image;
        return true;
    });
}

void DesignerCommands::startMove()
{
    if (!m_sizer.MoveState())
        m_sizer.setMoveState(true);
}

bool DesignerCommands::numbers(const QStringList &texts, QList<double> &out)
{
    for (const QString &t : texts) {
        const auto v = LegacyNumber::convert(t);
        if (!v) {
            m_prompts.msgBox(QStringLiteral("\"%1\" is not a number of twips. Please enter a number.").arg(t),
                             MsgBoxStyle::Exclamation);
            return false;
        }
        out << *v;
    }
    return true;
}

bool DesignerCommands::moveTo(const QString &x, const QString &y)
{
    QList<double> v;
    if (!numbers({x, y}, v))
        return false;
    changeSelected(QStringLiteral("Coordinate Positioning"), [&](const ObjectRef &o) {
        SizerGeometry::Rect r = o.geometry(m_page);
        r.left = v[0];
        r.top = v[1];
        o.setGeometry(m_page, r);
        return true;
    });
    m_sizer.setFramePosition(v[0], v[1]);
    return true;
}

int DesignerCommands::insertAt100(ObjectRef::Kind kind, const QString &caption, const QString &tag, const QString &what)
{
    // New objects appear at (100, 100), visible, and are selected as a
    // left-button press selects them.
    const ObjectRef o{kind, kind == ObjectRef::Label ? m_page.createLabel() : m_page.createPic()};
    SizerGeometry::Rect r = o.geometry(m_page);
    r.left = 100;
    r.top = 100;
    if (kind == ObjectRef::Label) {
        LayoutLabel &l = m_page.Label(o.index);
        l.Visible = true;
        if (!tag.isEmpty()) {
            l.Caption = caption;
            l.Tag = tag;
        }
    } else {
        m_page.Pic(o.index).Visible = true;
    }
    o.setGeometry(m_page, r);
    m_undo.push(new InsertObjectCommand(m_page, o, what));
    if (kind == ObjectRef::Label)
        pressLabel(o.index, MouseButton::Left);
    else
        pressPicture(o.index, MouseButton::Left);
    return o.index;
}

int DesignerCommands::insertLabel()
{
    return insertAt100(ObjectRef::Label, QString(), QString(), QStringLiteral("Insert Label"));
}

int DesignerCommands::insertPicture()
{
    return insertAt100(ObjectRef::Picture, QString(), QString(), QStringLiteral("Insert Picture"));
}

int DesignerCommands::insertFormula(const QString &text)
{
    if (text.isEmpty())
        return 0;
    return insertAt100(ObjectRef::Label, text, QStringLiteral("FORMULA:") + text, QStringLiteral("Insert Formula"));
}

bool DesignerCommands::printableType(int adoType)
{
    switch (adoType) {
    case 2:   // SmallInt
    case 3:   // Integer
    case 4:   // Single
    case 5:   // Double
    case 6:   // Currency
    case 7:   // Date
    case 11:  // Boolean
    case 14:  // Decimal
    case 16:  // TinyInt
    case 17:  // UnsignedTinyInt
    case 18:  // UnsignedSmallInt
    case 19:  // UnsignedInt
    case 20:  // BigInt
    case 21:  // UnsignedBigInt
    case 129: // Char
    case 130: // WChar
    case 131: // Numeric
    case 133: // DBDate
    case 134: // DBTime
    case 135: // DBTimeStamp
    case 139: // VarNumeric
    case 200: // VarChar
    case 201: // LongVarChar
    case 202: // VarWChar
    case 203: // LongVarWChar
        return true;
    default:
        return false;
    }
}

int DesignerCommands::dropField(const QString &statement, const QString &field, double x, double y,
                                DbConnection &connection, const BoundStatement &currentSql)
{
    int type = 0;
    try {
        auto rs = connection.execute(currentSql, -1);
        const int column = rs->fieldIndex(field);
        if (column < 0)
            throw ReportError(Recordset::ItemNotFound,
                              QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
        type = rs->fieldType(column);
        rs->close();
    } catch (const ReportError &e) {
        m_prompts.msgBox(QStringLiteral("The type of the field %1.%2 could not be found: %3 - %4")
                             .arg(statement, field)
                             .arg(e.number())
                             .arg(e.description()),
                         MsgBoxStyle::Exclamation);
        return 0;
    }
    const int i = m_page.createLabel();
    LayoutLabel &l = m_page.Label(i);
    l.Tag = statement + QLatin1Char('.') + field;
    const bool printable = printableType(type);
    if (printable) {
        l.Caption = statement + QLatin1Char('.') + field;
        l.Tag = QStringLiteral("DATA:") + statement + QLatin1Char('.') + field;
        l.Left = float(x);
        l.Top = float(y);
        l.Visible = true;
    }
    m_page.notifyLabelChanged(i);
    m_undo.push(new InsertObjectCommand(m_page, {ObjectRef::Label, i}, QStringLiteral("Insert Data Field")));
    if (!printable)
        m_prompts.msgBox(unknownTypePrefix() + QString::number(type), MsgBoxStyle::Information);
    return i;
}

void DesignerCommands::nudge(double dx, double dy)
{
    const ObjectRef o = selected();
    if (o.isNull())
        return;
    QList<ObjectRef> objects = m_selection->objects();
    if (!objects.contains(o))
        objects = {o};
    changeObjects(QStringLiteral("Move"), objects, [&](const ObjectRef &sel) {
        SizerGeometry::Rect r = sel.geometry(m_page);
        r.left += dx;
        r.top += dy;
        sel.setGeometry(m_page, r);
        return true;
    });
    m_sizer.setBoundControl(o);
}

void DesignerCommands::deleteSelected()
{
    QList<ObjectRef> objects = m_selection->objects();
    if (objects.isEmpty())
        return;
    // From the back, so that the indices still to go stay valid.
    std::sort(objects.begin(), objects.end(),
              [](const ObjectRef &a, const ObjectRef &b) { return a.kind != b.kind ? a.kind < b.kind : a.index > b.index; });
    const QString what = objects.size() == 1 ? QStringLiteral("Delete") : QStringLiteral("Delete %1 Objects").arg(objects.size());
    auto *parent = new QUndoCommand(what);
    for (const ObjectRef &o : objects)
        new RemoveObjectCommand(m_page, o, what, parent);
    m_undo.push(parent);
    m_menu.clickPage();
}

std::unique_ptr<QMimeData> DesignerCommands::copySelected() const
{
    if (m_selection->isEmpty())
        return nullptr;
    return LayoutClipboard::copy(m_page, m_selection->objects());
}

bool DesignerCommands::paste(const QMimeData &mime)
{
    if (!LayoutClipboard::holdsLayout(mime))
        return false;
    LayoutPage pasted;
    try {
        LayoutClipboard::read(mime, pasted);
    } catch (const ReportError &e) {
        m_prompts.msgBox(QStringLiteral("The objects on the clipboard could not be pasted: %1 - %2").arg(e.number()).arg(e.description()),
                         MsgBoxStyle::Exclamation);
        return false;
    }
    if (pasted.labelCount() + pasted.picCount() == 0)
        return false;
    if (m_page.labelCount() + pasted.labelCount() > LayoutPage::MaxObjects
        || m_page.picCount() + pasted.picCount() > LayoutPage::MaxObjects) {
        m_prompts.msgBox(QStringLiteral("The page cannot hold that many more objects."), MsgBoxStyle::Exclamation);
        return false;
    }
    // Where a copy would cover its original exactly, it moves one grid step.
    const double step = m_snapStep >= 1 ? m_snapStep : 113;
    const auto coincides = [&](double dx) {
        for (int i = 1; i <= pasted.labelCount(); ++i)
            for (int j = 1; j <= m_page.labelCount(); ++j)
                if (m_page.Label(j).Left == float(pasted.Label(i).Left + dx) && m_page.Label(j).Top == float(pasted.Label(i).Top + dx))
                    return true;
        for (int i = 1; i <= pasted.picCount(); ++i)
            for (int j = 1; j <= m_page.picCount(); ++j)
                if (m_page.Pic(j).Left == float(pasted.Pic(i).Left + dx) && m_page.Pic(j).Top == float(pasted.Pic(i).Top + dx))
                    return true;
        return false;
    };
    double offset = 0;
    for (int tries = 0; tries < 50 && coincides(offset); ++tries)
        offset += step;

    const QString what = QStringLiteral("Paste");
    auto *parent = new QUndoCommand(what);
    QList<ObjectRef> added;
    for (int i = 1; i <= pasted.labelCount(); ++i) {
        LayoutLabel l = pasted.Label(i);
        l.Left = float(l.Left + offset);
        l.Top = float(l.Top + offset);
        const ObjectRef o{ObjectRef::Label, m_page.labelCount() + 1};
        m_page.insertLabel(o.index, l);
        new InsertObjectCommand(m_page, o, what, parent);
        added.append(o);
    }
    for (int i = 1; i <= pasted.picCount(); ++i) {
        LayoutPicture p = pasted.Pic(i);
        p.Left = float(p.Left + offset);
        p.Top = float(p.Top + offset);
        const ObjectRef o{ObjectRef::Picture, m_page.picCount() + 1};
        m_page.insertPic(o.index, p);
        new InsertObjectCommand(m_page, o, what, parent);
        added.append(o);
    }
    m_undo.push(parent);
    m_selection->set(added);
    return true;
}

void DesignerCommands::duplicateSelected()
{
    if (const auto mime = copySelected())
        paste(*mime);
}

QList<SizerGeometry::Rect> DesignerCommands::selectedGeometries() const
{
    QList<SizerGeometry::Rect> rects;
    for (const ObjectRef &o : m_selection->objects())
        rects.append(o.geometry(m_page));
    return rects;
}

void DesignerCommands::setGeometries(const QString &what, const QList<SizerGeometry::Rect> &rects)
{
    const QList<ObjectRef> objects = m_selection->objects();
    int i = 0;
    changeObjects(what, objects, [&](const ObjectRef &o) {
        const SizerGeometry::Rect r = rects[i++];
        if (r == o.geometry(m_page))
            return false;
        o.setGeometry(m_page, r);
        return true;
    });
    if (!m_selection->isEmpty())
        m_sizer.setBoundControl(m_selection->primary());
}

void DesignerCommands::alignSelected(Arrangement::Align edge)
{
    static const QMap<Arrangement::Align, QString> names = {
        {Arrangement::Align::Left, QStringLiteral("Align Left")},
        {Arrangement::Align::Right, QStringLiteral("Align Right")},
        {Arrangement::Align::Top, QStringLiteral("Align Top")},
        {Arrangement::Align::Bottom, QStringLiteral("Align Bottom")},
        {Arrangement::Align::HorizontalCentre, QStringLiteral("Align Centres Horizontally")},
        {Arrangement::Align::VerticalCentre, QStringLiteral("Align Centres Vertically")}};
    if (m_selection->count() < 2)
        return;
    setGeometries(names.value(edge), Arrangement::align(selectedGeometries(), m_selection->count() - 1, edge));
}

void DesignerCommands::sizeSelected(Arrangement::Size what)
{
    if (m_selection->count() < 2)
        return;
    const QString name = what == Arrangement::Size::Width    ? QStringLiteral("Same Width")
                         : what == Arrangement::Size::Height ? QStringLiteral("Same Height")
                                                             : QStringLiteral("Same Size");
    setGeometries(name, Arrangement::sameSize(selectedGeometries(), m_selection->count() - 1, what));
}

void DesignerCommands::distributeSelected(Arrangement::Axis axis)
{
    if (m_selection->count() < 3)
        return;
    setGeometries(axis == Arrangement::Axis::Horizontal ? QStringLiteral("Distribute Horizontally")
                                                        : QStringLiteral("Distribute Vertically"),
                  Arrangement::distribute(selectedGeometries(), axis));
}

void DesignerCommands::restack(bool front)
{
    const QList<ObjectRef> selected = m_selection->objects();
    if (selected.isEmpty())
        return;
    const QString what = front ? QStringLiteral("Bring to Front") : QStringLiteral("Send to Back");
    auto *parent = new QUndoCommand(what);
    QList<ObjectRef> moved;
    for (ObjectRef::Kind kind : {ObjectRef::Label, ObjectRef::Picture}) {
        QList<int> indices;
        for (const ObjectRef &o : selected)
            if (o.kind == kind)
                indices.append(o.index);
        std::sort(indices.begin(), indices.end());
        QList<ObjectChangeCommand::State> states;
        for (int i : indices)
            states.append(ObjectChangeCommand::stateOf(m_page, {kind, i}));
        for (auto it = indices.crbegin(); it != indices.crend(); ++it)
            new RemoveObjectCommand(m_page, {kind, *it}, what, parent);
        const int count = kind == ObjectRef::Label ? m_page.labelCount() : m_page.picCount();
        for (int n = 0; n < states.size(); ++n) {
            const ObjectRef o{kind, front ? count + 1 + n : 1 + n};
            ObjectChangeCommand::insert(m_page, o, states[n]);
            new InsertObjectCommand(m_page, o, what, parent);
            moved.append(o);
        }
    }
    m_undo.push(parent);
    m_selection->set(moved);
}

void DesignerCommands::bringToFront()
{
    restack(true);
}

void DesignerCommands::sendToBack()
{
    restack(false);
}

void DesignerCommands::setSnapStep(double twips)
{
    m_snapStep = twips;
    m_sizer.setSnapStep(twips);
}

void DesignerCommands::beginDrag()
{
    m_dragBefore.clear();
    for (const ObjectRef &o : m_selection->objects())
        m_dragBefore.append({o, o.geometry(m_page)});
    m_dragPrimary = m_selection->primary().geometry(m_page);
}

void DesignerCommands::dragBy(double dx, double dy)
{
    if (m_dragBefore.isEmpty())
        return;
    // The sizer's object lands on the grid; the others keep their distance to it.
    const double mx = Arrangement::snap(m_dragPrimary.left + dx, m_snapStep) - m_dragPrimary.left;
    const double my = Arrangement::snap(m_dragPrimary.top + dy, m_snapStep) - m_dragPrimary.top;
    for (const auto &[o, before] : std::as_const(m_dragBefore)) {
        SizerGeometry::Rect r = before;
        r.left += mx;
        r.top += my;
        if (r != o.geometry(m_page))
            o.setGeometry(m_page, r);
    }
    m_sizer.setBoundControl(m_selection->primary());
}

void DesignerCommands::endDrag()
{
    const auto before = std::exchange(m_dragBefore, {});
    QList<QPair<ObjectRef, ObjectChangeCommand::State>> moved;
    for (const auto &[o, rect] : before) {
        if (o.geometry(m_page) == rect)
            continue;
        // The state before: the object as it is, at its old place.
        ObjectChangeCommand::State state = ObjectChangeCommand::stateOf(m_page, o);
        std::visit([&rect](auto &object) {
            object.Left = float(rect.left);
            object.Top = float(rect.top);
        }, state);
        moved.append({o, state});
    }
    pushChanges(QStringLiteral("Move"), moved);
}

void DesignerCommands::setProperty(const PropertyDescriptor &row, const QVariant &value)
{
    if (!row.editable())
        return;
    if (m_selection->isEmpty()) {
        if (!row.applies(m_page, ObjectRef{}))
            return;
        const QVariant before = row.get(m_page, ObjectRef{});
        if (before == value)
            return;
        row.set(m_page, ObjectRef{}, value);
        m_undo.push(new PagePropertyCommand(m_page, row, before, value));
        return;
    }
    changeObjects(row.caption, m_selection->objects(), [&](const ObjectRef &o) {
        if (!row.applies(m_page, o) || row.get(m_page, o) == value)
            return false;
        row.set(m_page, o, value);
        return true;
    });
    m_sizer.setBoundControl(m_selection->primary());
}

void DesignerCommands::rescalePicture(int index)
{
    LayoutPicture &pic = m_page.Pic(index);
    if (pic.Tag.isEmpty() || !(pic.Top > 50 && pic.Left > 50))
        return;
    try {
        pic.Picture = PictureLoader::scaledInto(m_files, pic.Tag, pic.Width, pic.Height, pic.BackColor);
        m_page.notifyPicChanged(index);
    } catch (const ReportError &) {
        // The source file went away: the picture keeps its image.
    }
}

void DesignerCommands::objectResized(const ObjectRef &o, const SizerGeometry::Rect &before)
{
    if (o.isNull())
        return;
    const SizerGeometry::Rect after = o.geometry(m_page);
    // The state before: the current state with the old geometry.
    o.setGeometry(m_page, before);
    const ObjectChangeCommand::State old = ObjectChangeCommand::stateOf(m_page, o);
    o.setGeometry(m_page, after);
    if (o.kind == ObjectRef::Picture && (after.width != before.width || after.height != before.height))
        rescalePicture(o.index);
    m_undo.push(new ObjectChangeCommand(m_page, o, old, QStringLiteral("Resize")));
}

bool DesignerCommands::createBox(const QString &x1, const QString &y1, const QString &x2, const QString &y2, quint32 colour)
{
    QList<double> v;
    if (!numbers({x1, y1, x2, y2}, v))
        return false;
    m_page.drawing().box(float(v[0]), float(v[1]), float(v[2]), float(v[3]), colour, false);
    m_page.notifyDrawingChanged();
    return true;
}

} // namespace KRML_ReportGen
