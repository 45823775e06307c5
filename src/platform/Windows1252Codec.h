#pragma once

#include <QByteArray>
#include <QString>

namespace KRML_ReportGen {

// The single-byte code page every file of the system is written in.
// Bytes 0x80-0x9F carry the typographic characters (€ ‚ ƒ „ … † ‡ ˆ ‰ Š ‹ Œ Ž
// ‘ ’ “ ” • – — ˜ ™ š › œ ž Ÿ); the five unassigned bytes decode to the C1
// control of the same value, so every byte sequence round-trips. Characters
// the code page lacks are written as "?".
class Windows1252Codec
{
public:
    static QString decode(const QByteArray &bytes);
    static QByteArray encode(const QString &text);
    static bool canEncode(const QString &text);
};

} // namespace KRML_ReportGen
