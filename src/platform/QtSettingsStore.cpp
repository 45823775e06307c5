#include "QtSettingsStore.h"

#include <QSettings>

namespace KRML_ReportGen {

QtSettingsStore::QtSettingsStore(QString organization)
    : m_organization(std::move(organization))
{
}

QString QtSettingsStore::getSetting(const QString &appName, const QString &section, const QString &key,
                                    const QString &defaultValue) const
{
    QSettings s(m_organization, appName);
    const QVariant v = s.value(section + QLatin1Char('/') + key);
    return v.isValid() ? v.toString() : defaultValue;
}

void QtSettingsStore::saveSetting(const QString &appName, const QString &section, const QString &key,
                                  const QString &value)
{
    QSettings s(m_organization, appName);
    s.setValue(section + QLatin1Char('/') + key, value);
}

} // namespace KRML_ReportGen
