#include "PictureLoader.h"

#include "FileService.h"
#include "MetafilePicture.h"
#include "PictureScaling.h"
#include "ReportError.h"

#include <QPainter>

namespace KRML_ReportGen {

namespace {

QImage boxImage(double boxWidth, double boxHeight, quint32 backColor)
{
    constexpr double tpp = PictureScaling::TwipsPerPixel;
    QImage out(std::max(1, int(boxWidth / tpp)), std::max(1, int(boxHeight / tpp)), QImage::Format_RGB32);
    out.fill(VbColor::toQColor(backColor));
    return out;
}

} // namespace

QImage PictureLoader::scaledInto(const FileService &files, const QString &path, double boxWidth, double boxHeight,
                                 quint32 backColor)
{
    const QByteArray bytes = files.readBytes(path);
    if (MetafilePicture::kindOf(bytes) != MetafilePicture::Kind::NotAMetafile)
        return scaledInto(MetafilePicture(bytes), boxWidth, boxHeight, backColor);
    QImage image;
    if (!image.loadFromData(bytes))
        throw ReportError(ReportError::InvalidPicture, QStringLiteral("Invalid picture"));
    return scaledInto(image, boxWidth, boxHeight, backColor);
}

QImage PictureLoader::scaledInto(const QImage &image, double boxWidth, double boxHeight, quint32 backColor)
{
    constexpr double tpp = PictureScaling::TwipsPerPixel;
    return compose(image.width() * tpp, image.height() * tpp, boxWidth, boxHeight, backColor,
                   [&](QPainter &p, const QRectF &r) {
                       p.setRenderHint(QPainter::SmoothPixmapTransform);
                       p.drawImage(r, image);
                   });
}

QImage PictureLoader::scaledInto(const MetafilePicture &picture, double boxWidth, double boxHeight, quint32 backColor)
{
    return compose(picture.naturalSize().width(), picture.naturalSize().height(), boxWidth, boxHeight, backColor,
                   [&](QPainter &p, const QRectF &r) {
                       p.setRenderHint(QPainter::Antialiasing);
                       picture.paint(p, r);
                   });
}

QImage PictureLoader::compose(double naturalWidth, double naturalHeight, double boxWidth, double boxHeight, quint32 backColor,
                              const std::function<void(QPainter &, const QRectF &)> &draw)
{
    constexpr double tpp = PictureScaling::TwipsPerPixel;
    const double areaW = PictureScaling::areaOf(boxWidth);
    const double areaH = PictureScaling::areaOf(boxHeight);
    const auto fitted = PictureScaling::fit(naturalWidth, naturalHeight, areaW, areaH);
    const auto offset = PictureScaling::centre(fitted.width, fitted.height, areaW, areaH);
    QImage out = boxImage(boxWidth, boxHeight, backColor);
    QPainter p(&out);
    draw(p, QRectF(offset.x / tpp, offset.y / tpp, fitted.width / tpp, fitted.height / tpp));
    return out;
}

QImage PictureLoader::onBackColor(const QImage &image, double boxWidth, double boxHeight, quint32 backColor)
{
    QImage out = boxImage(boxWidth, boxHeight, backColor);
    if (!image.isNull()) {
        QPainter p(&out);
        p.drawImage(QPointF(0, 0), image);
    }
    return out;
}

} // namespace KRML_ReportGen
