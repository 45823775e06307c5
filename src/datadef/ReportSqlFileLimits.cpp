#include "ReportSqlFileLimits.h"

#include "ModuleState.h"
#include "ReportSqlFile.h"

#include <QStringList>

namespace KRML_ReportGen {

namespace {

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

} // namespace

QString ReportSqlFileLimits::foreignCharacters(const QString &text)
{
    const CodePage codePage = ModuleState::current().codec();
    QString foreign;
    QStringView rest(text);
    for (qsizetype at = codePage.unencodableAt(rest.toString()); at >= 0; at = codePage.unencodableAt(rest.toString())) {
        const qsizetype n = rest[at].isHighSurrogate() && at + 1 < rest.size() ? 2 : 1;
        const QStringView c = rest.mid(at, n);
        if (!foreign.contains(c))
            foreign += c;
        rest = rest.mid(at + n);
    }
    return foreign;
}

QString ReportSqlFileLimits::codePageProblem(const QString &what, const QString &text)
{
    const QString foreign = foreignCharacters(text);
    if (foreign.isEmpty())
        return QString();
    return QStringLiteral("%1 cannot contain \"%2\": the report SQL file is written in the Windows-%3 code page, "
                          "which has no such character.")
        .arg(what, foreign)
        .arg(ModuleState::current().codePage());
}

QString ReportSqlFileLimits::parameterName(const QString &name)
{
    if (name.contains(QLatin1Char(',')))
        return QStringLiteral("A parameter name cannot contain a comma: the report SQL file separates a parameter's fields with commas.");
    if (name.contains(QLatin1Char('(')))
        return QStringLiteral("A parameter name cannot contain \"(\": a parameter's marker ends its name at the first \"(\".");
    if (hasLineBreak(name))
        return QStringLiteral("A parameter name cannot contain a line break: the report SQL file keeps a parameter on one line.");
    return codePageProblem(QStringLiteral("A parameter name"), name);
}

QString ReportSqlFileLimits::lookupSql(const QString &sql)
{
    if (hasLineBreak(sql))
        return QStringLiteral("The lookup SQL cannot contain a line break: the report SQL file keeps a parameter on one line. "
                              "Please write the SQL on one line.");
    return codePageProblem(QStringLiteral("The lookup SQL"), sql);
}

QString ReportSqlFileLimits::lookupField(const QString &field, const QString &value)
{
    if (value.contains(QLatin1Char(',')))
        return QStringLiteral("The %1 cannot contain a comma: the report SQL file separates a parameter's fields with commas.")
            .arg(field);
    if (hasLineBreak(value))
        return QStringLiteral("The %1 cannot contain a line break: the report SQL file keeps a parameter on one line.").arg(field);
    return codePageProblem(QStringLiteral("The ") + field, value);
}

QString ReportSqlFileLimits::statementName(const QString &name)
{
    if (ReportSqlFile::isTerminator(name))
        return QStringLiteral("A statement cannot be named \"endreport\": the report SQL file ends its statements with that name.");
    if (hasLineBreak(name))
        return QStringLiteral("A statement name cannot contain a line break: the report SQL file keeps it on one line.");
    return codePageProblem(QStringLiteral("A statement name"), name);
}

QString ReportSqlFileLimits::statementSql(const QString &sql)
{
    QString lines = sql;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString &line : lines.split(QLatin1Char('\n')))
        if (ReportSqlFile::isSectionHeader(line))
            return QStringLiteral("No line of a statement can begin with \"tablename=\": the report SQL file starts the next "
                                  "statement there.");
    return codePageProblem(QStringLiteral("A statement"), sql);
}

} // namespace KRML_ReportGen
