#include "RecentFiles.h"

#include "SettingsStore.h"

#include <QFileInfo>

namespace KRML_ReportGen {

namespace {
const QString kApp = QStringLiteral("Report Designer");
const QString kSection = QStringLiteral("Recent Files");
} // namespace

RecentFiles::RecentFiles(SettingsStore &settings) : m_settings(settings) {}

QStringList RecentFiles::files() const
{
    QStringList out;
    for (int i = 1; i <= Max; ++i) {
        const QString f = m_settings.getSetting(kApp, kSection, QStringLiteral("File%1").arg(i));
        if (!f.isEmpty() && !out.contains(f))
            out << f;
    }
    return out;
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, Max));
}

void RecentFiles::remove(const QString &path)
{
    QStringList list = files();
    list.removeAll(QFileInfo(path).absoluteFilePath());
    list.removeAll(path);
    store(list);
}

void RecentFiles::store(const QStringList &files)
{
    for (int i = 1; i <= Max; ++i)
        m_settings.saveSetting(kApp, kSection, QStringLiteral("File%1").arg(i), i <= files.size() ? files[i - 1] : QString());
}

} // namespace KRML_ReportGen
