#include "XlsxSurface.h"

#include "DurableFile.h"
#include "ReportError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <xlsxwriter.h>

namespace KRML_ReportGen {

namespace {

constexpr int kMaxText = 32767; // characters in one cell

// Excel's column width is in characters of its default font: about seven
// pixels each, plus five of padding; a pixel is 15 twips.
double columnWidth(double twips)
{
    return std::max(1.0, (twips / 15.0 - 5.0) / 7.0);
}

} // namespace

XlsxSurface::XlsxSurface(QString fileName, double widthTwips, double heightTwips)
    : MeasuringSurface(widthTwips, heightTwips), m_fileName(std::move(fileName))
{
    const QFileInfo target(m_fileName);
    // libxlsxwriter creates the file only when it is closed: a folder that
    // cannot take it is said before the report runs.
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        throw ReportError(ReportError::PathFileAccessError,
                          QStringLiteral("The workbook could not be written: '%1' (%2)")
                              .arg(m_fileName, folder.isDir() ? QStringLiteral("the folder cannot be written to")
                                                              : QStringLiteral("no such folder")));
    // Named as the project's part files are, so that one a killed process
    // left behind is cleared like theirs.
    m_partName = m_fileName + QStringLiteral(".part.%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    // Rows go to temporary files beside the workbook until it is saved.
    m_tempFolder = QFile::encodeName(target.absolutePath()).toStdString();
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_tempFolder.data();
    m_workbook = workbook_new_opt(QFile::encodeName(m_partName).constData(), &options);
    if (!m_workbook)
        throw ReportError(ReportError::PathFileAccessError, QStringLiteral("The workbook could not be written: '%1'").arg(m_fileName));
    m_report = workbook_add_worksheet(m_workbook, "Report");
    m_sheetNames << QStringLiteral("Report");
}

XlsxSurface::~XlsxSurface()
{
    if (m_workbook) {
        // Abandoned: libxlsxwriter only lets go of a workbook by writing it.
        workbook_close(m_workbook);
        QFile::remove(m_partName);
    }
}

void XlsxSurface::check(int error, const QString &what) const
{
    if (error != LXW_NO_ERROR)
        throw ReportError(ReportError::PathFileAccessError, QStringLiteral("The workbook could not be written: '%1' (%2: %3)")
                                                                .arg(m_fileName, what, QString::fromUtf8(lxw_strerror(lxw_error(error)))));
}

void XlsxSurface::setColumns(const QList<Column> &columns)
{
    m_columns.clear();
    for (int i = 0; i < columns.size() && i < LXW_COL_MAX; ++i) {
        m_columns.insert(std::llround(columns[i].left), i);
        check(worksheet_set_column(m_report, lxw_col_t(i), lxw_col_t(i), columnWidth(columns[i].width), nullptr),
              QStringLiteral("column widths"));
    }
}

int XlsxSurface::columnFor(double left) const
{
    if (m_columns.isEmpty())
        return 0;
    // The column whose edge lies at or left of the text's frame.
    auto it = m_columns.upperBound(std::llround(left));
    if (it == m_columns.begin())
        return it.value();
    return std::prev(it).value();
}

lxw_format *XlsxSurface::formatFor(const QString &numberFormat, bool bold, bool wrap)
{
    if (numberFormat.isEmpty() && !bold && !wrap)
        return nullptr;
    const QString key = (bold ? QStringLiteral("b") : QString()) + (wrap ? QStringLiteral("w|") : QStringLiteral("|")) + numberFormat;
    if (lxw_format *known = m_formats.value(key))
        return known;
    lxw_format *format = workbook_add_format(m_workbook);
    if (bold)
        format_set_bold(format);
    if (wrap)
        format_set_text_wrap(format);
    if (!numberFormat.isEmpty())
        format_set_num_format(format, numberFormat.toUtf8().constData());
    m_formats.insert(key, format);
    return format;
}

void XlsxSurface::writeCell(lxw_worksheet *sheet, quint32 row, int column, const QVariant &value, const QString &numberFormat,
                            bool bold, bool wrap)
{
    if (value.isNull())
        return;
    const auto r = lxw_row_t(row);
    const auto c = lxw_col_t(column);
    int error = LXW_NO_ERROR;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        error = worksheet_write_boolean(sheet, r, c, value.toBool() ? 1 : 0, formatFor(numberFormat, bold));
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        error = worksheet_write_number(sheet, r, c, value.toDouble(), formatFor(numberFormat, bold));
        break;
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDateTime at = value.metaType().id() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
        // Excel's dates start in 1900; earlier ones stay text.
        if (!at.isValid() || at.date().year() < 1900 || at.date().year() > 9999) {
            writeCell(sheet, row, column, value.toString(), QString(), bold);
            return;
        }
        const bool hasTime = at.time() != QTime(0, 0);
        lxw_datetime when = {at.date().year(), at.date().month(), at.date().day(), at.time().hour(), at.time().minute(),
                             at.time().second() + at.time().msec() / 1000.0};
        const QString format = !numberFormat.isEmpty() ? numberFormat
                               : hasTime               ? QStringLiteral("yyyy-mm-dd hh:mm:ss")
                                                       : QStringLiteral("yyyy-mm-dd");
        error = worksheet_write_datetime(sheet, r, c, &when, formatFor(format, bold));
        break;
    }
    default: {
        const QString text = value.toString().left(kMaxText);
        if (text.isEmpty())
            return;
        error = worksheet_write_string(sheet, r, c, text.toUtf8().constData(), formatFor(numberFormat, bold, wrap));
        break;
    }
    }
    check(error, QStringLiteral("row %1").arg(row + 1));
}

