#pragma once

#include "SettingsStore.h"

#include <QHash>

namespace KRML_ReportGen {

// Settings held in memory: for hosts that keep their own and for tests.
class MemorySettingsStore : public SettingsStore
{
public:
    QString getSetting(const QString &appName, const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const override;
    void saveSetting(const QString &appName, const QString &section, const QString &key,
                     const QString &value) override;

private:
    static QString path(const QString &appName, const QString &section, const QString &key);
    QHash<QString, QString> m_values;
};

} // namespace KRML_ReportGen
