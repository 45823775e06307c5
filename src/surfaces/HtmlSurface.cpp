#include "HtmlSurface.h"

#include "DurableFile.h"
#include "FontMapper.h"
#include "ReportError.h"
#include "VbColor.h"

#include <QBuffer>

namespace KRML_ReportGen {

namespace {

// Twips as CSS points, without trailing zeros.
QString pt(double twips)
{
    QString n = QString::number(twips / 20.0, 'f', 2);
    while (n.endsWith(QLatin1Char('0')))
        n.chop(1);
    if (n.endsWith(QLatin1Char('.')))
        n.chop(1);
    return n + QLatin1String("pt");
}

QString cssColor(quint32 color)
{
    return VbColor::toQColor(color).name();
}

} // namespace

HtmlSurface::HtmlSurface(QString fileName, double widthTwips, double heightTwips)
    : MeasuringSurface(widthTwips, heightTwips), m_fileName(std::move(fileName))
{
}

HtmlSurface::~HtmlSurface() = default;

QString HtmlSurface::fontFamilies(const QString &legacyName)
{
    const QString own = legacyName.trimmed();
    const QString metric = FontMapper::family(own);
    const QString generic = metric.contains(QLatin1String("Serif")) ? QStringLiteral("serif")
                            : metric.contains(QLatin1String("Mono")) ? QStringLiteral("monospace")
                                                                      : QStringLiteral("sans-serif");
    QStringList families;
    if (!own.isEmpty() && own.compare(metric, Qt::CaseInsensitive) != 0)
        families << QLatin1Char('"') + QString(own).remove(QLatin1Char('"')) + QLatin1Char('"');
    families << QLatin1Char('"') + metric + QLatin1Char('"') << generic;
    return families.join(QLatin1Char(','));
}

void HtmlSurface::fail(qint32 number, const QString &why) const
{
    throw ReportError(number ? number : ReportError::PathFileAccessError,
                      QStringLiteral("The web page could not be written: '%1' (%2)").arg(m_fileName, why));
}

void HtmlSurface::write(const QString &html)
{
    m_buffer += html;
    // Written in pieces of a few hundred kilobytes: a long report never
    // sits in memory whole.
    if (m_buffer.size() > 256 * 1024) {
        const QByteArray bytes = m_buffer.toUtf8();
        if (m_file->write(bytes) != bytes.size())
            fail(m_file->errorNumber(), m_file->errorText());
        m_buffer.clear();
    }
}

void HtmlSurface::begin()
{
    if (m_file)
        return;
    m_file = std::make_unique<DurableFile>(m_fileName);
    if (!m_file->open(QIODevice::WriteOnly))
        fail(m_file->errorNumber(), m_file->errorText());
    const QString w = pt(Width()), h = pt(Height());
    write(QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                         "<meta name=\"generator\" content=\"KRML ReportGen\">\n<title>%1</title>\n<style>\n"
                         "html{background:#e8e8e8}\n"
                         "body{margin:0}\n"
                         ".page{position:relative;overflow:hidden;background:#fff;width:%2;height:%3;margin:0 0 12pt 0}\n"
                         ".page>*{position:absolute;margin:0;padding:0}\n"
                         ".page>span{white-space:pre}\n"
                         ".page>div{box-sizing:border-box}\n"
                         "@page{size:%2 %3;margin:0}\n"
                         "@media print{html{background:none}.page{margin:0;break-after:page}"
                         ".page:last-child{break-after:auto}}\n"
                         "</style>\n</head>\n<body>\n")
              .arg(m_title.toHtmlEscaped(), w, h));
}

void HtmlSurface::beginPage()
{
    begin();
    if (m_inPage)
        return;
    ++m_page;
    write(QStringLiteral("<div class=\"page\" id=\"page-%1\">\n").arg(m_page));
    m_inPage = true;
}

void HtmlSurface::endPage()
{
    beginPage(); // an empty page is still a page
    write(QStringLiteral("</div>\n"));
    m_inPage = false;
}

QString HtmlSurface::textClass()
{
    // Lists print line after line in one font: the last class serves them.
    const FontDescription f = Font();
    if (!m_lastClass.isEmpty() && f == m_lastFont && ForeColor() == m_lastColor)
        return m_lastClass;
    m_lastFont = f;
    m_lastColor = ForeColor();
    m_lastClass = classFor(f);
    return m_lastClass;
}

