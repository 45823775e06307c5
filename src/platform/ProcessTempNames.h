#pragma once

#include "TempNameService.h"

#include <QTemporaryDir>
#include <memory>

namespace KRML_ReportGen {

// Temporary names in a private folder of this process. The folder and
// whatever was left in it are removed when the service is destroyed. The
// process holds a lock on a file in it while it lives, so that the folders
// of processes that were killed can be told from those still in use: they
// are removed when the next service starts, once they are a minute old.
class ProcessTempNames : public TempNameService
{
public:
    ProcessTempNames();
    ~ProcessTempNames() override;

    QString newName(const QString &prefix, const QString &extension) override;
    QString folder() const;

    // Removes the private folders in parent whose owners are gone and that
    // were last touched more than maxAgeSeconds ago; returns how many.
    static int removeStaleFolders(const QString &parent, int maxAgeSeconds = 60);

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    int m_lock = -1;
    quint32 m_counter = 0;
};

} // namespace KRML_ReportGen
