// The SQL editor's statement files: any bytes read as RTF, and text
// written as RTF and read back.
#include "RtfText.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    (void)RtfText::plainText(bytes);
    // Text without line breaks comes back as it went in.
    QString text = QString::fromUtf8(bytes);
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    text.remove(QChar(0xFFFD));
    text.remove(QChar(0));
    const QList<RtfText::Run> runs{{0, int(text.size() / 2), 0x0000FF}};
    if (RtfText::plainText(RtfText::write(text, runs)) != text)
        __builtin_trap();
    return 0;
}
