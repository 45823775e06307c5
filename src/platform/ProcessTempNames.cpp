#include "ProcessTempNames.h"

#include "ReportError.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace KRML_ReportGen {

ProcessTempNames::ProcessTempNames()
    : m_dir(std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/krml-reportgen-XXXXXX")))
{
}

ProcessTempNames::~ProcessTempNames() = default;

QString ProcessTempNames::folder() const
{
    return m_dir->path();
}

QString ProcessTempNames::newName(const QString &prefix, const QString &extension)
{
    if (!m_dir->isValid())
        throw ReportError(ReportError::PathNotFound,
                          QStringLiteral("The temporary folder could not be created: %1").arg(m_dir->errorString()));
    QString ext = extension;
    if (!ext.isEmpty() && !ext.startsWith(QLatin1Char('.')))
        ext.prepend(QLatin1Char('.'));
    for (;;) {
        const quint32 salt = QRandomGenerator::global()->generate() & 0xFFFF;
        const QString name = QStringLiteral("%1%2%3%4")
                                 .arg(prefix)
                                 .arg(++m_counter, 4, 16, QLatin1Char('0'))
                                 .arg(salt, 4, 16, QLatin1Char('0'))
                                 .arg(ext);
        const QString path = m_dir->filePath(name);
        if (!QFileInfo::exists(path))
            return path;
    }
}

} // namespace KRML_ReportGen