void XlsxSurface::writeListCell(quint32 row, const Cell &cell)
{
    using F = NumberFormat;
    const NumberFormat format = m_labelFormats.value(cell.label);
    const auto code = [&format](int values) { return format.values & values ? format.code : QString(); };
    const int type = cell.value.metaType().id();
    if (format.values & F::Texts || type == QMetaType::QString || type == QMetaType::QByteArray) {
        // Text as it prints: a pattern may have filled, cut or cased it.
        writeCell(m_report, row, cell.column, cell.text, code(F::Texts), cell.bold, cell.wrap);
    } else if (type == QMetaType::Bool && format.values & F::TruthValues) {
        writeCell(m_report, row, cell.column, cell.value.toBool() ? -1.0 : 0.0, format.code, cell.bold);
    } else if (type == QMetaType::Bool) {
        writeCell(m_report, row, cell.column, cell.value, QString(), cell.bold);
    } else if (type == QMetaType::QDate || type == QMetaType::QDateTime) {
        writeCell(m_report, row, cell.column, cell.value, code(F::Dates), cell.bold);
    } else {
        writeCell(m_report, row, cell.column, cell.value, code(F::Numbers), cell.bold);
    }
}

void XlsxSurface::Print(const QString &text)
{
    // A text that grows over several lines is one cell holding all of it,
    // wrapped by the spreadsheet: its further lines add nothing.
    const bool grown = !m_source.grownText.isNull();
    if (!text.isEmpty() && !m_source.continued && CurrentY() < Height() && CurrentX() < Width()) {
        m_page.push_back({std::llround(CurrentY()), columnFor(m_source.left), m_source.label, m_source.list,
                          Font().bold || m_source.label == m_boldLabel, grown, grown ? m_source.grownText : text,
                          m_source.value});
    }
    m_source = PrintSource();
    MeasuringSurface::Print(text);
}

