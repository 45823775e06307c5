#include "FormulaEditorWindow.h"

#include "ExpressionFunctions.h"
#include "FormulaCheck.h"
#include "RowsExpressionScope.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextEdit>

namespace KRML_ReportGen {

namespace {
const QString kFieldMime = QStringLiteral("application/x-krml-formula-field");
const QString kFunctionMime = QStringLiteral("application/x-krml-formula-function");
} // namespace

FormulaEditorWindow::FormulaEditorWindow(FormulaEditorModel &model, QWidget *parent) : QDialog(parent), m_model(model)
{
    setWindowTitle(FormulaEditorModel::caption());
    setObjectName(QStringLiteral("frmFormulaEditor"));
    resize(640, 420);
    auto *g = new QGridLayout(this);
    g->addWidget(new QLabel(QStringLiteral("Database Tables"), this), 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Database Fields"), this), 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Functions"), this), 0, 2);
    m_tables = new QListWidget(this);
    m_tables->setObjectName(QStringLiteral("lstDBTables"));
    m_fields = new QListWidget(this);
    m_fields->setObjectName(QStringLiteral("lstDBFields"));
    m_functions = new QListWidget(this);
    m_functions->setObjectName(QStringLiteral("lstFunctions"));
    g->addWidget(m_tables, 1, 0);
    g->addWidget(m_fields, 1, 1);
    g->addWidget(m_functions, 1, 2);
    m_formula = new QTextEdit(this);
    m_formula->setObjectName(QStringLiteral("txtFormula"));
    m_formula->setAcceptRichText(false);
    m_formula->setAcceptDrops(false); // drops are taken by the window's own rule
    m_formula->viewport()->setAcceptDrops(true);
    g->addWidget(m_formula, 2, 0, 1, 3);
    m_check = new QLabel(this);
    m_check->setObjectName(QStringLiteral("lblCheck"));
    m_check->setWordWrap(true);
    m_check->setTextInteractionFlags(Qt::TextSelectableByMouse);
    g->addWidget(m_check, 3, 0, 1, 3);
    m_tables->addItems(m_model.statements());
    // The names the editor always offered, then the language's others, as
    // a drop inserts them; each tells its signature.
    QStringList names = FormulaEditorModel::functions();
    for (const ExpressionFunctions::Function &f : ExpressionFunctions::all()) {
        const QString name = QString::fromLatin1(f.name);
        const QString inserted = f.maxArgs == 0 ? name : name + QStringLiteral("{}");
        if (!names.contains(inserted))
            names << inserted;
    }
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(name, m_functions);
        const int f = ExpressionFunctions::find(name.chopped(name.endsWith(QLatin1String("{}")) ? 2 : 0));
        if (f >= 0)
            item->setToolTip(QString::fromLatin1(ExpressionFunctions::all()[f].signature));
    }
    connect(m_functions, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item && !item->toolTip().isEmpty())
            m_check->setText(item->toolTip());
    });
    connect(m_tables, &QListWidget::currentTextChanged, this, [this](const QString &statement) {
        QStringList previous;
        for (int i = 0; i < m_fields->count(); ++i)
            previous << m_fields->item(i)->text();
        const QStringList fields = m_model.LoadJustDBFields(statement, previous);
        m_fields->clear();
        m_fields->addItems(fields);
    });
    connect(m_formula, &QTextEdit::textChanged, this, [this] {
        m_model.curFormula = m_formula->toPlainText();
        checkFormula();
    });
    for (QListWidget *l : {m_fields, m_functions})
        l->viewport()->installEventFilter(this);
    m_formula->viewport()->installEventFilter(this);
}

FormulaEditorWindow::~FormulaEditorWindow() = default;

void FormulaEditorWindow::checkFormula()
{
    const QString text = m_formula->toPlainText();
    if (!m_sample && text.startsWith(QLatin1Char('='))) {
        m_sample = std::make_unique<RowsExpressionScope>();
        m_sample->setLoader([this](const QString &statement) { return m_model.sampleRows(statement); });
    }
    if (m_sample)
        m_sample->setDefaultStatement(m_tables->currentItem() ? m_tables->currentItem()->text() : QString());
    const FormulaCheck::Result r = FormulaCheck::check(text, m_sample.get());
    // The error's place is marked in the text, which the user keeps typing.
    QList<QTextEdit::ExtraSelection> marks;
    if (!r.ok && r.position > 0) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_formula->document());
        const int at = std::min(r.position - 1, int(text.size()));
        mark.cursor.setPosition(std::max(0, at == text.size() ? at - 1 : at));
        mark.cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(Qt::red);
        marks << mark;
    }
    m_formula->setExtraSelections(marks);
    if (!r.ok)
        m_check->setText(r.message);
    else if (!r.sample.isNull())
        m_check->setText(QStringLiteral("First row: %1").arg(r.sample));
    else
        m_check->setText(r.message);
}

void FormulaEditorWindow::dropAt(const QPoint &pos, const QString &text, bool isFunction)
{
    const int offset = m_formula->cursorForPosition(pos).position();
    const QString current = m_formula->toPlainText();
    const QString statement = m_tables->currentItem() ? m_tables->currentItem()->text() : QString();
    m_formula->setPlainText(isFunction ? FormulaEditorModel::dropFunction(current, offset, text)
                                       : FormulaEditorModel::dropField(current, offset, statement, text));
}

bool FormulaEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_formula->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *e = static_cast<QDragMoveEvent *>(event);
            if (e->mimeData()->hasFormat(kFieldMime) || e->mimeData()->hasFormat(kFunctionMime)) {
                e->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto *e = static_cast<QDropEvent *>(event);
            const bool function = e->mimeData()->hasFormat(kFunctionMime);
            const QString text = QString::fromUtf8(e->mimeData()->data(function ? kFunctionMime : kFieldMime));
            dropAt(e->position().toPoint(), text, function);
            e->acceptProposedAction();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    for (QListWidget *l : {m_fields, m_functions}) {
        if (watched != l->viewport())
            continue;
        if (event->type() == QEvent::MouseButtonPress)
            m_pressAt = static_cast<QMouseEvent *>(event)->pos();
        if (event->type() == QEvent::MouseMove) {
            auto *e = static_cast<QMouseEvent *>(event);
            if ((e->buttons() & Qt::LeftButton) && l->currentItem()
                && (e->pos() - m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
                auto *mime = new QMimeData;
                mime->setData(l == m_functions ? kFunctionMime : kFieldMime, l->currentItem()->text().toUtf8());
                auto *drag = new QDrag(this);
                drag->setMimeData(mime);
                drag->exec(Qt::CopyAction);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace KRML_ReportGen
