#pragma once

#include <QFrame>
#include <functional>

class QListWidget;
class QPlainTextEdit;

namespace KRML_ReportGen {

// The column list that opens after a table name and "." in the SQL box:
// a framed list with a grey shadow behind it, near the caret and kept
// inside the window. While it has the focus, letters and digits go on
// typing into the SQL box and select the first column they begin; "."
// types and opens the list again for the new word; Enter (or a double
// click), Space and "=" put the chosen column in place of what was typed
// (followed by nothing, " " or " = "); Backspace takes back a character;
// Escape closes it; losing the focus to another control takes the chosen
// (or first) column.
class CompletionPopup : public QFrame
{
    Q_OBJECT
public:
    using EntriesFor = std::function<QStringList(const QString &word)>;

    CompletionPopup(QPlainTextEdit *box, EntriesFor entries, QWidget *window);

    // After "." was typed in the SQL box: opens for the word before the
    // caret when it names a table with columns. True when shown.
    bool openAtCaret();
    void close();
    bool isOpen() const;
    QListWidget *list() const { return m_list; }
    // The text typed since the list opened.
    QString prefix() const;

signals:
    // An entry was accepted with Enter (the editor then checks the SQL).
    void accepted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void typeIntoBox(const QString &text);
    void selectForPrefix();
    void accept(const QString &suffix, bool check);

    QPlainTextEdit *m_box;
    EntriesFor m_entries;
    QListWidget *m_list;
    QFrame *m_shadow;
    int m_anchor = 0; // the box position just after the "."
    bool m_closing = false;
};

} // namespace KRML_ReportGen