void XlsxSurface::flushPage()
{
    // Top to bottom, left to right; the lines of one height share a row.
    std::stable_sort(m_page.begin(), m_page.end(), [](const Cell &a, const Cell &b) {
        return a.y != b.y ? a.y < b.y : a.column < b.column;
    });
    if (m_nextRow > 0 && !m_page.empty())
        m_breaks.push_back(quint32(m_nextRow));
    for (size_t i = 0; i < m_page.size();) {
        if (m_nextRow >= LXW_ROW_MAX)
            throw ReportError(ReportError::PathFileAccessError,
                              QStringLiteral("The workbook could not be written: '%1' (the report has more lines than a sheet's "
                                             "1,048,576 rows)")
                                  .arg(m_fileName));
        const qint64 y = m_page[i].y;
        size_t end = i;
        while (end < m_page.size() && m_page[end].y == y)
            ++end;
        for (size_t k = i; k < end; ++k) {
            const Cell &cell = m_page[k];
            // Two texts in one cell (labels that share an edge and a line)
            // are kept side by side.
            QString joined = cell.text;
            size_t last = k;
            while (last + 1 < end && m_page[last + 1].column == cell.column)
                joined += QLatin1Char(' ') + m_page[++last].text;
            if (cell.list && !cell.value.isNull() && last == k)
                writeListCell(quint32(m_nextRow), cell);
            else
                writeCell(m_report, quint32(m_nextRow), cell.column, joined, QString(), cell.bold, cell.wrap);
            k = last;
        }
        ++m_nextRow;
        i = end;
    }
    m_page.clear();
}

void XlsxSurface::NewPage()
{
    flushPage();
    MeasuringSurface::NewPage();
}

void XlsxSurface::EndDoc()
{
    flushPage();
    if (m_breaks.empty())
        return;
    // Excel keeps at most 1,023 manual breaks; later pages break by height.
    std::vector<lxw_row_t> breaks(m_breaks.begin(), m_breaks.begin() + std::min<size_t>(m_breaks.size(), LXW_BREAKS_MAX));
    breaks.push_back(0);
    check(worksheet_set_h_pagebreaks(m_report, breaks.data()), QStringLiteral("page breaks"));
}

QString XlsxSurface::sheetName(const QString &wanted) const
{
    static const QRegularExpression unfit(QStringLiteral("[\\[\\]:*?/\\\\]"));
    QString base = wanted;
    base.replace(unfit, QStringLiteral("_"));
    base = base.trimmed().left(LXW_SHEETNAME_MAX);
    if (base.isEmpty() || base.startsWith(QLatin1Char('\'')))
        base = QStringLiteral("Data");
    QString name = base;
    for (int n = 2; m_sheetNames.contains(name, Qt::CaseInsensitive); ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        name = base.left(LXW_SHEETNAME_MAX - suffix.size()) + suffix;
    }
    return name;
}

void XlsxSurface::addSheet(const QString &name, const QStringList &header)
{
    const QString fit = sheetName(name);
    m_sheet = workbook_add_worksheet(m_workbook, fit.toUtf8().constData());
    if (!m_sheet)
        check(LXW_ERROR_SHEETNAME_ALREADY_USED, fit);
    m_sheetNames << fit;
    m_sheetRow = 0;
    QVariantList names;
    for (const QString &h : header)
        names << h;
    for (int c = 0; c < names.size() && c < LXW_COL_MAX; ++c)
        writeCell(m_sheet, 0, c, names[c], QString(), true);
    m_sheetRow = 1;
}

void XlsxSurface::addRow(const QVariantList &values)
{
    if (!m_sheet || m_sheetRow >= LXW_ROW_MAX)
        return;
    for (int c = 0; c < values.size() && c < LXW_COL_MAX; ++c)
        writeCell(m_sheet, m_sheetRow, c, values[c], QString(), false);
    ++m_sheetRow;
}

void XlsxSurface::save()
{
    lxw_workbook *workbook = m_workbook;
    m_workbook = nullptr;
    const int error = workbook_close(workbook);
    if (error != LXW_NO_ERROR) {
        QFile::remove(m_partName);
        check(error, QStringLiteral("saving"));
    }
    // The finished archive replaces an older file in one step, once it is
    // on the disk.
    QFile part(m_partName);
    const bool read = part.open(QIODevice::ReadOnly);
    const QByteArray bytes = read ? part.readAll() : QByteArray();
    part.close();
    QFile::remove(m_partName);
    if (!read)
        throw ReportError(ReportError::PathFileAccessError, QStringLiteral("The workbook could not be written: '%1'").arg(m_fileName));
    DurableFile::write(m_fileName, bytes);
}

} // namespace KRML_ReportGen
