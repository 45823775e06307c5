#include "PathNames.h"

#include <QDir>
#include <QFileInfo>

namespace KRML_ReportGen {

QString PathNames::normalize(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (p.contains(QLatin1String("//")))
        p.replace(QLatin1String("//"), QLatin1String("/"));
    return p;
}

QString PathNames::join(const QString &folder, const QString &name)
{
    QString f = normalize(folder);
    QString n = normalize(name);
    if (f.isEmpty())
        return n;
    if (n.isEmpty())
        return f;
    if (f.endsWith(QLatin1Char('/')))
        f.chop(1);
    if (n.startsWith(QLatin1Char('/')))
        n.remove(0, 1);
    return f + QLatin1Char('/') + n;
}

QString PathNames::resolve(const QString &path)
{
    const QString p = normalize(path);
    if (p.isEmpty() || QFileInfo::exists(p))
        return p;

    const bool absolute = p.startsWith(QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        const QString exact = current.isEmpty() ? part : join(current, part);
        if (part == QLatin1String(".") || part == QLatin1String("..") || QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        const QDir dir(current.isEmpty() ? QStringLiteral(".") : current);
        const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QString found;
        for (const QString &e : entries) {
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                found = e;
                break;
            }
        }
        if (found.isEmpty()) {
            // Nothing here matches: keep the remainder as written.
            QString rest = parts.mid(i).join(QLatin1Char('/'));
            return current.isEmpty() ? rest : join(current, rest);
        }
        current = current.isEmpty() ? found : join(current, found);
    }
    return current;
}

QString PathNames::baseName(const QString &path)
{
    const QString p = normalize(path);
    const int slash = p.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? p : p.mid(slash + 1);
}

QString PathNames::folderOf(const QString &path)
{
    const QString p = normalize(path);
    const int slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    if (slash == 0)
        return QStringLiteral("/");
    return p.left(slash);
}

} // namespace KRML_ReportGen
