#pragma once

#include <QtGlobal>

namespace KRML_ReportGen {

// A truth value kept the way the archive options are handed on: the 16-bit
// integer 1 for true and 0 for false. Only 1 reads back as true.
class VbBool
{
public:
    VbBool(bool value = false) : m_value(value ? 1 : 0) {}
    VbBool &operator=(bool value)
    {
        m_value = value ? 1 : 0;
        return *this;
    }
    bool get() const { return m_value == 1; }
    qint16 raw() const { return m_value; }

private:
    qint16 m_value;
};

} // namespace KRML_ReportGen
