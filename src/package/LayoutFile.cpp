#include "LayoutFile.h"
#include "ModuleState.h"

#include "BitmapFile.h"
#include "FileService.h"
#include "LayoutPage.h"
#include "LegacyNumber.h"
#include "PathNames.h"
#include "ReportError.h"
#include "TextReader.h"
#include "VbConvert.h"

namespace KRML_ReportGen {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString number(float v)
{
    return VbConvert::formatSingle(v);
}

QString truth(bool v)
{
    return v ? QStringLiteral("True") : QStringLiteral("False");
}

QString colour(quint32 v)
{
    // Signed: system colours (top bit set) are written as negative numbers.
    return QString::number(qint32(v));
}

} // namespace

bool LayoutFile::readTruth(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const auto n = LegacyNumber::convert(t);
    if (!n)
        throw ReportError::typeMismatch();
    return *n != 0.0;
}

namespace {

quint32 readColour(const QString &text)
{
    const auto n = LegacyNumber::convert(text);
    if (!n)
        throw ReportError::typeMismatch();
    // Colours up to &HFFFFFFFF written unsigned are accepted too.
    if (*n > 2147483647.0 && *n <= 4294967295.0)
        return quint32(qint64(*n));
    return quint32(VbConvert::toInt32(*n));
}

// The file's lines one after the other; reading past the end is an error.
class Lines
{
public:
    Lines(const QByteArray &bytes, const LayoutFile::DevReport &dev)
        : m_reader(TextReader::fromBytes(bytes, TextReader::LoneCr::EndsLine, ModuleState::current().codec())), m_dev(dev)
    {
    }
    QString next() { return m_reader.readLine(); }
    QString value() { return LayoutFile::GetTextAfterEquals(next(), m_dev); }

private:
    TextReader m_reader;
    const LayoutFile::DevReport &m_dev;
};

} // namespace

QString LayoutFile::GetTextAfterEquals(const QString &line, const DevReport &devReport)
{
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) {
        if (devReport)
            devReport(QStringLiteral("Error in GetTextAfterEquals 5: Invalid procedure call or argument"));
        return QString();
    }
    return line.mid(eq + 1);
}

QString LayoutFile::toText(const LayoutPage &page)
{
    QString t;
    t += QStringLiteral("KRMLLayoutFile") + kCrLf;
    t += QStringLiteral("###########") + kCrLf;
    t += QStringLiteral("NumberOfLabels=%1").arg(page.labelCount()) + kCrLf;
    t += QStringLiteral("NumberOfPictures=%1").arg(page.picCount()) + kCrLf;
    t += QStringLiteral("PageHeight=") + number(page.Height()) + kCrLf;
    t += QStringLiteral("PageWidth=") + number(page.Width()) + kCrLf;
    for (int i = 1; i <= page.labelCount(); ++i) {
        const LayoutLabel &l = page.Label(i);
        const QString p = QStringLiteral("Label(%1)").arg(i);
        t += p + QStringLiteral(".Top=") + number(l.Top) + kCrLf;
        t += p + QStringLiteral(".Left=") + number(l.Left) + kCrLf;
        t += p + QStringLiteral(".Height=") + number(l.Height) + kCrLf;
        t += p + QStringLiteral(".Width=") + number(l.Width) + kCrLf;
        t += p + QStringLiteral(".Caption=") + l.Caption + kCrLf;
        t += p + QStringLiteral(".FontName=") + l.Font.name + kCrLf;
        t += p + QStringLiteral(".FontSize=") + number(l.Font.size) + kCrLf;
        t += p + QStringLiteral(".FontBold=") + truth(l.Font.bold) + kCrLf;
        t += p + QStringLiteral(".FontItalic=") + truth(l.Font.italic) + kCrLf;
        t += p + QStringLiteral(".FontUnderline=") + truth(l.Font.underline) + kCrLf;
        t += p + QStringLiteral(".FontStrikeThru=") + truth(l.Font.strikethru) + kCrLf;
        t += p + QStringLiteral(".ForeColor=") + colour(l.ForeColor) + kCrLf;
        t += p + QStringLiteral(".BackColor=") + colour(l.BackColor) + kCrLf;
        t += p + QStringLiteral(".Alignment=%1").arg(l.Alignment) + kCrLf;
        t += p + QStringLiteral(".Border=%1").arg(l.BorderStyle) + kCrLf;
        t += p + QStringLiteral(".Tag=") + l.Tag + kCrLf;
    }
    for (int i = 1; i <= page.picCount(); ++i) {
        const LayoutPicture &pic = page.Pic(i);
        const QString p = QStringLiteral("Pic(%1)").arg(i);
        t += p + QStringLiteral(".Top=") + number(pic.Top) + kCrLf;
        t += p + QStringLiteral(".Left=") + number(pic.Left) + kCrLf;
        t += p + QStringLiteral(".Height=") + number(pic.Height) + kCrLf;
        t += p + QStringLiteral(".Width=") + number(pic.Width) + kCrLf;
        t += p + QStringLiteral(".PictureName=Picture%1").arg(i) + kCrLf;
    }
    return t;
}

