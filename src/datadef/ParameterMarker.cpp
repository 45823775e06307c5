#include "ParameterMarker.h"

#include "clsParameter.h"

namespace KRML_ReportGen {

int ParameterMarker::typeOf(const QString &marker)
{
    const QString tail = marker.right(6);
    if (tail == QLatin1String("(Date)"))
        return clsParameter::Date;
    if (tail == QLatin1String("umber)"))
        return clsParameter::Number;
    if (tail == QLatin1String("tring)"))
        return clsParameter::String;
    if (tail == QLatin1String("ookup)"))
        return clsParameter::Lookup;
    return -1;
}

QString ParameterMarker::nameOf(const QString &marker)
{
    const int bracket = marker.indexOf(QLatin1Char('('));
    return bracket < 0 ? marker : marker.left(bracket);
}

QString ParameterMarker::typeName(int type)
{
    switch (type) {
    case clsParameter::Date: return QStringLiteral("Date");
    case clsParameter::Number: return QStringLiteral("Number");
    case clsParameter::String: return QStringLiteral("String");
    case clsParameter::Lookup: return QStringLiteral("Lookup");
    default: return QString();
    }
}

QString ParameterMarker::suffix(int type)
{
    const QString name = typeName(type);
    return name.isEmpty() ? QString() : QLatin1Char('(') + name + QLatin1Char(')');
}

QString ParameterMarker::make(const QString &name, int type)
{
    return name + suffix(type);
}

} // namespace KRML_ReportGen
