#include "Windows1252Codec.h"

#include <array>

namespace KRML_ReportGen {

namespace {

constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int encodeChar(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    return -1;
}

} // namespace

QString Windows1252Codec::decode(const QByteArray &bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar *d = out.data();
    for (int i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray Windows1252Codec::encode(const QString &text)
{
    QByteArray out;
    out.resize(text.size());
    char *d = out.data();
    int n = 0;
    for (int i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character outside the code page, one "?"
        const int b = encodeChar(u);
        d[n++] = b < 0 ? '?' : static_cast<char>(b);
    }
    out.resize(n);
    return out;
}

bool Windows1252Codec::canEncode(const QString &text)
{
    for (const QChar c : text)
        if (encodeChar(c.unicode()) < 0)
            return false;
    return true;
}

} // namespace KRML_ReportGen
