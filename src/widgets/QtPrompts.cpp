#include "QtPrompts.h"

#include "FileDialogFilter.h"
#include "FontMapper.h"
#include "MsgBoxStyle.h"
#include "PasswordMask.h"
#include "VbColor.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace KRML_ReportGen {

MsgBoxStyle::Answer QtPrompts::msgBox(const QString &text, int style, const QString &title)
{
    using namespace MsgBoxStyle;
    QMessageBox box(m_parent);
    box.setText(PasswordMask::hide(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setWindowTitle(title.isEmpty() ? defaultTitle() : title);
    switch (iconOf(style)) {
    case Critical: box.setIcon(QMessageBox::Critical); break;
    case Question: box.setIcon(QMessageBox::Question); break;
    case Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Button
    {
        QMessageBox::StandardButton standard;
        Answer result;
    };
    QList<Button> buttons;
    switch (buttonsOf(style)) {
    case OKCancel: buttons = {{QMessageBox::Ok, OK}, {QMessageBox::Cancel, Cancel}}; break;
    case AbortRetryIgnore: buttons = {{QMessageBox::Abort, Abort}, {QMessageBox::Retry, Retry}, {QMessageBox::Ignore, Ignore}}; break;
    case YesNoCancel: buttons = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}, {QMessageBox::Cancel, Cancel}}; break;
    case YesNo: buttons = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}}; break;
    case RetryCancel: buttons = {{QMessageBox::Retry, Retry}, {QMessageBox::Cancel, Cancel}}; break;
    default: buttons = {{QMessageBox::Ok, OK}}; break;
    }
    QMessageBox::StandardButtons set;
    for (const Button &b : buttons)
        set |= b.standard;
    box.setStandardButtons(set);
    const int defaultIndex = defaultButtonOf(style) / 256;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].standard);
    const int clicked = box.exec();
    for (const Button &b : buttons)
        if (b.standard == clicked)
            return b.result;
    // Closed with the window's close box: the cancel answer where there is one.
    for (const Button &b : buttons)
        if (b.result == Cancel)
            return Cancel;
    return buttons.last().result;
}

QString QtPrompts::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title.isEmpty() ? defaultTitle() : title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

static QString selectedFilterFor(const QStringList &filters, int filterIndex)
{
    return (filterIndex >= 1 && filterIndex <= filters.size()) ? filters[filterIndex - 1] : QString();
}

QString QtPrompts::openFileName(const QString &title, const QString &filter, int filterIndex,
                                const QString &initialFolder)
{
    const QStringList filters = FileDialogFilter::toQtFilters(filter);
    QString selected = selectedFilterFor(filters, filterIndex);
    return QFileDialog::getOpenFileName(m_parent, title, initialFolder, filters.join(QStringLiteral(";;")), &selected);
}

QString QtPrompts::saveFileName(const QString &title, const QString &filter, int filterIndex,
                                const QString &initialFolder, const QString &defaultName)
{
    const QStringList filters = FileDialogFilter::toQtFilters(filter);
    QString selected = selectedFilterFor(filters, filterIndex);
    QString start = initialFolder;
    if (!defaultName.isEmpty())
        start = start.isEmpty() ? defaultName : start + QLatin1Char('/') + defaultName;
    return QFileDialog::getSaveFileName(m_parent, title, start, filters.join(QStringLiteral(";;")), &selected);
}

bool QtPrompts::chooseFont(FontDescription &font)
{
    QFont initial(FontMapper::family(font.name));
    initial.setPointSizeF(font.size);
    initial.setBold(font.bold);
    initial.setItalic(font.italic);
    initial.setUnderline(font.underline);
    initial.setStrikeOut(font.strikethru);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, m_parent);
    if (!ok)
        return false;
    font.name = chosen.family();
    font.size = float(chosen.pointSizeF());
    font.bold = chosen.bold();
    font.italic = chosen.italic();
    font.underline = chosen.underline();
    font.strikethru = chosen.strikeOut();
    return true;
}

bool QtPrompts::chooseColor(quint32 &color)
{
    const QColor chosen = QColorDialog::getColor(VbColor::toQColor(color), m_parent);
    if (!chosen.isValid())
        return false;
    color = VbColor::fromQColor(chosen);
    return true;
}

} // namespace KRML_ReportGen
