#include "ModuleState.h"

#include "PathNames.h"

namespace KRML_ReportGen {

ModuleState &ModuleState::current()
{
    thread_local ModuleState state;
    return state;
}

clsData &ModuleState::data()
{
    if (!m_data)
        m_data = std::make_unique<clsData>();
    return *m_data;
}

std::shared_ptr<VariantCollection> ModuleState::ParamFieldCollection()
{
    if (!m_paramFields)
        m_paramFields = std::make_shared<VariantCollection>();
    return m_paramFields;
}

void ModuleState::setParamFieldCollection(std::shared_ptr<VariantCollection> collection)
{
    m_paramFields = std::move(collection);
}

std::shared_ptr<VariantCollection> ModuleState::ParamValueCollection()
{
    if (!m_paramValues)
        m_paramValues = std::make_shared<VariantCollection>();
    return m_paramValues;
}

void ModuleState::setParamValueCollection(std::shared_ptr<VariantCollection> collection)
{
    m_paramValues = std::move(collection);
}

std::shared_ptr<ParameterCollection> ModuleState::parameters()
{
    if (!m_parameters)
        m_parameters = std::make_shared<ParameterCollection>();
    return m_parameters;
}

QString ModuleState::tempFolder() const
{
    return PathNames::join(m_rdAppPath, QStringLiteral("Temp"));
}

QString ModuleState::workingFile(const QString &name) const
{
    return PathNames::resolve(PathNames::join(tempFolder(), name));
}

void ModuleState::reset()
{
    *this = ModuleState();
}

} // namespace KRML_ReportGen
