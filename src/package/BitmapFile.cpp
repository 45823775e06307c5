#include "BitmapFile.h"

#include "ReportError.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>

namespace KRML_ReportGen {

namespace {

ReportError invalid(const QString &why)
{
    return ReportError(BitmapFile::InvalidPicture, QStringLiteral("Invalid picture (%1)").arg(why));
}

quint32 u32(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
           | quint32(quint8(b[at + 3])) << 24;
}

quint16 u16(const QByteArray &b, int at)
{
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

// The bitmap header, checked against what the file really holds.
void checkHeader(const QByteArray &b)
{
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M')
        throw invalid(QStringLiteral("not a Windows bitmap"));
    const quint32 dataOffset = u32(b, 10);
    const quint32 headerSize = u32(b, 14);
    static const quint32 knownHeaders[] = {12, 40, 52, 56, 64, 108, 124};
    if (std::find(std::begin(knownHeaders), std::end(knownHeaders), headerSize) == std::end(knownHeaders))
        throw invalid(QStringLiteral("unknown header size %1").arg(headerSize));
    if (b.size() < qint64(14 + headerSize))
        throw invalid(QStringLiteral("the file ends inside its header"));
    qint64 width, height;
    quint16 bitCount;
    quint32 compression = 0;
    if (headerSize == 12) {
        width = u16(b, 18);
        height = u16(b, 20);
        bitCount = u16(b, 24);
    } else {
        width = qint32(u32(b, 18));
        height = qint32(u32(b, 22));
        bitCount = u16(b, 28);
        compression = u32(b, 30);
    }
    if (width <= 0 || height == 0)
        throw invalid(QStringLiteral("width %1, height %2").arg(width).arg(height));
    const qint64 rows = height < 0 ? -height : height;
    if (width * rows > BitmapFile::MaxPixels)
        throw invalid(QStringLiteral("%1 x %2 pixels is too large").arg(width).arg(rows));
    static const quint16 knownBits[] = {1, 2, 4, 8, 16, 24, 32, 64};
    if (std::find(std::begin(knownBits), std::end(knownBits), bitCount) == std::end(knownBits))
        throw invalid(QStringLiteral("%1 bits per pixel").arg(bitCount));
    const bool rle = compression == 1 || compression == 2;
    if (rle && height < 0)
        throw invalid(QStringLiteral("run-length data cannot be stored top-down"));
    if (dataOffset >= quint32(b.size()))
        throw invalid(QStringLiteral("the file ends before its pixels"));
    if (!rle && compression != 4 && compression != 5) {
        const qint64 stride = ((width * bitCount + 31) / 32) * 4;
        if (qint64(dataOffset) + stride * rows > b.size())
            throw invalid(QStringLiteral("the file ends inside its pixels"));
    }
}

} // namespace

QByteArray BitmapFile::save(const QImage &image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    // Windows bitmaps carry no alpha: flatten onto white, as the page shows it.
    QImage flat = image;
    if (flat.isNull()) {
        // A picture object that was never given an image still needs its
        // bitmap in the package: one white pixel.
        flat = QImage(1, 1, QImage::Format_RGB32);
        flat.fill(Qt::white);
    }
    if (flat.hasAlphaChannel()) {
        QImage white(flat.size(), QImage::Format_RGB32);
        white.setDotsPerMeterX(flat.dotsPerMeterX());
        white.setDotsPerMeterY(flat.dotsPerMeterY());
        white.fill(Qt::white);
        QPainter p(&white);
        p.drawImage(0, 0, flat);
        p.end();
        flat = white;
    }
    if (!writer.write(flat))
        throw ReportError(InvalidPicture, QStringLiteral("The picture could not be written as a bitmap: %1").arg(writer.errorString()));
    return out;
}

QImage BitmapFile::load(const QByteArray &bytes)
{
    checkHeader(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image = reader.read();
    if (image.isNull())
        throw invalid(reader.errorString());
    return image;
}

QImage BitmapFile::loadAnyPicture(const QByteArray &bytes)
{
    if (bytes.startsWith("BM"))
        return load(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels)
        throw invalid(QStringLiteral("%1 x %2 pixels is too large").arg(size.width()).arg(size.height()));
    QImage image = reader.read();
    if (image.isNull())
        throw invalid(reader.errorString());
    return image;
}

} // namespace KRML_ReportGen
