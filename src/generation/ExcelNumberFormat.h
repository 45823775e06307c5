#pragma once

#include "XlsxSurface.h"

#include <QLocale>
#include <QString>

namespace KRML_ReportGen {

// A label's Format pattern (see ValueFormat) as the number format code of
// a workbook cell that shows the same text in Excel and LibreOffice, and
// the kinds of value it is for: a pattern that does not fit a value makes
// the report print the value unformatted, so such a cell keeps its type's
// default.
//
// - Number patterns keep their decimals, thousands and percent ("#,##0.00",
//   "0.0%", "Fixed" 0.00, "Standard" #,##0.00, "Percent" 0.00%); they fit
//   numbers and truth values (-1 and 0).
// - "Currency" takes the symbol, its place and the negative form of the
//   report's locale; numbers only.
// - "Yes/No", "True/False", "On/Off": the first word for anything but 0.
// - Date patterns: "nn" minutes become "mm"; literal characters are
//   escaped, since Excel reads "/" and ":" as the viewer's separators;
//   English month and day names are pinned with the [$-409] language tag.
//   "Short Date" and "Long Date" follow the locale. Parts Excel has no code
//   for (quarter, day of the year, week, weekday number, minutes with
//   neither an hour before nor seconds after them) leave the pattern
//   without a code.
// - Text patterns ("@", "&", "!", "<", ">"): Excel's text format "@"; the
//   cell holds the text the report prints, as Excel's format has no
//   placeholders.
//
// Decimal and thousands separators are the viewer's in Excel: its number
// codes always write "." and ",".
class ExcelNumberFormat
{
public:
    static XlsxSurface::NumberFormat of(const QString &pattern, const QLocale &locale);

private:
    static XlsxSurface::NumberFormat currency(const QLocale &locale);
    static QString dateCode(const QString &pattern);
    static QString qtDateCode(const QString &qtFormat);
    static QString literal(const QString &text);
    static QString languageTag(const QLocale &locale);
};

} // namespace KRML_ReportGen
