#pragma once

#include "FontDescription.h"

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

    // style: buttons 0-5 + icon 16/32/48/64 (+ default button 256/512).
    // Returns the button code: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.
    virtual int msgBox(const QString &text, int style = 0, const QString &title = QString()) = 0;

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
