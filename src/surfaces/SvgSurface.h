#pragma once

#include "PainterSurface.h"


class QSvgGenerator;

namespace KRML_ReportGen {

class DurableFile;

// A surface that writes each page as an SVG file. The file name pattern
// holds "%1" for the page number (or none, for a single page); each file
// appears only when its page is complete.
class SvgSurface : public PainterSurface
{
public:
    SvgSurface(QString filePattern, double widthTwips = 11907, double heightTwips = 16839.9);
    ~SvgSurface() override;

    Kind kind() const override { return Kind::Printer; }
    void Cls() override;
    double Width() const override { return m_width; }
    void setWidth(double twips) override { m_width = twips; }
    double Height() const override { return m_height; }
    void setHeight(double twips) override { m_height = twips; }
    void NewPage() override;
    void EndDoc() override;

    int pagesWritten() const { return m_written; }
    QString fileFor(int page) const;
    // The report's number of the first page drawn (one page of a longer
    // report); each file's title names its page. Before the first drawing.
    void setFirstPageNumber(int page) { m_page = page; }

protected:
    QPainter *painter() override;

private:
    void finishPage();

    QString m_pattern;
    double m_width;
    double m_height;
    int m_page = 1;
    int m_written = 0;
    std::unique_ptr<DurableFile> m_file;
    std::unique_ptr<QSvgGenerator> m_generator;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace KRML_ReportGen
