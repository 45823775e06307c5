#pragma once

#include "PropertyBag.h"

#include <QHash>

namespace KRML_ReportGen {

// A property bag in memory, for hosts that serialise it themselves.
class MemoryPropertyBag : public PropertyBag
{
public:
    QVariant readProperty(const QString &name, const QVariant &defaultValue) const override
    {
        return m_values.value(name, defaultValue);
    }
    void writeProperty(const QString &name, const QVariant &value, const QVariant &defaultValue) override
    {
        if (value == defaultValue)
            m_values.remove(name);
        else
            m_values.insert(name, value);
    }
    const QHash<QString, QVariant> &values() const { return m_values; }

private:
    QHash<QString, QVariant> m_values;
};

} // namespace KRML_ReportGen
