#pragma once

#include <QObject>
#include <QStringList>

namespace KRML_ReportGen {

// The designer's field palette as data: the statement list (lstDBTables)
// with its selection and the field list (lstDBFields) of the selected
// statement. The palette widget shows it; the generator reads and fills it.
class StatementPalette : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    const QStringList &statements() const { return m_statements; }
    void setStatements(const QStringList &names);
    int selected() const { return m_selected; }
    void setSelected(int index);
    const QStringList &fields() const { return m_fields; }
    QStringList &fields() { return m_fields; }
    void setFields(const QStringList &fields);
    void clear();

signals:
    void statementsChanged();
    void selectionChanged(int index);
    void fieldsChanged();

private:
    QStringList m_statements;
    int m_selected = -1;
    QStringList m_fields;
};

} // namespace KRML_ReportGen
