#include "LegacyReportFile.h"

#include "FileService.h"
#include "ModuleState.h"
#include "ParameterMarker.h"
#include "ReportError.h"
#include "TextReader.h"

#include <QDir>

namespace KRML_ReportGen {

using ReadResult = ReportSqlFile::ReadResult;

ReadResult LegacyReportFile::import(const QByteArray &bytes, const QString &fileName, ReportDefinition &into)
{
    TextReader in = TextReader::fromBytes(bytes, TextReader::LoneCr::InLine, ModuleState::current().codec());
    const auto read = [&](QString &line) { return in.readLine(line); };
    const auto malformed = [&](const QString &why) {
        return ReadResult{ReadResult::Malformed, QStringLiteral("The report file \"%1\" cannot be read: line %2: %3.")
                                                     .arg(QDir::toNativeSeparators(fileName))
                                                     .arg(in.lineNumber())
                                                     .arg(why)};
    };
    const auto truncated = [&] { return malformed(QStringLiteral("the file ends too early")); };

    QString line;
    if (!read(line) || line != magic())
        return ReadResult{ReadResult::NotValid, notValidMessage()};
    if (!read(line))
        return truncated();
    const bool hasCount = !line.mid(line.lastIndexOf(QLatin1Char('=')) + 1).trimmed().isEmpty();

    if (!read(line))
        return truncated();
    int count = 0;
    if (const QString error = ReportSqlFile::readParameterCount(line, count); !error.isEmpty())
        return malformed(error);

    ReportDefinition work = into;
    QStringList markers; // by 1-based position in this file
    for (int i = 0; i < count; ++i) {
        if (!read(line))
            return truncated();
        ReportSqlFile::ParameterLine p;
        const QString error = ReportSqlFile::parseParameterLine(line, true, p);
        if (!error.isEmpty())
            return malformed(error);
        const QString marker = ParameterMarker::make(p.name, p.type);
        work.addParameter(marker, p.type == clsParameter::Lookup ? &p.lookup : nullptr);
        markers.append(marker);
    }

    int statements = 1;
    if (hasCount) {
        if (!read(line) || !read(line))
            return truncated();
        if (const QString error = ReportSqlFile::readStatementCount(line, statements); !error.isEmpty())
            return malformed(error);
        if (!read(line))
            return truncated();
    }

    const auto placeholders = [&](QString text) {
        // The longest numbers first, so %v#p1% never eats part of %v#p10%.
        for (int i = markers.size(); i >= 1; --i)
            text.replace(QStringLiteral("%v#p%1%").arg(i), markers[i - 1], Qt::CaseInsensitive);
        return text;
    };

    QString current;
    bool haveCurrent = read(current);
    QString name;
    for (int s = 0; s < statements && haveCurrent; ++s) {
        if (ReportSqlFile::isSectionHeader(current)) {
            name = ReportSqlFile::sectionName(current);
            if (ReportSqlFile::isTerminator(name))
                break;
            haveCurrent = read(current);
        }
        QString sql;
        while (haveCurrent && !ReportSqlFile::isSectionHeader(current)) {
            sql += placeholders(current) + QStringLiteral("\r\n");
            haveCurrent = read(current);
        }
        work.addStatement(name.isEmpty() ? defaultStatementName() : name, sql);
    }

    into = work;
    return ReadResult{};
}

ReadResult LegacyReportFile::importFile(const FileService &files, const QString &path, ReportDefinition &into)
{
    QByteArray bytes;
    try {
        bytes = files.readBytes(path);
    } catch (const ReportError &e) {
        return ReadResult{ReadResult::Malformed, QStringLiteral("The report file \"%1\" cannot be read: %2")
                                                     .arg(QDir::toNativeSeparators(path), e.description())};
    }
    return import(bytes, path, into);
}

} // namespace KRML_ReportGen
