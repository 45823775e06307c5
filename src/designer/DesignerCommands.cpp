#include "DesignerCommands.h"

#include "DbConnection.h"
#include "LayoutPage.h"
#include "LegacyNumber.h"
#include "MsgBoxStyle.h"
#include "ObjectChangeCommand.h"
#include "PictureLoader.h"
#include "ReportError.h"
#include "Sizer.h"
#include "UserPrompts.h"
#include "VbConvert.h"

#include <QUndoStack>

namespace KRML_ReportGen {

DesignerCommands::DesignerCommands(LayoutPage &page, Sizer &sizer, UserPrompts &prompts, FileService &files, QUndoStack &undo)
    : m_page(page), m_sizer(sizer), m_prompts(prompts), m_files(files), m_undo(undo)
{
}

ObjectRef DesignerCommands::selected() const
{
    return m_sizer.isVisible() ? m_sizer.BoundControl() : ObjectRef{};
}

template <typename Change>
void DesignerCommands::changeSelected(const QString &what, Change change)
{
    const ObjectRef o = selected();
    if (o.isNull())
        return;
    const ObjectChangeCommand::State before = ObjectChangeCommand::stateOf(m_page, o);
    if (!change(o))
        return;
    if (o.kind == ObjectRef::Label)
        m_page.notifyLabelChanged(o.index);
    else
        m_page.notifyPicChanged(o.index);
    m_undo.push(new ObjectChangeCommand(m_page, o, before, what));
}

void DesignerCommands::pressLabel(int index, int button)
{
    m_sizer.setBoundControl({ObjectRef::Label, index});
    m_menu.pressLabel(m_page.Label(index), button);
}

void DesignerCommands::pressPicture(int index, int button)
{
    if (button == Sizer::LeftButton)
        m_sizer.setBoundControl({ObjectRef::Picture, index});
    m_menu.pressPicture(button);
}

void DesignerCommands::clickPage()
{
    m_sizer.hide();
    m_menu.clickPage();
}

void DesignerCommands::editText()
{
    if (selected().kind != ObjectRef::Label)
        return;
    const QString text = m_prompts.inputBox(editTextPrompt(), QString(), QString());
    if (text.isEmpty())
        return;
    changeSelected(QStringLiteral("Edit Text"), [&](const ObjectRef &o) {
        m_page.Label(o.index).Caption = text;
        return true;
    });
}

void DesignerCommands::formatText()
{
    if (selected().kind != ObjectRef::Label)
        return;
    FontDescription font = m_page.Label(selected().index).Font;
    if (!m_prompts.chooseFont(font))
        return; // Cancel changes nothing
    quint32 colour = m_page.Label(selected().index).ForeColor;
    const bool coloured = m_prompts.chooseColor(colour);
    changeSelected(QStringLiteral("Format Text"), [&](const ObjectRef &o) {
        m_page.Label(o.index).Font = font;
        if (coloured)
            m_page.Label(o.index).ForeColor = colour;
        return true;
    });
}

void DesignerCommands::align(int alignment)
{
    changeSelected(QStringLiteral("Alignment"), [&](const ObjectRef &o) {
        if (o.kind != ObjectRef::Label)
            return false;
        m_page.Label(o.index).Alignment = qint16(alignment);
        return true;
    });
}

void DesignerCommands::toggleBorder()
{
    if (selected().kind != ObjectRef::Label)
        return;
    const bool checked = m_menu.toggleBorder();
    changeSelected(QStringLiteral("Border"), [&](const ObjectRef &o) {
        m_page.Label(o.index).BorderStyle = checked ? 1 : 0;
        return true;
    });
}

void DesignerCommands::editPicture()
{
    const ObjectRef o = selected();
    if (o.kind != ObjectRef::Picture)
        return;
    const QString path = m_prompts.openFileName(QString(), PictureLoader::filter(), 2, QString());
    if (path.isEmpty())
        return;
    QImage image;
    try {
        const LayoutPicture &pic = m_page.Pic(o.index);
        image = PictureLoader::scaledInto(m_files, path, pic.Width, pic.Height, pic.BackColor);
    } catch (const ReportError &) {
        m_prompts.msgBox(unrecognisedPictureMessage(), MsgBoxStyle::Exclamation);
        return;
    }
    changeSelected(QStringLiteral("Edit Picture"), [&](const ObjectRef &sel) {
        m_page.Pic(sel.index).Picture = image;
        m_page.Pic(sel.index).Tag = path;
        return true;
    });
}

void DesignerCommands::backColor()
{
    const ObjectRef o = selected();
    if (o.kind == ObjectRef::Picture) {
        pictureBackColor(o.index);
        return;
    }
    if (o.kind != ObjectRef::Label)
        return;
    quint32 colour = m_page.Label(o.index).BackColor;
    if (!m_prompts.chooseColor(colour))
        return;
    changeSelected(QStringLiteral("BackColor"), [&](const ObjectRef &sel) {
        m_page.Label(sel.index).BackColor = colour;
        return true;
    });
}

void DesignerCommands::pictureBackColor(int index)
{
    const LayoutPicture &pic = m_page.Pic(index);
    quint32 colour = pic.BackColor;
    if (!m_prompts.chooseColor(colour))
        return;
    // The image is drawn again on the new colour: from its file when it is
    // still there, otherwise the old image over the colour.
    QImage image;
    try {
        if (pic.Tag.isEmpty())
            throw ReportError(53, QStringLiteral("File not found"));
        image = PictureLoader::scaledInto(m_files, pic.Tag, pic.Width, pic.Height, colour);
    } catch (const ReportError &) {
        image = PictureLoader::onBackColor(pic.Picture, pic.Width, pic.Height, colour);
    }
    changeSelected(QStringLiteral("BackColor"), [&](const ObjectRef &sel) {
        m_page.Pic(sel.index).BackColor = colour;
        m_page.Pic(sel.index).Picture = image;
        return true;
    });
}

void DesignerCommands::startMove()
{
    if (!m_sizer.MoveState())
        m_sizer.setMoveState(true);
}

bool DesignerCommands::numbers(const QStringList &texts, QList<double> &out)
{
    for (const QString &t : texts) {
        const auto v = LegacyNumber::convert(t);
        if (!v) {
            m_prompts.msgBox(QStringLiteral("\"%1\" is not a number of twips. Please enter a number.").arg(t),
                             MsgBoxStyle::Exclamation);
            return false;
        }
        out << *v;
    }
    return true;
}

bool DesignerCommands::moveTo(const QString &x, const QString &y)
{
    QList<double> v;
    if (!numbers({x, y}, v))
        return false;
    changeSelected(QStringLiteral("Coordinate Positioning"), [&](const ObjectRef &o) {
        SizerGeometry::Rect r = o.geometry(m_page);
        r.left = v[0];
        r.top = v[1];
        o.setGeometry(m_page, r);
        return true;
    });
    m_sizer.setFramePosition(v[0], v[1]);
    return true;
}

int DesignerCommands::insertAt100(ObjectRef::Kind kind, const QString &caption, const QString &tag, const QString &what)
{
    // New objects appear at (100, 100), visible, and are selected as a
    // left-button press selects them.
    const ObjectRef o{kind, kind == ObjectRef::Label ? m_page.createLabel() : m_page.createPic()};
    SizerGeometry::Rect r = o.geometry(m_page);
    r.left = 100;
    r.top = 100;
    if (kind == ObjectRef::Label) {
        LayoutLabel &l = m_page.Label(o.index);
        l.Visible = true;
        if (!tag.isEmpty()) {
            l.Caption = caption;
            l.Tag = tag;
        }
    } else {
        m_page.Pic(o.index).Visible = true;
    }
    o.setGeometry(m_page, r);
    m_undo.push(new InsertObjectCommand(m_page, o, what));
    if (kind == ObjectRef::Label)
        pressLabel(o.index, Sizer::LeftButton);
    else
        pressPicture(o.index, Sizer::LeftButton);
    return o.index;
}

int DesignerCommands::insertLabel()
{
    return insertAt100(ObjectRef::Label, QString(), QString(), QStringLiteral("Insert Label"));
}

int DesignerCommands::insertPicture()
{
    return insertAt100(ObjectRef::Picture, QString(), QString(), QStringLiteral("Insert Picture"));
}

int DesignerCommands::insertFormula(const QString &text)
{
    if (text.isEmpty())
        return 0;
    return insertAt100(ObjectRef::Label, text, QStringLiteral("FORMULA:") + text, QStringLiteral("Insert Formula"));
}

bool DesignerCommands::printableType(int adoType)
{
    switch (adoType) {
    case 2:   // SmallInt
    case 3:   // Integer
    case 4:   // Single
    case 5:   // Double
    case 6:   // Currency
    case 7:   // Date
    case 11:  // Boolean
    case 14:  // Decimal
    case 16:  // TinyInt
    case 17:  // UnsignedTinyInt
    case 18:  // UnsignedSmallInt
    case 19:  // UnsignedInt
    case 20:  // BigInt
    case 21:  // UnsignedBigInt
    case 129: // Char
    case 130: // WChar
    case 131: // Numeric
    case 133: // DBDate
    case 134: // DBTime
    case 135: // DBTimeStamp
    case 139: // VarNumeric
    case 200: // VarChar
    case 201: // LongVarChar
    case 202: // VarWChar
    case 203: // LongVarWChar
        return true;
    default:
        return false;
    }
}

int DesignerCommands::dropField(const QString &statement, const QString &field, double x, double y,
                                DbConnection &connection, const BoundStatement &currentSql)
{
    int type = 0;
    try {
        auto rs = connection.execute(currentSql, -1);
        const int column = rs->fieldIndex(field);
        if (column < 0)
            throw ReportError(Recordset::ItemNotFound,
                              QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
        type = rs->fieldType(column);
        rs->close();
    } catch (const ReportError &e) {
        m_prompts.msgBox(QStringLiteral("The type of the field %1.%2 could not be found: %3 - %4")
                             .arg(statement, field)
                             .arg(e.number())
                             .arg(e.description()),
                         MsgBoxStyle::Exclamation);
        return 0;
    }
    const int i = m_page.createLabel();
    LayoutLabel &l = m_page.Label(i);
    l.Tag = statement + QLatin1Char('.') + field;
    const bool printable = printableType(type);
    if (printable) {
        l.Caption = statement + QLatin1Char('.') + field;
        l.Tag = QStringLiteral("DATA:") + statement + QLatin1Char('.') + field;
        l.Left = float(x);
        l.Top = float(y);
        l.Visible = true;
    }
    m_page.notifyLabelChanged(i);
    m_undo.push(new InsertObjectCommand(m_page, {ObjectRef::Label, i}, QStringLiteral("Insert Data Field")));
    if (!printable)
        m_prompts.msgBox(unknownTypePrefix() + QString::number(type), MsgBoxStyle::Information);
    return i;
}

void DesignerCommands::nudge(double dx, double dy)
{
    const ObjectRef o = selected();
    if (o.isNull())
        return;
    changeSelected(QStringLiteral("Move"), [&](const ObjectRef &sel) {
        SizerGeometry::Rect r = sel.geometry(m_page);
        r.left += dx;
        r.top += dy;
        sel.setGeometry(m_page, r);
        return true;
    });
    m_sizer.setBoundControl(o);
}

void DesignerCommands::rescalePicture(int index)
{
    LayoutPicture &pic = m_page.Pic(index);
    if (pic.Tag.isEmpty() || !(pic.Top > 50 && pic.Left > 50))
        return;
    try {
        pic.Picture = PictureLoader::scaledInto(m_files, pic.Tag, pic.Width, pic.Height, pic.BackColor);
        m_page.notifyPicChanged(index);
    } catch (const ReportError &) {
        // The source file went away: the picture keeps its image.
    }
}

void DesignerCommands::objectResized(const ObjectRef &o, const SizerGeometry::Rect &before)
{
    if (o.isNull())
        return;
    const SizerGeometry::Rect after = o.geometry(m_page);
    // The state before: the current state with the old geometry.
    o.setGeometry(m_page, before);
    const ObjectChangeCommand::State old = ObjectChangeCommand::stateOf(m_page, o);
    o.setGeometry(m_page, after);
    if (o.kind == ObjectRef::Picture && (after.width != before.width || after.height != before.height))
        rescalePicture(o.index);
    m_undo.push(new ObjectChangeCommand(m_page, o, old, QStringLiteral("Resize")));
}

bool DesignerCommands::createBox(const QString &x1, const QString &y1, const QString &x2, const QString &y2, quint32 colour)
{
    QList<double> v;
    if (!numbers({x1, y1, x2, y2}, v))
        return false;
    m_page.drawing().box(float(v[0]), float(v[1]), float(v[2]), float(v[3]), colour, false);
    m_page.notifyDrawingChanged();
    return true;
}

} // namespace KRML_ReportGen
