#pragma once

#include <QWidget>

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace KRML_ReportGen {

class DesignerCommands;
class LayoutPage;
class ObjectListModel;

// Every label and picture of the page in a table (object, kind, text,
// binding, position), with a filter. Choosing rows selects those objects
// on the page; selecting on the page chooses their rows.
class ObjectListPanel : public QWidget
{
    Q_OBJECT
public:
    ObjectListPanel(LayoutPage &page, DesignerCommands &commands, QWidget *parent = nullptr);

    QTableView *table() const { return m_table; }
    ObjectListModel &model() const { return *m_model; }
    QLineEdit *filter() const { return m_filter; }

private:
    void fromPage();
    void toPage();

    DesignerCommands &m_commands;
    ObjectListModel *m_model;
    QSortFilterProxyModel *m_proxy;
    QTableView *m_table;
    QLineEdit *m_filter;
    bool m_syncing = false;
};

} // namespace KRML_ReportGen
