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

} // namespace KRML_ReportGen
