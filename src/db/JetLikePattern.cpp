#include "JetLikePattern.h"

#include "JetCollation.h"

#include <QChar>
#include <functional>

namespace KRML_ReportGen {

namespace {

char32_t fold(char32_t c)
{
    return QChar::toCaseFolded(c);
}

QString text(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

} // namespace

JetLikePattern::JetLikePattern(QStringView pattern, Wildcards wildcards, char32_t escape)
{
    const QList<uint> cs = pattern.toUcs4();
    const qsizetype n = cs.size();
    const auto add = [this](Element e) {
        if (e.kind == Element::Many && !m_elements.isEmpty() && m_elements.last().kind == Element::Many)
            return; // "%%" is "%"
        m_elements.append(std::move(e));
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = cs[i];
        if (escape && c == escape && i + 1 < n) {
            add(Element::of(Element::Char, cs[++i]));
            continue;
        }
        const bool ansi89 = wildcards == Ansi89;
        if (c == (ansi89 ? U'*' : U'%')) {
            add(Element::of(Element::Many));
        } else if (c == (ansi89 ? U'?' : U'_')) {
            add(Element::of(Element::One));
        } else if (ansi89 && c == U'#') {
            Element digit = Element::of(Element::List);
            digit.ranges = {{U'0', U'9'}};
            add(digit);
        } else if (c == U'[') {
            // A list runs to the next "]"; without one the "[" is itself.
            qsizetype close = i + 1;
            while (close < n && cs[close] != U']')
                ++close;
            if (close >= n) {
                add(Element::of(Element::Char, c));
                continue;
            }
            Element list = Element::of(Element::List);
            qsizetype k = i + 1;
            if (k < close && cs[k] == U'!') {
                list.negated = true;
                ++k;
            }
            for (; k < close; ++k) {
                if (k + 2 < close && cs[k + 1] == U'-') {
                    list.ranges.append({cs[k], cs[k + 2]});
                    k += 2;
                } else {
                    list.ranges.append({cs[k], cs[k]});
                }
            }
            i = close;
            // "[]" matches nothing at all, as the legacy engine reads it: an empty text.
            if (list.ranges.isEmpty() && !list.negated)
                continue;
            // A list of one character is that character.
            if (!list.negated && list.ranges.size() == 1 && list.ranges[0].low == list.ranges[0].high)
                add(Element::of(Element::Char, list.ranges[0].low));
            else
                add(list);
        } else {
            add(Element::of(Element::Char, c));
        }
    }
}

bool JetLikePattern::hasCharacterLists() const
{
    for (const Element &e : m_elements)
        if (e.kind == Element::List)
            return true;
    return false;
}

bool JetLikePattern::inList(const Element &e, char32_t c, const JetCollation &collation)
{
    bool found = false;
    for (const Range &r : e.ranges) {
        if (r.low == r.high) {
            found = fold(c) == fold(r.low);
        } else {
            const QString ch = text(c);
            found = collation.compare(text(r.low), ch) <= 0 && collation.compare(ch, text(r.high)) <= 0;
        }
        if (found)
            break;
    }
    return found != e.negated;
}

bool JetLikePattern::matches(QStringView value, const JetCollation &collation) const
{
    const QList<uint> t = value.toUcs4();
    const qsizetype n = t.size(), m = m_elements.size();
    const auto one = [&](const Element &e, char32_t c) {
        switch (e.kind) {
        case Element::Char:
            return fold(c) == fold(e.ch);
        case Element::One:
            return true;
        case Element::List:
            return inList(e, c, collation);
        case Element::Many:
            break;
        }
        return false;
    };
    // Every element but "%" takes one character: on a mismatch the last "%"
    // takes one character more.
    qsizetype p = 0, i = 0, star = -1, starAt = 0;
    while (i < n) {
        if (p < m && m_elements[p].kind == Element::Many) {
            star = p++;
            starAt = i;
        } else if (p < m && one(m_elements[p], t[i])) {
            ++p;
            ++i;
        } else if (star >= 0) {
            p = star + 1;
            i = ++starAt;
        } else {
            return false;
        }
    }
    while (p < m && m_elements[p].kind == Element::Many)
        ++p;
    return p == m;
}

QString JetLikePattern::toAnsi92() const
{
    QString out;
    for (const Element &e : m_elements) {
        switch (e.kind) {
        case Element::Char:
            if (e.ch == U'%' || e.ch == U'_' || e.ch == U'[')
                out += QLatin1Char('[') + text(e.ch) + QLatin1Char(']');
            else
                out += text(e.ch);
            break;
        case Element::One:
            out += QLatin1Char('_');
            break;
        case Element::Many:
            out += QLatin1Char('%');
            break;
        case Element::List:
            out += e.negated ? QLatin1String("[!") : QLatin1String("[");
            for (const Range &r : e.ranges)
                out += r.low == r.high ? text(r.low) : text(r.low) + QLatin1Char('-') + text(r.high);
            out += QLatin1Char(']');
            break;
        }
    }
    return out;
}

QString JetLikePattern::toRegex() const
{
    static const QString special = QStringLiteral("\\.^$|?*+()[]{}");
    const auto literal = [](char32_t c) {
        const QString s = text(c);
        return special.contains(s) ? QLatin1Char('\\') + s : s;
    };
    const auto inBrackets = [](char32_t c) {
        const QString s = text(c);
        return (s == QLatin1String("]") || s == QLatin1String("\\") || s == QLatin1String("^") || s == QLatin1String("-")
                || s == QLatin1String("["))
            ? QLatin1Char('\\') + s
            : s;
    };
    QString out = QStringLiteral("^");
    for (const Element &e : m_elements) {
        switch (e.kind) {
        case Element::Char:
            out += literal(e.ch);
            break;
        case Element::One:
            out += QLatin1Char('.');
            break;
        case Element::Many:
            out += QLatin1String(".*");
            break;
        case Element::List:
            out += e.negated ? QLatin1String("[^") : QLatin1String("[");
            for (const Range &r : e.ranges)
                out += r.low == r.high ? inBrackets(r.low) : inBrackets(r.low) + QLatin1Char('-') + inBrackets(r.high);
            out += QLatin1Char(']');
            break;
        }
    }
    return out + QLatin1Char('$');
}

std::optional<JetLikePattern::Plain> JetLikePattern::toPlain(int limit) const
{
    Plain plain;
    const auto literal = [&plain](char32_t c) {
        if (c == U'%' || c == U'_' || c == U'\\') {
            plain.escaped = true;
            return QLatin1Char('\\') + text(c);
        }
        return text(c);
    };
    // The characters of a list, once each without regard to case.
    const auto members = [limit](const Element &e) -> std::optional<QList<char32_t>> {
        QList<char32_t> chars;
        for (const Range &r : e.ranges) {
            if (r.high < r.low || qint64(r.high) - qint64(r.low) >= limit)
                return std::nullopt;
            for (char32_t c = r.low; c <= r.high; ++c) {
                bool seen = false;
                for (char32_t s : chars)
                    seen = seen || fold(s) == fold(c);
                if (!seen)
                    chars.append(c);
            }
        }
        return chars;
    };
    qsizetype firstMany = -1, lastMany = -1;
    for (qsizetype k = 0; k < m_elements.size(); ++k)
        if (m_elements[k].kind == Element::Many) {
            if (firstMany < 0)
                firstMany = k;
            lastMany = k;
        }
    QList<QList<char32_t>> lists(m_elements.size());
    for (qsizetype k = 0; k < m_elements.size(); ++k) {
        const Element &e = m_elements[k];
        if (e.kind != Element::List)
            continue;
        // A "[!…]" list with a run of "%" on both sides has no fixed place.
        if (e.negated && firstMany >= 0 && firstMany < k && lastMany > k)
            return std::nullopt;
        const auto chars = members(e);
        if (!chars || chars->isEmpty())
            return std::nullopt;
        lists[k] = *chars;
    }
    // `any`: every choice of the positive lists, "_" for the negative ones.
    std::function<void(qsizetype, QString)> expand = [&](qsizetype k, QString prefix) {
        if (plain.any.size() > limit)
            return;
        if (k == m_elements.size()) {
            plain.any.append(prefix);
            return;
        }
        const Element &e = m_elements[k];
        switch (e.kind) {
        case Element::Char:
            return expand(k + 1, prefix + literal(e.ch));
        case Element::One:
            return expand(k + 1, prefix + QLatin1Char('_'));
        case Element::Many:
            return expand(k + 1, prefix + QLatin1Char('%'));
        case Element::List:
            if (e.negated)
                return expand(k + 1, prefix + QLatin1Char('_'));
            for (char32_t c : lists[k])
                expand(k + 1, prefix + literal(c));
            return;
        }
    };
    expand(0, QString());
    if (plain.any.size() > limit)
        return std::nullopt;
    // `none`: for each negative list, its characters in its place and "_"
    // in every other list's.
    for (qsizetype k = 0; k < m_elements.size(); ++k) {
        if (m_elements[k].kind != Element::List || !m_elements[k].negated)
            continue;
        for (char32_t c : lists[k]) {
            QString p;
            for (qsizetype j = 0; j < m_elements.size(); ++j) {
                const Element &e = m_elements[j];
                if (j == k)
                    p += literal(c);
                else if (e.kind == Element::Char)
                    p += literal(e.ch);
                else if (e.kind == Element::Many)
                    p += QLatin1Char('%');
                else
                    p += QLatin1Char('_');
            }
            plain.none.append(p);
        }
        if (plain.none.size() > limit)
            return std::nullopt;
    }
    return plain;
}

} // namespace KRML_ReportGen
