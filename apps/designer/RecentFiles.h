#pragma once

#include <QStringList>

namespace KRML_ReportGen {

class SettingsStore;

// The layout packages opened or saved last, newest first, at most eight,
// kept in the settings store for the next start.
class RecentFiles
{
public:
    static constexpr int Max = 8;

    explicit RecentFiles(SettingsStore &settings);

    QStringList files() const;
    void add(const QString &path);
    void remove(const QString &path);

private:
    void store(const QStringList &files);

    SettingsStore &m_settings;
};

} // namespace KRML_ReportGen
