#pragma once

#include "LayoutLabel.h"
#include "LayoutPicture.h"
#include "ObjectRef.h"

#include <QUndoCommand>
#include <variant>

namespace KRML_ReportGen {

class LayoutPage;

// One undoable change of a page object: its whole state before and after
// (position, size, text, font, colours, picture).
class ObjectChangeCommand : public QUndoCommand
{
public:
    using State = std::variant<LayoutLabel, LayoutPicture>;

    static State stateOf(const LayoutPage &page, const ObjectRef &o);
    static void apply(LayoutPage &page, const ObjectRef &o, const State &state);

    // The change already made on the page; the first redo does nothing.
    ObjectChangeCommand(LayoutPage &page, const ObjectRef &o, State before, const QString &text);

    void undo() override;
    void redo() override;

private:
    LayoutPage &m_page;
    ObjectRef m_object;
    State m_before;
    State m_after;
    bool m_first = true;
};

// Undoable insertion of the page's last label or picture: undoing removes
// it (objects are only ever removed from the end).
class InsertObjectCommand : public QUndoCommand
{
public:
    InsertObjectCommand(LayoutPage &page, const ObjectRef &o, const QString &text);
    void undo() override;
    void redo() override;

private:
    LayoutPage &m_page;
    ObjectRef m_object;
    ObjectChangeCommand::State m_state;
    bool m_first = true;
};

} // namespace KRML_ReportGen
