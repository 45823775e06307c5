#include "ConsolePrompts.h"

#include "MsgBoxStyle.h"
#include "PasswordMask.h"

namespace KRML_ReportGen {

MsgBoxStyle::Answer ConsolePrompts::msgBox(const QString &text, int style, const QString &)
{
    QString flat = PasswordMask::hide(text);
    flat.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    messages.append(flat);
    if (m_echo && m_out)
        std::fprintf(m_out, "%s\n", qPrintable(flat));
    switch (MsgBoxStyle::buttonsOf(style)) {
    case MsgBoxStyle::OKCancel:
    case MsgBoxStyle::RetryCancel:
    case MsgBoxStyle::YesNoCancel:
        return MsgBoxStyle::Cancel;
    case MsgBoxStyle::YesNo:
        return yesNoAnswer;
    case MsgBoxStyle::AbortRetryIgnore:
        return MsgBoxStyle::Abort;
    default:
        return MsgBoxStyle::OK;
    }
}

QString ConsolePrompts::inputBox(const QString &prompt, const QString &, const QString &)
{
    messages.append(prompt);
    return QString();
}

} // namespace KRML_ReportGen
