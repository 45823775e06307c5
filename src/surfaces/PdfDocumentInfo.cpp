#include "PdfDocumentInfo.h"

#include <QRegularExpression>

namespace KRML_ReportGen {

namespace {

// A text string of the information dictionary: UTF-16BE with its byte
// order mark, in hexadecimal, so that any character and any bracket passes.
QByteArray pdfText(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QByteArray PdfDocumentInfo::xmp() const
{
    const QString when = created.toString(Qt::ISODate);
    QString x = QStringLiteral("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                               "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                               "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                               "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                               "<dc:format>application/pdf</dc:format>\n");
    if (!title.isEmpty())
        x += QStringLiteral("<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n").arg(xmlEscaped(title));
    if (!author.isEmpty())
        x += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n").arg(xmlEscaped(author));
    x += QStringLiteral("</rdf:Description>\n"
                        "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmp:CreatorTool=\"%1\" "
                        "xmp:CreateDate=\"%2\" xmp:ModifyDate=\"%2\" xmp:MetadataDate=\"%2\"/>\n"
                        "<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" pdf:Producer=\"%3\"/>\n")
             .arg(xmlEscaped(creator), when, xmlEscaped(producer));
    if (pdfA)
        x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" pdfaid:part=\"1\" "
                            "pdfaid:conformance=\"B\"/>\n");
    x += QStringLiteral("</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end='w'?>");
    return x.toUtf8();
}

QByteArray PdfDocumentInfo::infoDictionary() const
{
    const QByteArray date = "(D:" + created.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z)";
    QByteArray d = "<<\n";
    if (!title.isEmpty())
        d += "/Title " + pdfText(title) + '\n';
    if (!author.isEmpty())
        d += "/Author " + pdfText(author) + '\n';
    d += "/Creator " + pdfText(creator) + '\n';
    d += "/Producer " + pdfText(producer) + '\n';
    d += "/CreationDate " + date + "\n/ModDate " + date + '\n';
    if (pdfA)
        d += "/GTS_PDFA1Version (PDF/A-1b:2005)\n";
    return d + ">>";
}

QByteArray PdfDocumentInfo::update(const QByteArray &tail, qint64 fileSize) const
{
    // The last trailer: the catalogue, the information object, the file's
    // identifier, its size in objects and where its cross-reference lies.
    const int at = tail.lastIndexOf("trailer");
    if (at < 0)
        return {};
    const QString trailer = QString::fromLatin1(tail.mid(at));
    static const QRegularExpression size(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression root(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)"));
    static const QRegularExpression info(QStringLiteral("/Info\\s+(\\d+)\\s+(\\d+)\\s+R"));
    static const QRegularExpression id(QStringLiteral("/ID\\s*(\\[[^\\]]*\\])"));
    static const QRegularExpression start(QStringLiteral("startxref\\s+(\\d+)"));
    const auto s = size.match(trailer), r = root.match(trailer), i = info.match(trailer), d = id.match(trailer), x = start.match(trailer);
    if (!s.hasMatch() || !r.hasMatch() || !x.hasMatch())
        return {};

    // The information object is replaced in place when there is one,
    // otherwise added as a new object.
    const int object = i.hasMatch() ? i.captured(1).toInt() : s.captured(1).toInt();
    const int generation = i.hasMatch() ? i.captured(2).toInt() : 0;
    const int objects = std::max(s.captured(1).toInt(), object + 1);
    QByteArray out = "\n";
    const qint64 offset = fileSize + out.size();
    out += QByteArray::number(object) + ' ' + QByteArray::number(generation) + " obj\n" + infoDictionary() + "\nendobj\n";
    const qint64 xref = fileSize + out.size();
    out += "xref\n" + QByteArray::number(object) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0') + ' '
           + QByteArray::number(generation).rightJustified(5, '0') + " n\r\n";
    out += "trailer\n<<\n/Size " + QByteArray::number(objects) + "\n/Info " + QByteArray::number(object) + ' '
           + QByteArray::number(generation) + " R\n/Root " + r.captured(1).toLatin1() + "\n/Prev " + x.captured(1).toLatin1() + '\n';
    if (d.hasMatch())
        out += "/ID " + d.captured(1).toLatin1() + '\n';
    out += ">>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

} // namespace KRML_ReportGen
