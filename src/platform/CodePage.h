#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace KRML_ReportGen {

// The Windows code page the system's text files are written in: the layout
// text file, the report SQL file, the connection files and the CSV export.
// Legacy files come from machines with other code pages than Windows-1252,
// so the page is a choice (the control's CodePage, reportgen --codepage).
// Windows-1252 is the system's own table (Windows1252Codec); the others come
// from ICU's converters. A single-byte page is read into a table of its 256
// bytes once, and a byte the page leaves unassigned stands for the control
// character of the same number, so every byte of a legacy file comes back
// as it was. A character the page cannot hold is refused with a message
// that names it; it is never written as "?" nor as a look-alike.
class CodePage
{
public:
    static constexpr int Default = 1252;
    // Raised by encode() for a character the page cannot hold, and by the
    // constructor for a page that is not available.
    static constexpr qint32 CannotWrite = 17; // "Can't perform requested operation"

    // The pages offered: Thai, the four East Asian double-byte pages and
    // the Windows single-byte pages 1250 to 1258.
    static QList<int> supported();
    static bool isSupported(int number);

    explicit CodePage(int number = Default);

    int number() const { return m_number; }
    QString decode(const QByteArray &bytes) const;
    // The text in the code page; a ReportError (CannotWrite) naming the
    // first character the page cannot hold, and where it stands, otherwise.
    QByteArray encode(const QString &text) const;
    // The position of the first character the page cannot hold, or -1.
    qsizetype unencodableAt(const QString &text) const;
    QString cannotHoldMessage(const QString &text, qsizetype at) const;

private:
    static QByteArray nameOf(int number);
    QByteArray converterName() const;
    bool tableDriven() const { return !m_table.isEmpty(); }
    int m_number;
    // Single-byte pages other than 1252: the character of each byte, and
    // the byte of each character.
    QString m_table;
    QHash<char16_t, char> m_bytes;
};

} // namespace KRML_ReportGen
