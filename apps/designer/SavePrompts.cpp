#include "SavePrompts.h"

#include "LayoutPackage.h"
#include "MsgBoxStyle.h"

namespace KRML_ReportGen {

SavePrompts::SavePrompts(UserPrompts &inner, std::optional<bool> storeConnection, std::function<void(const QString &)> status)
    : m_inner(inner), m_store(storeConnection), m_status(std::move(status))
{
}

MsgBoxStyle::Answer SavePrompts::msgBox(const QString &text, int style, const QString &title)
{
    if (text == LayoutPackage::connectionQuestion()) {
        if (!m_store)
            m_store = m_inner.msgBox(text, style, title) == MsgBoxStyle::Yes;
        return *m_store ? MsgBoxStyle::Yes : MsgBoxStyle::No;
    }
    if (text == LayoutPackage::savedMessage()) {
        if (m_status)
            m_status(text);
        return MsgBoxStyle::OK;
    }
    return m_inner.msgBox(text, style, title);
}

QString SavePrompts::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    return m_inner.inputBox(prompt, title, defaultText);
}

QString SavePrompts::openFileName(const QString &title, const QString &filter, int filterIndex, const QString &initialFolder)
{
    return m_inner.openFileName(title, filter, filterIndex, initialFolder);
}

QString SavePrompts::saveFileName(const QString &title, const QString &filter, int filterIndex, const QString &initialFolder,
                                  const QString &defaultName)
{
    return m_inner.saveFileName(title, filter, filterIndex, initialFolder, defaultName);
}

bool SavePrompts::chooseFont(FontDescription &font)
{
    return m_inner.chooseFont(font);
}

bool SavePrompts::chooseColor(quint32 &color)
{
    return m_inner.chooseColor(color);
}

} // namespace KRML_ReportGen
