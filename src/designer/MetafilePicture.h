#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>

class QPainter;
class QSvgRenderer;

namespace KRML_ReportGen {

// A Windows metafile picture (Enhanced Metafile ".emf", or Windows Metafile
// ".wmf", placeable or not) turned into SVG by libemf2svg or libwmf and
// drawn with Qt SVG, so that it scales without losing its lines. Its
// natural size comes from the file's own frame: an EMF's frame in
// hundredths of a millimetre, a placeable WMF's box in its units per inch.
class MetafilePicture
{
public:
    enum class Kind { NotAMetafile, Emf, Wmf };

    // Told by the file's content, not by its name.
    static Kind kindOf(const QByteArray &bytes);

    // Reads a metafile; a file that is none, or is damaged, is a
    // ReportError 481 "Invalid picture".
    explicit MetafilePicture(const QByteArray &bytes);
    ~MetafilePicture();
    MetafilePicture(MetafilePicture &&) noexcept;
    MetafilePicture &operator=(MetafilePicture &&) noexcept;

    Kind kind() const { return m_kind; }
    // The natural size in twips.
    QSizeF naturalSize() const { return m_size; }
    // The SVG the picture was turned into.
    const QByteArray &svg() const { return m_svg; }
    // Draws the whole picture into target (the painter's units).
    void paint(QPainter &painter, const QRectF &target) const;

private:
    void fromEmf(const QByteArray &bytes);
    void fromWmf(const QByteArray &bytes);

    Kind m_kind = Kind::NotAMetafile;
    QSizeF m_size;
    QByteArray m_svg;
    QRectF m_viewBox; // the part of the SVG shown; the whole when empty
    std::unique_ptr<QSvgRenderer> m_renderer;
};

} // namespace KRML_ReportGen
