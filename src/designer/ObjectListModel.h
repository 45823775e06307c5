#pragma once

#include "ObjectRef.h"

#include <QAbstractTableModel>

namespace KRML_ReportGen {

class LayoutPage;

// Every label and picture of the page as a table: which one, its kind, and
// what it shows (a fixed text's caption, a data field's statement.field, a
// formula's text, a picture's size); where it is, as each row's tip. Labels come first, in
// page order, then the pictures. The table follows the page's changes.
class ObjectListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Object, Kind, Content, ColumnCount };

    explicit ObjectListModel(LayoutPage &page, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    ObjectRef objectAt(int row) const;
    // "14.99, 39.68 mm": the object's top-left corner.
    QString position(const ObjectRef &o) const;
    int rowOf(const ObjectRef &o) const;

private:
    void inserted(ObjectRef::Kind kind, int index);
    void removed(ObjectRef::Kind kind, int index);
    void changed(ObjectRef::Kind kind, int index);
    void scheduleReset();
    bool valid(const ObjectRef &o) const;

    LayoutPage &m_page;
    int m_labels = 0;
    int m_pictures = 0;
    bool m_resetPending = false;
};

} // namespace KRML_ReportGen
