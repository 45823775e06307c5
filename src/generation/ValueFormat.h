#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// How a label shows a value: the Format patterns of the legacy language.
//
// - Numbers: "0.00", "#,##0.00", "0.0%" (JetFormatPattern), "Fixed"
//   (1234.50), "Standard" (1,234.50), "Percent" (12.50%), and "Currency"
//   with the locale's symbol and its place.
// - Truth values and numbers: "Yes/No", "True/False", "On/Off" (0 is the
//   second word, anything else the first).
// - Dates: "Short Date" and "Long Date" in the locale's date order (with
//   the four-digit year), any date pattern such as "dd/mm/yyyy" or "hh:nn".
// - Text: "@" placeholders fill from the right (padding with blanks on the
//   left), "&" placeholders take a character when there is one; "!" fills
//   from the left; "<" and ">" make the text lower or upper case.
//
// Decimal and thousands separators are the locale's. A pattern that does
// not fit the value (a date pattern for a number, a number pattern for a
// text that is no number) gives the value unformatted.
class ValueFormat
{
public:
    // The report's locale: a name such as "de_DE" or "en-US"; the system's
    // when empty or unknown.
    static QLocale localeOf(const QString &name);

    // value is not Null.
    static QString format(const QVariant &value, const QString &pattern, const QLocale &locale);
    // What a data-field or formula label prints for a value: nullText for
    // Null (a null text when that is empty: an empty line), the value by
    // the pattern otherwise.
    static QString forLabel(const QVariant &value, const QString &pattern, const QString &nullText, const QLocale &locale);
    // The value's text without a pattern, with the locale's decimal separator.
    static QString unformatted(const QVariant &value, const QLocale &locale);

    // The kinds of pattern, for those that translate them (workbook cells).
    static bool isTruthPattern(const QString &pattern); // "Yes/No", "True/False", "On/Off"
    static bool isTextPattern(const QString &pattern);  // "@", "&", "!", "<", ">"
    // The Qt date format "Short Date" prints in: the locale's, with the whole year.
    static QString shortDateFormat(const QLocale &locale);

private:
    static QString textPattern(const QString &text, const QString &pattern);
};

} // namespace KRML_ReportGen
