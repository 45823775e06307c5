#include "TextWrapper.h"

#include "DrawingSurface.h"

#include <QRegularExpression>

namespace KRML_ReportGen {

namespace {

// Measured widths are sums of glyph advances: a line that fills the width
// exactly still fits.
constexpr double kTolerance = 1e-6;

} // namespace

QStringList TextWrapper::lines(const DrawingSurface &surface, const QString &text, double width)
{
    const bool breaks = text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    // Most values fit on one line: one measurement.
    if (text.isEmpty() || (!breaks && surface.TextWidth(text) <= width + kTolerance))
        return {text};
    QStringList out;
    if (!breaks) {
        wrapParagraph(surface, text, width, out);
        return out;
    }
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString &paragraph : text.split(lineBreak))
        wrapParagraph(surface, paragraph, width, out);
    return out;
}

void TextWrapper::wrapParagraph(const DrawingSurface &surface, const QString &paragraph, double width, QStringList &out)
{
    QString line;
    bool started = false;
    bool broken = false; // a line ended at a space: the spaces after it go too
    for (const QString &word : paragraph.split(QLatin1Char(' '))) {
        if (broken && word.isEmpty())
            continue;
        broken = false;
        const QString candidate = started ? line + QLatin1Char(' ') + word : word;
        if (surface.TextWidth(candidate) <= width + kTolerance) {
            line = candidate;
            started = true;
            continue;
        }
        if (started) {
            out << line;
            line.clear();
            started = false;
            // The space the line broke at is gone; so is a run of them.
            if (word.isEmpty()) {
                broken = true;
                continue;
            }
        }
        QString rest = word;
        while (surface.TextWidth(rest) > width + kTolerance) {
            const qsizetype n = fittingCharacters(surface, rest, width);
            if (n >= rest.size())
                break; // a single character wider than the width
            out << rest.left(n);
            rest = rest.mid(n);
        }
        line = rest;
        started = true;
    }
    if (started || out.isEmpty())
        out << line;
}

qsizetype TextWrapper::fittingCharacters(const DrawingSurface &surface, const QString &text, double width)
{
    // Widths grow with every character: the longest fitting start is found
    // by halving.
    qsizetype low = 1, high = text.size() - 1;
    qsizetype best = 1;
    while (low <= high) {
        const qsizetype mid = (low + high) / 2;
        if (surface.TextWidth(text.left(mid)) <= width + kTolerance) {
            best = mid;
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    // A character outside the basic plane is never split in two.
    if (best < text.size() && text.at(best - 1).isHighSurrogate())
        best = best > 1 ? best - 1 : best + 1;
    return best;
}

} // namespace KRML_ReportGen
