#include "ReportSqlFile.h"

#include "FileService.h"
#include "LegacyNumber.h"
#include "ModuleState.h"
#include "ParameterMarker.h"
#include "ReportError.h"
#include "TextReader.h"
#include "VbConvert.h"

#include <QDir>
#include <cmath>

namespace KRML_ReportGen {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QLatin1String kHeader("tablename=");

QString takeField(const QString &line, int &pos, bool toEnd = false)
{
    if (toEnd) {
        const QString rest = line.mid(pos);
        pos = line.size() + 1;
        return rest;
    }
    const int comma = line.indexOf(QLatin1Char(','), pos);
    const int end = comma < 0 ? line.size() : comma;
    const QString field = line.mid(pos, end - pos);
    pos = comma < 0 ? line.size() + 1 : comma + 1;
    return field;
}

} // namespace

QString ReportSqlFile::workingFile()
{
    return ModuleState::current().workingFile(workingFileName());
}

bool ReportSqlFile::isSectionHeader(const QString &line)
{
    return line.startsWith(kHeader);
}

QString ReportSqlFile::sectionName(const QString &line)
{
    return line.mid(kHeader.size());
}

bool ReportSqlFile::isTerminator(const QString &sectionName)
{
    return sectionName == QLatin1String("endreport");
}

QStringList ReportSqlFile::statementNames(const FileService &files, const QString &path, const QStringList &previous)
{
    if (!files.fileExists(path))
        return previous;
    QStringList names;
    for (const QString &line : TextReader::splitLines(ModuleState::current().codec().decode(files.readBytes(path))))
        if (isSectionHeader(line) && !isTerminator(sectionName(line)))
            names.append(sectionName(line));
    return names;
}

QString ReportSqlFile::readParameterCount(const QString &line, int &count)
{
    const QLatin1String key("noofparams=");
    const QString countText = line.mid(key.size());
    const std::optional<double> number = LegacyNumber::convert(countText);
    if (!line.startsWith(key) || !number)
        return QStringLiteral("\"%1\" does not give the number of parameters").arg(line);
    const double n = *number;
    if (n < 0 || n > 32767 || n != std::floor(n))
        return QStringLiteral("\"%1\" is not a number of parameters").arg(countText);
    count = int(n);
    return QString();
}

QString ReportSqlFile::readStatementCount(const QString &line, int &count)
{
    if (!LegacyNumber::isNumber(line))
        return QStringLiteral("\"%1\" is not a number of statements").arg(line);
    try {
        count = VbConvert::toInt16(line);
    } catch (const ReportError &e) {
        return QStringLiteral("\"%1\": %2").arg(line, e.description());
    }
    return QString();
}

QString ReportSqlFile::parseParameterLine(const QString &line, bool legacy, ParameterLine &out)
{
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || eq + 1 >= line.size())
        return QStringLiteral("a parameter line without its type code");
    const QChar code = line[eq + 1];
    if (code < QLatin1Char('0') || code > QLatin1Char('3'))
        return QStringLiteral("the parameter type \"%1\" is not one of 0, 1, 2 and 3").arg(code);
    out.type = code.digitValue();
    const int comma = line.indexOf(QLatin1Char(','), eq + 1);
    if (comma < 0)
        return QStringLiteral("a parameter line without the comma after its type code");
    int pos = comma + 1;
    out.name = takeField(line, pos);
    out.lookup = ReportDefinition::Lookup();
    if (out.type != clsParameter::Lookup)
        return QString();

    const int fields = legacy ? 3 : 4;
    if (line.mid(comma + 1).count(QLatin1Char(',')) < fields)
        return QStringLiteral("a lookup parameter line without all of its fields");
    if (legacy) {
        // Table-based lookups: the file names the table, not the query.
        out.lookup.mode = 1;
        out.lookup.displayField = takeField(line, pos);
        out.lookup.returnField = takeField(line, pos);
        out.lookup.sql = QStringLiteral("SELECT * FROM ") + takeField(line, pos);
        return QString();
    }
    const QString mode = takeField(line, pos);
    if (!LegacyNumber::isNumber(mode))
        return QStringLiteral("the lookup mode \"%1\" is not a number").arg(mode);
    try {
        out.lookup.mode = VbConvert::toInt16(mode);
    } catch (const ReportError &e) {
        return QStringLiteral("the lookup mode \"%1\": %2").arg(mode, e.description());
    }
    out.lookup.displayField = takeField(line, pos);
    out.lookup.returnField = takeField(line, pos);
    out.lookup.sql = takeField(line, pos, true);
    return QString();
}

