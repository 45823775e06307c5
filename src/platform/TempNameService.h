#pragma once

#include <QString>

namespace KRML_ReportGen {

// Hands out new unique paths for temporary files and staging folders.
class TempNameService
{
public:
    virtual ~TempNameService() = default;
    // A path in a temporary folder whose name starts with prefix and ends with
    // extension (".tmp", ".bmp" ...). Nothing exists there yet.
    virtual QString newName(const QString &prefix, const QString &extension) = 0;
};

} // namespace KRML_ReportGen
