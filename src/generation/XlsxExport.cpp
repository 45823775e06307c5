#include "XlsxExport.h"

#include "ExcelNumberFormat.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "Recordset.h"
#include "ReportGenerator.h"
#include "ValueFormat.h"

#include <QMap>
#include <cmath>

namespace KRML_ReportGen {

QList<XlsxSurface::Column> XlsxExport::columnsOf(const LayoutPage &page)
{
    QMap<qint64, double> widest; // left edge to the widest label there
    for (int i = 1; i <= page.labelCount(); ++i) {
        const LayoutLabel &label = page.Label(i);
        if (!label.Visible)
            continue;
        const qint64 left = std::llround(label.Left);
        widest[left] = std::max(widest.value(left), double(label.Width));
    }
    QList<XlsxSurface::Column> columns;
    for (auto it = widest.cbegin(); it != widest.cend(); ++it) {
        const auto next = std::next(it);
        const double width = next == widest.cend() ? it.value() : std::min(it.value(), double(next.key() - it.key()));
        columns.append({double(it.key()), width});
    }
    return columns;
}

XlsxSurface::NumberFormat XlsxExport::numberFormatOf(const LayoutLabel &label, const QLocale &locale)
{
    return ExcelNumberFormat::of(label.Format, locale);
}

QStringList XlsxExport::write(ReportGenerator &generator, const LayoutPage &page, const QString &path, int titleLabel)
{
    XlsxSurface workbook(path, page.Width(), page.Height());
    workbook.setColumns(columnsOf(page));
    workbook.setBoldLabel(titleLabel);
    const QLocale locale = ValueFormat::localeOf(page.extension().Locale);
    for (int i = 1; i <= page.labelCount(); ++i) {
        const XlsxSurface::NumberFormat format = numberFormatOf(page.Label(i), locale);
        if (format.values != 0)
            workbook.setNumberFormat(i, format);
    }
    generator.GenerateOutput(workbook);
    const int rowsInAll = generator.listedRows();
    int rowsDone = 0;
    generator.tellRows(0, rowsInAll);
    for (const ReportGenerator::ListedStatement &statement : generator.listedStatements()) {
        Recordset &rows = *statement.rows;
        QStringList header;
        for (int f = 0; f < rows.fieldCount(); ++f)
            header << rows.fieldName(f);
        workbook.addSheet(statement.name, header);
        if (rows.recordCount() == 0)
            continue;
        QVariantList values;
        for (rows.moveFirst(); !rows.isEOF(); rows.moveNext()) {
            values.clear();
            for (int f = 0; f < rows.fieldCount(); ++f)
                values << rows.field(f).value;
            workbook.addRow(values);
            generator.tellRows(++rowsDone, rowsInAll);
        }
    }
    workbook.save();
    return {path};
}

} // namespace KRML_ReportGen
