#include "PagePropertyCommand.h"

#include "LayoutPage.h"

namespace KRML_ReportGen {

PagePropertyCommand::PagePropertyCommand(LayoutPage &page, PropertyDescriptor row, QVariant before, QVariant after,
                                         QUndoCommand *parent)
    : QUndoCommand(row.caption, parent), m_page(page), m_row(std::move(row)), m_before(std::move(before)),
      m_after(std::move(after))
{
}

void PagePropertyCommand::undo()
{
    m_row.set(m_page, ObjectRef{}, m_before);
}

void PagePropertyCommand::redo()
{
    if (m_first) {
        m_first = false;
        return;
    }
    m_row.set(m_page, ObjectRef{}, m_after);
}

} // namespace KRML_ReportGen
