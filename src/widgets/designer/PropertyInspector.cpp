#include "PropertyInspector.h"

#include "DesignerCommands.h"
#include "LayoutPage.h"
#include "LengthText.h"
#include "MsgBoxStyle.h"
#include "Selection.h"
#include "SystemColorNames.h"
#include "UserPrompts.h"
#include "VbColor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace KRML_ReportGen {

namespace {

using Editor = PropertyDescriptor::Editor;

QIcon swatch(quint32 colour)
{
    QPixmap pm(14, 14);
    pm.fill(VbColor::toQColor(colour));
    QPainter p(&pm);
    p.setPen(Qt::darkGray);
    p.drawRect(0, 0, 13, 13);
    return QIcon(pm);
}

} // namespace

PropertyInspector::PropertyInspector(LayoutPage &page, DesignerCommands &commands, UserPrompts &prompts, PropertyTable table,
                                     QWidget *parent)
    : QWidget(parent), m_page(page), m_commands(commands), m_prompts(prompts), m_table(std::move(table))
{
    setObjectName(QStringLiteral("propertyInspector"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("lblSelection"));
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    layout->addWidget(m_caption);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("lstProperties"));
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    m_tree->setRootIsDecorated(false);
    m_tree->setIndentation(8);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::NoSelection);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(true);
    layout->addWidget(m_tree, 1);

    // Another selection may show other rows: the first rows are read again.
    connect(&commands.selection(), &Selection::changed, this, [this] {
        if (m_preview)
            m_preview->clear();
    });
    connect(&commands.selection(), &Selection::changed, this, &PropertyInspector::rebuild);
    for (auto signal : {&LayoutPage::labelChanged, &LayoutPage::picChanged})
        connect(&page, signal, this, &PropertyInspector::scheduleRefresh);
    connect(&page, &LayoutPage::sizeChanged, this, &PropertyInspector::scheduleRefresh);
    rebuild();
}

void PropertyInspector::setStatementSource(std::function<QStringList()> statements,
                                           std::function<QStringList(const QString &)> fieldsOf)
{
    m_statements = std::move(statements);
    m_fieldsOf = std::move(fieldsOf);
    rebuild();
}

void PropertyInspector::setPreviewSource(FirstValuePreview::Loader firstRows)
{
    m_preview = std::make_unique<FirstValuePreview>(std::move(firstRows));
    rebuild();
}

QWidget *PropertyInspector::editor(const QString &key) const
{
    return m_editors.value(key);
}

QString PropertyInspector::caption() const
{
    return m_caption->text();
}

void PropertyInspector::rebuild()
{
    const QList<ObjectRef> &selected = m_commands.selection().objects();
    if (selected.isEmpty())
        m_caption->setText(QStringLiteral("Page"));
    else if (selected.size() == 1)
        m_caption->setText(QStringLiteral("%1 %2: %3")
                               .arg(selected.first().kind == ObjectRef::Label ? QStringLiteral("Label") : QStringLiteral("Picture"))
                               .arg(selected.first().index)
                               .arg(PropertyTable::kindName(m_page, selected.first())));
    else
        m_caption->setText(QStringLiteral("%1 objects").arg(selected.size()));

    m_tree->clear();
    m_editors.clear();
    m_rows = m_table.rowsFor(m_page, selected);
    QHash<QString, QTreeWidgetItem *> groups;
    for (const PropertyDescriptor *row : std::as_const(m_rows)) {
        QTreeWidgetItem *group = groups.value(row->group);
        if (!group) {
            group = new QTreeWidgetItem(m_tree, {row->group});
            group->setFirstColumnSpanned(true);
            QFont f = group->font(0);
            f.setBold(true);
            group->setFont(0, f);
            group->setBackground(0, palette().alternateBase());
            groups.insert(row->group, group);
        }
        auto *item = new QTreeWidgetItem(group, {row->caption});
        QWidget *editor = makeEditor(*row);
        m_tree->setItemWidget(item, 1, editor);
        m_editors.insert(row->key, editor);
    }
    // One data-field or formula label: its first value as it prints, below
    // the rows that say how.
    m_previewLabel = nullptr;
    m_previewed = 0;
    const PropertyDescriptor *format = m_table.find(QStringLiteral("Format"));
    if (m_preview && selected.size() == 1 && selected.first().kind == ObjectRef::Label && format && m_editors.contains(format->key)) {
        m_previewed = selected.first().index;
        auto *item = new QTreeWidgetItem(groups.value(format->group), {QStringLiteral("First value")});
        m_previewLabel = new QLabel;
        m_previewLabel->setObjectName(QStringLiteral("lblFirstValue"));
        m_previewLabel->setTextFormat(Qt::PlainText);
        m_previewLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_tree->setItemWidget(item, 1, m_previewLabel);
        for (const QString &key : {QStringLiteral("Format"), QStringLiteral("NullText")})
            if (auto *line = qobject_cast<QLineEdit *>(m_editors.value(key)))
                connect(line, &QLineEdit::textEdited, this, &PropertyInspector::updatePreview);
    }
    m_tree->expandAll();
    refreshValues();
}

