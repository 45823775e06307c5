#include "ObjectListPanel.h"

#include "DesignerCommands.h"
#include "ObjectListModel.h"
#include "Selection.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace KRML_ReportGen {

ObjectListPanel::ObjectListPanel(LayoutPage &page, DesignerCommands &commands, QWidget *parent)
    : QWidget(parent), m_commands(commands), m_model(new ObjectListModel(page, this)), m_proxy(new QSortFilterProxyModel(this))
{
    setObjectName(QStringLiteral("objectList"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("txtObjectFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter"));
    m_filter->setClearButtonEnabled(true);
    layout->addWidget(m_filter);
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setFilterKeyColumn(-1);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("lstObjects"));
    m_table->setModel(m_proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    // Columns as wide as their usual contents; the text takes what is left.
    QHeaderView *header = m_table->horizontalHeader();
    header->setStretchLastSection(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    const QFontMetrics fm = m_table->fontMetrics();
    m_table->setColumnWidth(ObjectListModel::Object, fm.horizontalAdvance(QStringLiteral("Picture 0000")) + 12);
    m_table->setColumnWidth(ObjectListModel::Kind, fm.horizontalAdvance(QStringLiteral("Fixed text")) + 12);
    layout->addWidget(m_table, 1);

    connect(m_filter, &QLineEdit::textChanged, m_proxy, &QSortFilterProxyModel::setFilterFixedString);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ObjectListPanel::toPage);
    connect(&commands.selection(), &Selection::changed, this, &ObjectListPanel::fromPage);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ObjectListPanel::fromPage);
}

void ObjectListPanel::toPage()
{
    if (m_syncing)
        return;
    QList<ObjectRef> chosen;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        chosen.append(m_model->objectAt(m_proxy->mapToSource(index).row()));
    std::sort(chosen.begin(), chosen.end(),
              [](const ObjectRef &a, const ObjectRef &b) { return a.kind != b.kind ? a.kind < b.kind : a.index < b.index; });
    m_syncing = true;
    m_commands.selection().set(chosen);
    m_syncing = false;
}

void ObjectListPanel::fromPage()
{
    if (m_syncing)
        return;
    m_syncing = true;
    QItemSelection rows;
    for (const ObjectRef &o : m_commands.selection().objects()) {
        const int row = m_model->rowOf(o);
        if (row < 0)
            continue;
        const QModelIndex at = m_proxy->mapFromSource(m_model->index(row, 0));
        if (at.isValid())
            rows.select(at, at.siblingAtColumn(ObjectListModel::ColumnCount - 1));
    }
    m_table->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    const ObjectRef primary = m_commands.selection().primary();
    if (!primary.isNull() && m_model->rowOf(primary) >= 0)
        m_table->scrollTo(m_proxy->mapFromSource(m_model->index(m_model->rowOf(primary), 0)));
    m_syncing = false;
}

} // namespace KRML_ReportGen
