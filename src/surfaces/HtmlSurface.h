#pragma once

#include "MeasuringSurface.h"

#include <QHash>
#include <QString>
#include <memory>

namespace KRML_ReportGen {

class DurableFile;

// A report as one web page that needs nothing else: each report page is a
// block of its size with the texts, lines, boxes and pictures absolutely
// positioned at the twips the PDF uses (in points, 20 twips each). Text
// stays text (selectable, searchable), in the layout's font with the
// metric-compatible Liberation family named as the fallback; pictures are
// inlined as data URIs. Printed, each report page fills one sheet.
//
// Pages are written as they are completed. The file appears (or replaces
// an older one) only when EndDoc finishes the document.
class HtmlSurface : public MeasuringSurface
{
public:
    HtmlSurface(QString fileName, double widthTwips, double heightTwips);
    ~HtmlSurface() override;

    // The page's title; set before drawing starts.
    void setTitle(const QString &title) { m_title = title; }

    Kind kind() const override { return Kind::Printer; }
    void Line(double x1, double y1, double x2, double y2, quint32 color, LineStyle style = LineStyle::Line) override;
    void Print(const QString &text) override;
    void PaintPicture(const QImage &picture, double x, double y) override;
    void NewPage() override;
    void EndDoc() override;

    // CSS font families for a layout's typeface: its own name, then the
    // installed family with the same metrics, then the generic family.
    static QString fontFamilies(const QString &legacyName);

private:
    void begin();
    void beginPage();
    void endPage();
    void write(const QString &html);
    [[noreturn]] void fail(qint32 number, const QString &why) const;
    // The class of text in the current font and colour, defined where it
    // is first used.
    QString textClass();
    QString classFor(const FontDescription &font);

    QString m_fileName;
    QString m_title;
    std::unique_ptr<DurableFile> m_file;
    bool m_inPage = false;
    int m_page = 0;
    QString m_buffer;
    QHash<QString, QString> m_classes; // font and colour to class name
    FontDescription m_lastFont;
    quint32 m_lastColor = 0;
    QString m_lastClass;
    QHash<qint64, QString> m_pictures; // image to its data URI
};

} // namespace KRML_ReportGen
