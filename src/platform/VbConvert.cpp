#include "VbConvert.h"

#include "LegacyNumber.h"
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
    const auto v = LegacyNumber::convert(text);
    if (!v)
        throw ReportError::typeMismatch();
    return *v;
}

qint16 VbConvert::toInt16(const QString &text) { return toInt16(parseOrThrow(text)); }
qint32 VbConvert::toInt32(const QString &text) { return toInt32(parseOrThrow(text)); }
float VbConvert::toSingle(const QString &text) { return toSingle(parseOrThrow(text)); }
double VbConvert::toDouble(const QString &text) { return parseOrThrow(text); }

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
