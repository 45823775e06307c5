#include "ReportError.h"

namespace KRML_ReportGen {

ReportError::ReportError(qint32 number, QString description, QString source)
    : m_number(number), m_description(std::move(description)), m_source(std::move(source))
{
    m_what = QStringLiteral("%1: %2").arg(m_number).arg(m_description).toStdString();
}

ReportError ReportError::overflow()
{
    return ReportError(Overflow, QStringLiteral("Overflow"));
}

ReportError ReportError::typeMismatch()
{
    return ReportError(TypeMismatch, QStringLiteral("Type mismatch"));
}

} // namespace KRML_ReportGen
