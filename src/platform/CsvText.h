#pragma once

#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// Values as fields of comma-separated text: a field that holds a comma, a
// quote or a line break is quoted, its quotes doubled; the others stand as
// they are. Lines end in CR LF.
class CsvText
{
public:
    static QString field(const QString &text);
    // A value as a program reading the file expects it, whatever the
    // regional settings: numbers with "." and every digit that tells the
    // value, dates as 2024-03-15 or 2024-03-15T08:30:00, truth values as
    // true and false, text as it is.
    static QString raw(const QVariant &value);
};

} // namespace KRML_ReportGen
