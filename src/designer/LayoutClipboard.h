#pragma once

#include "ObjectRef.h"

#include <QList>
#include <QString>
#include <memory>

class QMimeData;

namespace KRML_ReportGen {

class LayoutPage;

// Page objects on the clipboard: the lines of a layout text file that holds
// just them, so they paste between designer windows and programs and read
// as text anywhere; each picture's bitmap travels beside the lines.
class LayoutClipboard
{
public:
    static QString mimeType() { return QStringLiteral("application/x-krml-layout-objects"); }
    static QString pictureMimeType(int index) { return QStringLiteral("application/x-krml-layout-objects-picture-%1").arg(index); }

    // The labels and pictures given (each kind in page order).
    static std::unique_ptr<QMimeData> copy(const LayoutPage &page, const QList<ObjectRef> &objects);
    // Whether the data holds layout lines (ours, or text that begins as a
    // layout file does).
    static bool holdsLayout(const QMimeData &mime);
    // The objects of the data on a page of their own. Damaged lines fail
    // with a ReportError; a picture whose bitmap did not come along is blank.
    static void read(const QMimeData &mime, LayoutPage &into);
};

} // namespace KRML_ReportGen
