#include "LayoutExtensionFile.h"

#include "LayoutExtension.h"
#include "LayoutFile.h"
#include "LegacyNumber.h"
#include "ModuleState.h"
#include "ReportError.h"
#include "TextReader.h"
#include "VbConvert.h"

#include <QRegularExpression>

namespace KRML_ReportGen {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kBottomMargin = QStringLiteral("Page.BottomMargin");
const QString kPaginate = QStringLiteral("Page.Paginate");
const QString kLocale = QStringLiteral("Report.Locale");
const QString kTaxRate = QStringLiteral("Report.TaxRate");

// "Label(i).Name": the index and the name; index 0 when key is no label key.
int labelKey(const QString &key, QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^Label\\(([1-9][0-9]{0,4})\\)\\.(.+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto m = pattern.match(key);
    if (!m.hasMatch())
        return 0;
    name = m.captured(2);
    return m.captured(1).toInt();
}

// "Page.Name" or "Label(i).Name", i a label index from 1 on.
bool isKey(const QString &key)
{
    static const QRegularExpression pattern(QStringLiteral("^(Page|Report|Label\\([1-9][0-9]{0,4}\\))\\.[A-Za-z][A-Za-z0-9_]*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(key).hasMatch();
}

bool same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString skipped(int line, const QString &why)
{
    return QStringLiteral("%1, line %2: %3; the line is skipped.").arg(LayoutExtensionFile::fileName()).arg(line).arg(why);
}

} // namespace

QStringList LayoutExtensionFile::read(const QByteArray &bytes, LayoutExtension &extension)
{
    QStringList problems;
    // In the package's code page, like the layout text file beside it.
    TextReader reader = TextReader::fromBytes(bytes, TextReader::LoneCr::EndsLine, ModuleState::current().codec());
    QString line;
    while (reader.readLine(line)) {
        const int number = reader.lineNumber();
        if (line.trimmed().isEmpty())
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? QString() : line.left(eq).trimmed();
        const QString value = eq < 0 ? QString() : line.mid(eq + 1);
        if (eq < 0) {
            problems << skipped(number, QStringLiteral("\"%1\" is not Key=Value").arg(line));
            continue;
        }
        if (!isKey(key)) {
            problems << skipped(number, QStringLiteral("\"%1\" is not a Page.Key, Report.Key or Label(i).Key").arg(key));
            continue;
        }
        const QString badValue = QStringLiteral("\"%1\" is not a value for %2").arg(value, key);
        if (same(key, kBottomMargin)) {
            const auto twips = LegacyNumber::convert(value.trimmed());
            if (!twips || *twips < 0 || *twips > 32767)
                problems << skipped(number, badValue + QStringLiteral(" (twips from 0 to 32767)"));
            else
                extension.BottomMargin = VbConvert::toSingle(*twips);
        } else if (same(key, kPaginate)) {
            try {
                extension.Paginate = LayoutFile::readTruth(value);
            } catch (const ReportError &) {
                problems << skipped(number, badValue + QStringLiteral(" (True or False)"));
            }
        } else if (same(key, kLocale)) {
            extension.Locale = value.trimmed();
        } else if (same(key, kTaxRate)) {
            const auto rate = LegacyNumber::convert(value.trimmed());
            if (!rate)
                problems << skipped(number, badValue + QStringLiteral(" (a number of percent)"));
            else
                extension.TaxRate = value.trimmed();
        } else if (QString name; const int index = labelKey(key, name)) {
            LayoutExtension::LabelSettings &settings = extension.labels[index];
            if (same(name, QStringLiteral("Format"))) {
                settings.Format = value;
            } else if (same(name, QStringLiteral("NullText"))) {
                settings.NullText = value;
            } else if (same(name, QStringLiteral("CanGrow"))) {
                try {
                    settings.CanGrow = LayoutFile::readTruth(value);
                } catch (const ReportError &) {
                    problems << skipped(number, badValue + QStringLiteral(" (True or False)"));
                }
            } else {
                extension.otherKeys.append({key, value});
            }
            if (settings.isDefault())
                extension.labels.remove(index);
        } else {
            extension.otherKeys.append({key, value});
        }
    }
    return problems;
}

QString LayoutExtensionFile::toText(const LayoutExtension &extension)
{
    QString t;
    t += kBottomMargin + QLatin1Char('=') + VbConvert::formatSingle(extension.BottomMargin) + kCrLf;
    t += kPaginate + QLatin1Char('=') + (extension.Paginate ? QStringLiteral("True") : QStringLiteral("False")) + kCrLf;
    if (!extension.Locale.isEmpty())
        t += kLocale + QLatin1Char('=') + extension.Locale + kCrLf;
    if (!extension.TaxRate.isEmpty())
        t += kTaxRate + QLatin1Char('=') + extension.TaxRate + kCrLf;
    for (auto it = extension.labels.cbegin(); it != extension.labels.cend(); ++it) {
        const QString label = QStringLiteral("Label(%1).").arg(it.key());
        if (!it->Format.isEmpty())
            t += label + QStringLiteral("Format=") + it->Format + kCrLf;
        if (!it->NullText.isEmpty())
            t += label + QStringLiteral("NullText=") + it->NullText + kCrLf;
        if (it->CanGrow)
            t += label + QStringLiteral("CanGrow=True") + kCrLf;
    }
    for (const auto &[key, value] : extension.otherKeys)
        t += key + QLatin1Char('=') + value + kCrLf;
    return t;
}

QByteArray LayoutExtensionFile::write(const LayoutExtension &extension)
{
    return ModuleState::current().codec().encode(toText(extension));
}

} // namespace KRML_ReportGen
