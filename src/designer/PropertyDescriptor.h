#pragma once

#include "FontDescription.h"
#include "ObjectRef.h"

#include <QMetaType>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace KRML_ReportGen {

class LayoutPage;

// One row of the property inspector: its key, where it is grouped, how it
// is edited, which objects have it, and how it reads and writes them. The
// page's own rows take the null object. Values: lengths in twips (double),
// texts (QString), fonts (FontDescription), colours (uint, &H00BBGGRR or a
// system colour), choices (int, the index into choices).
struct PropertyDescriptor
{
    enum class Editor { Length, Text, Font, Colour, Choice, Statement, Field, Formula, ReadOnly };
    enum Target { Labels = 1, Pictures = 2, Page = 4 };

    QString key;
    QString group;
    QString caption;
    Editor editor = Editor::Text;
    int targets = Labels;
    QStringList choices;
    // Narrows the row to some objects of its targets (data fields only, ...).
    std::function<bool(const LayoutPage &, const ObjectRef &)> appliesTo;
    std::function<QVariant(const LayoutPage &, const ObjectRef &)> get;
    // Null for rows that are only shown.
    std::function<void(LayoutPage &, const ObjectRef &, const QVariant &)> set;

    bool applies(const LayoutPage &page, const ObjectRef &o) const;
    bool editable() const { return editor != Editor::ReadOnly && bool(set); }
};

} // namespace KRML_ReportGen

Q_DECLARE_METATYPE(KRML_ReportGen::FontDescription)
