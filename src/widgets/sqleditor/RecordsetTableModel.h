#pragma once

#include <QAbstractTableModel>
#include <memory>

namespace KRML_ReportGen {

class Recordset;

// The results grid's rows: a recordset's columns and rows, values in the
// text form reports print them in.
class RecordsetTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRecordset(std::shared_ptr<Recordset> recordset);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<Recordset> m_rs;
    mutable int m_position = -1; // the recordset's current row, to move as little as possible
};

} // namespace KRML_ReportGen
