#pragma once

#include <QString>

namespace KRML_ReportGen {

class ReportError;

// The sentence a user sees for a provider's error when a statement fails,
// shown in an information box titled "SQL Error".
class SqlErrorMessage
{
public:
    static QString title() { return QStringLiteral("SQL Error"); }
    static constexpr int style = 64;
    static QString supportLine();
    static QString text(qint32 number, const QString &description);
    static QString text(const ReportError &error);
};

} // namespace KRML_ReportGen