QString HtmlSurface::classFor(const FontDescription &f)
{
    const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                            .arg(f.name)
                            .arg(double(f.size))
                            .arg(f.bold)
                            .arg(f.italic)
                            .arg(f.underline)
                            .arg(f.strikethru)
                            .arg(ForeColor());
    const auto known = m_classes.constFind(key);
    if (known != m_classes.constEnd())
        return *known;
    const QString name = QStringLiteral("f%1").arg(m_classes.size());
    m_classes.insert(key, name);
    QStringList decoration;
    if (f.underline)
        decoration << QStringLiteral("underline");
    if (f.strikethru)
        decoration << QStringLiteral("line-through");
    // The line is as high as the surface measures it, so the baseline lies
    // where every other surface puts it.
    write(QStringLiteral("<style>.%1{font:%2%3%4/%5 %6;color:%7%8}</style>\n")
              .arg(name, f.italic ? QStringLiteral("italic ") : QString(), f.bold ? QStringLiteral("bold ") : QString(),
                   pt(FontMapper::twipsForPoints(f.size)), pt(TextHeight()), fontFamilies(f.name), cssColor(ForeColor()),
                   decoration.isEmpty() ? QString() : QStringLiteral(";text-decoration:") + decoration.join(QLatin1Char(' '))));
    return name;
}

void HtmlSurface::Print(const QString &text)
{
    if (!text.isEmpty() && CurrentY() < Height() && CurrentX() < Width()) {
        beginPage();
        const QString cls = textClass();
        write(QStringLiteral("<span class=\"%1\" style=\"left:%2;top:%3\">%4</span>\n")
                  .arg(cls, pt(CurrentX()), pt(CurrentY()), text.toHtmlEscaped()));
    }
    MeasuringSurface::Print(text);
}

void HtmlSurface::Line(double x1, double y1, double x2, double y2, quint32 color, LineStyle style)
{
    beginPage();
    const double left = std::min(x1, x2), top = std::min(y1, y2);
    const double width = std::abs(x2 - x1), height = std::abs(y2 - y1);
    // Lines are one pixel wide and centred on their coordinates, as the
    // other surfaces draw them: a box's outline half outside, half inside.
    const auto centred = [](double twips) { return QStringLiteral("calc(%1 - .5px)").arg(pt(twips)); };
    const auto widened = [](double twips) { return QStringLiteral("calc(%1 + 1px)").arg(pt(twips)); };
    const QString ink = QStringLiteral("1px solid ") + cssColor(color);
    switch (style) {
    case LineStyle::FilledBox:
        write(QStringLiteral("<div style=\"left:%1;top:%2;width:%3;height:%4;background:%5\"></div>\n")
                  .arg(pt(left), pt(top), pt(width), pt(height), cssColor(color)));
        break;
    case LineStyle::Box:
        write(QStringLiteral("<div style=\"left:%1;top:%2;width:%3;height:%4;border:%5\"></div>\n")
                  .arg(centred(left), centred(top), widened(width), widened(height), ink));
        break;
    case LineStyle::Line:
        if (y1 == y2)
            write(QStringLiteral("<div style=\"left:%1;top:%2;width:%3;border-top:%4\"></div>\n")
                      .arg(pt(left), centred(top), pt(width), ink));
        else if (x1 == x2)
            write(QStringLiteral("<div style=\"left:%1;top:%2;height:%3;border-left:%4\"></div>\n")
                      .arg(centred(left), pt(top), pt(height), ink));
        else
            write(QStringLiteral("<svg style=\"left:%1;top:%2;width:%3;height:%4;overflow:visible\"><line x1=\"%5\" y1=\"%6\" "
                                 "x2=\"%7\" y2=\"%8\" stroke=\"%9\"/></svg>\n")
                      .arg(pt(left), pt(top), pt(width), pt(height), pt(x1 - left), pt(y1 - top), pt(x2 - left), pt(y2 - top))
                      .arg(cssColor(color)));
        break;
    }
}

void HtmlSurface::PaintPicture(const QImage &picture, double x, double y)
{
    if (picture.isNull())
        return;
    beginPage();
    QString &uri = m_pictures[picture.cacheKey()];
    if (uri.isEmpty()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        uri = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }
    const QSizeF size = naturalSize(picture);
    write(QStringLiteral("<img alt=\"\" src=\"%1\" style=\"left:%2;top:%3;width:%4;height:%5\">\n")
              .arg(uri, pt(x), pt(y), pt(size.width()), pt(size.height())));
}

void HtmlSurface::NewPage()
{
    endPage();
    MeasuringSurface::NewPage();
}

void HtmlSurface::EndDoc()
{
    endPage();
    write(QStringLiteral("</body>\n</html>\n"));
    const QByteArray bytes = m_buffer.toUtf8();
    m_buffer.clear();
    const bool ok = m_file->write(bytes) == bytes.size() && m_file->commit();
    const QString why = m_file->errorText();
    const qint32 number = m_file->errorNumber();
    m_file.reset();
    if (!ok)
        fail(number, why);
}

} // namespace KRML_ReportGen
