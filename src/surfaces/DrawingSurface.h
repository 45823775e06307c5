#pragma once

#include "KRMLReportGenExport.h"
#include "FontDescription.h"

#include <QImage>
#include <QString>
#include <QVariant>
#include <QtGlobal>

namespace KRML_ReportGen {

// The drawing operations the generator uses, in twips (1440 per inch), with
// the origin at the top-left corner and y growing downwards. A surface keeps
// a current font, a fore colour and a print position (CurrentX, CurrentY).
class KRML_REPORTGEN_EXPORT DrawingSurface
{
public:
    enum class Kind {
        PictureBox, // the preview: cleared and sized to the page before drawing
        Printer,    // ends its document with EndDoc
        Other,
    };
    enum class LineStyle {
        Line,      // a straight line between the two points
        Box,       // the outline of the rectangle between them
        FilledBox, // the rectangle filled with the colour
    };

    // What the next Print shows: the label it belongs to, where that
    // label's frame lies and, for a line of a data list, the value behind
    // the text. Surfaces that keep a report's structure rather than its
    // picture (a workbook, a web page) read it; the others ignore it.
    struct PrintSource
    {
        int label = 0;
        double left = 0;
        double width = 0;
        bool list = false; // a line of a data or formula list
        QVariant value;    // a data list's field as the statement gave it; null otherwise
        // A text that grows over several lines: all of it, given with its
        // first line; the further lines come with continued set.
        QString grownText;
        bool continued = false;
    };

    virtual ~DrawingSurface() = default;
    virtual Kind kind() const = 0;

    virtual void Cls() = 0;
    virtual double Width() const = 0;
    virtual void setWidth(double twips) = 0;
    virtual double Height() const = 0;
    virtual void setHeight(double twips) = 0;

    virtual FontDescription Font() const = 0;
    virtual void setFont(const FontDescription &font) = 0;
    virtual quint32 ForeColor() const = 0;
    virtual void setForeColor(quint32 color) = 0;
    virtual double CurrentX() const = 0;
    virtual void setCurrentX(double twips) = 0;
    virtual double CurrentY() const = 0;
    virtual void setCurrentY(double twips) = 0;

    // Width and height of text in the current font, in twips.
    virtual double TextWidth(const QString &text) const = 0;
    virtual double TextHeight(const QString &text = QString()) const = 0;

    virtual void Line(double x1, double y1, double x2, double y2, quint32 color,
                      LineStyle style = LineStyle::Line) = 0;
    // Prints text at (CurrentX, CurrentY) and moves to the start of the next
    // line: CurrentX back to 0, CurrentY down by one line of the current font.
    virtual void Print(const QString &text) = 0;
    virtual void setPrintSource(const PrintSource &) {}
    // Draws the picture at its natural size with its top-left corner at (x, y).
    virtual void PaintPicture(const QImage &picture, double x, double y) = 0;
    // Ends the page and starts a new, empty one (paginated reports).
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
};

} // namespace KRML_ReportGen
