#pragma once

#include "TempNameService.h"

#include <QTemporaryDir>
#include <memory>

namespace KRML_ReportGen {

// Temporary names in a private folder of this process. The folder and
// whatever was left in it are removed when the service is destroyed.
class ProcessTempNames : public TempNameService
{
public:
    ProcessTempNames();
    ~ProcessTempNames() override;

    QString newName(const QString &prefix, const QString &extension) override;
    QString folder() const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    quint32 m_counter = 0;
};

} // namespace KRML_ReportGen
