#include "ReportDefinition.h"

#include "ParameterMarker.h"

namespace KRML_ReportGen {

void ReportDefinition::clear()
{
    *this = ReportDefinition();
}

int ReportDefinition::addParameter(const QString &marker, const Lookup *lookup)
{
    const int n = ++m_keyCounter;
    m_parameters.append({marker, n});
    if (lookup)
        m_lookups.insert(n, *lookup);
    return n;
}

const ReportDefinition::Lookup *ReportDefinition::lookup(int keyNumber) const
{
    const auto it = m_lookups.constFind(keyNumber);
    return it == m_lookups.constEnd() ? nullptr : &*it;
}

void ReportDefinition::removeParameter(int index)
{
    if (index < 0 || index >= m_parameters.size())
        return;
    m_lookups.remove(m_parameters[index].keyNumber);
    m_parameters.removeAt(index);
}

const ReportDefinition::Statement *ReportDefinition::statement(const QString &name) const
{
    for (const Statement &s : m_statements)
        if (s.name == name)
            return &s;
    return nullptr;
}

clsParameter ReportDefinition::record(const Parameter &parameter) const
{
    clsParameter p;
    p.ParamType = ParameterMarker::typeOf(parameter.marker);
    p.ParameterName = ParameterMarker::nameOf(parameter.marker);
    if (const Lookup *l = lookup(parameter.keyNumber)) {
        p.Mode = l->mode;
        p.DisplayField = l->displayField;
        p.ReturnField = l->returnField;
        p.SQL = l->sql;
    }
    return p;
}

} // namespace KRML_ReportGen
