#include "CodePage.h"

#include "ReportError.h"
#include "Windows1252Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace KRML_ReportGen {

namespace {

// One character (a surrogate pair counts as one) starting at i.
qsizetype characterLength(const QString &text, qsizetype i)
{
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
}

} // namespace

QList<int> CodePage::supported()
{
    return {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};
}

bool CodePage::isSupported(int number)
{
    if (!supported().contains(number))
        return false;
    return number == Default || QStringDecoder(CodePage::nameOf(number).constData()).isValid();
}

CodePage::CodePage(int number) : m_number(number)
{
    if (!supported().contains(number))
        throw ReportError(CannotWrite, QStringLiteral("Code page %1 is not one this system reads and writes (it knows %2).")
                                           .arg(number)
                                           .arg([] {
                                               QStringList names;
                                               for (int n : supported())
                                                   names << QString::number(n);
                                               return names.join(QStringLiteral(", "));
                                           }()));
    if (!isSupported(number))
        throw ReportError(CannotWrite, QStringLiteral("Code page %1 is not available on this machine.").arg(number));
    if (number == Default || number == 932 || number == 936 || number == 949 || number == 950)
        return;
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    QStringDecoder decoder(converterName().constData(), QStringConverter::Flag::Stateless);
    m_table = decoder.decode(all);
    if (m_table.size() != 256)
        throw ReportError(CannotWrite, QStringLiteral("Code page %1 is not a single-byte page here.").arg(number));
    for (int b = 0; b < 256; ++b) {
        // An unassigned byte: the control character of its number.
        if (m_table[b] == QChar(QChar::ReplacementCharacter) || m_bytes.contains(m_table[b].unicode()))
            m_table[b] = QChar(b);
        m_bytes.insert(m_table[b].unicode(), char(b));
    }
}

QByteArray CodePage::nameOf(int number)
{
    return QByteArray("windows-") + QByteArray::number(number);
}

QByteArray CodePage::converterName() const
{
    return nameOf(m_number);
}

QString CodePage::decode(const QByteArray &bytes) const
{
    if (m_number == Default)
        return Windows1252Codec::decode(bytes);
    if (tableDriven()) {
        QString out(bytes.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            out[i] = m_table[uchar(bytes[i])];
        return out;
    }
    QStringDecoder decoder(converterName().constData(), QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

qsizetype CodePage::unencodableAt(const QString &text) const
{
    if (m_number == Default) {
        if (Windows1252Codec::canEncode(text))
            return -1;
        for (qsizetype i = 0; i < text.size(); ++i)
            if (!Windows1252Codec::canEncode(QString(text[i])))
                return i;
        return -1;
    }
    if (tableDriven()) {
        for (qsizetype i = 0; i < text.size(); ++i)
            if (!m_bytes.contains(text[i].unicode()))
                return i;
        return -1;
    }
    {
        QStringEncoder whole(converterName().constData(), QStringConverter::Flag::Stateless);
        (void)QByteArray(whole.encode(text));
        if (!whole.hasError())
            return -1;
    }
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = characterLength(text, i);
        QStringEncoder one(converterName().constData(), QStringConverter::Flag::Stateless);
        (void)QByteArray(one.encode(QStringView(text).mid(i, n)));
        if (one.hasError())
            return i;
        i += n;
    }
    return -1;
}

QString CodePage::cannotHoldMessage(const QString &text, qsizetype at) const
{
    const QString character = text.mid(at, characterLength(text, at));
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1]) : character[0].unicode();
    // Where it stands: the line and the text of that line.
    const qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n'), at) + 1;
    qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), at);
    if (lineEnd < 0)
        lineEnd = text.size();
    const qsizetype line = text.left(at).count(QLatin1Char('\n')) + 1;
    const QString context = text.mid(lineStart, lineEnd - lineStart).trimmed().left(60);
    const QString hex = QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("The character \"%1\" (U+%2) cannot be written in code page %3 (line %4: %5). Remove it, "
                          "or choose a code page that holds it.")
        .arg(character, hex)
        .arg(m_number)
        .arg(line)
        .arg(context);
}

QByteArray CodePage::encode(const QString &text) const
{
    const qsizetype bad = unencodableAt(text);
    if (bad >= 0)
        throw ReportError(CannotWrite, cannotHoldMessage(text, bad));
    if (m_number == Default)
        return Windows1252Codec::encode(text);
    if (tableDriven()) {
        QByteArray out(text.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            out[i] = m_bytes.value(text[i].unicode());
        return out;
    }
    QStringEncoder encoder(converterName().constData(), QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

} // namespace KRML_ReportGen
