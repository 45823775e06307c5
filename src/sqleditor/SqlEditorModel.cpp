#include "SqlEditorModel.h"

#include "DbConnection.h"
#include "FileService.h"
#include "LegacyReportFile.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ParameterMarker.h"
#include "ReportError.h"
#include "ReportSqlFile.h"
#include "ReportSqlFileLimits.h"
#include "RtfText.h"
#include "TempNameService.h"
#include "UserPrompts.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>

namespace KRML_ReportGen {

namespace {
constexpr int kThumbWidth = 160;
constexpr int kThumbHeight = 48;
}

SqlEditorModel::SqlEditorModel(FileService &files, TempNameService &tempNames, UserPrompts &prompts)
    : m_files_(files), m_tempNames(tempNames), m_prompts(prompts)
{
}

QString SqlEditorModel::workingCopyPath()
{
    return ReportSqlFile::workingFile();
}

ParameterCollection &SqlEditorModel::sharedParameters()
{
    return *ModuleState::current().parameters();
}

void SqlEditorModel::open(DbConnection &connection)
{
    m_connection = &connection;
    m_reference.CreateDBReferenceFile(m_files_, m_tempNames.newName(QStringLiteral("~"), QStringLiteral(".tmp")), connection);
    newDefinition();
    const QString working = workingCopyPath();
    if (m_files_.fileExists(working))
        readFile(working, false);
}

void SqlEditorModel::setSqlText(const QString &text)
{
    if (text != m_sql)
        m_colours.clear();
    m_sql = text;
}

void SqlEditorModel::CheckSyntax()
{
    const auto result = SqlSyntaxChecker::CheckSyntax(m_sql, m_reference.tables(), m_reference.columns());
    m_sql = result.text;
    m_colours = result.spans;
}

QStringList SqlEditorModel::entries() const
{
    if (m_placeholder)
        return {placeholderText()};
    QStringList names;
    for (const auto &s : m_definition.statements())
        names << s.name;
    return names;
}

QString SqlEditorModel::renderThumbnail(const QString &text, unsigned ink)
{
    // A small picture of the statement's first lines, in the list beside its name.
    QImage picture(kThumbWidth, kThumbHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        QFont font(QStringLiteral("Verdana"));
        font.setPointSizeF(8);
        p.setFont(font);
        p.setPen(QColor::fromRgb(ink));
        p.drawText(QRect(2, 2, kThumbWidth - 4, kThumbHeight - 4), Qt::TextWordWrap, text);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    const QString path = m_tempNames.newName(QStringLiteral("~"), QStringLiteral(".bmp"));
    m_files_.writeBytes(path, bytes);
    return path;
}

void SqlEditorModel::appendStatementFiles(const QString &sql)
{
    const QString thumbnail = renderThumbnail(sql, 0x000000);
    if (m_placeholder) {
        m_thumbnails.clear();
        m_placeholder = false;
    }
    m_thumbnails << thumbnail;
    QList<RtfText::Run> runs;
    if (sql == m_sql)
        for (const auto &span : m_colours)
            runs.append({span.start, span.length, SqlSyntaxChecker::rgb(span.kind)});
    const QString file = m_tempNames.newName(QStringLiteral("~"), QStringLiteral(".rtf"));
    m_files_.writeBytes(file, RtfText::write(sql, runs));
    m_files << file;
}

void SqlEditorModel::saveStatementUnder(const QString &name)
{
    appendStatementFiles(m_sql);
    m_definition.addStatement(name, m_sql);
    m_selected = int(m_definition.statements().size()) - 1;
}

bool SqlEditorModel::save()
{
    // What the report SQL file could not hold is refused here, not found
    // missing when the file is read again.
    const QString sqlProblem = ReportSqlFileLimits::statementSql(m_sql);
    if (!sqlProblem.isEmpty()) {
        m_prompts.msgBox(sqlProblem, MsgBoxStyle::Exclamation);
        return false;
    }
    QString shown;
    for (;;) {
        const QString name = m_prompts.inputBox(namePrompt(), QString(), shown);
        const QString why = name.isEmpty() ? invalidNameMessage() : ReportSqlFileLimits::statementName(name);
        if (why.isEmpty()) {
            saveStatementUnder(name);
            return true;
        }
        if (m_prompts.msgBox(why, MsgBoxStyle::RetryCancel) != MsgBoxStyle::Retry)
            return false;
        shown = name;
    }
}

bool SqlEditorModel::choose(int index)
{
    if (m_placeholder || index < 0 || index >= m_files.size())
        return false;
    try {
        if (!m_files_.fileExists(m_files[index]))
            return false;
        setSqlText(RtfText::plainText(m_files_.readBytes(m_files[index])));
    } catch (const ReportError &) {
        return false;
    }
    m_selected = index;
    return true;
}

void SqlEditorModel::insertMarker(int parameterIndex)
{
    const auto &parameters = m_definition.parameters();
    if (parameterIndex < 0 || parameterIndex >= parameters.size())
        return;
    const int at = std::clamp(m_caret, 0, int(m_sql.size()));
    setSqlText(m_sql.left(at) + parameters[parameterIndex].marker + m_sql.mid(at));
}

void SqlEditorModel::newDefinition()
{
    m_thumbnails.clear();
    m_files.clear();
    m_definition.clear();
    m_sql.clear();
    m_colours.clear();
    sharedParameters().clear();
    m_thumbnails << renderThumbnail(QString(), 0xFF0000);
    m_placeholder = true;
    m_selected = 0;
}

void SqlEditorModel::showReadFailure(const QString &message, bool notValid)
{
    m_prompts.msgBox(message, notValid ? MsgBoxStyle::Information : MsgBoxStyle::Exclamation);
}

void SqlEditorModel::readFile(const QString &path, bool legacy)
{
    const int before = int(m_definition.statements().size());
    ReportSqlFile::ReadResult result;
    try {
        result = legacy ? LegacyReportFile::importFile(m_files_, path, m_definition)
                        : ReportSqlFile::readFile(m_files_, path, m_definition, &sharedParameters());
    } catch (const ReportError &e) {
        m_prompts.msgBox(e.description(), MsgBoxStyle::Exclamation);
        return;
    }
    if (!result.ok()) {
        showReadFailure(result.message, result.status == ReportSqlFile::ReadResult::NotValid);
        return;
    }
    // Each statement read goes into the SQL box and is saved under its name.
    const auto &statements = m_definition.statements();
    for (int i = before; i < statements.size(); ++i) {
        setSqlText(statements[i].sql);
        appendStatementFiles(statements[i].sql);
        m_selected = i;
    }
}

void SqlEditorModel::writeFile(const QString &path)
{
    try {
        ReportSqlFile::write(m_files_, path, m_definition);
    } catch (const ReportError &e) {
        if (e.number() != ReportSqlFile::LookupInfoMissing)
            m_prompts.msgBox(e.description(), MsgBoxStyle::Exclamation);
        else if (ModuleState::current().devMode())
            m_prompts.msgBox(ReportSqlFile::lookupInfoMissingMessage());
    }
}

void SqlEditorModel::load()
{
    const QString path = m_prompts.openFileName(QString(), ReportSqlFile::filter(), 1, QString());
    if (!path.isEmpty())
        readFile(path, false);
}

void SqlEditorModel::import()
{
    newDefinition();
    const QString path = m_prompts.openFileName(QString(), LegacyReportFile::filter(), 1, QString());
    if (!path.isEmpty())
        readFile(path, true);
}

void SqlEditorModel::saveAs()
{
    const QString path = m_prompts.saveFileName(QString(), ReportSqlFile::filter(), 1, QString());
    if (path.isEmpty())
        return;
    // The new file replaces the old one in one step (the writer's atomic
    // write), so a failed save never leaves the old file deleted.
    writeFile(path);
}

void SqlEditorModel::saveAndExit()
{
    const QString path = workingCopyPath();
    const QString folder = ModuleState::current().tempFolder();
    if (!m_files_.folderExists(folder))
        m_files_.createFolder(folder);
    writeFile(path);
}

} // namespace KRML_ReportGen
