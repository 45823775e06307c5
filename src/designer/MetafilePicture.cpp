#include "MetafilePicture.h"

#include "ReportError.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdlib>

#include <emf2svg.h>
extern "C" {
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace KRML_ReportGen {

namespace {

constexpr quint32 kEmrHeader = 1;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr int kEmfHeaderMinimum = 88;
constexpr int kPlaceableHeader = 22;
constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerHimetric = 1440.0 / 2540.0;
// Pictures larger than this (about 5.6 m) are not pictures of a report page.
constexpr double kLargestTwips = 32767.0 * 10;

ReportError invalidPicture(const QString &why)
{
    return ReportError(ReportError::InvalidPicture, QStringLiteral("Invalid picture: %1").arg(why));
}

quint32 u32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
qint32 i32(const QByteArray &b, int at) { return qFromLittleEndian<qint32>(b.constData() + at); }
quint16 u16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
qint16 i16(const QByteArray &b, int at) { return qFromLittleEndian<qint16>(b.constData() + at); }

// libwmf's player, released however reading ends.
struct WmfApi
{
    wmfAPI *api = nullptr;
    ~WmfApi()
    {
        if (api)
            wmf_api_destroy(api);
    }
};

} // namespace

MetafilePicture::Kind MetafilePicture::kindOf(const QByteArray &bytes)
{
    if (bytes.size() >= kEmfHeaderMinimum && u32(bytes, 0) == kEmrHeader && u32(bytes, 40) == kEmfSignature)
        return Kind::Emf;
    if (bytes.size() >= kPlaceableHeader && u32(bytes, 0) == kPlaceableKey)
        return Kind::Wmf;
    // A plain WMF header: type 1 (memory) or 2 (disk), nine words long,
    // version 1.0 or 3.0.
    if (bytes.size() >= 18 && (u16(bytes, 0) == 1 || u16(bytes, 0) == 2) && u16(bytes, 2) == 9
        && (u16(bytes, 4) == 0x0100 || u16(bytes, 4) == 0x0300))
        return Kind::Wmf;
    return Kind::NotAMetafile;
}

MetafilePicture::MetafilePicture(const QByteArray &bytes) : m_kind(kindOf(bytes))
{
    switch (m_kind) {
    case Kind::Emf:
        fromEmf(bytes);
        break;
    case Kind::Wmf:
        fromWmf(bytes);
        break;
    default:
        throw invalidPicture(QStringLiteral("not a Windows metafile"));
    }
    if (!(m_size.width() > 0 && m_size.height() > 0) || m_size.width() > kLargestTwips || m_size.height() > kLargestTwips)
        throw invalidPicture(QStringLiteral("the metafile's size is not usable"));
    m_renderer = std::make_unique<QSvgRenderer>(m_svg);
    if (!m_renderer->isValid())
        throw invalidPicture(QStringLiteral("the metafile could not be drawn"));
    if (m_viewBox.isValid())
        m_renderer->setViewBox(m_viewBox);
}

MetafilePicture::~MetafilePicture() = default;
MetafilePicture::MetafilePicture(MetafilePicture &&) noexcept = default;
MetafilePicture &MetafilePicture::operator=(MetafilePicture &&) noexcept = default;

void MetafilePicture::fromEmf(const QByteArray &bytes)
{
    // The header: the bounds in device pixels (offset 8), the frame, the
    // picture's own area, in 0.01 mm (offset 24), and the reference
    // device's size in pixels (72) and in millimetres (80).
    const QRectF bounds(QPointF(i32(bytes, 8), i32(bytes, 12)), QPointF(i32(bytes, 16), i32(bytes, 20)));
    QRectF frame(QPointF(i32(bytes, 24), i32(bytes, 28)), QPointF(i32(bytes, 32), i32(bytes, 36)));
    const double deviceMm[2] = {double(i32(bytes, 80)), double(i32(bytes, 84))};
    const double pixelsPerHimetric[2] = {deviceMm[0] > 0 ? i32(bytes, 72) / (deviceMm[0] * 100) : 0,
                                         deviceMm[1] > 0 ? i32(bytes, 76) / (deviceMm[1] * 100) : 0};
    const bool scaled = pixelsPerHimetric[0] > 0 && pixelsPerHimetric[1] > 0;
    if (!(frame.width() > 0 && frame.height() > 0) && scaled) // no frame: the bounds' size
        frame = QRectF(bounds.left() / pixelsPerHimetric[0], bounds.top() / pixelsPerHimetric[1],
                       bounds.width() / pixelsPerHimetric[0], bounds.height() / pixelsPerHimetric[1]);
    m_size = QSizeF(frame.width() * kTwipsPerHimetric, frame.height() * kTwipsPerHimetric);

    generatorOptions options{};
    char noNamespace[] = "";
    options.nameSpace = noNamespace;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    QByteArray input = bytes; // the converter wants a writable buffer
    char *svg = nullptr;
    size_t length = 0;
    const int ok = emf2svg(input.data(), size_t(input.size()), &svg, &length, &options);
    if (svg) {
        m_svg = QByteArray(svg, qsizetype(length));
        std::free(svg);
    }
    if (!ok || m_svg.isEmpty())
        throw invalidPicture(QStringLiteral("the enhanced metafile is damaged"));
    // The converter draws in device pixels from the bounds' corner; what
    // is shown is the frame, as Windows shows the picture.
    if (scaled)
        m_viewBox = QRectF(frame.left() * pixelsPerHimetric[0] - bounds.left(), frame.top() * pixelsPerHimetric[1] - bounds.top(),
                           frame.width() * pixelsPerHimetric[0], frame.height() * pixelsPerHimetric[1]);
}

void MetafilePicture::fromWmf(const QByteArray &bytes)
{
    WmfApi wmf;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&wmf.api, flags, &options) != wmf_E_None)
        throw invalidPicture(QStringLiteral("the metafile reader could not start"));
    QByteArray input = bytes;
    wmfD_Rect box;
    if (wmf_mem_open(wmf.api, reinterpret_cast<unsigned char *>(input.data()), long(input.size())) != wmf_E_None
        || wmf_scan(wmf.api, 0, &box) != wmf_E_None)
        throw invalidPicture(QStringLiteral("the metafile is damaged"));

    if (u32(bytes, 0) == kPlaceableKey) {
        // The placeable header's box, in its own units per inch.
        const double inch = u16(bytes, 14);
        if (inch <= 0)
            throw invalidPicture(QStringLiteral("the metafile's size is not usable"));
        m_size = QSizeF((double(i16(bytes, 10)) - i16(bytes, 6)) / inch * kTwipsPerInch,
                        (double(i16(bytes, 12)) - i16(bytes, 8)) / inch * kTwipsPerInch);
    } else {
        unsigned int w = 0, h = 0;
        wmf_display_size(wmf.api, &w, &h, kTwipsPerInch, kTwipsPerInch);
        m_size = QSizeF(w, h);
    }

    wmf_svg_t *device = WMF_SVG_GetData(wmf.api);
    device->out = wmf_stream_create(wmf.api, nullptr);
    char description[] = "KRML ReportGen picture";
    device->Description = description;
    device->bbox = box;
    // The SVG's own size matters only for its proportions.
    device->width = std::max(1u, unsigned(m_size.width() / 15 + 0.5));
    device->height = std::max(1u, unsigned(m_size.height() / 15 + 0.5));
    const wmf_error_t played = wmf_play(wmf.api, 0, &box);
    char *svg = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(wmf.api, device->out, &svg, &length);
    if (svg) {
        m_svg = QByteArray(svg, qsizetype(length));
        wmf_free(wmf.api, svg);
    }
    if (played != wmf_E_None || m_svg.isEmpty())
        throw invalidPicture(QStringLiteral("the metafile is damaged"));
    // libwmf draws every fill half transparent when the background mode is
    // "transparent"; that mode only concerns the gaps of hatches and text,
    // and Windows paints a brush's colour opaque.
    m_svg.replace("fill-opacity:0.5;", "fill-opacity:1;");
}

void MetafilePicture::paint(QPainter &painter, const QRectF &target) const
{
    m_renderer->render(&painter, target);
}

} // namespace KRML_ReportGen
