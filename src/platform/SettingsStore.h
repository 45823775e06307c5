#pragma once

#include <QString>

namespace KRML_ReportGen {

// Per-user settings: text values by application, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString getSetting(const QString &appName, const QString &section, const QString &key,
                               const QString &defaultValue = QString()) const = 0;
    virtual void saveSetting(const QString &appName, const QString &section, const QString &key,
                             const QString &value) = 0;
};

} // namespace KRML_ReportGen
