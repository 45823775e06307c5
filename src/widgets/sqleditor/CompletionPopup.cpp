#include "CompletionPopup.h"

#include "DatabaseReference.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace KRML_ReportGen {

CompletionPopup::CompletionPopup(QPlainTextEdit *box, EntriesFor entries, QWidget *window)
    : QFrame(window), m_box(box), m_entries(std::move(entries))
{
    setObjectName(QStringLiteral("CompletionPopup"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    m_shadow = new QFrame(window);
    m_shadow->setStyleSheet(QStringLiteral("background: #808080;"));
    m_shadow->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstCompletion"));
    m_list->setFont(QFont(QStringLiteral("Verdana"), 8));
    layout->addWidget(m_list);
    resize(180, 140);
    hide();
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(QString(), true); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old == m_list && now && now != m_box && now != m_list && isOpen() && !m_closing)
            accept(QString(), false);
    });
}

bool CompletionPopup::isOpen() const
{
    return isVisible();
}

bool CompletionPopup::openAtCaret()
{
    const QTextCursor cursor = m_box->textCursor();
    const QString word = DatabaseReference::completionWord(m_box->toPlainText(), cursor.position());
    const QStringList entries = m_entries(word);
    if (entries.isEmpty()) {
        close();
        return false;
    }
    m_list->clear();
    m_list->addItems(entries);
    m_list->setCurrentRow(0);
    m_anchor = cursor.position();
    // Beside the caret (45 twips = 3 pixels to its right), inside the window.
    QWidget *window = parentWidget();
    const QRect caret = m_box->cursorRect(cursor);
    QPoint at = m_box->viewport()->mapTo(window, QPoint(caret.left() + 3, caret.bottom() + 2));
    at.setX(std::clamp(at.x(), 0, std::max(0, window->width() - width() - 4)));
    if (at.y() + height() + 4 > window->height())
        at.setY(std::max(0, m_box->viewport()->mapTo(window, caret.topLeft()).y() - height() - 2));
    move(at);
    m_shadow->setGeometry(geometry().translated(4, 4));
    m_shadow->show();
    m_shadow->raise();
    show();
    raise();
    m_list->setFocus();
    return true;
}

void CompletionPopup::close()
{
    m_closing = true;
    hide();
    m_shadow->hide();
    m_closing = false;
}

QString CompletionPopup::prefix() const
{
    const int caret = m_box->textCursor().position();
    return caret > m_anchor ? m_box->toPlainText().mid(m_anchor, caret - m_anchor) : QString();
}

void CompletionPopup::typeIntoBox(const QString &text)
{
    QTextCursor c = m_box->textCursor();
    c.insertText(text);
    m_box->setTextCursor(c);
}

void CompletionPopup::selectForPrefix()
{
    QStringList entries;
    for (int i = 0; i < m_list->count(); ++i)
        entries << m_list->item(i)->text();
    const int row = DatabaseReference::matchingEntry(entries, prefix());
    if (row >= 0)
        m_list->setCurrentRow(row);
}

void CompletionPopup::accept(const QString &suffix, bool check)
{
    QListWidgetItem *item = m_list->currentItem();
    if (!item && m_list->count() > 0)
        item = m_list->item(0);
    if (item) {
        QTextCursor c = m_box->textCursor();
        c.setPosition(m_anchor);
        c.setPosition(std::max(m_anchor, m_box->textCursor().position()), QTextCursor::KeepAnchor);
        c.insertText(item->text() + suffix);
        m_box->setTextCursor(c);
    }
    close();
    m_box->setFocus();
    if (check)
        emit accepted();
}

bool CompletionPopup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_list || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept(QString(), true);
        return true;
    case Qt::Key_Space:
        accept(QStringLiteral(" "), false);
        return true;
    case Qt::Key_Equal:
        accept(QStringLiteral(" = "), false);
        return true;
    case Qt::Key_Escape: {
        close();
        QTextCursor c = m_box->textCursor();
        c.setPosition(c.selectionEnd());
        m_box->setTextCursor(c);
        m_box->setFocus();
        return true;
    }
    case Qt::Key_Backspace:
        if (m_box->textCursor().position() > m_anchor) {
            QTextCursor c = m_box->textCursor();
            c.deletePreviousChar();
            m_box->setTextCursor(c);
            selectForPrefix();
        }
        return true;
    case Qt::Key_Period:
        typeIntoBox(QStringLiteral("."));
        close();
        m_box->setFocus();
        openAtCaret();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return false; // the list's own movement
    default:
        if (text.size() == 1 && text[0].isLetterOrNumber()) {
            typeIntoBox(text);
            selectForPrefix();
            return true;
        }
        return true;
    }
}

} // namespace KRML_ReportGen