void LayoutFile::WriteLayoutFile(FileService &files, const QString &folder, const LayoutPage &page)
{
    // Bitmaps first: the text file names them, so it is written once they are there.
    for (int i = 1; i <= page.picCount(); ++i)
        files.writeBytes(PathNames::join(folder, bitmapName(i)), BitmapFile::save(page.Pic(i).Picture));
    files.writeBytes(PathNames::join(folder, fileName()), ModuleState::current().codec().encode(toText(page)));
}

void LayoutFile::read(const QByteArray &bytes, LayoutPage &page, const std::function<QByteArray(const QString &)> &loadBitmap,
                      const DevReport &devReport)
{
    Lines in(bytes, devReport);
    in.next();
    in.next();
    const qint16 labels = VbConvert::toInt16(in.value());
    const qint16 pictures = VbConvert::toInt16(in.value());

    QString line = in.next();
    bool pending = false; // line already holds the first label line
    if (!line.contains(QLatin1String("Label"), Qt::CaseInsensitive)) {
        const qint16 height = VbConvert::toInt16(GetTextAfterEquals(line, devReport));
        page.setHeight(height);
        const qint16 width = VbConvert::toInt16(in.value());
        page.setWidth(width);
    } else {
        pending = true;
    }
    const auto value = [&]() {
        if (pending) {
            pending = false;
            return GetTextAfterEquals(line, devReport);
        }
        return in.value();
    };

    for (int i = 1; i <= labels; ++i) {
        const int index = page.createLabel();
        LayoutLabel &l = page.Label(index);
        l.Top = VbConvert::toSingle(value());
        l.Left = VbConvert::toSingle(value());
        l.Height = VbConvert::toSingle(value());
        l.Width = VbConvert::toSingle(value());
        l.Caption = value();
        l.Font.name = value();
        l.Font.size = VbConvert::toSingle(value());
        l.Font.bold = readTruth(value());
        l.Font.italic = readTruth(value());
        l.Font.underline = readTruth(value());
        l.Font.strikethru = readTruth(value());
        l.ForeColor = readColour(value());
        l.BackColor = readColour(value());
        l.Alignment = VbConvert::toInt16(value());
        l.BorderStyle = VbConvert::toInt16(value());
        l.Tag = value();
        l.Visible = true;
        page.notifyLabelChanged(index);
    }
    for (int i = 1; i <= pictures; ++i) {
        const int index = page.createPic();
        LayoutPicture &p = page.Pic(index);
        p.Top = VbConvert::toSingle(value());
        p.Left = VbConvert::toSingle(value());
        p.Height = VbConvert::toSingle(value());
        p.Width = VbConvert::toSingle(value());
        p.Picture = BitmapFile::load(loadBitmap(value() + QStringLiteral(".bmp")));
        p.Tag.clear();
        p.Visible = true;
        page.notifyPicChanged(index);
    }
}

void LayoutFile::ReadLayoutFile(const FileService &files, const QString &folder, LayoutPage &page,
                                const DevReport &devReport, const std::function<void(const QString &)> &fetchBitmap)
{
    const QByteArray bytes = files.readBytes(PathNames::join(folder, fileName()));
    read(
        bytes, page,
        [&](const QString &name) {
            // A name with a folder in it would reach outside the package's folder.
            if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
                throw ReportError(ReportError::FileNotFound, QStringLiteral("File not found: '%1'").arg(name));
            if (fetchBitmap)
                fetchBitmap(name);
            return files.readBytes(PathNames::join(folder, name));
        },
        devReport);
}

} // namespace KRML_ReportGen
