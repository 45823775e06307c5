#pragma once

#include "UserPrompts.h"

#include <functional>
#include <optional>

namespace KRML_ReportGen {

// The prompts a save from the File menu goes through: the question whether
// to keep the connection in the package is answered as the document
// decided it (asked once, the first time), and the success message becomes
// a line in the status bar instead of a box to click away. Everything else
// reaches the user's prompts as it is.
class SavePrompts : public UserPrompts
{
public:
    SavePrompts(UserPrompts &inner, std::optional<bool> storeConnection, std::function<void(const QString &)> status);

    // The answer given (or asked) to the connection question, if it came up.
    std::optional<bool> storeConnection() const { return m_store; }

    MsgBoxStyle::Answer msgBox(const QString &text, int style = 0, const QString &title = QString()) override;
    QString inputBox(const QString &prompt, const QString &title = QString(), const QString &defaultText = QString()) override;
    QString openFileName(const QString &title, const QString &filter, int filterIndex, const QString &initialFolder) override;
    QString saveFileName(const QString &title, const QString &filter, int filterIndex, const QString &initialFolder,
                         const QString &defaultName = QString()) override;
    bool chooseFont(FontDescription &font) override;
    bool chooseColor(quint32 &color) override;

private:
    UserPrompts &m_inner;
    std::optional<bool> m_store;
    std::function<void(const QString &)> m_status;
};

} // namespace KRML_ReportGen
