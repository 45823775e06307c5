#include "ExpressionError.h"

namespace KRML_ReportGen {

ExpressionError::ExpressionError(qint32 number, int position, const QString &message)
    : ReportError(number, QStringLiteral("Position %1: %2").arg(position).arg(message)), m_position(position), m_message(message)
{
}

ReportError ExpressionError::forLabel(int index, const QString &formula) const
{
    return ReportError(number(), QStringLiteral("Label(%1) \"%2\", position %3: %4").arg(index).arg(formula).arg(m_position).arg(m_message));
}

} // namespace KRML_ReportGen
