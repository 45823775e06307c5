#pragma once

#include "BoundValue.h"
#include "ReportError.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace KRML_ReportGen {

// The typed value a parameter is bound with, from what a host, a user or a
// lookup gave: Date as a date, Number as an integer or a double (the legacy
// numeric conversion decides what is a number), String as text, Lookup by
// the type code of its return field. A value that does not convert is a
// parameter error that names the parameter and the value.
class ParameterValue
{
public:
    // No value was given for a parameter the statement uses.
    static constexpr qint32 Missing = 449;
    // A value was given that is not of the parameter's type.
    static constexpr qint32 Invalid = 380;
    static bool isParameterError(const ReportError &e) { return e.number() == Missing || e.number() == Invalid; }

    // A Date, Number or String parameter's value (type as clsParameter::Type)
    // given as text or as a value (a host may hand over a QDate or a
    // number). Throws the Invalid error.
    static BoundValue of(const QString &name, int type, const QVariant &given);
    // The same without throwing: nothing when the value does not convert.
    static std::optional<BoundValue> convert(int type, const QVariant &given);

    // A value of a lookup's return field, by the field's type code
    // (AdoType): integers must be whole numbers, dates dates, numbers
    // numbers; text and every other type take the value's text. Nothing
    // when the value does not convert.
    static std::optional<BoundValue> forColumnType(const QVariant &given, int adoType);

    // The date (and time) in text written year first: 2024-03-15,
    // 2024/3/15, with an optional time (10:30, 10:30:15, 10:30 PM).
    static std::optional<QDateTime> dateOf(const QString &text);

    static ReportError missing(const QString &name, int type);
    static ReportError invalid(const QString &name, int type, const QString &given);
};

} // namespace KRML_ReportGen
