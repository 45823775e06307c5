#pragma once

#include <QByteArray>
#include <QImage>

namespace KRML_ReportGen {

// Pictures of a layout are stored as Windows bitmaps. Reading checks the
// header before anything is decoded, so broken or hostile files (absurd
// sizes, bad bit counts, truncated data) fail with error 481 "Invalid
// picture" instead of reaching the decoder.
class BitmapFile
{
public:
    static constexpr qint32 InvalidPicture = 481;
    // Files declaring more pixels than this are refused (a 16000 x 16000 page).
    static constexpr qint64 MaxPixels = 256LL * 1024 * 1024;

    static QByteArray save(const QImage &image);
    static QImage load(const QByteArray &bytes);
    // Any picture format the platform reads (bmp, jpg, gif, ico, cur, ...).
    static QImage loadAnyPicture(const QByteArray &bytes);
};

} // namespace KRML_ReportGen
