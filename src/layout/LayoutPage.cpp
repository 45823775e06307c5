#include "LayoutPage.h"

#include "ReportError.h"

namespace KRML_ReportGen {

namespace {

ReportError noSuchElement(int index)
{
    return ReportError(ReportError::ControlArrayElementMissing, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
}

} // namespace

LayoutPage::LayoutPage(QObject *parent) : QObject(parent)
{
    m_labels.append(LayoutLabel());
    m_pics.append(LayoutPicture());
}

void LayoutPage::setWidth(float twips)
{
    m_width = twips;
    emit sizeChanged();
}

void LayoutPage::setHeight(float twips)
{
    m_height = twips;
    emit sizeChanged();
}

LayoutLabel &LayoutPage::Label(int index)
{
    if (index < 0 || index >= m_labels.size())
        throw noSuchElement(index);
    return m_labels[index];
}

const LayoutLabel &LayoutPage::Label(int index) const
{
    if (index < 0 || index >= m_labels.size())
        throw noSuchElement(index);
    return m_labels[index];
}

LayoutPicture &LayoutPage::Pic(int index)
{
    if (index < 0 || index >= m_pics.size())
        throw noSuchElement(index);
    return m_pics[index];
}

const LayoutPicture &LayoutPage::Pic(int index) const
{
    if (index < 0 || index >= m_pics.size())
        throw noSuchElement(index);
    return m_pics[index];
}

int LayoutPage::createLabel()
{
    const int n = int(m_labels.size());
    if (n > MaxObjects)
        throw ReportError::overflow();
    LayoutLabel copy = m_labels[0];
    copy.Visible = false;
    m_labels.append(copy);
    emit labelAdded(n);
    return n;
}

void LayoutPage::removeLastLabel()
{
    if (labelCount() >= 1)
        removeLabel(labelCount());
}

void LayoutPage::removeLastPic()
{
    if (picCount() >= 1)
        removePic(picCount());
}

void LayoutPage::applyLabelSettings()
{
    for (auto it = m_extension.labels.cbegin(); it != m_extension.labels.cend(); ++it) {
        if (it.key() >= 1 && it.key() <= labelCount()) {
            LayoutLabel &l = Label(it.key());
            l.Format = it->Format;
            l.NullText = it->NullText;
            l.CanGrow = it->CanGrow;
            continue;
        }
        const QString key = QStringLiteral("Label(%1).").arg(it.key());
        if (!it->Format.isEmpty())
            m_extension.otherKeys.append({key + QStringLiteral("Format"), it->Format});
        if (!it->NullText.isEmpty())
            m_extension.otherKeys.append({key + QStringLiteral("NullText"), it->NullText});
        if (it->CanGrow)
            m_extension.otherKeys.append({key + QStringLiteral("CanGrow"), QStringLiteral("True")});
    }
    m_extension.labels.clear();
}

LayoutExtension LayoutPage::extensionToSave() const
{
    LayoutExtension ext = m_extension;
    ext.labels.clear();
    for (int i = 1; i <= labelCount(); ++i) {
        const LayoutLabel &l = Label(i);
        const LayoutExtension::LabelSettings s{l.Format, l.NullText, l.CanGrow};
        if (!s.isDefault())
            ext.labels.insert(i, s);
    }
    return ext;
}

void LayoutPage::insertLabel(int index, const LayoutLabel &label)
{
    if (index < 1 || index > labelCount() + 1)
        throw noSuchElement(index);
    if (labelCount() >= MaxObjects)
        throw ReportError::overflow();
    m_labels.insert(index, label);
    emit labelAdded(index);
}

void LayoutPage::removeLabel(int index)
{
    if (index < 1 || index > labelCount())
        throw noSuchElement(index);
    m_labels.removeAt(index);
    emit labelRemoved(index);
}

void LayoutPage::insertPic(int index, const LayoutPicture &picture)
{
    if (index < 1 || index > picCount() + 1)
        throw noSuchElement(index);
    if (picCount() >= MaxObjects)
        throw ReportError::overflow();
    m_pics.insert(index, picture);
    emit picAdded(index);
}

void LayoutPage::removePic(int index)
{
    if (index < 1 || index > picCount())
        throw noSuchElement(index);
    m_pics.removeAt(index);
    emit picRemoved(index);
}

int LayoutPage::createPic()
{
    const int n = int(m_pics.size());
    if (n > MaxObjects)
        throw ReportError::overflow();
    LayoutPicture copy = m_pics[0];
    copy.Visible = false;
    m_pics.append(copy);
    emit picAdded(n);
    return n;
}

void LayoutPage::removeAll()
{
    m_labels.resize(1);
    m_pics.resize(1);
    m_extension = LayoutExtension();
    emit cleared();
}

} // namespace KRML_ReportGen
