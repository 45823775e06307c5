#include "LegacyNumber.h"

#include <QByteArray>
#include <cmath>

namespace KRML_ReportGen {

namespace {

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool isValBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

int digitValue(QChar c, int base)
{
    const char16_t u = c.toUpper().unicode();
    int d = -1;
    if (u >= '0' && u <= '9')
        d = u - '0';
    else if (u >= 'A' && u <= 'F')
        d = u - 'A' + 10;
    return d >= 0 && d < base ? d : -1;
}

// &H / &O digits already read: the legacy integer they stand for, or nothing
// when they do not fit 32 bits.
std::optional<double> radixValue(quint64 value, int digits, int base)
{
    if (digits == 0 || value > 0xFFFFFFFFull)
        return std::nullopt;
    if ((base == 16 && digits <= 4) || (base == 8 && value <= 0xFFFF))
        return double(qint16(quint16(value)));
    return double(qint32(quint32(value)));
}

// The base of an "&H" or "&O" prefix at text[i], or 0.
int radixAt(QStringView text, qsizetype i)
{
    if (i + 1 >= text.size() || text[i] != QLatin1Char('&'))
        return 0;
    const QChar k = text[i + 1].toUpper();
    return k == QLatin1Char('H') ? 16 : (k == QLatin1Char('O') ? 8 : 0);
}

} // namespace

double LegacyNumber::leadingValue(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && isValBlank(text[i]))
        ++i;

    if (const int base = radixAt(text, i)) {
        quint64 value = 0;
        int digits = 0;
        for (i += 2; i < n; ++i) {
            if (isValBlank(text[i]))
                continue;
            const int d = digitValue(text[i], base);
            if (d < 0)
                break;
            if (value <= 0xFFFFFFFFull)
                value = value * quint64(base) + quint64(d);
            ++digits;
        }
        return radixValue(value, digits, base).value_or(0.0);
    }

    QByteArray number;
    number.reserve(n);
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number += char(text[i++].unicode());
    bool point = false, anyDigit = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isValBlank(c))
            continue;
        if (isAsciiDigit(c)) {
            number += char(c.unicode());
            anyDigit = true;
        } else if (c == QLatin1Char('.') && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;
    // An exponent (E or D) counts only when digits follow it.
    if (i < n && (text[i].toUpper() == QLatin1Char('E') || text[i].toUpper() == QLatin1Char('D'))) {
        QByteArray exponent("e");
        qsizetype j = i + 1;
        while (j < n && isValBlank(text[j]))
            ++j;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exponent += char(text[j++].unicode());
        bool expDigits = false;
        for (; j < n; ++j) {
            if (isValBlank(text[j]))
                continue;
            if (!isAsciiDigit(text[j]))
                break;
            exponent += char(text[j].unicode());
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

std::optional<double> LegacyNumber::convert(QStringView text)
{
    const QStringView t = text.trimmed();
    const qsizetype n = t.size();
    if (n == 0)
        return std::nullopt;

    if (const int base = radixAt(t, 0)) {
        quint64 value = 0;
        int digits = 0;
        for (qsizetype i = 2; i < n; ++i) {
            const int d = digitValue(t[i], base);
            if (d < 0)
                return std::nullopt;
            value = value * quint64(base) + quint64(d);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
            ++digits;
        }
        return radixValue(value, digits, base);
    }

    QByteArray number;
    number.reserve(n);
    qsizetype i = 0;
    if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))
        number += char(t[i++].unicode());
    int digits = 0;
    bool separator = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (isAsciiDigit(c)) {
            number += char(c.unicode());
            ++digits;
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !separator) {
            separator = true;
            number += '.';
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (t[i] == QLatin1Char('E') || t[i] == QLatin1Char('e'))) {
        number += 'e';
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            number += char(t[i++].unicode());
        int expDigits = 0;
        for (; i < n && isAsciiDigit(t[i]); ++i, ++expDigits)
            number += char(t[i].unicode());
        if (!expDigits)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double v = number.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace KRML_ReportGen
