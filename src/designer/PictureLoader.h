#pragma once

#include "VbColor.h"

#include <QImage>
#include <QString>
#include <functional>

class QPainter;
class QRectF;

namespace KRML_ReportGen {

class FileService;
class MetafilePicture;

// A picture file made ready for a picture object: read, reduced to fit the
// object's area (never enlarged, proportions kept) and centred on an image
// of the object's size filled with the object's back colour. Bitmaps,
// JPEG, GIF, icons and cursors are read by Qt; Windows metafiles (EMF and
// WMF) through MetafilePicture, drawn at the size they get. A file that is
// no readable picture, or an object too small to hold one, is a
// ReportError.
class PictureLoader
{
public:
    static QImage scaledInto(const FileService &files, const QString &path, double boxWidth, double boxHeight,
                             quint32 backColor = VbColor::White);
    static QImage scaledInto(const QImage &image, double boxWidth, double boxHeight, quint32 backColor = VbColor::White);
    static QImage scaledInto(const MetafilePicture &picture, double boxWidth, double boxHeight,
                             quint32 backColor = VbColor::White);
    // A picture object's image put on another back colour when its source
    // file is not at hand: the object's area filled with the colour, the
    // old image (if any) over it where it was.
    static QImage onBackColor(const QImage &image, double boxWidth, double boxHeight, quint32 backColor);
    static QString filter()
    {
        return QStringLiteral("All Files (*.*)|*.*|Pictures (*.bmp;*.jpg;*.jpeg;*.gif;*.ico;*.cur;*.emf;*.rle)|"
                              "*.bmp;*.jpg;*.jpeg;*.gif;*.ico;*.cur;*.emf;*.rle");
    }

private:
    // An image of the box's size in the back colour, with draw called for
    // the fitted and centred rectangle of a picture of the natural size.
    static QImage compose(double naturalWidth, double naturalHeight, double boxWidth, double boxHeight, quint32 backColor,
                          const std::function<void(QPainter &, const QRectF &)> &draw);
};

} // namespace KRML_ReportGen
