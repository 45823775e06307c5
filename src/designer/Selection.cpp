#include "Selection.h"

#include "LayoutPage.h"
#include "Sizer.h"

namespace KRML_ReportGen {

Selection::Selection(LayoutPage &page, Sizer &sizer, QObject *parent) : QObject(parent), m_page(page), m_sizer(sizer)
{
    connect(&sizer, &Sizer::changed, this, &Selection::followSizer);
    connect(&page, &LayoutPage::cleared, this, [this] {
        if (!m_objects.isEmpty())
            clear();
    });
    connect(&page, &LayoutPage::labelRemoved, this, [this](int i) { shift(ObjectRef::Label, i, -1); });
    connect(&page, &LayoutPage::picRemoved, this, [this](int i) { shift(ObjectRef::Picture, i, -1); });
    connect(&page, &LayoutPage::labelAdded, this, [this](int i) { shift(ObjectRef::Label, i, +1); });
    connect(&page, &LayoutPage::picAdded, this, [this](int i) { shift(ObjectRef::Picture, i, +1); });
}

void Selection::followSizer()
{
    if (m_binding)
        return;
    if (!m_sizer.isVisible()) {
        if (!m_objects.isEmpty()) {
            m_objects.clear();
            emit changed();
        }
        return;
    }
    const ObjectRef bound = m_sizer.BoundControl();
    if (!m_objects.isEmpty() && m_objects.last() == bound)
        return;
    if (m_objects.contains(bound))
        m_objects.removeOne(bound); // pressed again inside the selection: it becomes the measure
    else
        m_objects.clear();
    m_objects.append(bound);
    emit changed();
}

void Selection::set(const QList<ObjectRef> &objects)
{
    QList<ObjectRef> unique;
    for (const ObjectRef &o : objects)
        if (!o.isNull() && !unique.contains(o))
            unique.append(o);
    const bool different = unique != m_objects;
    // The list first: whoever follows the sizer reads it.
    m_objects = unique;
    m_binding = true;
    if (unique.isEmpty())
        m_sizer.hide();
    else if (!(m_sizer.isVisible() && m_sizer.BoundControl() == unique.last()))
        m_sizer.setBoundControl(unique.last());
    m_binding = false;
    if (different)
        emit changed();
}

void Selection::toggle(const ObjectRef &o)
{
    QList<ObjectRef> next = m_objects;
    if (next.contains(o))
        next.removeOne(o);
    else
        next.append(o);
    set(next);
}

void Selection::selectAll()
{
    QList<ObjectRef> all;
    all.reserve(m_page.labelCount() + m_page.picCount());
    for (int i = 1; i <= m_page.labelCount(); ++i)
        if (m_page.Label(i).Visible)
            all.append({ObjectRef::Label, i});
    for (int i = 1; i <= m_page.picCount(); ++i)
        if (m_page.Pic(i).Visible)
            all.append({ObjectRef::Picture, i});
    set(all);
}

void Selection::shift(ObjectRef::Kind kind, int index, int by)
{
    // A removal drops the object and moves the later ones down; an insertion
    // in the middle moves the later ones up. Appending touches nothing.
    bool touched = false;
    QList<ObjectRef> next;
    for (ObjectRef o : std::as_const(m_objects)) {
        if (o.kind == kind) {
            if (by < 0 && o.index == index) {
                touched = true;
                continue;
            }
            if (o.index >= index + (by < 0 ? 1 : 0)) {
                o.index += by;
                touched = true;
            }
        }
        next.append(o);
    }
    if (!touched)
        return;
    // The sizer is bound to the last object (or hidden): it follows too.
    m_objects = next;
    m_binding = true;
    if (next.isEmpty())
        m_sizer.hide();
    else
        m_sizer.setBoundControl(next.last());
    m_binding = false;
    emit changed();
}

} // namespace KRML_ReportGen
