#pragma once

#include "SettingsStore.h"

namespace KRML_ReportGen {

// The user's settings through QSettings: one settings file per application
// name under the organisation "KRML", a group per section.
class QtSettingsStore : public SettingsStore
{
public:
    explicit QtSettingsStore(QString organization = QStringLiteral("KRML"));
    QString getSetting(const QString &appName, const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const override;
    void saveSetting(const QString &appName, const QString &section, const QString &key,
                     const QString &value) override;

private:
    QString m_organization;
};

} // namespace KRML_ReportGen
