#include "RtfText.h"

#include "Windows1252Codec.h"

#include <QMap>
#include <cctype>

namespace KRML_ReportGen {

namespace {

void appendEscaped(QByteArray &out, QChar c)
{
    if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
        out += '\\';
        out += char(c.unicode());
        return;
    }
    if (c == QLatin1Char('\t')) {
        out += "\\tab ";
        return;
    }
    if (c.unicode() < 0x80) {
        out += char(c.unicode());
        return;
    }
    if (Windows1252Codec::canEncode(QString(c))) {
        const QByteArray ansi = Windows1252Codec::encode(QString(c));
        out += QByteArray("\\'") + QByteArray::number(quint8(ansi[0]), 16).rightJustified(2, '0');
        return;
    }
    out += "\\u" + QByteArray::number(qint16(c.unicode())) + '?';
}

} // namespace

QByteArray RtfText::write(const QString &text, const QList<Run> &colours)
{
    // The colour table: black first, then every colour used.
    QList<unsigned> table{0};
    QMap<int, int> colourAt; // start → colour index; the end of a run goes back to 0
    QMap<int, int> endAt;
    for (const Run &r : colours) {
        int index = int(table.indexOf(r.rgb));
        if (index < 0) {
            table.append(r.rgb);
            index = int(table.size()) - 1;
        }
        colourAt[r.start] = index;
        endAt[r.start + r.length] = 0;
    }
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Verdana;}}\r\n{\\colortbl";
    for (unsigned rgb : table)
        out += "\\red" + QByteArray::number((rgb >> 16) & 0xFF) + "\\green" + QByteArray::number((rgb >> 8) & 0xFF)
            + "\\blue" + QByteArray::number(rgb & 0xFF) + ';';
    out += "}\r\n\\f0\\fs20 ";
    for (int i = 0; i < text.size(); ++i) {
        if (endAt.contains(i) && !colourAt.contains(i))
            out += "\\cf0 ";
        if (colourAt.contains(i))
            out += "\\cf" + QByteArray::number(colourAt[i]) + ' ';
        const QChar c = text[i];
        if (c == QLatin1Char('\r'))
            continue;
        if (c == QLatin1Char('\n')) {
            out += "\\par\r\n";
            continue;
        }
        appendEscaped(out, c);
    }
    out += "}\r\n";
    return out;
}

QString RtfText::plainText(const QByteArray &rtf)
{
    QString out;
    int depth = 0;
    int skipDepth = -1; // inside a destination group ({\fonttbl, {\colortbl, {\*…)
    int unicodeSkip = 0;
    const int n = int(rtf.size());
    for (int i = 0; i < n; ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            // A group that opens with a destination keyword holds no text.
            if (skipDepth < 0 && i + 1 < n && rtf[i + 1] == '\\') {
                int j = i + 2;
                while (j < n && std::isalpha(static_cast<unsigned char>(rtf[j])))
                    ++j;
                const QByteArray word = rtf.mid(i + 2, j - i - 2);
                if (rtf.mid(i + 1, 2) == "\\*" || word == "fonttbl" || word == "colortbl" || word == "stylesheet"
                    || word == "info" || word == "pict")
                    skipDepth = depth;
            }
            continue;
        }
        if (c == '}') {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        const bool skipping = skipDepth >= 0;
        if (c != '\\') {
            if (unicodeSkip > 0) {
                --unicodeSkip;
                continue;
            }
            if (!skipping)
                out += Windows1252Codec::decode(QByteArray(1, c));
            continue;
        }
        if (i + 1 >= n)
            break;
        const char next = rtf[i + 1];
        if (next == '\\' || next == '{' || next == '}') {
            if (!skipping)
                out += QLatin1Char(next);
            ++i;
            continue;
        }
        if (next == '\'') {
            if (!skipping && i + 3 < n) {
                bool ok = false;
                const int code = rtf.mid(i + 2, 2).toInt(&ok, 16);
                if (ok) {
                    if (unicodeSkip > 0)
                        --unicodeSkip;
                    else
                        out += Windows1252Codec::decode(QByteArray(1, char(code)));
                }
            }
            i += 3;
            continue;
        }
        // A control word: letters, an optional number, an optional blank.
        int j = i + 1;
        while (j < n && std::isalpha(static_cast<unsigned char>(rtf[j])))
            ++j;
        const QByteArray word = rtf.mid(i + 1, j - i - 1);
        int k = j;
        if (k < n && (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k])))) {
            ++k;
            while (k < n && std::isdigit(static_cast<unsigned char>(rtf[k])))
                ++k;
        }
        const QByteArray number = rtf.mid(j, k - j);
        if (k < n && rtf[k] == ' ')
            ++k;
        i = k - 1;
        if (skipping)
            continue;
        if (word == "par" || word == "line")
            out += QLatin1String("\r\n");
        else if (word == "tab")
            out += QLatin1Char('\t');
        else if (word == "u") {
            out += QChar(ushort(number.toShort()));
            unicodeSkip = 1;
        }
    }
    // The writer ends the last paragraph without \par; a reader that added
    // one keeps it.
    return out;
}

} // namespace KRML_ReportGen
