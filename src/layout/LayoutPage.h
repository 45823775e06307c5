#pragma once

#include "DrawingLayer.h"
#include "LayoutExtension.h"
#include "LayoutLabel.h"
#include "LayoutPicture.h"

#include <QList>
#include <QObject>

namespace KRML_ReportGen {

// The page of a report layout: its size in twips, the Label and Pic arrays
// and the drawing layer. Element 0 of each array is the hidden template
// that new objects are copied from; the layout's objects are 1..N, always
// contiguous. The designer's items are views of this model; the generator
// and the layout file read it.
class LayoutPage : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxObjects = 32767;

    explicit LayoutPage(QObject *parent = nullptr);

    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void setWidth(float twips);
    void setHeight(float twips);

    // Element counts minus the template.
    int labelCount() const { return int(m_labels.size()) - 1; }
    int picCount() const { return int(m_pics.size()) - 1; }

    // Element i, 0 being the template. An index out of range is error 340.
    LayoutLabel &Label(int index);
    const LayoutLabel &Label(int index) const;
    LayoutPicture &Pic(int index);
    const LayoutPicture &Pic(int index) const;

    // A new element copied from the template, hidden; returns its index.
    // Past 32767 objects the 16-bit index overflows (error 6).
    int createLabel();
    int createPic();
    // Unloads every element but the templates; the extension settings go
    // back to their defaults.
    void removeAll();
    // Unloads the last label or picture (undoing its insertion).
    void removeLastLabel();
    void removeLastPic();
    // The designer's delete, paste and stacking order: an element put in at
    // index (1..count + 1) or taken out, the later ones moving up or down
    // one place, so the indices stay contiguous. Element 0 is never touched.
    void insertLabel(int index, const LayoutLabel &label);
    void removeLabel(int index);
    void insertPic(int index, const LayoutPicture &picture);
    void removePic(int index);

    // Moves the label settings read into extension().labels onto the
    // labels they name (a label index beyond the page is kept as an
    // unknown key), so that they go wherever the labels go.
    void applyLabelSettings();
    // The extension as the package stores it, the labels' settings listed by index.
    LayoutExtension extensionToSave() const;

    // The settings of the package's "Layout.ext" member; back to their
    // defaults when the page is cleared.
    LayoutExtension &extension() { return m_extension; }
    const LayoutExtension &extension() const { return m_extension; }

    DrawingLayer &drawing() { return m_drawing; }
    const DrawingLayer &drawing() const { return m_drawing; }

    // Editors change elements in place and then say so, so views can follow.
    void notifyLabelChanged(int index) { emit labelChanged(index); }
    void notifyPicChanged(int index) { emit picChanged(index); }
    void notifyDrawingChanged() { emit drawingChanged(); }

signals:
    void sizeChanged();
    // An element now at index; any after it moved up one place.
    void labelAdded(int index);
    void picAdded(int index);
    void labelChanged(int index);
    void picChanged(int index);
    void cleared();
    // The element that was at index is gone; any after it moved down one place.
    void labelRemoved(int index);
    void picRemoved(int index);
    void drawingChanged();

private:
    float m_width = 11907.0f;
    float m_height = 16839.9f;
    QList<LayoutLabel> m_labels;
    QList<LayoutPicture> m_pics;
    DrawingLayer m_drawing;
    LayoutExtension m_extension;
};

} // namespace KRML_ReportGen
