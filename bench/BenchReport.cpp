#include "BenchReport.h"

#include "BenchDatabase.h"
#include "LabelTag.h"

namespace KRML_ReportGen {

const char *const BenchReport::fields[4] = {"OrderID", "Customer", "Qty", "Total"};

BenchReport::BenchReport(int rows)
{
    BenchDatabase::prepareFolder(m_dir.path(), rows);
    const auto add = [&](float left, float top, const QString &caption, const QString &tag, const FontDescription &font) {
        const int l = page.createLabel();
        page.Label(l).Left = left;
        page.Label(l).Top = top;
        page.Label(l).Height = 300;
        page.Label(l).Caption = caption;
        page.Label(l).Tag = tag;
        page.Label(l).Font = font;
        page.Label(l).Visible = true;
        return l;
    };
    const FontDescription body{QStringLiteral("Arial"), 9};
    const FontDescription bold{QStringLiteral("Arial"), 9, true};
    add(600, 500, QStringLiteral("Orders"), QString(), FontDescription{QStringLiteral("Arial"), 16, true});
    add(600, 16400, QStringLiteral("Page [Page] of [Pages]"), QString(), body);
    for (int i = 0; i < 4; ++i) {
        add(600 + i * 2500, 1400, QLatin1String(fields[i]), QString(), bold);
        add(600 + i * 2500, 1800, QString(), LabelTag::dataTag(QStringLiteral("Orders"), QLatin1String(fields[i])), body);
    }
    add(600, 2000, QStringLiteral("End of the order list"), QString(), body);
    generator.setPaginate(true);
}

} // namespace KRML_ReportGen
