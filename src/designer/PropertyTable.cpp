#include "PropertyTable.h"

#include "LabelTag.h"
#include "LayoutPage.h"
#include "LengthText.h"
#include "SystemColorNames.h"

namespace KRML_ReportGen {

bool PropertyDescriptor::applies(const LayoutPage &page, const ObjectRef &o) const
{
    const int target = o.kind == ObjectRef::Label ? Labels : (o.kind == ObjectRef::Picture ? Pictures : Page);
    if (!(targets & target))
        return false;
    return !appliesTo || appliesTo(page, o);
}

namespace {

using D = PropertyDescriptor;

// As the generator reads it: what the label prints as.
LabelTag::Kind kindOf(const LayoutPage &page, const ObjectRef &o)
{
    return LabelTag::kindOf(page.Label(o.index).Tag);
}

D geometryRow(const QString &key, const QString &caption, double SizerGeometry::Rect::*member)
{
    D d;
    d.key = key;
    d.group = QStringLiteral("Position and size");
    d.caption = caption;
    d.editor = D::Editor::Length;
    d.targets = D::Labels | D::Pictures;
    d.get = [member](const LayoutPage &page, const ObjectRef &o) { return QVariant(o.geometry(page).*member); };
    d.set = [member](LayoutPage &page, const ObjectRef &o, const QVariant &v) {
        SizerGeometry::Rect r = o.geometry(page);
        r.*member = v.toDouble();
        o.setGeometry(page, r);
    };
    return d;
}

D labelRow(const QString &key, const QString &group, const QString &caption, D::Editor editor,
           std::function<QVariant(const LayoutLabel &)> get, std::function<void(LayoutLabel &, const QVariant &)> set)
{
    D d;
    d.key = key;
    d.group = group;
    d.caption = caption;
    d.editor = editor;
    d.targets = D::Labels;
    d.get = [get](const LayoutPage &page, const ObjectRef &o) { return get(page.Label(o.index)); };
    d.set = [set](LayoutPage &page, const ObjectRef &o, const QVariant &v) { set(page.Label(o.index), v); };
    return d;
}

std::function<bool(const LayoutPage &, const ObjectRef &)> ofKind(LabelTag::Kind kind)
{
    return [kind](const LayoutPage &page, const ObjectRef &o) { return kindOf(page, o) == kind; };
}

D pageRow(const QString &key, const QString &caption, bool width)
{
    D d;
    d.key = key;
    d.group = QStringLiteral("Page");
    d.caption = caption;
    d.editor = D::Editor::Length;
    d.targets = D::Page;
    d.get = [width](const LayoutPage &page, const ObjectRef &) { return QVariant(double(width ? page.Width() : page.Height())); };
    d.set = [width](LayoutPage &page, const ObjectRef &, const QVariant &v) {
        if (width)
            page.setWidth(float(v.toDouble()));
        else
            page.setHeight(float(v.toDouble()));
    };
    return d;
}

} // namespace

PropertyTable PropertyTable::standard()
{
    PropertyTable t;
    {
        D kind;
        kind.key = QStringLiteral("Kind");
        kind.group = QStringLiteral("Object");
        kind.caption = QStringLiteral("Kind");
        kind.editor = D::Editor::ReadOnly;
        kind.targets = D::Labels | D::Pictures;
        kind.get = [](const LayoutPage &page, const ObjectRef &o) { return QVariant(kindName(page, o)); };
        t.add(kind);
    }
    t.add(geometryRow(QStringLiteral("Left"), QStringLiteral("Left"), &SizerGeometry::Rect::left));
    t.add(geometryRow(QStringLiteral("Top"), QStringLiteral("Top"), &SizerGeometry::Rect::top));
    t.add(geometryRow(QStringLiteral("Width"), QStringLiteral("Width"), &SizerGeometry::Rect::width));
    t.add(geometryRow(QStringLiteral("Height"), QStringLiteral("Height"), &SizerGeometry::Rect::height));

    const QString text = QStringLiteral("Text");
    D caption = labelRow(
        QStringLiteral("Caption"), text, QStringLiteral("Caption"), D::Editor::Text,
        [](const LayoutLabel &l) { return QVariant(l.Caption); }, [](LayoutLabel &l, const QVariant &v) { l.Caption = v.toString(); });
    caption.appliesTo = ofKind(LabelTag::Kind::FixedText);
    t.add(caption);
    t.add(labelRow(
        QStringLiteral("Font"), text, QStringLiteral("Font"), D::Editor::Font,
        [](const LayoutLabel &l) { return QVariant::fromValue(l.Font); },
        [](LayoutLabel &l, const QVariant &v) { l.Font = v.value<FontDescription>(); }));
    t.add(labelRow(
        QStringLiteral("ForeColor"), text, QStringLiteral("Text colour"), D::Editor::Colour,
        [](const LayoutLabel &l) { return QVariant(uint(l.ForeColor)); },
        [](LayoutLabel &l, const QVariant &v) { l.ForeColor = quint32(v.toUInt()); }));
    D alignment = labelRow(
        QStringLiteral("Alignment"), text, QStringLiteral("Alignment"), D::Editor::Choice,
        [](const LayoutLabel &l) { return QVariant(int(l.Alignment)); },
        [](LayoutLabel &l, const QVariant &v) { l.Alignment = qint16(v.toInt()); });
    alignment.choices = {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Centred")};
    t.add(alignment);

    const QString appearance = QStringLiteral("Appearance");
    t.add(labelRow(
        QStringLiteral("BackColor"), appearance, QStringLiteral("Back colour"), D::Editor::Colour,
        [](const LayoutLabel &l) { return QVariant(uint(l.BackColor)); },
        [](LayoutLabel &l, const QVariant &v) { l.BackColor = quint32(v.toUInt()); }));
    D border = labelRow(
        QStringLiteral("Border"), appearance, QStringLiteral("Border"), D::Editor::Choice,
        [](const LayoutLabel &l) { return QVariant(int(l.BorderStyle == 1 ? 1 : 0)); },
        [](LayoutLabel &l, const QVariant &v) { l.BorderStyle = qint16(v.toInt() == 1 ? 1 : 0); });
    border.choices = {QStringLiteral("None"), QStringLiteral("Single line")};
    t.add(border);

    const QString data = QStringLiteral("Data");
    D statement = labelRow(
        QStringLiteral("Statement"), data, QStringLiteral("Statement"), D::Editor::Statement,
        [](const LayoutLabel &l) { return QVariant(LabelTag::statementName(l.Tag)); },
        [](LayoutLabel &l, const QVariant &v) {
            l.Tag = LabelTag::dataTag(v.toString(), LabelTag::fieldName(l.Tag));
            l.Caption = LabelTag::dataCaption(l.Tag);
        });
    statement.appliesTo = ofKind(LabelTag::Kind::DataField);
    t.add(statement);
    D field = labelRow(
        QStringLiteral("Field"), data, QStringLiteral("Field"), D::Editor::Field,
        [](const LayoutLabel &l) { return QVariant(LabelTag::fieldName(l.Tag)); },
        [](LayoutLabel &l, const QVariant &v) {
            l.Tag = LabelTag::dataTag(LabelTag::statementName(l.Tag), v.toString());
            l.Caption = LabelTag::dataCaption(l.Tag);
        });
    field.appliesTo = ofKind(LabelTag::Kind::DataField);
    t.add(field);
    D formula = labelRow(
        QStringLiteral("Formula"), data, QStringLiteral("Formula"), D::Editor::Formula,
        [](const LayoutLabel &l) { return QVariant(LabelTag::formulaText(l.Tag)); },
        [](LayoutLabel &l, const QVariant &v) {
            l.Tag = LabelTag::formulaTag(v.toString());
            l.Caption = v.toString();
        });
    formula.appliesTo = ofKind(LabelTag::Kind::Formula);
    t.add(formula);

    // How data-field and formula labels show their values.
    const QString values = QStringLiteral("Values");
    const auto showsValues = [](const LayoutPage &page, const ObjectRef &o) {
        const LabelTag::Kind k = kindOf(page, o);
        return k == LabelTag::Kind::DataField || k == LabelTag::Kind::Formula;
    };
    D format = labelRow(
        QStringLiteral("Format"), values, QStringLiteral("Format"), D::Editor::Text,
        [](const LayoutLabel &l) { return QVariant(l.Format); }, [](LayoutLabel &l, const QVariant &v) { l.Format = v.toString(); });
    format.appliesTo = showsValues;
    t.add(format);
    D nullText = labelRow(
        QStringLiteral("NullText"), values, QStringLiteral("Null text"), D::Editor::Text,
        [](const LayoutLabel &l) { return QVariant(l.NullText); }, [](LayoutLabel &l, const QVariant &v) { l.NullText = v.toString(); });
    nullText.appliesTo = showsValues;
    t.add(nullText);
    D canGrow = labelRow(
        QStringLiteral("CanGrow"), values, QStringLiteral("Can grow"), D::Editor::Choice,
        [](const LayoutLabel &l) { return QVariant(l.CanGrow ? 1 : 0); }, [](LayoutLabel &l, const QVariant &v) { l.CanGrow = v.toInt() == 1; });
    canGrow.choices = {QStringLiteral("False"), QStringLiteral("True")};
    canGrow.appliesTo = showsValues;
    t.add(canGrow);

    t.add(pageRow(QStringLiteral("PageWidth"), QStringLiteral("Page width"), true));
    t.add(pageRow(QStringLiteral("PageHeight"), QStringLiteral("Page height"), false));
    return t;
}

const PropertyDescriptor *PropertyTable::find(const QString &key) const
{
    for (const PropertyDescriptor &row : m_rows)
        if (row.key == key)
            return &row;
    return nullptr;
}

QList<const PropertyDescriptor *> PropertyTable::rowsFor(const LayoutPage &page, const QList<ObjectRef> &selection) const
{
    const QList<ObjectRef> objects = selection.isEmpty() ? QList<ObjectRef>{ObjectRef{}} : selection;
    QList<const PropertyDescriptor *> out;
    for (const PropertyDescriptor &row : m_rows) {
        bool all = true;
        for (const ObjectRef &o : objects)
            if (!row.applies(page, o)) {
                all = false;
                break;
            }
        if (all)
            out.append(&row);
    }
    return out;
}

QVariant PropertyTable::commonValue(const PropertyDescriptor &row, const LayoutPage &page, const QList<ObjectRef> &objects)
{
    const QList<ObjectRef> all = objects.isEmpty() ? QList<ObjectRef>{ObjectRef{}} : objects;
    const QVariant first = row.get(page, all.first());
    for (int i = 1; i < all.size(); ++i)
        if (row.get(page, all[i]) != first)
            return QVariant();
    return first;
}

QString PropertyTable::display(const PropertyDescriptor &row, const QVariant &value)
{
    if (!value.isValid())
        return QString();
    switch (row.editor) {
    case PropertyDescriptor::Editor::Length: return LengthText::format(value.toDouble());
    case PropertyDescriptor::Editor::Font: return describeFont(value.value<FontDescription>());
    case PropertyDescriptor::Editor::Colour: return SystemColorNames::describe(quint32(value.toUInt()));
    case PropertyDescriptor::Editor::Choice: {
        const int i = value.toInt();
        return i >= 0 && i < row.choices.size() ? row.choices[i] : QString::number(i);
    }
    default: return value.toString();
    }
}

QString PropertyTable::kindName(const LayoutPage &page, const ObjectRef &o)
{
    if (o.kind == ObjectRef::Picture)
        return QStringLiteral("Picture");
    if (o.kind != ObjectRef::Label)
        return QStringLiteral("Page");
    switch (kindOf(page, o)) {
    case LabelTag::Kind::DataField: return QStringLiteral("Data field");
    case LabelTag::Kind::Formula: return QStringLiteral("Formula");
    default: return QStringLiteral("Fixed text");
    }
}

QString PropertyTable::describeFont(const FontDescription &font)
{
    QStringList styles;
    if (font.bold)
        styles << QStringLiteral("bold");
    if (font.italic)
        styles << QStringLiteral("italic");
    if (font.underline)
        styles << QStringLiteral("underlined");
    if (font.strikethru)
        styles << QStringLiteral("struck through");
    QString t = QStringLiteral("%1, %2 pt").arg(font.name, QString::number(double(font.size), 'g', 4));
    if (!styles.isEmpty())
        t += QStringLiteral(", ") + styles.join(QLatin1Char(' '));
    return t;
}

} // namespace KRML_ReportGen