void PropertyInspector::updatePreview()
{
    if (!m_previewLabel || m_previewed < 1 || m_previewed > m_page.labelCount())
        return;
    const auto text = [this](const QString &key) {
        const auto *line = qobject_cast<QLineEdit *>(m_editors.value(key));
        return line ? line->text() : QString();
    };
    const FirstValuePreview::Result r = m_preview->preview(m_page, m_previewed, text(QStringLiteral("Format")), text(QStringLiteral("NullText")));
    // A value as it prints; why there is none in the placeholder's colour.
    QString shown = r.text;
    if (r.ok && shown.isEmpty())
        shown = QStringLiteral("(prints nothing)");
    m_previewLabel->setText(shown);
    m_previewLabel->setToolTip(r.ok ? QStringLiteral("The first row's value as the label prints it") : r.text);
    m_previewLabel->setForegroundRole(r.ok && !r.text.isEmpty() ? QPalette::WindowText : QPalette::PlaceholderText);
}

void PropertyInspector::scheduleRefresh()
{
    // Drags change the objects on every pointer move: the values are read
    // again once the events of the moment are done.
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshPending = false;
        refreshValues();
    });
}

void PropertyInspector::refreshValues()
{
    const QList<ObjectRef> &selected = m_commands.selection().objects();
    for (const PropertyDescriptor *row : std::as_const(m_rows)) {
        // Rows the selection stopped having (a label's kind changed) wait for the next rebuild.
        bool applies = true;
        for (const ObjectRef &o : selected)
            applies = applies && o.kind != ObjectRef::None && row->applies(m_page, o);
        if (!applies && !selected.isEmpty())
            continue;
        if (QWidget *editor = m_editors.value(row->key))
            showValue(*row, editor, PropertyTable::commonValue(*row, m_page, selected));
    }
    updatePreview();
}

QWidget *PropertyInspector::makeEditor(const PropertyDescriptor &row)
{
    const PropertyDescriptor *r = &row;
    switch (row.editor) {
    case Editor::ReadOnly: {
        auto *label = new QLabel;
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    }
    case Editor::Choice:
    case Editor::Statement:
    case Editor::Field: {
        auto *box = new QComboBox;
        box->setObjectName(QStringLiteral("cmb") + row.key);
        connect(box, &QComboBox::activated, this, [this, r, box](int index) {
            if (r->editor == Editor::Choice)
                edit(r->key, index);
            else
                edit(r->key, box->itemText(index));
        });
        return box;
    }
    case Editor::Font:
    case Editor::Colour: {
        auto *button = new QPushButton;
        button->setObjectName(QStringLiteral("cmd") + row.key);
        button->setFlat(true);
        button->setStyleSheet(QStringLiteral("text-align: left; padding: 1px 4px;"));
        if (row.editor == Editor::Font) {
            connect(button, &QPushButton::clicked, this, [this, r] {
                const QVariant current = PropertyTable::commonValue(*r, m_page, m_commands.selection().objects());
                FontDescription font = current.isValid() ? current.value<FontDescription>() : FontDescription();
                if (m_prompts.chooseFont(font))
                    edit(r->key, QVariant::fromValue(font));
            });
        } else {
            // The system colours by name, or any colour from the colour dialog.
            auto *menu = new QMenu(button);
            for (int n = 0; n < SystemColorNames::Count; ++n) {
                const quint32 value = SystemColorNames::value(n);
                menu->addAction(swatch(value), SystemColorNames::name(n), this, [this, r, value] { edit(r->key, uint(value)); });
            }
            menu->addSeparator();
            menu->addAction(swatch(VbColor::White), QStringLiteral("White"), this, [this, r] { edit(r->key, uint(VbColor::White)); });
            menu->addAction(swatch(0), QStringLiteral("Black"), this, [this, r] { edit(r->key, uint(0)); });
            menu->addAction(QStringLiteral("Other Colour..."), this, [this, r] {
                const QVariant current = PropertyTable::commonValue(*r, m_page, m_commands.selection().objects());
                quint32 colour = current.isValid() ? quint32(current.toUInt()) : 0;
                if (m_prompts.chooseColor(colour))
                    edit(r->key, uint(colour));
            });
            button->setMenu(menu);
        }
        return button;
    }
    default: {
        auto *line = new QLineEdit;
        line->setObjectName(QStringLiteral("txt") + row.key);
        line->setFrame(false);
        connect(line, &QLineEdit::editingFinished, this, [this, r, line] {
            if (line->isModified()) {
                line->setModified(false);
                commitText(*r, line->text());
            }
        });
        if (row.editor != Editor::Length)
            return line;
        // Millimetres to edit, the twips beside them.
        line->setToolTip(QStringLiteral("Millimetres, or a number with mm, cm, in, pt or tw"));
        auto *box = new QWidget;
        auto *h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 4, 0);
        h->addWidget(line, 1);
        auto *twips = new QLabel(box);
        twips->setObjectName(QStringLiteral("lblTwips"));
        twips->setForegroundRole(QPalette::PlaceholderText);
        h->addWidget(twips);
        return box;
    }
    }
}

