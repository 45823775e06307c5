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
    record(Op{QStringLiteral("Cls")});
    m_x = m_y = 0;
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, quint32 color, LineStyle style)
{
    const QString kind = style == LineStyle::Line ? QStringLiteral("Line")
                         : style == LineStyle::Box ? QStringLiteral("Box")
                                                   : QStringLiteral("FilledBox");
    record(Op{kind, x1, y1, x2, y2, QString(), m_font, color});
}

void RecordingSurface::Print(const QString &text)
{
    Op op{QStringLiteral("Print"), m_x, m_y, 0, 0, text, m_font, m_color};
    op.source = m_source;
    m_source = PrintSource();
    record(op);
    m_x = 0;
    m_y += TextHeight(text);
}

void RecordingSurface::PaintPicture(const QImage &picture, double x, double y)
{
    record(Op{QStringLiteral("PaintPicture"), x, y, double(picture.width()), double(picture.height())});
}

void RecordingSurface::NewPage()
{
    record(Op{QStringLiteral("NewPage")});
    ++m_page;
    m_x = m_y = 0;
}

void RecordingSurface::EndDoc()
{
    record(Op{QStringLiteral("EndDoc")});
}

} // namespace KRML_ReportGen
