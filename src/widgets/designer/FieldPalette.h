#pragma once

#include <QFrame>
#include <functional>

class QLabel;
class QListWidget;

namespace KRML_ReportGen {

// The floating "Database Fields" palette on the page: the report's
// statements, the chosen statement's fields, dragged from here onto the
// page. It lies on the page (and scrolls with it); its title moves it.
class FieldPalette : public QFrame
{
    Q_OBJECT
public:
    static QString mimeType() { return QStringLiteral("application/x-krml-field"); }

    explicit FieldPalette(QWidget *parent = nullptr);

    // Runs a statement and gives its field names (RunReportQuery).
    using FieldsOf = std::function<QStringList(const QString &statement)>;
    void setFieldsOf(FieldsOf fieldsOf) { m_fieldsOf = std::move(fieldsOf); }
    void setStatements(const QStringList &names);
    QListWidget *statements() const { return m_tables; }
    QListWidget *fields() const { return m_fields; }
    // Chooses a statement as a click in the list does.
    void chooseStatement(int row);
    // In a window's dock instead of floating on the page: no title of its
    // own, no close image, not moved by its frame.
    void setDocked(bool docked);
    bool docked() const { return m_docked; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListWidget *m_tables;
    QListWidget *m_fields;
    QLabel *m_title;
    QWidget *m_close;
    QLabel *m_tablesHeading;
    QLabel *m_fieldsHeading;
    bool m_docked = false;
    FieldsOf m_fieldsOf;
    QPoint m_anchor;
    QPoint m_pressAt;
};

} // namespace KRML_ReportGen
