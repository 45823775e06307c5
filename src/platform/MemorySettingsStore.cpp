#include "MemorySettingsStore.h"

namespace KRML_ReportGen {

QString MemorySettingsStore::path(const QString &appName, const QString &section, const QString &key)
{
    return (appName + QLatin1Char('\x1f') + section + QLatin1Char('\x1f') + key).toLower();
}

QString MemorySettingsStore::getSetting(const QString &appName, const QString &section, const QString &key,
                                        const QString &defaultValue) const
{
    return m_values.value(path(appName, section, key), defaultValue);
}

void MemorySettingsStore::saveSetting(const QString &appName, const QString &section, const QString &key,
                                      const QString &value)
{
    m_values.insert(path(appName, section, key), value);
}

} // namespace KRML_ReportGen
