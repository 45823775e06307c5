#include "MemoryRecordset.h"

#include "ReportError.h"
#include "VariantRows.h"

namespace KRML_ReportGen {

namespace {

ReportError closedError()
{
    return ReportError(Recordset::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
}

ReportError noCurrentError()
{
    return ReportError(Recordset::NoCurrentRecord,
                       QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                      "Requested operation requires a current record."));
}

ReportError itemNotFound()
{
    return ReportError(Recordset::ItemNotFound,
                       QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
}

} // namespace

MemoryRecordset::MemoryRecordset(QStringList names, QList<int> types)
    : m_names(std::move(names)), m_types(std::move(types)), m_open(true)
{
    m_types.resize(m_names.size());
    m_building = std::make_shared<VariantRows>(int(m_names.size()));
    m_rows = m_building;
}

MemoryRecordset::MemoryRecordset(QStringList names, QList<int> types, std::shared_ptr<const RowData> rows)
    : m_names(std::move(names)), m_types(std::move(types)), m_rows(std::move(rows)), m_open(true)
{
    m_types.resize(m_names.size());
}

MemoryRecordset MemoryRecordset::copyOf(Recordset &rows, int maxRows)
{
    QStringList names;
    QList<int> types;
    for (int c = 0; c < rows.fieldCount(); ++c) {
        names << rows.fieldName(c);
        types << rows.fieldType(c);
    }
    MemoryRecordset copy(names, types);
    if (rows.recordCount() == 0)
        return copy;
    for (rows.moveFirst(); !rows.isEOF() && (maxRows < 0 || copy.rowCount() < maxRows); rows.moveNext()) {
        QList<QVariant> values;
        for (int c = 0; c < rows.fieldCount(); ++c)
            values << rows.field(c).value;
        copy.appendRow(values);
    }
    return copy;
}

void MemoryRecordset::appendRow(const QList<QVariant> &values)
{
    if (!m_building)
        throw ReportError(NotUpdatable, QStringLiteral("Current Recordset does not support updating."));
    // Copies share the rows: one that appends gets rows of its own first.
    if (m_building.use_count() > 2) {
        m_building = std::make_shared<VariantRows>(*m_building);
        m_rows = m_building;
    }
    m_building->append(values);
}

int MemoryRecordset::rowCount() const
{
    return m_rows ? m_rows->rowCount() : 0;
}

void MemoryRecordset::setType(int column, int type)
{
    if (column >= 0 && column < m_types.size())
        m_types[column] = type;
}

QVariant MemoryRecordset::valueAt(int row, int column) const
{
    return m_rows->value(row, column);
}

void MemoryRecordset::requireOpen() const
{
    if (!m_open)
        throw closedError();
}

void MemoryRecordset::requireColumn(int index) const
{
    requireOpen();
    if (index < 0 || index >= m_names.size())
        throw itemNotFound();
}

QString MemoryRecordset::fieldName(int index) const
{
    requireColumn(index);
    return m_names[index];
}

int MemoryRecordset::fieldType(int index) const
{
    requireColumn(index);
    return m_types[index];
}

void MemoryRecordset::close()
{
    requireOpen();
    m_open = false;
}

bool MemoryRecordset::isEOF() const
{
    requireOpen();
    return rowCount() == 0 || m_pos >= rowCount();
}

bool MemoryRecordset::isBOF() const
{
    requireOpen();
    return rowCount() == 0 || m_pos < 0;
}

int MemoryRecordset::recordCount() const
{
    requireOpen();
    return rowCount();
}

void MemoryRecordset::moveFirst()
{
    requireOpen();
    m_pos = 0;
}

void MemoryRecordset::moveNext()
{
    requireOpen();
    if (m_pos >= rowCount())
        throw noCurrentError();
    ++m_pos;
}

void MemoryRecordset::moveLast()
{
    requireOpen();
    m_pos = rowCount() == 0 ? 0 : rowCount() - 1;
}

int MemoryRecordset::fieldCount() const
{
    requireOpen();
    return m_names.size();
}

int MemoryRecordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

DbField MemoryRecordset::field(int index) const
{
    requireColumn(index);
    if (m_pos < 0 || m_pos >= rowCount())
        throw noCurrentError();
    return DbField{m_names[index], m_types[index], valueAt(m_pos, index)};
}

DbField MemoryRecordset::field(const QString &name) const
{
    requireOpen();
    const int i = fieldIndex(name);
    if (i < 0)
        throw itemNotFound();
    return field(i);
}

} // namespace KRML_ReportGen
