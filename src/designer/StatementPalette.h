#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

namespace KRML_ReportGen {

// The designer's field palette as data: the statement list (lstDBTables)
// with its selection and the field list (lstDBFields) of the selected
// statement. The palette widget shows it; the control fills it.
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

    // Gives a statement's field names, as choosing it in the list does.
    using FieldsOf = std::function<QStringList(const QString &statement)>;
    // Before a report is drawn the designer's lists are brought up to date:
    // without a selection the list takes names; when no statement has run
    // yet, the first is selected and its fields listed. A fieldsOf that
    // fails leaves the field list as it was.
    void prepareForReport(const QStringList &names, bool noStatementRunYet, const FieldsOf &fieldsOf);

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
