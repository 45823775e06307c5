#include "LayoutClipboard.h"

#include "BitmapFile.h"
#include "LayoutFile.h"
#include "LayoutPage.h"
#include "ReportError.h"
#include "Windows1252Codec.h"

#include <QMimeData>

namespace KRML_ReportGen {

namespace {

const QString kHeader = QStringLiteral("KRMLLayoutFile");

QByteArray layoutBytes(const QMimeData &mime)
{
    if (mime.hasFormat(LayoutClipboard::mimeType()))
        return mime.data(LayoutClipboard::mimeType());
    if (mime.hasText() && mime.text().startsWith(kHeader))
        return Windows1252Codec::encode(mime.text());
    return {};
}

} // namespace

std::unique_ptr<QMimeData> LayoutClipboard::copy(const LayoutPage &page, const QList<ObjectRef> &objects)
{
    LayoutPage copied;
    copied.setWidth(page.Width());
    copied.setHeight(page.Height());
    QList<ObjectRef> sorted = objects;
    std::sort(sorted.begin(), sorted.end(),
              [](const ObjectRef &a, const ObjectRef &b) { return a.kind != b.kind ? a.kind < b.kind : a.index < b.index; });
    for (const ObjectRef &o : sorted) {
        if (o.kind == ObjectRef::Label)
            copied.insertLabel(copied.labelCount() + 1, page.Label(o.index));
        else if (o.kind == ObjectRef::Picture)
            copied.insertPic(copied.picCount() + 1, page.Pic(o.index));
    }
    auto mime = std::make_unique<QMimeData>();
    const QString text = LayoutFile::toText(copied);
    mime->setData(mimeType(), Windows1252Codec::encode(text));
    mime->setText(text);
    for (int i = 1; i <= copied.picCount(); ++i)
        mime->setData(pictureMimeType(i), BitmapFile::save(copied.Pic(i).Picture));
    return mime;
}

bool LayoutClipboard::holdsLayout(const QMimeData &mime)
{
    return !layoutBytes(mime).isEmpty();
}

void LayoutClipboard::read(const QMimeData &mime, LayoutPage &into)
{
    const QByteArray bytes = layoutBytes(mime);
    if (bytes.isEmpty())
        throw ReportError(ReportError::TypeMismatch, QStringLiteral("The clipboard holds no report objects."));
    LayoutFile::read(bytes, into, [&mime](const QString &name) {
        // "Picture" i ".bmp": the bitmap sent along for picture i, if any.
        bool ok = false;
        const int i = name.mid(7, name.size() - 11).toInt(&ok);
        if (!ok || !name.startsWith(QLatin1String("Picture")) || !mime.hasFormat(pictureMimeType(i)))
            return BitmapFile::save(QImage());
        return mime.data(pictureMimeType(i));
    });
}

} // namespace KRML_ReportGen
