#pragma once

#include "RowData.h"

#include <QByteArray>
#include <QList>
#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace KRML_ReportGen {

// The rows of a SQLite statement as SQLite gave them: one small cell per
// value and the bytes of text and blobs beside them. Fetching is a copy;
// a value is made (typed by its column's declared type) only when read, so
// a report that shows the first rows of a long result converts only those.
// Cells and bytes live in fixed-size blocks: a long result never moves
// what it has already fetched, and freed blocks are easy for the allocator
// to hand out again on the next run.
class SqliteRows : public RowData
{
public:
    SqliteRows(QList<int> types, QList<bool> computed);

    // Copies the statement's current row.
    void fetch(sqlite3_stmt *statement);
    // The type of a computed column: that of its first value, text when all
    // are empty.
    int computedType(int column) const;

    int rowCount() const override { return m_rows; }
    // The memory the rows take so far.
    qint64 bytesHeld() const { return qint64(m_cells.size()) * qint64(CellsPerBlock * sizeof(Cell)) + m_blockBytes; }
    QVariant value(int row, int column) const override;

private:
    struct Cell
    {
        qint32 storage; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB, SQLITE_NULL
        qint32 length;  // text and blobs
        union {
            qint64 integer;
            double real;
            struct
            {
                qint32 block; // in m_blocks
                qint32 offset;
            } at;
        };
    };
    static constexpr size_t CellsPerBlock = 8192;
    static constexpr qsizetype BytesPerBlock = 128 * 1024;

    Cell &newCell();
    const Cell &cell(int row, int column) const;
    const char *bytesOf(const Cell &cell) const;
    void storeBytes(Cell &cell, const char *data, int length);

    QList<int> m_types;
    QList<bool> m_computed;
    int m_columns;
    int m_rows = 0;
    size_t m_cellCount = 0;
    std::vector<std::unique_ptr<Cell[]>> m_cells;
    std::vector<QByteArray> m_blocks;
    qint64 m_blockBytes = 0;
};

} // namespace KRML_ReportGen
