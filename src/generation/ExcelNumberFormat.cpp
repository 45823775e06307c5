#include "ExcelNumberFormat.h"

#include "JetFormatPattern.h"
#include "ValueFormat.h"

#include <QHash>

namespace KRML_ReportGen {

namespace {

using Format = XlsxSurface::NumberFormat;

QString numberCode(const JetFormatPattern::Number &n)
{
    // The report always prints the units digit, "0.50" and not ".50".
    QString code = n.thousands ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (n.decimals > 0)
        code += QLatin1Char('.') + QString(n.decimals, QLatin1Char('0'));
    if (n.percent)
        code += QLatin1Char('%');
    return code;
}

} // namespace

QString ExcelNumberFormat::literal(const QString &text)
{
    // Blanks, "-" and "," show as they are; anything else could be read
    // as a code (or, "/" and ":", as the viewer's separators): one
    // character is escaped, longer runs are quoted.
    QString out;
    QString run;
    const auto flush = [&] {
        if (run.size() == 1)
            out += QLatin1Char('\\') + run;
        else if (!run.isEmpty())
            out += QLatin1Char('"') + run + QLatin1Char('"');
        run.clear();
    };
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char(',')) {
            flush();
            out += c;
        } else if (c == QLatin1Char('"')) {
            flush();
            out += QStringLiteral("\\\"");
        } else {
            run += c;
        }
    }
    flush();
    return out;
}

QString ExcelNumberFormat::languageTag(const QLocale &locale)
{
    // Windows' language identifiers, which both programs read in a code's
    // [$-...] tag, for the locales reports are commonly written in.
    static const QHash<QString, QString> ids = {
        {QStringLiteral("en_US"), QStringLiteral("409")}, {QStringLiteral("en_GB"), QStringLiteral("809")},
        {QStringLiteral("en_AU"), QStringLiteral("C09")}, {QStringLiteral("en_CA"), QStringLiteral("1009")},
        {QStringLiteral("en_IE"), QStringLiteral("1809")}, {QStringLiteral("de_DE"), QStringLiteral("407")},
        {QStringLiteral("de_CH"), QStringLiteral("807")}, {QStringLiteral("de_AT"), QStringLiteral("C07")},
        {QStringLiteral("fr_FR"), QStringLiteral("40C")}, {QStringLiteral("fr_BE"), QStringLiteral("80C")},
        {QStringLiteral("fr_CA"), QStringLiteral("C0C")}, {QStringLiteral("fr_CH"), QStringLiteral("100C")},
        {QStringLiteral("it_IT"), QStringLiteral("410")}, {QStringLiteral("es_ES"), QStringLiteral("C0A")},
        {QStringLiteral("es_MX"), QStringLiteral("80A")}, {QStringLiteral("nl_NL"), QStringLiteral("413")},
        {QStringLiteral("nl_BE"), QStringLiteral("813")}, {QStringLiteral("pt_PT"), QStringLiteral("816")},
        {QStringLiteral("pt_BR"), QStringLiteral("416")}, {QStringLiteral("sv_SE"), QStringLiteral("41D")},
        {QStringLiteral("da_DK"), QStringLiteral("406")}, {QStringLiteral("nb_NO"), QStringLiteral("414")},
        {QStringLiteral("fi_FI"), QStringLiteral("40B")}, {QStringLiteral("pl_PL"), QStringLiteral("415")},
        {QStringLiteral("cs_CZ"), QStringLiteral("405")}, {QStringLiteral("hu_HU"), QStringLiteral("40E")},
    };
    const QString id = ids.value(locale.name());
    return id.isEmpty() ? QString() : QStringLiteral("[$-%1]").arg(id);
}

XlsxSurface::NumberFormat ExcelNumberFormat::of(const QString &givenPattern, const QLocale &locale)
{
    const QString pattern = givenPattern.trimmed();
    if (pattern.isEmpty())
        return {};
    const QString lower = pattern.toLower();
    if (ValueFormat::isTruthPattern(pattern)) {
        // Positive and negative numbers show the first word, zero the second.
        const QStringList words = pattern.split(QLatin1Char('/'));
        const QString yes = QLatin1Char('"') + words[0] + QLatin1Char('"');
        return {yes + QLatin1Char(';') + yes + QStringLiteral(";\"") + words[1] + QLatin1Char('"'), Format::Numbers | Format::TruthValues};
    }
    if (lower == QLatin1String("currency"))
        return currency(locale);
    if (const auto number = JetFormatPattern::number(pattern))
        return {numberCode(*number), Format::Numbers | Format::TruthValues};
    if (ValueFormat::isTextPattern(pattern))
        return {QStringLiteral("@"), Format::Texts};

    // What is left is a date pattern.
    QString code;
    if (lower == QLatin1String("short date")) {
        code = qtDateCode(ValueFormat::shortDateFormat(locale));
    } else if (lower == QLatin1String("long date")) {
        code = qtDateCode(locale.dateFormat(QLocale::LongFormat));
        if (!code.isEmpty())
            code.prepend(languageTag(locale));
    } else {
        code = dateCode(pattern);
    }
    if (code.isEmpty())
        return {};
    return {code, Format::Dates};
}

