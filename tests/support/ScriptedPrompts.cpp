#include "ScriptedPrompts.h"

#include "MsgBoxStyle.h"

namespace KRML_ReportGen {

QStringList ScriptedPrompts::messages() const
{
    QStringList out;
    for (const Call &c : calls)
        if (c.kind == QLatin1String("msgBox"))
            out.append(c.text);
    return out;
}

MsgBoxStyle::Answer ScriptedPrompts::msgBox(const QString &text, int style, const QString &title)
{
    calls.append({QStringLiteral("msgBox"), text, style, title.isEmpty() ? defaultTitle() : title, {}, 0});
    if (!answers.isEmpty())
        return MsgBoxStyle::Answer(answers.dequeue().toInt());
    const int buttons = MsgBoxStyle::buttonsOf(style);
    if (buttons == MsgBoxStyle::YesNo || buttons == MsgBoxStyle::YesNoCancel)
        return MsgBoxStyle::Yes;
    if (buttons == MsgBoxStyle::RetryCancel)
        return MsgBoxStyle::Retry;
    if (buttons == MsgBoxStyle::AbortRetryIgnore)
        return MsgBoxStyle::Abort;
    return MsgBoxStyle::OK;
}

QString ScriptedPrompts::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    calls.append({QStringLiteral("inputBox"), prompt, 0, title, {}, 0});
    return answers.isEmpty() ? defaultText : answers.dequeue().toString();
}

QString ScriptedPrompts::openFileName(const QString &title, const QString &filter, int filterIndex, const QString &)
{
    calls.append({QStringLiteral("openFile"), QString(), 0, title, filter, filterIndex});
    return answers.isEmpty() ? QString() : answers.dequeue().toString();
}

QString ScriptedPrompts::saveFileName(const QString &title, const QString &filter, int filterIndex, const QString &,
                                      const QString &)
{
    calls.append({QStringLiteral("saveFile"), QString(), 0, title, filter, filterIndex});
    return answers.isEmpty() ? QString() : answers.dequeue().toString();
}

bool ScriptedPrompts::chooseFont(FontDescription &font)
{
    calls.append({QStringLiteral("font"), font.name, 0, {}, {}, 0});
    if (answers.isEmpty())
        return false;
    const QVariant a = answers.dequeue();
    if (!a.isValid())
        return false;
    font.name = a.toString();
    return true;
}

bool ScriptedPrompts::chooseColor(quint32 &color)
{
    calls.append({QStringLiteral("color"), QString::number(color), 0, {}, {}, 0});
    if (answers.isEmpty())
        return false;
    const QVariant a = answers.dequeue();
    if (!a.isValid())
        return false;
    color = a.toUInt();
    return true;
}

} // namespace KRML_ReportGen
