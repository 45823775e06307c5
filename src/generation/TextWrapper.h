#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace KRML_ReportGen {

class DrawingSurface;

// Breaks the text of a label that grows into the lines it prints within a
// width, measured in the surface's current font (the metrics every
// surface shares, so all outputs break at the same places).
//
// - Lines break at spaces; the space a line breaks at is not printed.
// - A word wider than the width is broken between characters.
// - A line break in the text (CR LF, LF or CR) always starts a new line.
// - An empty text is one empty line (a null text stays null).
class TextWrapper
{
public:
    static QStringList lines(const DrawingSurface &surface, const QString &text, double width);

private:
    static void wrapParagraph(const DrawingSurface &surface, const QString &paragraph, double width, QStringList &out);
    // How many characters of the start of text fit the width: at least
    // one, all of them when the whole text fits.
    static qsizetype fittingCharacters(const DrawingSurface &surface, QStringView text, double width);
};

} // namespace KRML_ReportGen
