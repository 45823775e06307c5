#pragma once

#include "XlsxSurface.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

class LayoutPage;
class ReportGenerator;
struct LayoutLabel;

// A report as an Excel workbook: the sheet "Report" as the report prints
// (XlsxSurface), then one sheet per statement drawn in lists with its
// column names as a header row and every row it gave, typed, for people
// who work on the data rather than read the report.
class XlsxExport
{
public:
    static QStringList write(ReportGenerator &generator, const LayoutPage &page, const QString &path, int titleLabel);

    // The report sheet's columns: one per distinct left edge of the
    // labels, as wide as the widest label there but never past the next
    // edge.
    static QList<XlsxSurface::Column> columnsOf(const LayoutPage &page);
    // The number format a label's cells carry, in Excel's notation, from
    // its Format pattern in the report's locale; empty for the type's own.
    static XlsxSurface::NumberFormat numberFormatOf(const LayoutLabel &label, const QLocale &locale);
};

} // namespace KRML_ReportGen
