#pragma once

#include "SizerGeometry.h"

namespace KRML_ReportGen {

class LayoutPage;

// A page object the designer works on: label or picture i of the page.
struct ObjectRef
{
    enum Kind { None, Label, Picture };
    Kind kind = None;
    int index = 0;

    bool isNull() const { return kind == None; }
    friend bool operator==(const ObjectRef &, const ObjectRef &) = default;

    // The object's Left, Top, Width and Height (twips).
    SizerGeometry::Rect geometry(const LayoutPage &page) const;
    // Sets them and tells the page's views.
    void setGeometry(LayoutPage &page, const SizerGeometry::Rect &rect) const;
};

} // namespace KRML_ReportGen
