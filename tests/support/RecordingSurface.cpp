#include "RecordingSurface.h"

namespace KRML_ReportGen {

QList<RecordingSurface::Op> RecordingSurface::prints() const
{
    QList<Op> out;
    for (const Op &op : ops)
        if (op.kind == QLatin1String("Print"))
            out.append(op);
    return out;
}

QStringList RecordingSurface::printedTexts() const
{
    QStringList out;
    for (const Op &op : prints())
        out.append(op.text);
    return out;
}

void RecordingSurface::Cls()
{
    ops.append({QStringLiteral("Cls")});
    m_x = m_y = 0;
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, quint32 color, LineStyle style)
{
    const QString kind = style == LineStyle::Line ? QStringLiteral("Line")
                         : style == LineStyle::Box ? QStringLiteral("Box")
                                                   : QStringLiteral("FilledBox");
    ops.append({kind, x1, y1, x2, y2, QString(), m_font, color});
}

void RecordingSurface::Print(const QString &text)
{
    ops.append({QStringLiteral("Print"), m_x, m_y, 0, 0, text, m_font, m_color});
    m_x = 0;
    m_y += TextHeight(text);
}

void RecordingSurface::PaintPicture(const QImage &picture, double x, double y)
{
    ops.append({QStringLiteral("PaintPicture"), x, y, double(picture.width()), double(picture.height())});
}

void RecordingSurface::EndDoc()
{
    ops.append({QStringLiteral("EndDoc")});
}

} // namespace KRML_ReportGen
