#pragma once

#include <QStringView>
#include <memory>

struct sqlite3;

namespace KRML_ReportGen {

// How the legacy engine compares and sorts text ("General" sort order):
// without regard to letter case, accented letters after their plain letter
// ("e" < "é" < "f"), and hyphens and apostrophes ignored unless two texts
// differ only in them ("co-op" sorts beside "coop"). Built on Unicode's
// collation (ICU, root order at the secondary strength); ASCII text takes a
// table of the same weights, so the common case never leaves this class.
// Difference from the legacy order: punctuation and symbols follow
// Unicode's order, and so do letters beyond Western European ones.
class JetCollation
{
public:
    JetCollation();
    ~JetCollation();
    JetCollation(const JetCollation &) = delete;
    JetCollation &operator=(const JetCollation &) = delete;

    // Negative, zero or positive, as a sorts before, with or after b (UTF-8).
    int compare(const char *a, int aLength, const char *b, int bLength) const;
    int compare(QStringView a, QStringView b) const;

    // The name the embedded engine knows the collation by.
    static constexpr const char *Name = "JETTEXT";
    // Makes the collation known to a SQLite connection, which owns it.
    static void install(sqlite3 *db);

private:
    int compareUnicode(const char *a, int aLength, const char *b, int bLength) const;
    struct Icu;
    std::unique_ptr<Icu> m_icu;
};

} // namespace KRML_ReportGen