void PropertyInspector::commitText(const PropertyDescriptor &row, const QString &text)
{
    if (row.editor != Editor::Length) {
        edit(row.key, text);
        return;
    }
    const auto twips = LengthText::parse(text);
    if (!twips || (row.key != QLatin1String("Left") && row.key != QLatin1String("Top") && *twips <= 0)) {
        m_prompts.msgBox(QStringLiteral("\"%1\" is not a length. Please enter millimetres (25 or 25 mm) or give the unit "
                                        "(2.5 cm, 1 in, 72 pt, 1417 tw).")
                             .arg(text),
                         MsgBoxStyle::Exclamation);
        refreshValues();
        return;
    }
    edit(row.key, *twips);
}

void PropertyInspector::edit(const QString &key, const QVariant &value)
{
    const PropertyDescriptor *row = m_table.find(key);
    if (!row || m_showing)
        return;
    const bool pageRow = m_commands.selection().isEmpty();
    m_commands.setProperty(*row, value);
    if (pageRow && (key == QLatin1String("PageWidth") || key == QLatin1String("PageHeight")))
        emit pageSizeChanged();
    // A binding may change which rows apply. Later: the editor that called
    // this is still running its own signal.
    QMetaObject::invokeMethod(this, &PropertyInspector::rebuild, Qt::QueuedConnection);
}

void PropertyInspector::showValue(const PropertyDescriptor &row, QWidget *editor, const QVariant &value)
{
    m_showing = true;
    const QString text = PropertyTable::display(row, value);
    switch (row.editor) {
    case Editor::ReadOnly:
        static_cast<QLabel *>(editor)->setText(text);
        break;
    case Editor::Choice: {
        auto *box = static_cast<QComboBox *>(editor);
        if (box->count() != row.choices.size()) {
            box->clear();
            box->addItems(row.choices);
        }
        box->setCurrentIndex(value.isValid() ? value.toInt() : -1);
        break;
    }
    case Editor::Statement:
    case Editor::Field: {
        auto *box = static_cast<QComboBox *>(editor);
        QStringList names;
        if (row.editor == Editor::Statement && m_statements)
            names = m_statements();
        if (row.editor == Editor::Field && m_fieldsOf) {
            const PropertyDescriptor *statement = m_table.find(QStringLiteral("Statement"));
            const QVariant s = statement ? PropertyTable::commonValue(*statement, m_page, m_commands.selection().objects()) : QVariant();
            if (s.isValid())
                names = m_fieldsOf(s.toString());
        }
        if (value.isValid() && !value.toString().isEmpty() && !names.contains(value.toString()))
            names.prepend(value.toString()); // bound to a name the report no longer has: still shown
        const QStringList current = [box] {
            QStringList l;
            for (int i = 0; i < box->count(); ++i)
                l << box->itemText(i);
            return l;
        }();
        if (current != names) {
            box->clear();
            box->addItems(names);
        }
        box->setCurrentIndex(value.isValid() ? names.indexOf(value.toString()) : -1);
        break;
    }
    case Editor::Font:
        static_cast<QPushButton *>(editor)->setText(text);
        static_cast<QPushButton *>(editor)->setToolTip(text);
        break;
    case Editor::Colour: {
        auto *button = static_cast<QPushButton *>(editor);
        button->setText(text);
        button->setIcon(value.isValid() ? swatch(quint32(value.toUInt())) : QIcon());
        break;
    }
    default: {
        auto *line = qobject_cast<QLineEdit *>(editor);
        QString shown = text;
        if (!line) { // a length: millimetres in the box, twips beside it
            line = editor->findChild<QLineEdit *>();
            shown = value.isValid() ? LengthText::millimetres(value.toDouble()) + QStringLiteral(" mm") : QString();
            editor->findChild<QLabel *>()->setText(value.isValid() ? LengthText::twips(value.toDouble()) + QStringLiteral(" tw") : QString());
        }
        if (!line->hasFocus() || !line->isModified()) {
            line->setText(shown);
            line->setPlaceholderText(value.isValid() ? QString() : QStringLiteral("(several values)"));
            line->setCursorPosition(0);
            line->setModified(false);
        }
        break;
    }
    }
    m_showing = false;
}

} // namespace KRML_ReportGen
