#include "DesignerConnection.h"

#include "ConnectionDialog.h"
#include "ConnectionString.h"
#include "FileService.h"
#include "LayoutPackage.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ReportError.h"
#include "ReportGenOCX.h"
#include "SettingsStore.h"
#include "UserPrompts.h"
#include "WorkingConnectionFile.h"

#include <QFileInfo>

namespace KRML_ReportGen {

namespace {
const QString kApp = QStringLiteral("Report Designer");
const QString kSection = QStringLiteral("Connection");
const QString kKey = QStringLiteral("ConnectionString");
} // namespace

DesignerConnection::DesignerConnection(ReportGenOCX &control, SettingsStore &settings, UserPrompts &prompts, FileService &files,
                                       QObject *parent)
    : QObject(parent), m_control(control), m_settings(settings), m_prompts(prompts), m_files(files)
{
    setStatus(QStringLiteral("Not connected"));
}

QString DesignerConnection::remembered() const
{
    return m_settings.getSetting(kApp, kSection, kKey);
}

bool DesignerConnection::isOpen() const
{
    return ModuleState::current().data().RDDataConnection()->state() == DbConnection::Open;
}

QString DesignerConnection::withoutPassword(const QString &text)
{
    ConnectionString in(text);
    ConnectionString out;
    for (const auto &[key, value] : in.pairs())
        if (key.compare(QLatin1String("Password"), Qt::CaseInsensitive) != 0 && key.compare(QLatin1String("Pwd"), Qt::CaseInsensitive) != 0)
            out.setValue(key, value);
    return out.toString();
}

QString DesignerConnection::describe(const QString &text)
{
    const ConnectionString cs(text);
    QString source = cs.dataSource();
    if (source.isEmpty())
        source = cs.value(QStringLiteral("Database"));
    if (source.isEmpty())
        source = cs.value(QStringLiteral("DSN"));
    return source.isEmpty() ? text : QFileInfo(source).fileName().isEmpty() ? source : QFileInfo(source).fileName();
}

void DesignerConnection::setStatus(const QString &text)
{
    m_status = text;
    emit statusChanged(text);
}

bool DesignerConnection::connectTo(const QString &text, bool remember, bool tellFailure)
{
    if (text.trimmed().isEmpty())
        return false;
    ModuleState &state = ModuleState::current();
    try {
        state.data().setRDDataConnectionString(text);
    } catch (const ReportError &e) {
        const QString why = QStringLiteral("%1 (error %2)").arg(e.description()).arg(e.number());
        setStatus(QStringLiteral("Not connected: %1").arg(why));
        if (tellFailure)
            m_prompts.msgBox(QStringLiteral("The database could not be opened with the connection \"%1\".\r\n\r\n%2")
                                 .arg(withoutPassword(text), why),
                             MsgBoxStyle::Exclamation, QStringLiteral("Connect to Database"));
        return false;
    }
    m_current = text;
    if (remember)
        m_settings.saveSetting(kApp, kSection, kKey, withoutPassword(text));
    // The control takes it as a host's connection: statements, grid.
    m_control.setRepDataConnection(state.data().RDDataConnection());
    setStatus(QStringLiteral("Connected to %1").arg(describe(state.data().RDDataConnectionString())));
    return true;
}

bool DesignerConnection::choose(QWidget *owner)
{
    QString text = m_current.isEmpty() ? remembered() : m_current;
    if (!ConnectionDialog::EditCnn(owner, text, m_prompts))
        return false;
    return connectTo(text, true, true);
}

void DesignerConnection::afterOpen()
{
    const QString override = std::exchange(m_override, QString());
    QString text = override;
    const QString stored = LayoutPackage::workingConnectionFile();
    if (text.isEmpty() && m_files.fileExists(stored)) {
        try {
            text = WorkingConnectionFile::read(m_files, stored);
        } catch (const ReportError &) {
            text.clear();
        }
    }
    if (!text.trimmed().isEmpty()) {
        // The package's own database; when it fails the package stays open.
        if (!connectTo(text, !override.isEmpty(), true))
            setStatus(m_status + QStringLiteral(" - the report was opened; choose File, Connect to Database..."));
        return;
    }
    if (!m_current.isEmpty())
        connectTo(m_current, false, true);
    else
        setStatus(QStringLiteral("Not connected: the report names no database; choose File, Connect to Database..."));
}

} // namespace KRML_ReportGen
