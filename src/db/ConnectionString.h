#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace KRML_ReportGen {

// A connection string "Key=Value;Key=Value": keys without regard to letter
// case, values optionally in double or single quotes (to hold ";").
class ConnectionString
{
public:
    ConnectionString() = default;
    explicit ConnectionString(const QString &text);

    bool contains(const QString &key) const;
    // The last value given for key; empty when absent.
    QString value(const QString &key) const;
    void setValue(const QString &key, const QString &value);
    QString provider() const { return value(QStringLiteral("Provider")); }
    QString dataSource() const { return value(QStringLiteral("Data Source")); }
    // Reports only read their databases: true unless the string says
    // "ReadOnly=False" (or No, or 0), the owner's choice to allow changes.
    bool readOnly() const;

    const QList<QPair<QString, QString>> &pairs() const { return m_pairs; }
    QString toString() const;

private:
    QList<QPair<QString, QString>> m_pairs;
};

} // namespace KRML_ReportGen
