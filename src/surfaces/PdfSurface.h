#pragma once

#include "PainterSurface.h"

class QPdfWriter;

namespace KRML_ReportGen {

class DurableFile;
class PdfDocumentInfo;
class TailRecorder;

// A printer-like surface that writes a PDF file. The page takes the surface's
// Width and Height as they are when drawing starts. The file appears (or
// replaces an older one) only when EndDoc finishes the document.
class PdfSurface : public PainterSurface
{
public:
    PdfSurface(QString fileName, double widthTwips = 11907, double heightTwips = 16839.9);
    ~PdfSurface() override;

    Kind kind() const override { return Kind::Printer; }
    void Cls() override;
    double Width() const override { return m_width; }
    void setWidth(double twips) override { m_width = twips; }
    double Height() const override { return m_height; }
    void setHeight(double twips) override { m_height = twips; }
    void EndDoc() override;
    void NewPage() override;

    const QString &fileName() const { return m_fileName; }

    // The document's information, set before drawing starts: title and
    // author as given, "KRML ReportGen" the creator and the producer.
    // PDF/A-1b (archiving) embeds every font.
    struct Metadata
    {
        QString title;
        QString author;
        bool pdfA = false;
    };
    void setMetadata(const Metadata &metadata) { m_metadata = metadata; }

protected:
    QPainter *painter() override;

private:
    QString m_fileName;
    double m_width;
    double m_height;
    Metadata m_metadata;
    std::unique_ptr<DurableFile> m_file;
    std::unique_ptr<TailRecorder> m_recorder;
    std::unique_ptr<PdfDocumentInfo> m_info;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace KRML_ReportGen
