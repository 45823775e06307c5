#pragma once

#include <QImage>
#include <QString>

namespace KRML_ReportGen {

class FileService;

// A picture file made ready for a picture object: read, reduced to fit the
// object's area (never enlarged, proportions kept) and centred on a white
// image of the object's size. A file that is no readable picture, or an
// object too small to hold one, is a ReportError.
class PictureLoader
{
public:
    static QImage scaledInto(const FileService &files, const QString &path, double boxWidth, double boxHeight);
    static QImage scaledInto(const QImage &image, double boxWidth, double boxHeight);
    static QString filter()
    {
        return QStringLiteral("All Files (*.*)|*.*|Pictures (*.bmp;*.jpg;*.jpeg;*.gif;*.ico;*.cur;*.emf;*.rle)|"
                              "*.bmp;*.jpg;*.jpeg;*.gif;*.ico;*.cur;*.emf;*.rle");
    }
};

} // namespace KRML_ReportGen
