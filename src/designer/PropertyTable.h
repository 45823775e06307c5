#pragma once

#include "PropertyDescriptor.h"

#include <QList>

namespace KRML_ReportGen {

// The rows the property inspector offers, in order. standard() gives the
// page objects' own properties; further keys (a label's number format, the
// page's margins) join as more rows without changing the inspector.
class PropertyTable
{
public:
    static PropertyTable standard();

    void add(const PropertyDescriptor &row) { m_rows.append(row); }
    const QList<PropertyDescriptor> &rows() const { return m_rows; }
    const PropertyDescriptor *find(const QString &key) const;

    // The rows every selected object has (the page's rows when none is).
    QList<const PropertyDescriptor *> rowsFor(const LayoutPage &page, const QList<ObjectRef> &selection) const;
    // The value the objects share, or an invalid QVariant when they differ.
    static QVariant commonValue(const PropertyDescriptor &row, const LayoutPage &page, const QList<ObjectRef> &objects);
    // How a value reads in the inspector ("" for an invalid one).
    static QString display(const PropertyDescriptor &row, const QVariant &value);

    static QString kindName(const LayoutPage &page, const ObjectRef &o);
    static QString describeFont(const FontDescription &font);

private:
    QList<PropertyDescriptor> m_rows;
};

} // namespace KRML_ReportGen
