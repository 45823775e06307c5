#pragma once

#include "ObjectRef.h"

#include <QList>
#include <QObject>

namespace KRML_ReportGen {

class LayoutPage;
class Sizer;

// The objects the designer's commands act on, in the order they were
// chosen. The last one is the sizer's: its grips show, and aligning and
// sizing take it as the measure. Whatever binds the sizer (a press, an
// insertion, the keyboard) selects its object; hiding the sizer empties the
// selection. When objects are taken out of the page or put in, the
// selection follows their indices.
class Selection : public QObject
{
    Q_OBJECT
public:
    Selection(LayoutPage &page, Sizer &sizer, QObject *parent = nullptr);

    const QList<ObjectRef> &objects() const { return m_objects; }
    bool isEmpty() const { return m_objects.isEmpty(); }
    int count() const { return int(m_objects.size()); }
    bool contains(const ObjectRef &o) const { return m_objects.contains(o); }
    // The sizer's object; null when nothing is selected.
    ObjectRef primary() const { return m_objects.isEmpty() ? ObjectRef{} : m_objects.last(); }

    // Exactly these (the last becomes the sizer's); empty hides the sizer.
    void set(const QList<ObjectRef> &objects);
    // Shift/Ctrl-click: in if out, out if in.
    void toggle(const ObjectRef &o);
    void clear() { set({}); }
    // Every visible label and picture of the page.
    void selectAll();

signals:
    void changed();

private:
    void followSizer();
    void shift(ObjectRef::Kind kind, int index, int by);

    LayoutPage &m_page;
    Sizer &m_sizer;
    QList<ObjectRef> m_objects;
    bool m_binding = false;
};

} // namespace KRML_ReportGen
