#pragma once

#include "PainterSurface.h"

namespace KRML_ReportGen {

// A surface that measures text as every other surface does but draws
// nothing: exports that keep a report's structure (rows, cells, positioned
// text) lay the report out on it and take what is printed from Print.
class MeasuringSurface : public PainterSurface
{
public:
    MeasuringSurface(double widthTwips, double heightTwips) : m_width(widthTwips), m_height(heightTwips) {}

    Kind kind() const override { return Kind::Other; }
    void Cls() override { resetState(); }
    double Width() const override { return m_width; }
    void setWidth(double twips) override { m_width = twips; }
    double Height() const override { return m_height; }
    void setHeight(double twips) override { m_height = twips; }
    void NewPage() override { resetState(); }
    void EndDoc() override {}

protected:
    QPainter *painter() override { return nullptr; }

private:
    double m_width;
    double m_height;
};

} // namespace KRML_ReportGen
