#pragma once

#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// The text a field value prints as in a report: numbers with "." and up to
// 15 significant digits whatever the locale, dates as 2024-03-15 (with the
// time when there is one), truth values as True and False. The same on
// every machine, so a report looks alike wherever it is rendered.
class ValueText
{
public:
    static QString of(const QVariant &value);
};

} // namespace KRML_ReportGen
