#pragma once

#include "MeasuringSurface.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace KRML_ReportGen {

// An Excel workbook written through libxlsxwriter, one row at a time
// (its constant-memory mode: a long report never sits in memory whole).
//
// The first sheet, "Report", is the report laid out on a grid: one column
// per left edge of the labels, one row per printed line, page breaks where
// the report's pages end. A line of a data list is a typed cell (numbers
// as numbers, dates as dates, truth values as truth values); fixed texts
// and formulas are text. Bold labels (and the title) are bold. Further
// sheets hold plain rows, added after the report with addSheet/addRow.
//
// The file appears (or replaces an older one) only when save() finishes
// the workbook; a surface destroyed before leaves nothing behind.
class XlsxSurface : public MeasuringSurface
{
public:
    XlsxSurface(QString fileName, double widthTwips, double heightTwips);
    ~XlsxSurface() override;

    struct Column
    {
        double left = 0;  // twips
        double width = 0; // twips
    };
    // The report sheet's columns, by left edge; set before drawing.
    void setColumns(const QList<Column> &columns);
    // A label printed bold whatever its font (the report's title).
    void setBoldLabel(int label) { m_boldLabel = label; }
    // The number format of a label's cells, in Excel's notation, and the
    // values it is for. A value of another kind takes its type's default
    // (General, a date, a date and time), as the report prints it
    // unformatted. Truth values under a number format are written as the
    // report's numbers for them (-1 and 0): Excel shows no format on its
    // own truth values. Text cells hold the text the report prints.
    struct NumberFormat
    {
        enum Values { Numbers = 1, TruthValues = 2, Dates = 4, Texts = 8 };
        QString code;
        int values = 0; // Values or'ed
    };
    void setNumberFormat(int label, const NumberFormat &format) { m_labelFormats.insert(label, format); }

    Kind kind() const override { return Kind::Printer; }
    void setPrintSource(const PrintSource &source) override { m_source = source; }
    void Print(const QString &text) override;
    void NewPage() override;
    void EndDoc() override;

    // A sheet of plain rows after the report: its name (made fit for a
    // sheet: at most 31 characters, none of []:*?/\, unique) and a bold
    // header row.
    void addSheet(const QString &name, const QStringList &header);
    void addRow(const QVariantList &values);
    // Writes the workbook and puts it in place.
    void save();

    // Rows of the report sheet so far, and the rows where its pages start.
    int reportRows() const { return m_nextRow; }
    const std::vector<quint32> &pageBreaks() const { return m_breaks; }

private:
    struct Cell
    {
        qint64 y;
        int column;
        int label;
        bool list;
        bool bold;
        bool wrap; // a text that grows: the spreadsheet wraps it within the column
        QString text;
        QVariant value;
    };
    void flushPage();
    int columnFor(double left) const;
    lxw_format *formatFor(const QString &numberFormat, bool bold, bool wrap = false);
    void writeCell(lxw_worksheet *sheet, quint32 row, int column, const QVariant &value, const QString &numberFormat, bool bold,
                   bool wrap = false);
    void writeListCell(quint32 row, const Cell &cell);
    void check(int error, const QString &what) const;
    QString sheetName(const QString &wanted) const;

    QString m_fileName;
    QString m_partName; // the workbook as it is written, beside the file
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_report = nullptr;
    lxw_worksheet *m_sheet = nullptr; // the plain sheet rows go to
    quint32 m_sheetRow = 0;
    QStringList m_sheetNames;
    QMap<qint64, int> m_columns; // left edge (twips) to column
    QHash<QString, lxw_format *> m_formats;
    QHash<int, NumberFormat> m_labelFormats;
    int m_boldLabel = -1;
    PrintSource m_source;
    std::vector<Cell> m_page;
    int m_nextRow = 0;
    std::vector<quint32> m_breaks;
    std::string m_tempFolder;
};

} // namespace KRML_ReportGen
