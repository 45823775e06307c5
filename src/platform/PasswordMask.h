#pragma once

#include <QString>

namespace KRML_ReportGen {

// Hides the passwords of connection strings in text that is shown or
// printed: the value of every "Password=" and "Pwd=" (keys without regard
// to letter case) becomes "***". Values are read as connection strings
// write them: in double or single quotes (a doubled quote inside), or up to
// the next ";" or the end of the line. Text without such keys is returned
// unchanged, and a value already hidden is left as it is.
class PasswordMask
{
public:
    static QString hide(const QString &text);

    static constexpr const char *Hidden = "***";
};

} // namespace KRML_ReportGen
