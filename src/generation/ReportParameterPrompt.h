#pragma once

#include "BoundValue.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace KRML_ReportGen {

class Recordset;
class UserPrompts;

// The "Report Parameters" prompt without its window: one parameter's type,
// the initial value, the lookup's choices, and "OK", which gives the value
// typed as the statement binds it (a date, a number, text, the lookup's
// return value by its column's type). An entry that does not convert is
// refused with the prompt's message, and the prompt asks again. The dialog
// of the widget layer shows the one input this chooses and calls ok() with
// what the user entered.
class ReportParameterPrompt
{
public:
    static QString caption() { return QStringLiteral("Report Parameters"); }
    static QString titlePrefix() { return QStringLiteral("Please select a value for "); }
    static QString notANumberMessage() { return QStringLiteral("Please enter a number"); }

    enum Input { DateInput = 0, NumberInput = 1, StringInput = 2, LookupInput = 3 };

    int ReportParameterType() const { return m_type; }
    // Any other value than 0-3 changes nothing.
    void setReportParameterType(int type);
    void setInitialDate(const QDate &date) { m_initialDate = date; }
    void setInitialNumber(qint32 number) { m_initialNumber = QString::number(number); }
    void setInitialString(const QString &text) { m_initialString = text; }
    void setMessageTitle(const QString &title) { m_title = title; }
    // The lookup's choices from an open recordset: the display field's
    // values as text, and the return field's values in the same order. An
    // empty recordset is the data layer's error "no current record".
    void LoadLookupValues(Recordset &rs, const QString &displayField, const QString &returnField);

    QDate initialDate() const { return m_initialDate; }
    QString initialNumber() const { return m_initialNumber; }
    QString initialString() const { return m_initialString; }
    QString messageTitle() const { return m_title; }
    const QStringList &lookupEntries() const { return m_entries; }
    const QList<QVariant> &lookupValues() const { return m_values; }

    // "OK" with the user's entry (a QDate for dates, text for numbers and
    // strings, the 0-based list index for lookups). False when the entry is
    // refused ("Please enter a number", information icon); ReturnData is
    // then unchanged.
    bool ok(const QVariant &entry, UserPrompts &prompts);
    // The value after "OK": a QDate, a number, the text as typed, the
    // lookup's return value.
    QVariant ReturnData() const { return m_value.toVariant(); }
    // The same as the statement binds it.
    BoundValue value() const { return m_value; }

private:
    int m_type = -1;
    QDate m_initialDate = QDate::currentDate();
    QString m_initialNumber;
    QString m_initialString;
    QString m_title = QStringLiteral("Title");
    QStringList m_entries;
    QList<QVariant> m_values;
    int m_returnType = 0; // the lookup's return column's type code
    BoundValue m_value;
};

} // namespace KRML_ReportGen
