#include "ValueFormat.h"

#include "ExpressionValues.h"
#include "JetFormatPattern.h"
#include "JetValueRules.h"
#include "LegacyNumber.h"
#include "ValueText.h"

#include <QRegularExpression>
#include <optional>

namespace KRML_ReportGen {

namespace {

std::optional<double> numberIn(const QVariant &v)
{
    if (ExpressionValues::isNumber(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0;
    if (v.typeId() == QMetaType::QString)
        return LegacyNumber::convert(v.toString());
    return std::nullopt;
}

std::optional<QDateTime> dateIn(const QVariant &v)
{
    if (ExpressionValues::isDate(v))
        return ExpressionValues::date(v);
    if (v.typeId() == QMetaType::QString) {
        try {
            return ExpressionValues::date(v);
        } catch (...) {
        }
    }
    return std::nullopt;
}

} // namespace

bool ValueFormat::isTextPattern(const QString &pattern)
{
    return pattern.contains(QLatin1Char('@')) || pattern.contains(QLatin1Char('&')) || pattern == QLatin1String("<")
        || pattern == QLatin1String(">") || pattern == QLatin1String("!");
}

bool ValueFormat::isTruthPattern(const QString &pattern)
{
    static const QStringList truthWords = {QStringLiteral("yes/no"), QStringLiteral("true/false"), QStringLiteral("on/off")};
    return truthWords.contains(pattern.trimmed().toLower());
}

QString ValueFormat::shortDateFormat(const QLocale &locale)
{
    QString f = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression shortYear(QStringLiteral("(?<!y)yy(?!y)"));
    f.replace(shortYear, QStringLiteral("yyyy"));
    return f;
}

QLocale ValueFormat::localeOf(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty())
        return QLocale();
    const QLocale l(n);
    // QLocale falls back to "C" for a name it does not know.
    if (l.language() == QLocale::C && n.compare(QLatin1String("C"), Qt::CaseInsensitive) != 0)
        return QLocale();
    return l;
}

QString ValueFormat::forLabel(const QVariant &value, const QString &pattern, const QString &nullText, const QLocale &locale)
{
    if (ExpressionValues::isNull(value))
        return nullText.isEmpty() ? QString() : nullText;
    return format(value, pattern, locale);
}

QString ValueFormat::unformatted(const QVariant &value, const QLocale &locale)
{
    QString s = ExpressionValues::text(value);
    if (ExpressionValues::isNumber(value) && locale.decimalPoint() != QLocale().decimalPoint())
        s.replace(QLocale().decimalPoint(), locale.decimalPoint());
    return s;
}

QString ValueFormat::format(const QVariant &value, const QString &givenPattern, const QLocale &locale)
{
    const QString pattern = givenPattern.trimmed();
    if (pattern.isEmpty())
        return unformatted(value, locale);
    const QString lower = pattern.toLower();

    if (isTruthPattern(pattern)) {
        const auto n = value.typeId() == QMetaType::QString && !LegacyNumber::isNumber(value.toString()) ? std::nullopt : numberIn(value);
        if (!n)
            return unformatted(value, locale);
        const QStringList words = pattern.split(QLatin1Char('/'));
        return *n != 0.0 ? words[0] : words[1];
    }
    if (lower == QLatin1String("currency")) {
        const auto n = numberIn(value);
        if (!n || value.typeId() == QMetaType::Bool)
            return unformatted(value, locale);
        return locale.toCurrencyString(JetValueRules::roundHalfAway(*n, 2), locale.currencySymbol(), 2);
    }
    if (const auto number = JetFormatPattern::number(pattern)) {
        const auto n = numberIn(value);
        if (!n || ExpressionValues::isDate(value))
            return unformatted(value, locale);
        return JetValueRules::formatNumber(*n, *number, locale.decimalPoint().at(0), locale.groupSeparator().at(0));
    }
    if (isTextPattern(pattern))
        return textPattern(unformatted(value, locale), pattern);

    // What is left is a date pattern.
    const auto dt = dateIn(value);
    if (!dt)
        return unformatted(value, locale);
    if (lower == QLatin1String("short date")) {
        return locale.toString(dt->date(), shortDateFormat(locale));
    }
    if (lower == QLatin1String("long date"))
        return locale.toString(dt->date(), QLocale::LongFormat);
    return JetValueRules::formatDate(*dt, pattern);
}

QString ValueFormat::textPattern(const QString &text, const QString &pattern)
{
    QString body;
    bool fromLeft = false;
    int caseChange = 0; // -1 lower, 1 upper
    for (const QChar c : pattern) {
        if (c == QLatin1Char('!'))
            fromLeft = true;
        else if (c == QLatin1Char('<'))
            caseChange = -1;
        else if (c == QLatin1Char('>'))
            caseChange = 1;
        else
            body += c;
    }
    const QString s = caseChange < 0 ? text.toLower() : caseChange > 0 ? text.toUpper() : text;
    const auto isPlaceholder = [](QChar c) { return c == QLatin1Char('@') || c == QLatin1Char('&'); };
    const qsizetype places = std::count_if(body.begin(), body.end(), isPlaceholder);
    if (places == 0)
        return s;
    QString out;
    if (fromLeft) {
        // Characters fill the placeholders from the left; the rest follows the last.
        qsizetype k = 0;
        qsizetype seen = 0;
        for (const QChar c : body) {
            if (!isPlaceholder(c)) {
                out += c;
                continue;
            }
            ++seen;
            if (k < s.size())
                out += s[k++];
            else if (c == QLatin1Char('@'))
                out += QLatin1Char(' ');
            if (seen == places && k < s.size())
                out += s.mid(k);
        }
        return out;
    }
    // From the right: the text's last character goes to the last placeholder;
    // characters beyond the placeholders come before the first.
    qsizetype k = s.size() - 1;
    qsizetype seen = 0;
    for (qsizetype i = body.size() - 1; i >= 0; --i) {
        const QChar c = body[i];
        if (!isPlaceholder(c)) {
            out.prepend(c);
            continue;
        }
        ++seen;
        if (k >= 0)
            out.prepend(s[k--]);
        else if (c == QLatin1Char('@'))
            out.prepend(QLatin1Char(' '));
        if (seen == places && k >= 0)
            out.prepend(s.left(k + 1));
    }
    return out;
}

} // namespace KRML_ReportGen
