#pragma once

#include "ReportError.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace KRML_ReportGen {

// A 1-based collection with optional unique keys (keys compared without
// regard to letter case), as the host and the report share their parameter
// lists. Item 1 is the first added.
template <typename T>
class VbCollection
{
public:
    int Count() const { return int(m_items.size()); }

    void Add(const T &item, const QString &key = QString())
    {
        if (!key.isEmpty() && keyIndex(key) >= 0)
            throw ReportError(ReportError::KeyAlreadyAssociated, QStringLiteral("This key is already associated with an element of this collection"));
        m_items.append({item, key});
    }

    // Item by 1-based position; error 9 outside 1..Count.
    const T &Item(int index) const { return m_items[checked(index)].value; }
    T &Item(int index) { return m_items[checked(index)].value; }
    const T &Item(const QString &key) const
    {
        const int i = keyIndex(key);
        if (i < 0)
            throw subscriptError();
        return m_items[i].value;
    }

    void Remove(int index) { m_items.removeAt(checked(index)); }
    void clear() { m_items.clear(); }

    // The 1-based position of the first item equal to value, 0 when none.
    int indexOf(const T &value) const
    {
        for (int i = 0; i < m_items.size(); ++i)
            if (m_items[i].value == value)
                return i + 1;
        return 0;
    }

private:
    struct Entry
    {
        T value;
        QString key;
    };

    static ReportError subscriptError() { return ReportError(ReportError::SubscriptOutOfRange, QStringLiteral("Subscript out of range")); }

    int checked(int index) const
    {
        if (index < 1 || index > m_items.size())
            throw subscriptError();
        return index - 1;
    }

    int keyIndex(const QString &key) const
    {
        for (int i = 0; i < m_items.size(); ++i)
            if (m_items[i].key.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

    QList<Entry> m_items;
};

using VariantCollection = VbCollection<QVariant>;

} // namespace KRML_ReportGen
