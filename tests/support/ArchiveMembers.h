#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace KRML_ReportGen {

// The member names of a zip archive as Info-ZIP's unzip lists them, in
// archive order; "<unzip missing>" when unzip is not installed.
inline QStringList archiveMembers(const QString &archive)
{
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty())
        return {QStringLiteral("<unzip missing>")};
    QProcess p;
    p.start(unzip, {QStringLiteral("-Z1"), archive});
    p.waitForFinished();
    return QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace KRML_ReportGen
