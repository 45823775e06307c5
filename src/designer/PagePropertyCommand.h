#pragma once

#include "PropertyDescriptor.h"

#include <QUndoCommand>

namespace KRML_ReportGen {

class LayoutPage;

// An undoable change of one of the page's own properties (its size, and
// whatever page rows the inspector gains), made through its row.
class PagePropertyCommand : public QUndoCommand
{
public:
    // The change already made on the page; the first redo does nothing.
    PagePropertyCommand(LayoutPage &page, PropertyDescriptor row, QVariant before, QVariant after,
                        QUndoCommand *parent = nullptr);

    void undo() override;
    void redo() override;

private:
    LayoutPage &m_page;
    PropertyDescriptor m_row;
    QVariant m_before;
    QVariant m_after;
    bool m_first = true;
};

} // namespace KRML_ReportGen
