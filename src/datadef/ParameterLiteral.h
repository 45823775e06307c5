#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// The literal that replaces a parameter's marker in SQL, in the Jet dialect
// reports are written in: dates as #yyyy/MM/dd#, text between single quotes
// (quotes inside doubled, so a value can neither break nor rewrite the
// statement), numbers as typed.
class ParameterLiteral
{
public:
    static QString date(const QDate &date);
    static QString number(const QString &typed);
    static QString text(const QString &value);

    // A lookup's value by the type code of its return-field column, as the
    // SQL editor's trials and the run-time prompt substitute it: integers
    // bare, dates as dates, text quoted; any other type gives no literal.
    static QString lookupForPreview(const QVariant &value, int adoType);
    // The same as the report generator substitutes it: every type other
    // than integer and date is quoted as text.
    static QString lookupForReport(const QVariant &value, int adoType);

    // The text form of a value, as a report prints it (ValueText).
    static QString valueText(const QVariant &value);
    // The date a value stands for: a date, or text in year-month-day order
    // ("2006-06-08", "2006/6/8", with or without a time); invalid otherwise.
    static QDate dateOf(const QVariant &value);
};

} // namespace KRML_ReportGen
