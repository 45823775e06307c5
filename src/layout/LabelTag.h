#pragma once

#include <QString>

namespace KRML_ReportGen {

// What a label's Tag says about it. "DATA:" statement "." field marks a data
// field, "FORMULA:" text a formula; anything else is fixed text. The text
// after a prefix is taken by position (5 and 8 characters), never by looking
// for the colon, and statement and field split at the last ".".
class LabelTag
{
public:
    enum class Kind { FixedText, DataField, Formula };

    // The generator's reading: "DATA" and "FORMULA" as written.
    static Kind kindOf(const QString &tag);
    // The designer finds data fields by "DATA" in any letter case.
    static bool isDataFieldForDesigner(const QString &tag);

    static QString dataTag(const QString &statement, const QString &field);
    static QString formulaTag(const QString &formula);

    // "Orders.Customer.Name" of DATA:Orders.Customer.Name: the caption a
    // data field shows while designing.
    static QString dataCaption(const QString &tag);
    static QString statementName(const QString &tag);
    static QString fieldName(const QString &tag);
    static QString formulaText(const QString &tag);

    static constexpr int DataPrefixLength = 5;
    static constexpr int FormulaPrefixLength = 8;
};

} // namespace KRML_ReportGen
