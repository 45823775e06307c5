#pragma once

#include "ReportError.h"

namespace KRML_ReportGen {

// The provider error numbers reports tell apart, and the errors an engine
// raises for them. Every engine reports these situations with these numbers.
class ProviderErrors
{
public:
    static constexpr qint32 NoSuchTable = qint32(0x80040E37);
    static constexpr qint32 UnknownColumn = qint32(0x80040E10);
    static constexpr qint32 TypeMismatch = qint32(0x80040E07);
    static constexpr qint32 SyntaxError = qint32(0x80040E14);
    static constexpr qint32 Unspecified = qint32(0x80004005);
    static constexpr qint32 ProviderNotFound = qint32(0x800A0E7A);
    static constexpr qint32 PermissionDenied = qint32(0x80040E09);
    static constexpr qint32 LimitReached = qint32(0x80040E31);

    static ReportError noSuchTable(const QString &table);
    static ReportError unknownColumn(const QString &column);
    // A declared parameter, or one a saved query asks for, without a value;
    // and the name such an error gives (empty for any other error).
    static ReportError missingParameter(const QString &name);
    static QString missingParameterName(const ReportError &error);
    static ReportError typeMismatch(const QString &detail = QString());
    static ReportError syntaxError(const QString &detail);
    static ReportError unspecified(const QString &description);
    static ReportError providerNotFound(const QString &provider);
    static ReportError fileNotFound(const QString &path);
    static ReportError unrecognizedFormat(const QString &path);
    // A statement that would change a database the connection only reads.
    static ReportError readOnly(const QString &sql);
    // A statement that holds several commands where one is allowed.
    static ReportError severalCommands(const QString &sql);
    // A statement stopped by a limit: its run time or its result's size.
    static ReportError timedOut(const QString &sql, int seconds);
    static ReportError resultTooLarge(const QString &sql, qint64 bytes);
    // The start of a statement's text on one line, to name it in a message.
    static QString shortText(const QString &sql);
};

} // namespace KRML_ReportGen
