#pragma once

#include <QImage>
#include <QString>

namespace KRML_ReportGen {

// A picture object of the page. Tag holds the path of the file the user
// chose; it is not saved, so a reopened layout's pictures have an empty Tag.
struct LayoutPicture
{
    float Top = 705;
    float Left = 120;
    float Height = 495;
    float Width = 1215;
    QImage Picture;
    QString Tag;
    // The colour around the image (and of an empty box that was given one).
    // It is part of the image, and so of the saved bitmap; the layout text
    // file has no line for it.
    quint32 BackColor = 0xFFFFFF;
    bool Visible = false;
};

} // namespace KRML_ReportGen
