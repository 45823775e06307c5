#include "VbConvert.h"

#include "ReportError.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace KRML_ReportGen {

double VbConvert::roundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is round-to-nearest-
    // even unless someone changed it; make sure for this call.
    const int saved = std::fegetround();
    if (saved != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    if (saved != FE_TONEAREST)
        std::fesetround(saved);
    return r;
}

qint16 VbConvert::toInt16(double value)
{
    if (std::isnan(value))
        throw ReportError::overflow();
    const double r = roundHalfEven(value);
    if (r < -32768.0 || r > 32767.0)
        throw ReportError::overflow();
    return static_cast<qint16>(r);
}

qint32 VbConvert::toInt32(double value)
{
    if (std::isnan(value))
        throw ReportError::overflow();
    const double r = roundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0)
        throw ReportError::overflow();
    return static_cast<qint32>(r);
}

float VbConvert::toSingle(double value)
{
    if (std::isnan(value))
        throw ReportError::overflow();
    if (std::fabs(value) > std::numeric_limits<float>::max())
        throw ReportError::overflow();
    return static_cast<float>(value);
}

static double parseOrThrow(const QString &text)
{
    const auto v = VbConvert::parseNumber(text);
    if (!v)
        throw ReportError::typeMismatch();
    return *v;
}

qint16 VbConvert::toInt16(const QString &text) { return toInt16(parseOrThrow(text)); }
qint32 VbConvert::toInt32(const QString &text) { return toInt32(parseOrThrow(text)); }
float VbConvert::toSingle(const QString &text) { return toSingle(parseOrThrow(text)); }
double VbConvert::toDouble(const QString &text) { return parseOrThrow(text); }

std::optional<double> VbConvert::parseNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;

    // &H hexadecimal and &O octal integers.
    if (t.size() > 2 && t[0] == QLatin1Char('&')) {
        const QChar k = t[1].toUpper();
        int base = k == QLatin1Char('H') ? 16 : (k == QLatin1Char('O') ? 8 : 0);
        if (!base)
            return std::nullopt;
        bool ok = false;
        const qulonglong u = t.mid(2).toULongLong(&ok, base);
        if (!ok || u > 0xFFFFFFFFull)
            return std::nullopt;
        // Up to four hex digits the value is a 16-bit integer, above that 32-bit;
        // both are signed, so &HFFFF is -1 and &H80000000 is the smallest Long.
        const int digits = t.size() - 2;
        if ((base == 16 && digits <= 4) || (base == 8 && u <= 0xFFFF))
            return static_cast<double>(static_cast<qint16>(static_cast<quint16>(u)));
        return static_cast<double>(static_cast<qint32>(static_cast<quint32>(u)));
    }

    QByteArray buf;
    buf.reserve(t.size());
    int i = 0;
    const int n = t.size();
    if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))
        buf.append(char(t[i++].unicode()));
    int digits = 0;
    bool sep = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            buf.append(char(c.unicode()));
            ++digits;
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !sep) {
            sep = true;
            buf.append('.');
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (t[i] == QLatin1Char('E') || t[i] == QLatin1Char('e'))) {
        buf.append('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            buf.append(char(t[i++].unicode()));
        int expDigits = 0;
        for (; i < n && t[i].isDigit() && t[i].unicode() < 128; ++i, ++expDigits)
            buf.append(char(t[i].unicode()));
        if (!expDigits)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double v = buf.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool VbConvert::isNumeric(const QString &text)
{
    return parseNumber(text).has_value();
}

static QString formatG(double value, int precision)
{
    if (value == 0.0)
        return QStringLiteral("0");
    char out[64];
    std::snprintf(out, sizeof out, "%.*G", precision, value);
    QString s = QString::fromLatin1(out);
    // %G already drops trailing zeros; the exponent keeps at least two digits.
    const int e = s.indexOf(QLatin1Char('E'));
    if (e >= 0) {
        QString mant = s.left(e);
        QString exp = s.mid(e + 1);
        const QChar sign = exp[0];
        exp = exp.mid(1);
        while (exp.size() > 2 && exp.startsWith(QLatin1Char('0')))
            exp.remove(0, 1);
        s = mant + QLatin1Char('E') + sign + exp;
    }
    return s;
}

QString VbConvert::formatSingle(float value)
{
    return formatG(static_cast<double>(value), 7);
}

QString VbConvert::formatDouble(double value)
{
    return formatG(value, 15);
}

} // namespace KRML_ReportGen
