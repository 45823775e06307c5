#include "AdoType.h"

#include <QHash>

namespace KRML_ReportGen {

int AdoType::fromDeclaredType(const QString &declared)
{
    // The type's name is the text before any "(size)"; "unsigned big int"
    // and "double precision" keep their words.
    QString name = declared.section(QLatin1Char('('), 0, 0).trimmed().toUpper();
    name.replace(QLatin1Char('/'), QString()); // "YES/NO"
    name = name.simplified();

    static const QHash<QString, int> exact = {
        {QStringLiteral("INTEGER"), Integer}, {QStringLiteral("INT"), Integer},
        {QStringLiteral("LONG"), Integer}, {QStringLiteral("LONG INTEGER"), Integer},
        {QStringLiteral("INT4"), Integer}, {QStringLiteral("AUTOINCREMENT"), Integer},
        {QStringLiteral("COUNTER"), Integer}, {QStringLiteral("AUTONUMBER"), Integer},
        {QStringLiteral("MEDIUMINT"), Integer}, {QStringLiteral("SERIAL"), Integer},
        {QStringLiteral("SMALLINT"), SmallInt}, {QStringLiteral("SHORT"), SmallInt},
        {QStringLiteral("INT2"), SmallInt},
        {QStringLiteral("TINYINT"), UnsignedTinyInt}, {QStringLiteral("BYTE"), UnsignedTinyInt},
        {QStringLiteral("BIGINT"), BigInt}, {QStringLiteral("INT8"), BigInt},
        {QStringLiteral("UNSIGNED BIG INT"), BigInt}, {QStringLiteral("BIGSERIAL"), BigInt},
        {QStringLiteral("SINGLE"), Single}, {QStringLiteral("REAL"), Double}, {QStringLiteral("FLOAT4"), Double},
        {QStringLiteral("DOUBLE"), Double}, {QStringLiteral("DOUBLE PRECISION"), Double},
        {QStringLiteral("FLOAT"), Double}, {QStringLiteral("FLOAT8"), Double},
        {QStringLiteral("CURRENCY"), Currency}, {QStringLiteral("MONEY"), Currency},
        {QStringLiteral("SMALLMONEY"), Currency},
        {QStringLiteral("DATE"), Date}, {QStringLiteral("DATETIME"), Date},
        {QStringLiteral("TIMESTAMP"), Date}, {QStringLiteral("TIME"), Date},
        {QStringLiteral("SMALLDATETIME"), Date}, {QStringLiteral("DATETIME2"), Date},
        {QStringLiteral("BIT"), Boolean}, {QStringLiteral("BOOLEAN"), Boolean},
        {QStringLiteral("BOOL"), Boolean}, {QStringLiteral("YESNO"), Boolean},
        {QStringLiteral("LOGICAL"), Boolean},
        {QStringLiteral("DECIMAL"), Numeric}, {QStringLiteral("NUMERIC"), Numeric},
        {QStringLiteral("VARCHAR"), VarWChar}, {QStringLiteral("NVARCHAR"), VarWChar},
        {QStringLiteral("TEXT"), VarWChar}, {QStringLiteral("CHAR"), VarWChar},
        {QStringLiteral("NCHAR"), VarWChar}, {QStringLiteral("CHARACTER"), VarWChar},
        {QStringLiteral("VARYING CHARACTER"), VarWChar}, {QStringLiteral("NATIVE CHARACTER"), VarWChar},
        {QStringLiteral("STRING"), VarWChar},
        {QStringLiteral("MEMO"), LongVarWChar}, {QStringLiteral("LONGTEXT"), LongVarWChar},
        {QStringLiteral("LONGCHAR"), LongVarWChar}, {QStringLiteral("NTEXT"), LongVarWChar},
        {QStringLiteral("CLOB"), LongVarWChar}, {QStringLiteral("HYPERLINK"), LongVarWChar},
        {QStringLiteral("BLOB"), LongVarBinary}, {QStringLiteral("LONGBINARY"), LongVarBinary},
        {QStringLiteral("OLEOBJECT"), LongVarBinary}, {QStringLiteral("IMAGE"), LongVarBinary},
        {QStringLiteral("BINARY"), LongVarBinary}, {QStringLiteral("VARBINARY"), LongVarBinary},
    };
    const auto it = exact.constFind(name);
    if (it != exact.constEnd())
        return *it;

    // Otherwise decide by the words inside, the way SQLite gives a column its
    // affinity ("UNSIGNED INTEGER", "NATIONAL VARCHAR", "OLE OBJECT").
    if (name.contains(QLatin1String("INT")))
        return Integer;
    if (name.contains(QLatin1String("CHAR")) || name.contains(QLatin1String("TEXT")) || name.contains(QLatin1String("CLOB")))
        return VarWChar;
    if (name.contains(QLatin1String("BLOB")) || name.contains(QLatin1String("OLE")))
        return LongVarBinary;
    if (name.contains(QLatin1String("DOUB")) || name.contains(QLatin1String("FLOA")) || name.contains(QLatin1String("REAL")))
        return Double;
    if (name.contains(QLatin1String("DATE")) || name.contains(QLatin1String("TIME")))
        return Date;
    return VarWChar;
}

int AdoType::fromValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
        return Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const qlonglong v = value.toLongLong();
        return (v >= -2147483648LL && v <= 2147483647LL) ? Integer : BigInt;
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return Double;
    case QMetaType::Bool:
        return Boolean;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime:
        return Date;
    case QMetaType::QByteArray:
        return LongVarBinary;
    default:
        return VarWChar;
    }
}

} // namespace KRML_ReportGen
