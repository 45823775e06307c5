#include "ExpressionError.h"

namespace KRML_ReportGen {

ExpressionError::ExpressionError(qint32 number, int position, const QString &message)
    : ReportError(number, QStringLiteral("Position %1: %2").arg(position).arg(message)), m_position(position), m_message(message)
{
}

} // namespace KRML_ReportGen
