#include "ObjectRef.h"

#include "LayoutPage.h"

namespace KRML_ReportGen {

SizerGeometry::Rect ObjectRef::geometry(const LayoutPage &page) const
{
    if (kind == Label) {
        const LayoutLabel &l = page.Label(index);
        return {l.Left, l.Top, l.Width, l.Height};
    }
    if (kind == Picture) {
        const LayoutPicture &p = page.Pic(index);
        return {p.Left, p.Top, p.Width, p.Height};
    }
    return {};
}

void ObjectRef::setGeometry(LayoutPage &page, const SizerGeometry::Rect &r) const
{
    if (kind == Label) {
        LayoutLabel &l = page.Label(index);
        l.Left = float(r.left);
        l.Top = float(r.top);
        l.Width = float(r.width);
        l.Height = float(r.height);
        page.notifyLabelChanged(index);
    } else if (kind == Picture) {
        LayoutPicture &p = page.Pic(index);
        p.Left = float(r.left);
        p.Top = float(r.top);
        p.Width = float(r.width);
        p.Height = float(r.height);
        page.notifyPicChanged(index);
    }
}

} // namespace KRML_ReportGen
