#pragma once

#include "UserPrompts.h"

#include <QPointer>
#include <QWidget>

namespace KRML_ReportGen {

// The prompts as Qt dialogs, modal to a parent window when one is set.
class QtPrompts : public UserPrompts
{
public:
    explicit QtPrompts(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    MsgBoxStyle::Answer msgBox(const QString &text, int style = 0, const QString &title = QString()) override;
    QString inputBox(const QString &prompt, const QString &title = QString(),
                     const QString &defaultText = QString()) override;
    QString openFileName(const QString &title, const QString &filter, int filterIndex,
                         const QString &initialFolder) override;
    QString saveFileName(const QString &title, const QString &filter, int filterIndex,
                         const QString &initialFolder, const QString &defaultName = QString()) override;
    bool chooseFont(FontDescription &font) override;
    bool chooseColor(quint32 &color) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace KRML_ReportGen
