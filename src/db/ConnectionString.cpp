#include "ConnectionString.h"

namespace KRML_ReportGen {

ConnectionString::ConnectionString(const QString &text)
{
    const int n = text.size();
    int i = 0;
    while (i < n) {
        // key up to "="
        int eq = text.indexOf(QLatin1Char('='), i);
        int semi = text.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // a part without "=": skip it
            if (semi < 0)
                break;
            i = semi + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && text[i] == QLatin1Char(' '))
            ++i;
        QString value;
        if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
            const QChar q = text[i++];
            while (i < n) {
                if (text[i] == q) {
                    if (i + 1 < n && text[i + 1] == q) { // doubled quote inside
                        value += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            const int next = text.indexOf(QLatin1Char(';'), i);
            i = next < 0 ? n : next + 1;
        } else {
            const int next = text.indexOf(QLatin1Char(';'), i);
            value = text.mid(i, (next < 0 ? n : next) - i).trimmed();
            i = next < 0 ? n : next + 1;
        }
        if (!key.isEmpty())
            m_pairs.append({key, value});
    }
}

bool ConnectionString::contains(const QString &key) const
{
    for (const auto &p : m_pairs)
        if (p.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ConnectionString::value(const QString &key) const
{
    for (auto it = m_pairs.crbegin(); it != m_pairs.crend(); ++it)
        if (it->first.compare(key, Qt::CaseInsensitive) == 0)
            return it->second;
    return QString();
}

void ConnectionString::setValue(const QString &key, const QString &value)
{
    for (auto &p : m_pairs) {
        if (p.first.compare(key, Qt::CaseInsensitive) == 0) {
            p.second = value;
            return;
        }
    }
    m_pairs.append({key, value});
}

QString ConnectionString::toString() const
{
    QStringList parts;
    for (const auto &p : m_pairs) {
        QString v = p.second;
        // Quoted where a plain value would not read back the same: a ";",
        // a leading quote, or blanks at either end (plain values are trimmed).
        if (v.contains(QLatin1Char(';')) || v.startsWith(QLatin1Char('"')) || v.startsWith(QLatin1Char('\''))
            || v != v.trimmed())
            v = QLatin1Char('"') + QString(v).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
        parts.append(p.first + QLatin1Char('=') + v);
    }
    return parts.join(QLatin1Char(';'));
}

bool ConnectionString::readOnly() const
{
    const QString v = value(QStringLiteral("ReadOnly")).trimmed();
    return !(v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || v.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0
             || v == QLatin1String("0"));
}

} // namespace KRML_ReportGen
