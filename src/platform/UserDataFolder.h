#pragma once

#include <QString>

namespace KRML_ReportGen {

// Where a standalone program keeps its working folder (rdAppPath, with the
// working files under Temp): the user's data folder for the application
// (QStandardPaths::AppDataLocation, named after the application), created
// when it is missing. Not the current folder, which may be anything,
// read-only or shared.
class UserDataFolder
{
public:
    // Empty when the folder cannot be made.
    static QString path();
};

} // namespace KRML_ReportGen
