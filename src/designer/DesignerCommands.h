#pragma once

#include "Arrangement.h"
#include "BoundStatement.h"
#include "ObjectChangeCommand.h"

#include "ObjectMenuState.h"
#include "ObjectRef.h"
#include "Selection.h"

#include <QString>
#include <memory>

class QMimeData;
class QUndoCommand;
class QUndoStack;

namespace KRML_ReportGen {

class DbConnection;
class FileService;
class LayoutPage;
class Sizer;
class UserPrompts;
struct PropertyDescriptor;

// What the designer does to the page: selecting by pressing objects, the
// "&Object" menu's commands, inserting objects, dropping a field from the
// field palette, moving by the keyboard, the box creator; and the editing
// of a desktop designer on the whole selection: delete, the clipboard,
// duplicate, aligning, sizing, distributing, stacking order, dragging with
// snapping, and the property inspector's changes. Every change goes on the
// undo stack. Failures are told to the user through the prompts and never
// leave the host.
class DesignerCommands
{
public:
    static QString editTextPrompt() { return QStringLiteral("Please enter the text"); }
    static QString unrecognisedPictureMessage() { return QStringLiteral("Unrecognised Picture Format"); }
    static QString unknownTypePrefix() { return QStringLiteral("Unknown Data Type: "); }

    DesignerCommands(LayoutPage &page, Sizer &sizer, UserPrompts &prompts, FileService &files, QUndoStack &undo);

    ObjectMenuState &menu() { return m_menu; }
    const ObjectMenuState &menu() const { return m_menu; }
    Selection &selection() { return *m_selection; }
    const Selection &selection() const { return *m_selection; }

    // Presses and the empty page.
    void pressLabel(int index, MouseButton button);
    void pressPicture(int index, MouseButton button);
    void clickPage();

    // The object menu, on the selected object.
    void editText();
    void formatText();
    void align(int alignment); // 0 left, 1 right, 2 centred
    void toggleBorder();
    void editPicture();
    // "BackColor": a label's back colour; for a picture the colour around
    // its image (or of its empty box).
    void backColor();
    void startMove();
    // "Coordinate Positioning"'s "Move": the object to (x, y) twips, the
    // sizer's corner to the same point. False (after a message) when an
    // entry is not a number.
    bool moveTo(const QString &x, const QString &y);

    // Insert methods: at (100, 100), visible, selected. Returns the index.
    int insertLabel();
    int insertPicture();
    // A formula label with the text; nothing (0) for an empty text.
    int insertFormula(const QString &text);

    // A field of statement dropped at (x, y) on the page: a data-field
    // label there when the field's type is one reports print as text
    // (printableType), else "Unknown Data Type: " + the type and a hidden
    // label. The type comes from running currentSql (with its bound values)
    // on the connection. Returns the new label's index, 0 when the lookup
    // failed (told to the user).
    int dropField(const QString &statement, const QString &field, double x, double y, DbConnection &connection,
                  const BoundStatement &currentSql);
    // Every scalar type a report prints as text: the integers, the floating
    // and decimal numbers, currency, dates and times, truth values and
    // every kind of text. Binary and unknown types are not.
    static bool printableType(int adoType);

    // Arrow keys: the selected objects moved by (dx, dy) twips.
    void nudge(double dx, double dy);

    // --- the desktop designer's editing, on the whole selection ---
    void deleteSelected();
    // The selected objects as clipboard data (null when none is selected).
    std::unique_ptr<QMimeData> copySelected() const;
    // Adds the objects the data holds and selects them; an object that
    // would land exactly on one of its kind moves one grid step down and
    // right. False when the data holds no objects (a damaged one is told).
    bool paste(const QMimeData &mime);
    void duplicateSelected();
    void selectAll() { m_selection->selectAll(); }
    // Against the sizer's object (the one chosen last).
    void alignSelected(Arrangement::Align edge);
    void sizeSelected(Arrangement::Size what);
    void distributeSelected(Arrangement::Axis axis);
    // Later objects are drawn over earlier ones: front is the end of the
    // page's list of its kind, back its start.
    void bringToFront();
    void sendToBack();
    // Dragging the selection with the pointer: offsets from where it began,
    // the sizer's object snapped to the grid when snapping is on; one undo
    // step for the whole drag.
    void beginDrag();
    void dragBy(double dx, double dy);
    void endDrag();
    bool dragging() const { return !m_dragBefore.isEmpty(); }
    // The grid step dragging snaps to (twips); 0 for no snapping.
    void setSnapStep(double twips);
    double snapStep() const { return m_snapStep; }
    // The inspector: a row's value on every selected object (on the page
    // when none is), as one undo step.
    void setProperty(const PropertyDescriptor &row, const QVariant &value);
    // After the sizer changed the selected object (release of a grip or of
    // the body): the change goes on the undo stack, and a picture with a
    // source file placed beyond (50, 50) is scaled again to its new size.
    void objectResized(const ObjectRef &o, const struct SizerGeometry::Rect &before);

    // "Box Creator"'s "Create": an outline box on the page's drawing layer.
    // False (after a message) when an entry is not a number.
    bool createBox(const QString &x1, const QString &y1, const QString &x2, const QString &y2, quint32 colour = 0);

private:
    ObjectRef selected() const;
    int insertAt100(ObjectRef::Kind kind, const QString &caption, const QString &tag, const QString &what);
    template <typename Change>
    void changeSelected(const QString &what, Change change);
    // Each object changed and told; one undo step for all of them.
    template <typename Change>
    void changeObjects(const QString &what, const QList<ObjectRef> &objects, Change change);
    // The changes already made, given the objects' states before them.
    void pushChanges(const QString &what, const QList<QPair<ObjectRef, ObjectChangeCommand::State>> &before);
    void setGeometries(const QString &what, const QList<SizerGeometry::Rect> &rects);
    QList<SizerGeometry::Rect> selectedGeometries() const;
    // Moves the selected objects of a kind to the end (front) or start (back).
    void restack(bool front);
    void rescalePicture(int index);
    void pictureBackColor(int index);
    bool numbers(const QStringList &texts, QList<double> &out);

    LayoutPage &m_page;
    Sizer &m_sizer;
    UserPrompts &m_prompts;
    FileService &m_files;
    QUndoStack &m_undo;
    ObjectMenuState m_menu;
    std::unique_ptr<Selection> m_selection;
    double m_snapStep = 0;
    QList<QPair<ObjectRef, SizerGeometry::Rect>> m_dragBefore;
    SizerGeometry::Rect m_dragPrimary;
};

} // namespace KRML_ReportGen
