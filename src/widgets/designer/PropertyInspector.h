#pragma once

#include "FirstValuePreview.h"
#include "PropertyTable.h"

#include <QHash>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace KRML_ReportGen {

class DesignerCommands;
class LayoutPage;
class UserPrompts;

// The property inspector: the rows of a property table for what is
// selected (the page's own rows when nothing is), each with an editor of
// its kind. With several objects selected it shows the rows they all have,
// a value where they agree and an empty box where they differ; an edit
// applies to all of them as one undo step.
class PropertyInspector : public QWidget
{
    Q_OBJECT
public:
    PropertyInspector(LayoutPage &page, DesignerCommands &commands, UserPrompts &prompts,
                      PropertyTable table = PropertyTable::standard(), QWidget *parent = nullptr);

    // The statements of the report and the fields of one (the data rows' choices).
    void setStatementSource(std::function<QStringList()> statements, std::function<QStringList(const QString &)> fieldsOf);
    const PropertyTable &table() const { return m_table; }
    // Where the first rows of a statement come from for the preview of a
    // data-field or formula label's first value as its Format and NullText
    // print it (read once per statement while the selection stays).
    void setPreviewSource(FirstValuePreview::Loader firstRows);
    // The preview now shown (null when there is none).
    QLabel *preview() const { return m_previewLabel; }
    // The editor of a row now shown (null when the row is not).
    QWidget *editor(const QString &key) const;
    QString caption() const;
    // Sets a row's value as the user's edit does.
    void edit(const QString &key, const QVariant &value);

signals:
    // The page's own size changed through the inspector (its grid needs drawing again).
    void pageSizeChanged();

private:
    void rebuild();
    void refreshValues();
    void scheduleRefresh();
    QWidget *makeEditor(const PropertyDescriptor &row);
    void showValue(const PropertyDescriptor &row, QWidget *editor, const QVariant &value);
    void commitText(const PropertyDescriptor &row, const QString &text);
    // The selected label's first value with the Format and NullText in
    // their boxes (typed or not).
    void updatePreview();

    LayoutPage &m_page;
    DesignerCommands &m_commands;
    UserPrompts &m_prompts;
    PropertyTable m_table;
    std::function<QStringList()> m_statements;
    std::function<QStringList(const QString &)> m_fieldsOf;
    QLabel *m_caption;
    QTreeWidget *m_tree;
    QHash<QString, QWidget *> m_editors;
    QList<const PropertyDescriptor *> m_rows;
    std::unique_ptr<FirstValuePreview> m_preview;
    QLabel *m_previewLabel = nullptr;
    int m_previewed = 0; // the label shown
    bool m_refreshPending = false;
    bool m_showing = false;
};

} // namespace KRML_ReportGen
