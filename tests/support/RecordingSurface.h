#pragma once

#include "DrawingSurface.h"

#include <QList>
#include <QString>

namespace KRML_ReportGen {

// A surface for tests: records every drawing operation with the state it
// was drawn in. Text metrics are simple and exact: a character is
// size x 10 twips wide, a line size x 20 + 40 twips high.
class RecordingSurface : public DrawingSurface
{
public:
    struct Op
    {
        QString kind; // "Cls", "Line", "Box", "FilledBox", "Print", "PaintPicture", "NewPage", "EndDoc"
        double x = 0, y = 0, x2 = 0, y2 = 0;
        QString text = QString();
        FontDescription font = FontDescription();
        quint32 color = 0;
        int page = 1; // the page it was drawn on
        PrintSource source = PrintSource(); // what a Print showed, as the generator said
    };

    explicit RecordingSurface(Kind kind = Kind::PictureBox, double width = 11907, double height = 16840)
        : m_kind(kind), m_width(width), m_height(height)
    {
    }

    QList<Op> ops;
    QList<Op> prints() const;
    int pages() const { return m_page; }
    QStringList printedTexts() const;

    Kind kind() const override { return m_kind; }
    void Cls() override;
    double Width() const override { return m_width; }
    void setWidth(double twips) override { m_width = twips; }
    double Height() const override { return m_height; }
    void setHeight(double twips) override { m_height = twips; }
    FontDescription Font() const override { return m_font; }
    void setFont(const FontDescription &font) override { m_font = font; }
    quint32 ForeColor() const override { return m_color; }
    void setForeColor(quint32 color) override { m_color = color; }
    double CurrentX() const override { return m_x; }
    void setCurrentX(double twips) override { m_x = twips; }
    double CurrentY() const override { return m_y; }
    void setCurrentY(double twips) override { m_y = twips; }
    double TextWidth(const QString &text) const override { return text.size() * m_font.size * 10.0; }
    double TextHeight(const QString & = QString()) const override { return m_font.size * 20.0 + 40.0; }
    void Line(double x1, double y1, double x2, double y2, quint32 color, LineStyle style = LineStyle::Line) override;
    void Print(const QString &text) override;
    void setPrintSource(const PrintSource &source) override { m_source = source; }
    void PaintPicture(const QImage &picture, double x, double y) override;
    void EndDoc() override;
    void NewPage() override;

private:
    void record(Op op)
    {
        op.page = m_page;
        ops.append(op);
    }

    Kind m_kind;
    double m_width;
    double m_height;
    FontDescription m_font;
    quint32 m_color = 0;
    double m_x = 0;
    double m_y = 0;
    int m_page = 1;
    PrintSource m_source;
};

} // namespace KRML_ReportGen