XlsxSurface::NumberFormat ExcelNumberFormat::currency(const QLocale &locale)
{
    // The locale's own way round, taken from what it writes for a sample
    // amount: the digits become the code, the rest stays as it is.
    const QString digits = locale.toString(1234.5, 'f', 2);
    const auto section = [&](double amount) {
        const QString text = locale.toCurrencyString(amount, locale.currencySymbol(), 2);
        const qsizetype at = text.indexOf(digits);
        if (at < 0)
            return QString();
        return literal(text.left(at)) + QStringLiteral("#,##0.00") + literal(text.mid(at + digits.size()));
    };
    const QString positive = section(1234.5);
    const QString negative = section(-1234.5);
    if (positive.isEmpty())
        return {QStringLiteral("#,##0.00"), Format::Numbers};
    return {negative.isEmpty() ? positive : positive + QLatin1Char(';') + negative, Format::Numbers};
}

QString ExcelNumberFormat::dateCode(const QString &pattern)
{
    using P = JetFormatPattern;
    const QList<P::Piece> parts = P::dateParts(pattern);
    const auto isHour = [](P::Part p) { return p == P::Hour || p == P::Hour2; };
    const auto isSecond = [](P::Part p) { return p == P::Second || p == P::Second2; };
    // The nearest part that is no literal, before or after part i.
    const auto neighbour = [&parts](qsizetype i, int step) {
        for (i += step; i >= 0 && i < parts.size(); i += step)
            if (parts[i].part != P::Literal)
                return parts[i].part;
        return P::Literal;
    };
    QString code;
    bool names = false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const P::Part part = parts[i].part;
        switch (part) {
        case P::Literal: code += literal(parts[i].text); break;
        case P::Year4: code += QStringLiteral("yyyy"); break;
        case P::Year2: code += QStringLiteral("yy"); break;
        case P::MonthName: code += QStringLiteral("mmmm"); names = true; break;
        case P::MonthAbbrev: code += QStringLiteral("mmm"); names = true; break;
        case P::DayName: code += QStringLiteral("dddd"); names = true; break;
        case P::DayAbbrev: code += QStringLiteral("ddd"); names = true; break;
        case P::Day2: code += QStringLiteral("dd"); break;
        case P::Day: code += QStringLiteral("d"); break;
        case P::Hour2: code += QStringLiteral("hh"); break;
        case P::Hour: code += QStringLiteral("h"); break;
        case P::Second2: code += QStringLiteral("ss"); break;
        case P::Second: code += QStringLiteral("s"); break;
        case P::AmPm: code += QStringLiteral("AM/PM"); break;
        case P::AmPmLower: code += QStringLiteral("am/pm"); break;
        case P::Month2:
        case P::Month:
            // Excel reads a month number right before the seconds as minutes.
            if (isSecond(neighbour(i, 1)))
                return QString();
            code += part == P::Month2 ? QStringLiteral("mm") : QStringLiteral("m");
            break;
        case P::Minute2:
        case P::Minute:
            // Excel's "m" is minutes only right after an hour or before seconds.
            if (!isHour(neighbour(i, -1)) && !isSecond(neighbour(i, 1)))
                return QString();
            code += part == P::Minute2 ? QStringLiteral("mm") : QStringLiteral("m");
            break;
        case P::Quarter:
        case P::DayOfYear:
        case P::Week:
        case P::Weekday:
            return QString();
        }
    }
    // The report names months and days in English, whatever the locale.
    return names ? QStringLiteral("[$-409]") + code : code;
}

QString ExcelNumberFormat::qtDateCode(const QString &format)
{
    // Qt's date format: d to dddd, M to MMMM, yy or yyyy, 'quoted' text.
    QString code;
    QString text;
    const auto flush = [&] {
        code += literal(text);
        text.clear();
    };
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            if (i + 1 < n && format[i + 1] == QLatin1Char('\'')) {
                text += c;
                i += 2;
                continue;
            }
            const qsizetype close = format.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype end = close < 0 ? n : close;
            text += format.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && format[i + run] == c)
            ++run;
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            flush();
            const qsizetype used = c == QLatin1Char('y') ? (run >= 4 ? 4 : 2) : std::min<qsizetype>(run, 4);
            code += QString(used, c == QLatin1Char('M') ? QLatin1Char('m') : c);
            i += std::min(used, run);
            continue;
        }
        text += format.mid(i, run);
        i += run;
    }
    flush();
    return code;
}

} // namespace KRML_ReportGen
