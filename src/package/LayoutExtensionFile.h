#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

struct LayoutExtension;

// The package member "Layout.ext": CR LF lines "Key=Value" in the package's
// code page, read after "Layout.krml". Page settings are "Page.Key=Value",
// label settings "Label(i).Key=Value" with the label's index. Unlike the
// layout text file it is read by key, so a newer version may add keys in
// any order: keys not known here are kept and written back unchanged.
class LayoutExtensionFile
{
public:
    static QString fileName() { return QStringLiteral("Layout.ext"); }

    // Reads the member's bytes into extension (which keeps its values for
    // keys the text does not carry). A malformed line is skipped; the
    // returned list says which, one message per line, with its number.
    static QStringList read(const QByteArray &bytes, LayoutExtension &extension);
    static QByteArray write(const LayoutExtension &extension);
    static QString toText(const LayoutExtension &extension);
};

} // namespace KRML_ReportGen
