#include "RemoveObjectCommand.h"

#include "LayoutPage.h"

namespace KRML_ReportGen {

RemoveObjectCommand::RemoveObjectCommand(LayoutPage &page, const ObjectRef &o, const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent), m_page(page), m_object(o), m_state(ObjectChangeCommand::stateOf(page, o))
{
    ObjectChangeCommand::remove(m_page, m_object);
}

void RemoveObjectCommand::undo()
{
    ObjectChangeCommand::insert(m_page, m_object, m_state);
}

void RemoveObjectCommand::redo()
{
    if (m_first) {
        m_first = false;
        return;
    }
    ObjectChangeCommand::remove(m_page, m_object);
}

} // namespace KRML_ReportGen
