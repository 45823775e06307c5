#pragma once

#include "KRMLReportGenExport.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// A typed value for one placeholder of a statement. A bound value never
// becomes SQL text: each engine hands it to its database as a value of its
// type, so no value can change what a statement means.
class KRML_REPORTGEN_EXPORT BoundValue
{
public:
    enum class Type { Null, Integer, Double, Text, Date, Boolean };

    BoundValue() = default; // Null
    static BoundValue integer(qint64 value);
    static BoundValue number(double value);
    static BoundValue text(const QString &value);
    // A date alone is midnight of its day.
    static BoundValue date(const QDateTime &value);
    static BoundValue date(const QDate &value) { return date(QDateTime(value, QTime(0, 0))); }
    static BoundValue boolean(bool value);
    // By the value's own type (a recordset's value, a host's value).
    static BoundValue fromVariant(const QVariant &value);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }
    qint64 toInteger() const { return m_value.toLongLong(); }
    double toDouble() const { return m_value.toDouble(); }
    QString toText() const { return m_value.toString(); }
    QDateTime toDateTime() const { return m_value.toDateTime(); }
    bool toBoolean() const { return m_value.toBool(); }
    // The value as a QVariant of its type (null for Null).
    QVariant toVariant() const { return m_value; }

    // How the value reads in the reports' dialect (#2024/03/15#, 'O''Brien',
    // 12.5, True, Null): for showing a statement to a person, never for
    // running it.
    QString literal() const;

    bool operator==(const BoundValue &other) const;
    bool operator!=(const BoundValue &other) const { return !(*this == other); }

private:
    BoundValue(Type type, QVariant value) : m_type(type), m_value(std::move(value)) {}
    Type m_type = Type::Null;
    QVariant m_value;
};

} // namespace KRML_ReportGen
