#include "ObjectListModel.h"

#include "LabelTag.h"
#include "LayoutPage.h"
#include "LengthText.h"
#include "PropertyTable.h"

#include <QTimer>

namespace KRML_ReportGen {

ObjectListModel::ObjectListModel(LayoutPage &page, QObject *parent)
    : QAbstractTableModel(parent), m_page(page), m_labels(page.labelCount()), m_pictures(page.picCount())
{
    connect(&page, &LayoutPage::labelAdded, this, [this](int i) { inserted(ObjectRef::Label, i); });
    connect(&page, &LayoutPage::picAdded, this, [this](int i) { inserted(ObjectRef::Picture, i); });
    connect(&page, &LayoutPage::labelRemoved, this, [this](int i) { removed(ObjectRef::Label, i); });
    connect(&page, &LayoutPage::picRemoved, this, [this](int i) { removed(ObjectRef::Picture, i); });
    connect(&page, &LayoutPage::labelChanged, this, [this](int i) { changed(ObjectRef::Label, i); });
    connect(&page, &LayoutPage::picChanged, this, [this](int i) { changed(ObjectRef::Picture, i); });
    connect(&page, &LayoutPage::cleared, this, &ObjectListModel::scheduleReset);
}

int ObjectListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_labels + m_pictures;
}

int ObjectListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

ObjectRef ObjectListModel::objectAt(int row) const
{
    if (row < 0 || row >= m_labels + m_pictures)
        return {};
    return row < m_labels ? ObjectRef{ObjectRef::Label, row + 1} : ObjectRef{ObjectRef::Picture, row - m_labels + 1};
}

int ObjectListModel::rowOf(const ObjectRef &o) const
{
    if (o.kind == ObjectRef::Label && o.index >= 1 && o.index <= m_labels)
        return o.index - 1;
    if (o.kind == ObjectRef::Picture && o.index >= 1 && o.index <= m_pictures)
        return m_labels + o.index - 1;
    return -1;
}

bool ObjectListModel::valid(const ObjectRef &o) const
{
    return (o.kind == ObjectRef::Label && o.index <= m_page.labelCount())
           || (o.kind == ObjectRef::Picture && o.index <= m_page.picCount());
}

QVariant ObjectListModel::data(const QModelIndex &index, int role) const
{
    const ObjectRef o = objectAt(index.row());
    if (o.isNull() || !valid(o))
        return {};
    if (role == Qt::ToolTipRole)
        return QStringLiteral("%1, at %2").arg(data(index, Qt::DisplayRole).toString(), position(o));
    if (role != Qt::DisplayRole)
        return {};
    const bool label = o.kind == ObjectRef::Label;
    switch (index.column()) {
    case Object: return label ? QStringLiteral("Label %1").arg(o.index) : QStringLiteral("Picture %1").arg(o.index);
    case Kind: return PropertyTable::kindName(m_page, o);
    case Content: {
        if (!label) {
            const QImage &image = m_page.Pic(o.index).Picture;
            return image.isNull() ? QStringLiteral("(no picture)") : QStringLiteral("%1 x %2 pixels").arg(image.width()).arg(image.height());
        }
        const LayoutLabel &l = m_page.Label(o.index);
        switch (LabelTag::kindOf(l.Tag)) {
        case LabelTag::Kind::DataField: return LabelTag::dataCaption(l.Tag);
        case LabelTag::Kind::Formula: return LabelTag::formulaText(l.Tag);
        default: return l.Caption;
        }
    }
    default: return {};
    }
}

QString ObjectListModel::position(const ObjectRef &o) const
{
    const auto g = o.geometry(m_page);
    return QStringLiteral("%1, %2 mm").arg(LengthText::millimetres(g.left), LengthText::millimetres(g.top));
}

QVariant ObjectListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Object: return QStringLiteral("Object");
    case Kind: return QStringLiteral("Kind");
    case Content: return QStringLiteral("Content");
    default: return {};
    }
}

void ObjectListModel::inserted(ObjectRef::Kind kind, int index)
{
    if (m_resetPending)
        return;
    const int count = kind == ObjectRef::Label ? m_labels : m_pictures;
    if (index == count + 1 && count >= 1) {
        // Appending, as opening a package does thousands of times: one reset
        // after the last one instead of a row each.
        scheduleReset();
        return;
    }
    const int row = kind == ObjectRef::Label ? index - 1 : m_labels + index - 1;
    beginInsertRows(QModelIndex(), row, row);
    (kind == ObjectRef::Label ? m_labels : m_pictures) += 1;
    endInsertRows();
}

void ObjectListModel::removed(ObjectRef::Kind kind, int index)
{
    if (m_resetPending)
        return;
    const int row = kind == ObjectRef::Label ? index - 1 : m_labels + index - 1;
    beginRemoveRows(QModelIndex(), row, row);
    (kind == ObjectRef::Label ? m_labels : m_pictures) -= 1;
    endRemoveRows();
}

void ObjectListModel::changed(ObjectRef::Kind kind, int index)
{
    if (m_resetPending)
        return;
    const int row = rowOf({kind, index});
    if (row >= 0)
        emit dataChanged(this->index(row, 0), this->index(row, ColumnCount - 1));
}

void ObjectListModel::scheduleReset()
{
    if (m_resetPending)
        return;
    m_resetPending = true;
    QTimer::singleShot(0, this, [this] {
        beginResetModel();
        m_labels = m_page.labelCount();
        m_pictures = m_page.picCount();
        m_resetPending = false;
        endResetModel();
    });
}

} // namespace KRML_ReportGen
