#pragma once

#include "PainterSurface.h"

class QPrinter;

namespace KRML_ReportGen {

// The system printer as a drawing surface. When the printer's output file
// name is set (QPrinter::setOutputFileName) the job goes into that PDF file.
class PrinterSurface : public PainterSurface
{
public:
    explicit PrinterSurface(QPrinter *printer);
    ~PrinterSurface() override;

    Kind kind() const override { return Kind::Printer; }
    void Cls() override;
    double Width() const override;
    void setWidth(double) override {}
    double Height() const override;
    void setHeight(double) override {}
    void EndDoc() override;
    void NewPage() override;

    QPrinter *printer() const { return m_printer; }

protected:
    QPainter *painter() override;

private:
    QPrinter *m_printer;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace KRML_ReportGen
