#pragma once

#include "UserPrompts.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// Prompts for tests: every call is recorded (kind, text, style, title) and
// answered from a queue. An empty queue answers as a user pressing Enter on
// the default would: OK/Yes for message boxes, the default text for input
// boxes, Cancel for dialogs.
class ScriptedPrompts : public UserPrompts
{
public:
    struct Call
    {
        QString kind; // "msgBox", "inputBox", "openFile", "saveFile", "font", "color"
        QString text;
        int style = 0;
        QString title;
        QString filter;
        int filterIndex = 0;
    };

    QList<Call> calls;
    QQueue<QVariant> answers;

    void answer(const QVariant &value) { answers.enqueue(value); }
    QStringList messages() const;

    MsgBoxStyle::Answer msgBox(const QString &text, int style = 0, const QString &title = QString()) override;
    QString inputBox(const QString &prompt, const QString &title = QString(), const QString &defaultText = QString()) override;
    QString openFileName(const QString &title, const QString &filter, int filterIndex, const QString &initialFolder) override;
    QString saveFileName(const QString &title, const QString &filter, int filterIndex, const QString &initialFolder,
                         const QString &defaultName = QString()) override;
    bool chooseFont(FontDescription &font) override;
    bool chooseColor(quint32 &color) override;
};

} // namespace KRML_ReportGen