QString ReportSqlFile::toText(const ReportDefinition &definition)
{
    QString text = magic() + kCrLf;
    text += QStringLiteral("noofparams=") + QString::number(definition.parameters().size()) + kCrLf;
    int i = 0;
    for (const ReportDefinition::Parameter &p : definition.parameters()) {
        const int type = ParameterMarker::typeOf(p.marker);
        if (type < 0)
            throw ReportError(LookupInfoMissing,
                              QStringLiteral("Error Saving Parameter: \"%1\" has no type").arg(p.marker));
        text += QStringLiteral("p%1=%2,%3").arg(++i).arg(type).arg(ParameterMarker::nameOf(p.marker));
        if (type == clsParameter::Lookup) {
            const ReportDefinition::Lookup *l = definition.lookup(p.keyNumber);
            if (!l)
                throw ReportError(LookupInfoMissing, lookupInfoMissingMessage());
            text += QStringLiteral(",%1,%2,%3,%4").arg(l->mode).arg(l->displayField, l->returnField, l->sql);
        }
        text += kCrLf;
    }
    text += QStringLiteral("##########") + kCrLf;
    text += QString::number(definition.statements().size()) + kCrLf;
    for (const ReportDefinition::Statement &s : definition.statements()) {
        text += kHeader + s.name + kCrLf;
        // The editor's plain text breaks its lines with LF; the file's line
        // end is CR LF, whatever the text came with.
        QString sql = s.sql;
        sql.replace(kCrLf, QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n')).replace(QStringLiteral("\n"), kCrLf);
        text += sql;
        // A statement read back from a file already ends with its line
        // break; writing it again must not add a blank line on every save.
        if (!sql.endsWith(kCrLf))
            text += kCrLf;
    }
    text += kHeader + QStringLiteral("endreport");
    return text;
}

void ReportSqlFile::write(FileService &files, const QString &path, const ReportDefinition &definition)
{
    files.writeBytes(path, ModuleState::current().codec().encode(toText(definition)));
}

ReportSqlFile::ReadResult ReportSqlFile::read(const QByteArray &bytes, const QString &fileName, ReportDefinition &into,
                                              ParameterCollection *shared)
{
    TextReader in = TextReader::fromBytes(bytes, TextReader::LoneCr::InLine, ModuleState::current().codec());
    const QString shownName = QDir::toNativeSeparators(fileName);
    const auto malformed = [&](const QString &why) {
        return ReadResult{ReadResult::Malformed,
                          QStringLiteral("The report SQL file \"%1\" cannot be read: line %2: %3.")
                              .arg(shownName)
                              .arg(in.lineNumber())
                              .arg(why)};
    };
    const auto truncated = [&] { return malformed(QStringLiteral("the file ends before \"tablename=endreport\"")); };

    QString line;
    if (!in.readLine(line) || line != magic())
        return ReadResult{ReadResult::NotValid, notValidMessage()};

    ReportDefinition work = into;
    QList<clsParameter> records;

    if (!in.readLine(line))
        return truncated();
    int count = 0;
    if (const QString error = readParameterCount(line, count); !error.isEmpty())
        return malformed(error);

    for (int i = 0; i < int(count); ++i) {
        if (!in.readLine(line))
            return truncated();
        ParameterLine p;
        const QString error = parseParameterLine(line, false, p);
        if (!error.isEmpty())
            return malformed(error);
        work.addParameter(ParameterMarker::make(p.name, p.type), p.type == clsParameter::Lookup ? &p.lookup : nullptr);
        records.append(work.record(work.parameters().last()));
    }

    if (!in.readLine(line)) // the separator, not looked at
        return truncated();
    if (!in.readLine(line))
        return truncated();
    int statements = 0;
    if (const QString error = readStatementCount(line, statements); !error.isEmpty())
        return malformed(error);
    QString current;
    if (statements > 0 && !in.readLine(current))
        return truncated();
    for (int s = 0; s < statements; ++s) {
        const QString name = sectionName(current);
        if (isTerminator(name))
            break;
        QString sql;
        bool headerFound = false;
        while (in.readLine(line)) {
            if (isSectionHeader(line)) {
                headerFound = true;
                current = line;
                break;
            }
            sql += line + kCrLf;
        }
        if (!headerFound)
            return truncated();
        work.addStatement(name, sql);
    }

    into = work;
    if (shared)
        for (const clsParameter &r : records)
            shared->Add(r);
    return ReadResult{};
}

ReportSqlFile::ReadResult ReportSqlFile::readFile(const FileService &files, const QString &path, ReportDefinition &into,
                                                  ParameterCollection *shared)
{
    QByteArray bytes;
    try {
        bytes = files.readBytes(path);
    } catch (const ReportError &e) {
        return ReadResult{ReadResult::Malformed,
                          QStringLiteral("The report SQL file \"%1\" cannot be read: %2")
                              .arg(QDir::toNativeSeparators(path), e.description())};
    }
    return read(bytes, path, into, shared);
}

} // namespace KRML_ReportGen
