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
        if (surface.TextWidth(word) <= width + kTolerance) {
            line = word;
            started = true;
            continue;
        }
        // A word wider than the width goes piece by piece.
        QStringView rest(word);
        for (qsizetype n = fittingCharacters(surface, rest, width); n < rest.size(); n = fittingCharacters(surface, rest, width)) {
            out << rest.left(n).toString();
            rest = rest.mid(n);
        }
        line = rest.toString();
        started = true;
    }
    if (started || out.isEmpty())
        out << line;
}

qsizetype TextWrapper::fittingCharacters(const DrawingSurface &surface, QStringView text, double width)
{
    const auto fits = [&](qsizetype n) { return surface.TextWidth(text.left(n).toString()) <= width + kTolerance; };
    // Widths grow with every character. The fitting start is bracketed by
    // doubling, then found by halving: a long text costs no more than
    // measuring its lines a few times over.
    qsizetype good = 1, bad = 2;
    while (bad <= text.size() && fits(bad)) {
        good = bad;
        bad *= 2;
    }
    if (bad > text.size()) {
        if (fits(text.size()))
            return text.size();
        bad = text.size();
    }
    while (bad - good > 1) {
        const qsizetype mid = good + (bad - good) / 2;
        if (fits(mid))
            good = mid;
        else
            bad = mid;
    }
    // A character outside the basic plane is never split in two.
    if (good < text.size() && text.at(good - 1).isHighSurrogate())
        good = good > 1 ? good - 1 : good + 1;
    return good;
}

} // namespace KRML_ReportGen
