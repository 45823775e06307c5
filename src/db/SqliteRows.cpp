#include "SqliteRows.h"

#include "AdoType.h"
#include "JetDateText.h"
#include "VbConvert.h"

#include <QDateTime>
#include <charconv>
#include <cmath>
#include <sqlite3.h>

namespace KRML_ReportGen {

namespace {

double shortestSingle(double stored)
{
    const float single = float(stored);
    if (!std::isfinite(single))
        return stored;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, single);
    double value = stored;
    std::from_chars(text, written.ptr, value);
    return value;
}

} // namespace

SqliteRows::SqliteRows(QList<int> types, QList<bool> computed)
    : m_types(std::move(types)), m_computed(std::move(computed)), m_columns(int(m_types.size()))
{
}

SqliteRows::Cell &SqliteRows::newCell()
{
    if (m_cellCount % CellsPerBlock == 0)
        m_cells.push_back(std::make_unique<Cell[]>(CellsPerBlock));
    Cell &c = m_cells.back()[m_cellCount % CellsPerBlock];
    ++m_cellCount;
    return c;
}

const SqliteRows::Cell &SqliteRows::cell(int row, int column) const
{
    const size_t index = size_t(row) * m_columns + column;
    return m_cells[index / CellsPerBlock][index % CellsPerBlock];
}

const char *SqliteRows::bytesOf(const Cell &cell) const
{
    return m_blocks[size_t(cell.at.block)].constData() + cell.at.offset;
}

void SqliteRows::storeBytes(Cell &cell, const char *data, int length)
{
    // A value that does not fit the current block starts a new one (of its
    // own size when it is larger than a block).
    if (m_blocks.empty() || m_blocks.back().size() + length > m_blocks.back().capacity()) {
        QByteArray block;
        block.reserve(std::max<qsizetype>(BytesPerBlock, length));
        m_blockBytes += block.capacity();
        m_blocks.push_back(std::move(block));
    }
    QByteArray &block = m_blocks.back();
    cell.at.block = qint32(m_blocks.size() - 1);
    cell.at.offset = qint32(block.size());
    block.append(data, length);
}

void SqliteRows::fetch(sqlite3_stmt *st)
{
    for (int c = 0; c < m_columns; ++c) {
        Cell &cell = newCell();
        cell.storage = sqlite3_column_type(st, c);
        cell.length = 0;
        switch (cell.storage) {
        case SQLITE_INTEGER:
            cell.integer = sqlite3_column_int64(st, c);
            break;
        case SQLITE_FLOAT:
            cell.real = sqlite3_column_double(st, c);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const void *data = cell.storage == SQLITE_TEXT ? static_cast<const void *>(sqlite3_column_text(st, c))
                                                           : sqlite3_column_blob(st, c);
            cell.length = sqlite3_column_bytes(st, c);
            storeBytes(cell, static_cast<const char *>(data), cell.length);
            break;
        }
        default:
            cell.integer = 0;
            break;
        }
    }
    ++m_rows;
}

int SqliteRows::computedType(int column) const
{
    for (int r = 0; r < m_rows; ++r) {
        switch (cell(r, column).storage) {
        case SQLITE_INTEGER:
            return (cell(r, column).integer >= INT32_MIN && cell(r, column).integer <= INT32_MAX) ? AdoType::Integer
                                                                                                   : AdoType::BigInt;
        case SQLITE_FLOAT:
            return AdoType::Double;
        case SQLITE_TEXT:
            return AdoType::VarWChar;
        case SQLITE_BLOB:
            return AdoType::LongVarBinary;
        default:
            break;
        }
    }
    return AdoType::VarWChar;
}

QVariant SqliteRows::value(int row, int column) const
{
    const Cell &cell = this->cell(row, column);
    const char *bytes = (cell.storage == SQLITE_TEXT || cell.storage == SQLITE_BLOB) ? bytesOf(cell) : nullptr;
    const auto natural = [&]() -> QVariant {
        switch (cell.storage) {
        case SQLITE_INTEGER:
            if (cell.integer >= INT32_MIN && cell.integer <= INT32_MAX)
                return QVariant(int(cell.integer));
            return QVariant(qlonglong(cell.integer));
        case SQLITE_FLOAT:
            return cell.real;
        case SQLITE_BLOB:
            return QByteArray(bytes, cell.length);
        case SQLITE_TEXT:
            return QString::fromUtf8(bytes, cell.length);
        default:
            return QVariant();
        }
    };
    if (cell.storage == SQLITE_NULL)
        return QVariant();
    if (m_computed[column])
        return natural();

    // The value as its column's declared type gives it to reports. SQLite
    // lets a column hold anything; what does not fit is handed over as stored.
    const bool number = cell.storage == SQLITE_INTEGER || cell.storage == SQLITE_FLOAT;
    const double asDouble = cell.storage == SQLITE_INTEGER ? double(cell.integer) : cell.real;
    switch (m_types[column]) {
    case AdoType::Integer:
    case AdoType::SmallInt:
    case AdoType::UnsignedTinyInt:
    case AdoType::BigInt:
        break;
    case AdoType::Single:
        // A Single is the shortest decimal that reads back as its 32-bit
        // value, as it prints and as a server gives a real: 0.15, not the
        // 0.15000000596 of the value widened, so that totals over it agree.
        if (number)
            return shortestSingle(asDouble);
        break;
    case AdoType::Double:
    case AdoType::Numeric:
        if (number)
            return asDouble;
        break;
    case AdoType::Currency:
        // Currency holds four decimal places.
        if (number)
            return std::round(asDouble * 10000.0) / 10000.0;
        break;
    case AdoType::Boolean:
        if (number)
            return asDouble != 0.0;
        if (cell.storage == SQLITE_TEXT) {
            const QString t = QString::fromUtf8(bytes, cell.length).trimmed().toLower();
            if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("-1") || t == QLatin1String("1"))
                return true;
            if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("0"))
                return false;
        }
        break;
    case AdoType::Date:
        if (cell.storage == SQLITE_TEXT) {
            const QVariant d = JetDateText::parse(bytes, cell.length);
            if (d.isValid())
                return d;
        }
        break;
    case AdoType::VarWChar:
    case AdoType::LongVarWChar:
        if (cell.storage == SQLITE_INTEGER)
            return QString::number(cell.integer);
        if (cell.storage == SQLITE_FLOAT)
            return VbConvert::formatDouble(cell.real);
        break;
    default:
        break;
    }
    return natural();
}

} // namespace KRML_ReportGen
