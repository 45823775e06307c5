#include "RecordsetTableModel.h"

#include "Recordset.h"
#include "ValueText.h"

namespace KRML_ReportGen {

void RecordsetTableModel::setRecordset(std::shared_ptr<Recordset> recordset)
{
    beginResetModel();
    m_rs = std::move(recordset);
    m_position = -1;
    endResetModel();
}

int RecordsetTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_rs || m_rs->state() != Recordset::Open ? 0 : m_rs->recordCount();
}

int RecordsetTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_rs || m_rs->state() != Recordset::Open ? 0 : m_rs->fieldCount();
}

QVariant RecordsetTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !m_rs)
        return QVariant();
    // Recordsets move forwards and to the start: walk to the row wanted.
    if (m_position < 0 || index.row() < m_position) {
        m_rs->moveFirst();
        m_position = 0;
    }
    while (m_position < index.row() && !m_rs->isEOF()) {
        m_rs->moveNext();
        ++m_position;
    }
    if (m_rs->isEOF())
        return QVariant();
    return ValueText::of(m_rs->field(index.column()).value);
}

QVariant RecordsetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_rs)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < m_rs->fieldCount() ? m_rs->fieldName(section) : QVariant();
    return section + 1;
}

} // namespace KRML_ReportGen
