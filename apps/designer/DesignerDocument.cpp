#include "DesignerDocument.h"

#include "DesignerConnection.h"
#include "DesignerView.h"
#include "FileService.h"
#include "LayoutPackage.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "PathNames.h"
#include "ReportError.h"
#include "ReportGenOCX.h"
#include "SavePrompts.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>

namespace KRML_ReportGen {

DesignerDocument::DesignerDocument(ReportGenOCX &control, DesignerConnection &connection, ControlServices services, QWidget *window)
    : QObject(window), m_control(control), m_connection(connection), m_services(std::move(services)), m_window(window),
      m_recent(*m_services.settings)
{
    connect(&control.designer().undoStack(), &QUndoStack::cleanChanged, this, &DesignerDocument::changed);
}

QString DesignerDocument::displayName() const
{
    return m_path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_path).fileName();
}

bool DesignerDocument::isModified() const
{
    return !m_control.designer().undoStack().isClean();
}

QString DesignerDocument::saveQuestion(const QString &name)
{
    return QStringLiteral("The report \"%1\" has changes that are not saved.").arg(name);
}

bool DesignerDocument::maybeSave()
{
    if (!isModified())
        return true;
    QMessageBox box(m_window);
    box.setObjectName(QStringLiteral("msgSaveChanges"));
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Report Designer"));
    box.setText(saveQuestion(displayName()));
    box.setInformativeText(QStringLiteral("Do you want to save them?"));
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return save();
    case QMessageBox::Discard: return true;
    default: return false;
    }
}

bool DesignerDocument::newDocument()
{
    if (!maybeSave())
        return false;
    m_control.NewLayout();
    m_control.setCurOpenFile(QString());
    m_control.designer().undoStack().clear();
    m_path.clear();
    m_storeConnection.reset();
    ModuleState::current().data().setPackageFolder(QString());
    emit changed();
    return true;
}

QString DesignerDocument::initialFolder() const
{
    if (!m_path.isEmpty())
        return QFileInfo(m_path).absolutePath();
    const QStringList recent = m_recent.files();
    return recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.first()).absolutePath();
}

bool DesignerDocument::open(const QString &requested)
{
    if (!maybeSave())
        return false;
    QString path = requested;
    if (path.isEmpty()) {
        path = m_services.prompts->openFileName(QString(), LayoutPackage::openFilter(), 2, initialFolder());
        if (path.isEmpty())
            return false;
    }
    if (!QFileInfo(path).isFile()) {
        m_services.prompts->msgBox(QStringLiteral("The file \"%1\" does not exist.").arg(path), MsgBoxStyle::Exclamation,
                                   QStringLiteral("Open"));
        m_recent.remove(path);
        return false;
    }
    path = QFileInfo(path).absoluteFilePath();
    // Only a package that opened whole raises ProcessorSending.
    bool opened = false;
    const auto watch = connect(&m_control, &ReportGenOCX::ProcessorSending, this, [&opened] { opened = true; });
    try {
        m_control.OpenLayout(path);
    } catch (const ReportError &e) {
        m_services.prompts->msgBox(QStringLiteral("Error in mnuOpenLayout %1: %2").arg(e.number()).arg(e.description()),
                                   MsgBoxStyle::Exclamation);
    }
    disconnect(watch);
    m_control.designer().undoStack().clear();
    m_path = opened ? path : QString();
    m_storeConnection.reset();
    if (opened) {
        m_recent.add(path);
        if (m_services.files->fileExists(LayoutPackage::workingConnectionFile()))
            m_storeConnection = true;
        emit status(QStringLiteral("Opened %1").arg(path));
        emit packageOpened();
    }
    // Opening closed the connection: the package's own, or the one before.
    m_connection.afterOpen();
    emit changed();
    return opened;
}

bool DesignerDocument::save()
{
    if (m_path.isEmpty())
        return saveAs();
    return saveTo(m_path);
}

bool DesignerDocument::saveAs()
{
    const QString suggested = m_path.isEmpty() ? QDir(initialFolder()).filePath(QStringLiteral("Untitled.lrd")) : m_path;
    QString path = m_services.prompts->saveFileName(QString(), LayoutPackage::saveFilter(), 2, QFileInfo(suggested).absolutePath(),
                                                    QFileInfo(suggested).fileName());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".lrd");
    return saveTo(path);
}

bool DesignerDocument::saveTo(const QString &path)
{
    SavePrompts prompts(*m_services.prompts, m_storeConnection, [this](const QString &) {});
    LayoutPackage package(*m_services.files, *m_services.tempNames, prompts, m_control.page());
    LayoutPackage::Result result = LayoutPackage::Result::Failed;
    try {
        result = package.saveLayoutTo(path);
    } catch (const ReportError &e) {
        m_services.prompts->msgBox(QStringLiteral("Error in mnuSaveLayout %1: %2").arg(e.number()).arg(e.description()),
                                   MsgBoxStyle::Exclamation);
        return false;
    }
    if (prompts.storeConnection())
        m_storeConnection = prompts.storeConnection();
    if (result != LayoutPackage::Result::Done) {
        m_services.prompts->msgBox(QStringLiteral("The report could not be saved as \"%1\". Please check that the folder can be "
                                                  "written and that there is room on the disk, and try again.")
                                       .arg(path),
                                   MsgBoxStyle::Exclamation, QStringLiteral("Save"));
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_control.setCurOpenFile(m_path);
    ModuleState::current().data().setPackageFolder(PathNames::folderOf(m_path));
    m_control.designer().undoStack().setClean();
    m_recent.add(m_path);
    emit status(QStringLiteral("Saved %1").arg(m_path));
    emit changed();
    return true;
}

} // namespace KRML_ReportGen
