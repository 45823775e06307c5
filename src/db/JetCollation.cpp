#include "JetCollation.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cstring>
#include <sqlite3.h>
#include <unicode/ucol.h>

namespace KRML_ReportGen {

struct JetCollation::Icu
{
    UCollator *collator = nullptr;
};

namespace {

UCollator *openCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator *c = ucol_open("", &status); // Unicode's root order
    if (U_FAILURE(status))
        return nullptr;
    // Letter case is a third-level difference: the second level keeps
    // accents apart and lets "a" equal "A".
    ucol_setStrength(c, UCOL_SECONDARY);
    ucol_setAttribute(c, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    return c;
}

constexpr int NotAscii = 2; // a result no comparison gives: take the Unicode path

bool ignoredFirst(unsigned char c)
{
    return c == '-' || c == '\'';
}

// The weights of the 128 ASCII characters in the collation: equal weights
// for letters that differ only in case, 0 for characters the collation
// ignores altogether (most control characters). Taken from the collation
// itself once, so the table and the Unicode path never disagree.
const std::array<quint8, 128> &asciiWeights()
{
    static const std::array<quint8, 128> weights = [] {
        std::array<quint8, 128> w{};
        UCollator *c = openCollator();
        if (!c)
            return w;
        std::array<int, 128> order{};
        for (int i = 0; i < 128; ++i)
            order[i] = i;
        const auto cmp = [c](int x, int y) {
            const char a = char(x), b = char(y);
            UErrorCode status = U_ZERO_ERROR;
            return ucol_strcollUTF8(c, &a, 1, &b, 1, &status);
        };
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return cmp(x, y) < 0; });
        int rank = 0;
        for (int k = 0; k < 128; ++k) {
            const char ch = char(order[k]);
            UErrorCode status = U_ZERO_ERROR;
            if (ucol_strcollUTF8(c, &ch, 1, "", 0, &status) == UCOL_EQUAL) {
                w[order[k]] = 0;
                continue;
            }
            if (k == 0 || rank == 0 || cmp(order[k - 1], order[k]) != 0)
                ++rank;
            w[order[k]] = quint8(rank);
        }
        ucol_close(c);
        return w;
    }();
    return weights;
}

// The comparison of two ASCII texts by the table, or NotAscii as soon as
// either holds another character.
int compareAscii(const unsigned char *a, int na, const unsigned char *b, int nb, bool skipHyphens)
{
    const auto &w = asciiWeights();
    const auto skip = [&](const unsigned char *s, int n, int i) {
        while (i < n && s[i] < 0x80 && (w[s[i]] == 0 || (skipHyphens && ignoredFirst(s[i]))))
            ++i;
        return i;
    };
    int i = 0, j = 0;
    for (;;) {
        i = skip(a, na, i);
        j = skip(b, nb, j);
        if (i == na || j == nb)
            break;
        if ((a[i] | b[j]) & 0x80)
            return NotAscii;
        if (w[a[i]] != w[b[j]])
            return w[a[i]] < w[b[j]] ? -1 : 1;
        ++i;
        ++j;
    }
    if ((i < na && (a[i] & 0x80)) || (j < nb && (b[j] & 0x80)))
        return NotAscii;
    return i < na ? 1 : j < nb ? -1 : 0;
}

} // namespace

JetCollation::JetCollation() : m_icu(std::make_unique<Icu>())
{
    m_icu->collator = openCollator();
}

JetCollation::~JetCollation()
{
    if (m_icu->collator)
        ucol_close(m_icu->collator);
}

int JetCollation::compareUnicode(const char *a, int na, const char *b, int nb) const
{
    if (!m_icu->collator) {
        const int c = memcmp(a, b, size_t(std::min(na, nb)));
        return c != 0 ? c : na - nb;
    }
    // First without hyphens and apostrophes, then with them to break a tie.
    // Neither byte occurs inside a longer UTF-8 sequence.
    QByteArray x, y;
    x.reserve(na);
    y.reserve(nb);
    for (int i = 0; i < na; ++i)
        if (!ignoredFirst(static_cast<unsigned char>(a[i])))
            x.append(a[i]);
    for (int i = 0; i < nb; ++i)
        if (!ignoredFirst(static_cast<unsigned char>(b[i])))
            y.append(b[i]);
    UErrorCode status = U_ZERO_ERROR;
    int r = ucol_strcollUTF8(m_icu->collator, x.constData(), int(x.size()), y.constData(), int(y.size()), &status);
    if (r == UCOL_EQUAL)
        r = ucol_strcollUTF8(m_icu->collator, a, na, b, nb, &status);
    return r;
}

int JetCollation::compare(const char *a, int na, const char *b, int nb) const
{
    // Equal texts are common (grouping, DISTINCT) and texts often share a
    // beginning; what is alike in both decides nothing in ASCII.
    const int shorter = std::min(na, nb);
    int same = 0;
    while (same < shorter && a[same] == b[same])
        ++same;
    if (same == na && same == nb)
        return 0;
    const auto *ua = reinterpret_cast<const unsigned char *>(a);
    const auto *ub = reinterpret_cast<const unsigned char *>(b);
    bool ascii = true;
    for (int i = 0; i < same && ascii; ++i)
        ascii = ua[i] < 0x80;
    if (ascii) {
        int r = compareAscii(ua + same, na - same, ub + same, nb - same, true);
        if (r == 0)
            r = compareAscii(ua + same, na - same, ub + same, nb - same, false);
        if (r != NotAscii)
            return r;
    }
    return compareUnicode(a, na, b, nb);
}

int JetCollation::compare(QStringView a, QStringView b) const
{
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    return compare(x.constData(), int(x.size()), y.constData(), int(y.size()));
}

void JetCollation::install(sqlite3 *db)
{
    auto *collation = new JetCollation;
    sqlite3_create_collation_v2(
        db, Name, SQLITE_UTF8, collation,
        [](void *self, int na, const void *a, int nb, const void *b) {
            return static_cast<JetCollation *>(self)->compare(static_cast<const char *>(a), na,
                                                              static_cast<const char *>(b), nb);
        },
        [](void *self) { delete static_cast<JetCollation *>(self); });
}

} // namespace KRML_ReportGen
