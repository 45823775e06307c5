#include "ObjectChangeCommand.h"

#include "LayoutPage.h"

namespace KRML_ReportGen {

ObjectChangeCommand::State ObjectChangeCommand::stateOf(const LayoutPage &page, const ObjectRef &o)
{
    if (o.kind == ObjectRef::Picture)
        return page.Pic(o.index);
    return page.Label(o.index);
}

void ObjectChangeCommand::apply(LayoutPage &page, const ObjectRef &o, const State &state)
{
    if (o.kind == ObjectRef::Picture && std::holds_alternative<LayoutPicture>(state)) {
        page.Pic(o.index) = std::get<LayoutPicture>(state);
        page.notifyPicChanged(o.index);
    } else if (o.kind == ObjectRef::Label && std::holds_alternative<LayoutLabel>(state)) {
        page.Label(o.index) = std::get<LayoutLabel>(state);
        page.notifyLabelChanged(o.index);
    }
}

void ObjectChangeCommand::insert(LayoutPage &page, const ObjectRef &o, const State &state)
{
    if (o.kind == ObjectRef::Picture && std::holds_alternative<LayoutPicture>(state))
        page.insertPic(o.index, std::get<LayoutPicture>(state));
    else if (o.kind == ObjectRef::Label && std::holds_alternative<LayoutLabel>(state))
        page.insertLabel(o.index, std::get<LayoutLabel>(state));
}

void ObjectChangeCommand::remove(LayoutPage &page, const ObjectRef &o)
{
    if (o.kind == ObjectRef::Picture)
        page.removePic(o.index);
    else if (o.kind == ObjectRef::Label)
        page.removeLabel(o.index);
}

ObjectChangeCommand::ObjectChangeCommand(LayoutPage &page, const ObjectRef &o, State before, const QString &text,
                                         QUndoCommand *parent)
    : QUndoCommand(text, parent), m_page(page), m_object(o), m_before(std::move(before)), m_after(stateOf(page, o))
{
}

void ObjectChangeCommand::undo()
{
    apply(m_page, m_object, m_before);
}

void ObjectChangeCommand::redo()
{
    if (m_first) {
        m_first = false;
        return;
    }
    apply(m_page, m_object, m_after);
}

InsertObjectCommand::InsertObjectCommand(LayoutPage &page, const ObjectRef &o, const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent), m_page(page), m_object(o), m_state(ObjectChangeCommand::stateOf(page, o))
{
}

void InsertObjectCommand::undo()
{
    ObjectChangeCommand::remove(m_page, m_object);
}

void InsertObjectCommand::redo()
{
    if (m_first) {
        m_first = false;
        return;
    }
    ObjectChangeCommand::insert(m_page, m_object, m_state);
}

} // namespace KRML_ReportGen
