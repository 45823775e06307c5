#pragma once

#include "Recordset.h"
#include "RowData.h"

#include <QList>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace KRML_ReportGen {

class VariantRows;

// A recordset whose rows are all at hand: what an engine returns after
// fetching a statement's rows, and what a host can build to hand its own
// data to the formula evaluator. Copies share the rows and keep a cursor of
// their own.
class MemoryRecordset : public Recordset
{
public:
    MemoryRecordset() = default; // closed, no columns
    // An open recordset to be filled with appendRow.
    MemoryRecordset(QStringList names, QList<int> types);
    // An open recordset over rows an engine has fetched.
    MemoryRecordset(QStringList names, QList<int> types, std::shared_ptr<const RowData> rows);

    // The rows of another recordset from its first, up to maxRows (all
    // when negative); rows is left after the last row copied.
    static MemoryRecordset copyOf(Recordset &rows, int maxRows = -1);

    void appendRow(const QList<QVariant> &values);
    // Replaces the type of a column (engines decide computed columns' types
    // after reading their values).
    void setType(int column, int type);
    QVariant valueAt(int row, int column) const;
    int rowCount() const;

    int state() const override { return m_open ? Open : Closed; }
    void close() override;
    bool isEOF() const override;
    bool isBOF() const override;
    int recordCount() const override;
    void moveFirst() override;
    void moveNext() override;
    void moveLast() override;
    int fieldCount() const override;
    QString fieldName(int index) const override;
    int fieldType(int index) const override;
    DbField field(int index) const override;
    DbField field(const QString &name) const override;
    int fieldIndex(const QString &name) const override;

private:
    void requireOpen() const;
    void requireColumn(int index) const;

    QStringList m_names;
    QList<int> m_types;
    std::shared_ptr<VariantRows> m_building; // while filled by appendRow
    std::shared_ptr<const RowData> m_rows;
    int m_pos = 0; // -1 before the first row (BOF), rowCount after the last (EOF)
    bool m_open = false;
};

} // namespace KRML_ReportGen
