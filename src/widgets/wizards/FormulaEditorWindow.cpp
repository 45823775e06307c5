#include "FormulaEditorWindow.h"

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
    m_tables->addItems(m_model.statements());
    m_functions->addItems(FormulaEditorModel::functions());
    connect(m_tables, &QListWidget::currentTextChanged, this, [this](const QString &statement) {
        QStringList previous;
        for (int i = 0; i < m_fields->count(); ++i)
            previous << m_fields->item(i)->text();
        const QStringList fields = m_model.LoadJustDBFields(statement, previous);
        m_fields->clear();
        m_fields->addItems(fields);
    });
    connect(m_formula, &QTextEdit::textChanged, this, [this] { m_model.curFormula = m_formula->toPlainText(); });
    for (QListWidget *l : {m_fields, m_functions})
        l->viewport()->installEventFilter(this);
    m_formula->viewport()->installEventFilter(this);
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
