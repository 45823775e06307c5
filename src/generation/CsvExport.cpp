#include "CsvExport.h"

#include "CodePage.h"
#include "CsvText.h"
#include "DurableFile.h"
#include "LayoutPage.h"
#include "MeasuringSurface.h"
#include "Recordset.h"
#include "ReportError.h"
#include "ReportGenerator.h"
#include "ValueText.h"

#include <QFile>
#include <QRegularExpression>

namespace KRML_ReportGen {

QString CsvExport::fileFor(const QString &path, const QString &statement)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = statement;
    name.replace(unsafe, QStringLiteral("_"));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (dot <= slash)
        return path + QLatin1Char('-') + name + QStringLiteral(".csv");
    return path.left(dot) + QLatin1Char('-') + name + path.mid(dot);
}

QString CsvExport::text(Recordset &rows, bool raw, const std::function<void()> &rowDone)
{
    QString out;
    const int fields = rows.fieldCount();
    for (int f = 0; f < fields; ++f) {
        if (f > 0)
            out += QLatin1Char(',');
        out += CsvText::field(rows.fieldName(f));
    }
    out += QStringLiteral("\r\n");
    if (rows.recordCount() == 0)
        return out;
    for (rows.moveFirst(); !rows.isEOF(); rows.moveNext()) {
        for (int f = 0; f < fields; ++f) {
            if (f > 0)
                out += QLatin1Char(',');
            const QVariant value = rows.field(f).value;
            if (!value.isNull())
                out += CsvText::field(raw ? CsvText::raw(value) : ValueText::of(value));
        }
        out += QStringLiteral("\r\n");
        if (rowDone)
            rowDone();
    }
    return out;
}

QStringList CsvExport::write(ReportGenerator &generator, const LayoutPage &page, const QString &path, const Options &options)
{
    MeasuringSurface surface(page.Width(), page.Height());
    generator.layOut(surface);
    // Every file's text first: a run stopped on the way (cancelled, a text
    // the code page cannot hold) leaves all the older files as they were.
    const int rowsInAll = generator.listedRows();
    int rowsDone = 0;
    generator.tellRows(0, rowsInAll);
    QList<std::pair<QString, QByteArray>> files;
    for (const ReportGenerator::ListedStatement &statement : generator.listedStatements()) {
        const QString text = CsvExport::text(*statement.rows, options.raw, [&] { generator.tellRows(++rowsDone, rowsInAll); });
        files.append({fileFor(path, statement.name),
                      options.codePage == 0 ? QByteArray("\xEF\xBB\xBF") + text.toUtf8() : CodePage(options.codePage).encode(text)});
    }
    QStringList written;
    try {
        for (const auto &[file, bytes] : files) {
            DurableFile::write(file, bytes);
            written << file;
        }
    } catch (...) {
        for (const QString &f : written)
            QFile::remove(f);
        throw;
    }
    return written;
}

} // namespace KRML_ReportGen
