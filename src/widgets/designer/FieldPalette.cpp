#include "FieldPalette.h"

#include "ReportError.h"

#include <QApplication>
#include <QDrag>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace KRML_ReportGen {

FieldPalette::FieldPalette(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("fraDBFields"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    auto *titleRow = new QHBoxLayout;
    m_title = new QLabel(QStringLiteral("Database Fields"), this);
    m_title->setCursor(Qt::SizeAllCursor);
    titleRow->addWidget(m_title, 1);
    auto *close = new QToolButton(this);
    m_close = close;
    close->setObjectName(QStringLiteral("imgFieldsClose"));
    close->setText(QStringLiteral("x"));
    close->setAutoRaise(true);
    titleRow->addWidget(close);
    layout->addLayout(titleRow);
    m_tables = new QListWidget(this);
    m_tables->setObjectName(QStringLiteral("lstDBTables"));
    m_fields = new QListWidget(this);
    m_fields->setObjectName(QStringLiteral("lstDBFields"));
    m_tablesHeading = new QLabel(QStringLiteral("Statements"), this);
    m_fieldsHeading = new QLabel(QStringLiteral("Fields (drag onto the page)"), this);
    m_tablesHeading->hide();
    m_fieldsHeading->hide();
    layout->addWidget(m_tablesHeading);
    layout->addWidget(m_tables, 1);
    layout->addWidget(m_fieldsHeading);
    layout->addWidget(m_fields, 2);
    resize(180, 300);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    connect(m_tables, &QListWidget::currentRowChanged, this, &FieldPalette::chooseStatement);
    m_title->installEventFilter(this);
    installEventFilter(this);
    m_fields->viewport()->installEventFilter(this);
}

void FieldPalette::setDocked(bool docked)
{
    m_docked = docked;
    m_title->setVisible(!docked);
    m_close->setVisible(!docked);
    m_tablesHeading->setVisible(docked);
    m_fieldsHeading->setVisible(docked);
    setFrameStyle(docked ? QFrame::NoFrame : QFrame::Panel | QFrame::Raised);
}

void FieldPalette::setStatements(const QStringList &names)
{
    m_tables->clear();
    m_tables->addItems(names);
    m_fields->clear();
}

void FieldPalette::chooseStatement(int row)
{
    m_fields->clear();
    if (row < 0 || row >= m_tables->count() || !m_fieldsOf)
        return;
    m_fields->addItems(m_fieldsOf(m_tables->item(row)->text()));
}

bool FieldPalette::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_title || watched == this) && !m_docked) {
        // Moving the palette by its frame or title.
        if (event->type() == QEvent::MouseButtonPress) {
            auto *e = static_cast<QMouseEvent *>(event);
            if (e->button() == Qt::LeftButton)
                m_anchor = e->globalPosition().toPoint() - pos();
        } else if (event->type() == QEvent::MouseMove) {
            auto *e = static_cast<QMouseEvent *>(event);
            if (e->buttons() & Qt::LeftButton)
                move(e->globalPosition().toPoint() - m_anchor);
        }
    } else if (watched == m_fields->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_pressAt = static_cast<QMouseEvent *>(event)->pos();
        } else if (event->type() == QEvent::MouseMove) {
            auto *e = static_cast<QMouseEvent *>(event);
            QListWidgetItem *field = m_fields->currentItem();
            QListWidgetItem *statement = m_tables->currentItem();
            if ((e->buttons() & Qt::LeftButton) && field && statement
                && (e->pos() - m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
                auto *mime = new QMimeData;
                mime->setData(mimeType(), (statement->text() + QLatin1Char('\n') + field->text()).toUtf8());
                mime->setText(field->text());
                auto *drag = new QDrag(this);
                drag->setMimeData(mime);
                drag->exec(Qt::CopyAction);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace KRML_ReportGen
