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
    ObjectChangeCommand(LayoutPage &page, const ObjectRef &o, State before, const QString &text,
                        QUndoCommand *parent = nullptr);
    // Puts the state in at index o.index / takes the object out (insertion
    // and removal commands).
    static void insert(LayoutPage &page, const ObjectRef &o, const State &state);
    static void remove(LayoutPage &page, const ObjectRef &o);

    void undo() override;
    void redo() override;

private:
    LayoutPage &m_page;
    ObjectRef m_object;
    State m_before;
    State m_after;
    bool m_first = true;
};

// Undoable insertion of a label or picture at its index (the last one for
// the insert methods, any for paste and the stacking order): undoing takes
// it out again, and the objects after it move back down.
class InsertObjectCommand : public QUndoCommand
{
public:
    // The object is already on the page; the first redo does nothing.
    InsertObjectCommand(LayoutPage &page, const ObjectRef &o, const QString &text, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    LayoutPage &m_page;
    ObjectRef m_object;
    ObjectChangeCommand::State m_state;
    bool m_first = true;
};

} // namespace KRML_ReportGen
