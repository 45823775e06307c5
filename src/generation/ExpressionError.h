#pragma once

#include "ReportError.h"

namespace KRML_ReportGen {

// An error of the formula language with the place it was found: the
// character position (1-based, in the whole formula text) and the message
// without it, so that an editor can point at the place and a report run can
// name the label.
class ExpressionError : public ReportError
{
public:
    // Error numbers: a text that is no expression; a statement or field
    // the report does not have.
    static constexpr qint32 SyntaxError = 3075;
    static constexpr qint32 UnknownName = 3265;

    ExpressionError(qint32 number, int position, const QString &message);

    int position() const { return m_position; }
    // The error as a report run gives it: which label, and where in its formula.
    ReportError forLabel(int index, const QString &formula) const;
    const QString &message() const { return m_message; }

private:
    int m_position;
    QString m_message;
};

} // namespace KRML_ReportGen
