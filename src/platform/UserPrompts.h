#pragma once

#include "FontDescription.h"
#include "MsgBoxStyle.h"

#include <QString>
#include <QtGlobal>

namespace KRML_ReportGen {

// Everything the system asks of its user: message boxes, the input box and
// the common file, font and colour dialogs. The widget layer shows real
// dialogs; tests and the command-line renderer answer without a window.
class UserPrompts
{
public:
    virtual ~UserPrompts() = default;

    // The title used when a caller gives none.
    static QString defaultTitle() { return QStringLiteral("KRML_ReportGen"); }

    // style: MsgBoxStyle buttons + icon (+ default button). Returns the
    // answer of the button pressed.
    virtual MsgBoxStyle::Answer msgBox(const QString &text, int style = 0, const QString &title = QString()) = 0;

    // The entered text, or an empty string when the user cancels.
    virtual QString inputBox(const QString &prompt, const QString &title = QString(),
                             const QString &defaultText = QString()) = 0;

    // filter: "description|pattern|description|pattern..."; filterIndex is
    // 1-based. Returns the chosen path, or an empty string on Cancel.
    virtual QString openFileName(const QString &title, const QString &filter, int filterIndex,
                                 const QString &initialFolder) = 0;
    virtual QString saveFileName(const QString &title, const QString &filter, int filterIndex,
                                 const QString &initialFolder, const QString &defaultName = QString()) = 0;

    // true when the user confirmed; font/colour then hold the choice.
    virtual bool chooseFont(FontDescription &font) = 0;
    virtual bool chooseColor(quint32 &color) = 0;
};

} // namespace KRML_ReportGen
