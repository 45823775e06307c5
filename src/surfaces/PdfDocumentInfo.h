#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace KRML_ReportGen {

// A PDF's document information: title, author, creator and producer, and
// for PDF/A-1b its identification, written twice as the standard asks:
// as the XMP packet the writer embeds, and as the information dictionary
// of an incremental update appended to the finished file (Qt's writer has
// no author and names itself the producer).
class PdfDocumentInfo
{
public:
    QString title;
    QString author;
    QString creator;
    QString producer;
    bool pdfA = false;
    QDateTime created; // UTC, whole seconds

    QByteArray xmp() const;
    // The update to append to a finished PDF of fileSize bytes whose last
    // bytes are tail (they hold its trailer); empty when the trailer is
    // not found there.
    QByteArray update(const QByteArray &tail, qint64 fileSize) const;

private:
    QByteArray infoDictionary() const;
};

} // namespace KRML_ReportGen
