#pragma once

#include "ObjectChangeCommand.h"

namespace KRML_ReportGen {

// Undoable removal of a label or picture (delete, cut, and the first half
// of a change of stacking order): undoing puts it back at its index with
// everything it had, and the objects after it move up again.
class RemoveObjectCommand : public QUndoCommand
{
public:
    // Takes the object out now; state is what it held.
    RemoveObjectCommand(LayoutPage &page, const ObjectRef &o, const QString &text, QUndoCommand *parent = nullptr);

    void undo() override;
    void redo() override;

private:
    LayoutPage &m_page;
    ObjectRef m_object;
    ObjectChangeCommand::State m_state;
    bool m_first = true;
};

} // namespace KRML_ReportGen
