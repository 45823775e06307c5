#include "LabelTag.h"

namespace KRML_ReportGen {

LabelTag::Kind LabelTag::kindOf(const QString &tag)
{
    if (tag.contains(QLatin1String("DATA")))
        return Kind::DataField;
    if (tag.contains(QLatin1String("FORMULA")))
        return Kind::Formula;
    return Kind::FixedText;
}

bool LabelTag::isDataFieldForDesigner(const QString &tag)
{
    return tag.contains(QLatin1String("DATA"), Qt::CaseInsensitive);
}

QString LabelTag::dataTag(const QString &statement, const QString &field)
{
    return QStringLiteral("DATA:") + statement + QLatin1Char('.') + field;
}

QString LabelTag::formulaTag(const QString &formula)
{
    return QStringLiteral("FORMULA:") + formula;
}

QString LabelTag::dataCaption(const QString &tag)
{
    return tag.mid(DataPrefixLength);
}

QString LabelTag::statementName(const QString &tag)
{
    const int dot = tag.lastIndexOf(QLatin1Char('.'));
    if (dot < DataPrefixLength)
        return QString();
    return tag.mid(DataPrefixLength, dot - DataPrefixLength);
}

QString LabelTag::fieldName(const QString &tag)
{
    const int dot = tag.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : tag.mid(dot + 1);
}

QString LabelTag::formulaText(const QString &tag)
{
    return tag.mid(FormulaPrefixLength);
}

} // namespace KRML_ReportGen
