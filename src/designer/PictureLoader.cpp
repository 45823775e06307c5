#include "PictureLoader.h"

#include "FileService.h"
#include "PictureScaling.h"
#include "ReportError.h"

#include <QPainter>

namespace KRML_ReportGen {

QImage PictureLoader::scaledInto(const FileService &files, const QString &path, double boxWidth, double boxHeight)
{
    QImage image;
    if (!image.loadFromData(files.readBytes(path)))
        throw ReportError(ReportError::InvalidPicture, QStringLiteral("Invalid picture"));
    return scaledInto(image, boxWidth, boxHeight);
}

QImage PictureLoader::scaledInto(const QImage &image, double boxWidth, double boxHeight)
{
    constexpr double tpp = PictureScaling::TwipsPerPixel;
    const double areaW = PictureScaling::areaOf(boxWidth);
    const double areaH = PictureScaling::areaOf(boxHeight);
    const auto fitted = PictureScaling::fit(image.width() * tpp, image.height() * tpp, areaW, areaH);
    const auto offset = PictureScaling::centre(fitted.width, fitted.height, areaW, areaH);
    const int w = std::max(1, int(boxWidth / tpp));
    const int h = std::max(1, int(boxHeight / tpp));
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(offset.x / tpp, offset.y / tpp, fitted.width / tpp, fitted.height / tpp), image);
    return out;
}

} // namespace KRML_ReportGen
