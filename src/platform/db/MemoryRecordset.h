#pragma once

#include "Recordset.h"

#include <QList>
#include <QStringList>
#include <QVariant>

namespace KRML_ReportGen {

// A recordset whose rows are all held in memory: what an engine returns after
// fetching a statement's rows, and what a host can build to hand its own data
// to the formula evaluator.
class MemoryRecordset : public Recordset
{
public:
    MemoryRecordset() = default; // closed, no columns
    MemoryRecordset(QStringList names, QList<int> types);

    void appendRow(const QList<QVariant> &values);
    // Replaces the type of a column (engines decide computed columns' types
    // after reading their values).
    void setType(int column, int type);
    const QVariant &valueAt(int row, int column) const;
    int rowCount() const { return m_rowCount; }

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
    QList<QVariant> m_values; // row-major, m_names.size() per row
    int m_rowCount = 0;
    int m_pos = 0; // -1 before the first row (BOF), m_rowCount after the last (EOF)
    bool m_open = false;
};

} // namespace KRML_ReportGen
