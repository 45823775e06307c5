#include "FileDialogFilter.h"

namespace KRML_ReportGen {

QList<FileDialogFilter::Entry> FileDialogFilter::parse(const QString &filter)
{
    QList<Entry> out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out.append({parts[i], parts[i + 1]});
    return out;
}

QStringList FileDialogFilter::toQtFilters(const QString &filter)
{
    QStringList out;
    for (const Entry &e : parse(filter)) {
        QStringList pats = e.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : pats)
            p = p.trimmed();
        QString desc = e.description;
        // "All Files (*.*)" already names its pattern; Qt wants it once, in brackets.
        const int bracket = desc.indexOf(QLatin1Char('('));
        if (bracket > 0)
            desc = desc.left(bracket).trimmed();
        out.append(QStringLiteral("%1 (%2)").arg(desc, pats.join(QLatin1Char(' '))));
    }
    return out;
}

} // namespace KRML_ReportGen
