#pragma once

#include "UserPrompts.h"

#include <QStringList>
#include <cstdio>

namespace KRML_ReportGen {

// Prompts for programs without a window: messages go to a stream (standard
// error by default) and are kept; questions get the cautious answer (No,
// Cancel, an empty input, no file chosen).
class ConsolePrompts : public UserPrompts
{
public:
    explicit ConsolePrompts(std::FILE *out = stderr, bool echo = true) : m_out(out), m_echo(echo) {}

    QStringList messages;
    // The answer to Yes/No questions.
    MsgBoxStyle::Answer yesNoAnswer = MsgBoxStyle::No;

    MsgBoxStyle::Answer msgBox(const QString &text, int style = 0, const QString &title = QString()) override;
    QString inputBox(const QString &prompt, const QString &title = QString(), const QString &defaultText = QString()) override;
    QString openFileName(const QString &, const QString &, int, const QString &) override { return QString(); }
    QString saveFileName(const QString &, const QString &, int, const QString &, const QString & = QString()) override
    {
        return QString();
    }
    bool chooseFont(FontDescription &) override { return false; }
    bool chooseColor(quint32 &) override { return false; }

private:
    std::FILE *m_out;
    bool m_echo;
};

} // namespace KRML_ReportGen
