#pragma once

#include <QHashFunctions>
#include <QString>

namespace KRML_ReportGen {

// A font as layouts store it: a typeface name, a size in points and the four
// styles.
struct FontDescription
{
    QString name = QStringLiteral("MS Sans Serif");
    float size = 8.25f;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;

    // Written out: the published headers compile as C++17.
    friend bool operator==(const FontDescription &a, const FontDescription &b)
    {
        return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic
            && a.underline == b.underline && a.strikethru == b.strikethru;
    }
    friend bool operator!=(const FontDescription &a, const FontDescription &b) { return !(a == b); }
    friend size_t qHash(const FontDescription &f, size_t seed = 0)
    {
        return qHashMulti(seed, f.name, f.size, f.bold, f.italic, f.underline, f.strikethru);
    }
};

} // namespace KRML_ReportGen
