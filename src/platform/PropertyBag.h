#pragma once

#include "KRMLReportGenExport.h"

#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// The host's store for a control's persisted properties.
class KRML_REPORTGEN_EXPORT PropertyBag
{
public:
    virtual ~PropertyBag() = default;
    virtual QVariant readProperty(const QString &name, const QVariant &defaultValue) const = 0;
    // A value equal to its default need not be stored.
    virtual void writeProperty(const QString &name, const QVariant &value, const QVariant &defaultValue) = 0;
};

} // namespace KRML_ReportGen
