#include "ProviderErrors.h"

#include <QDir>

namespace KRML_ReportGen {

ReportError ProviderErrors::noSuchTable(const QString &table)
{
    return ReportError(NoSuchTable,
                       QStringLiteral("The database engine cannot find the input table or query '%1'. "
                                      "Make sure it exists and that its name is spelled correctly.")
                           .arg(table),
                       QStringLiteral("Provider"));
}

ReportError ProviderErrors::unknownColumn(const QString &column)
{
    return ReportError(UnknownColumn,
                       QStringLiteral("No value given for one or more required parameters (unknown column '%1').").arg(column),
                       QStringLiteral("Provider"));
}

ReportError ProviderErrors::missingParameter(const QString &name)
{
    return ReportError(UnknownColumn, QStringLiteral("No value given for one or more required parameters: %1.").arg(name),
                       QStringLiteral("Provider"));
}

QString ProviderErrors::missingParameterName(const ReportError &error)
{
    static const QLatin1String lead("No value given for one or more required parameters: ");
    const QString d = error.description();
    if (error.number() != UnknownColumn || !d.startsWith(lead) || !d.endsWith(QLatin1Char('.')))
        return QString();
    return d.mid(lead.size(), d.size() - lead.size() - 1);
}

ReportError ProviderErrors::typeMismatch(const QString &detail)
{
    QString d = QStringLiteral("Data type mismatch in criteria expression.");
    if (!detail.isEmpty())
        d += QStringLiteral(" (%1)").arg(detail);
    return ReportError(TypeMismatch, d, QStringLiteral("Provider"));
}

ReportError ProviderErrors::syntaxError(const QString &detail)
{
    return ReportError(SyntaxError, QStringLiteral("Syntax error in query: %1.").arg(detail), QStringLiteral("Provider"));
}

ReportError ProviderErrors::unspecified(const QString &description)
{
    return ReportError(Unspecified, description, QStringLiteral("Provider"));
}

ReportError ProviderErrors::providerNotFound(const QString &provider)
{
    return ReportError(ProviderNotFound,
                       QStringLiteral("Provider cannot be found. It may not be properly installed. (%1)").arg(provider),
                       QStringLiteral("Connection"));
}

ReportError ProviderErrors::fileNotFound(const QString &path)
{
    return ReportError(Unspecified, QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(path)),
                       QStringLiteral("Provider"));
}

ReportError ProviderErrors::unrecognizedFormat(const QString &path)
{
    return ReportError(Unspecified,
                       QStringLiteral("Unrecognized database format '%1'.").arg(QDir::toNativeSeparators(path)),
                       QStringLiteral("Provider"));
}

QString ProviderErrors::shortText(const QString &sql)
{
    const QString text = sql.simplified();
    return text.size() > 80 ? text.left(77) + QStringLiteral("...") : text;
}

ReportError ProviderErrors::readOnly(const QString &sql)
{
    return ReportError(PermissionDenied,
                       QStringLiteral("The statement \"%1\" would change the database, and reports only read it. "
                                      "A connection string with ReadOnly=False allows changes.")
                           .arg(shortText(sql)),
                       QStringLiteral("Provider"));
}

ReportError ProviderErrors::severalCommands(const QString &sql)
{
    return ReportError(PermissionDenied,
                       QStringLiteral("The statement \"%1\" holds more than one command; a report statement is one command.")
                           .arg(shortText(sql)),
                       QStringLiteral("Provider"));
}

ReportError ProviderErrors::timedOut(const QString &sql, int seconds)
{
    return ReportError(LimitReached,
                       QStringLiteral("The statement \"%1\" was stopped after %2 seconds, the longest a statement may run.")
                           .arg(shortText(sql))
                           .arg(seconds),
                       QStringLiteral("Provider"));
}

ReportError ProviderErrors::resultTooLarge(const QString &sql, qint64 bytes)
{
    return ReportError(LimitReached,
                       QStringLiteral("The statement \"%1\" was stopped: its result grew beyond %2 MB, the most a statement may fetch.")
                           .arg(shortText(sql))
                           .arg(bytes / (1024 * 1024)),
                       QStringLiteral("Provider"));
}

} // namespace KRML_ReportGen
