#pragma once

#include "KRMLReportGenExport.h"

#include <QString>
#include <exception>
#include <string>

namespace KRML_ReportGen {

// An error as the control reports it to its host: a number, a description
// and the source that raised it. Numbers follow the platform the reports come
// from: small positive numbers for run-time errors (6 Overflow, 13 Type
// mismatch), negative 32-bit HRESULTs for database providers.
class KRML_REPORTGEN_EXPORT ReportError : public std::exception
{
public:
    ReportError(qint32 number, QString description, QString source = QString());

    qint32 number() const { return m_number; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }

    const char *what() const noexcept override { return m_what.c_str(); }

    // Run-time errors of the conversion rules.
    static ReportError overflow();
    static ReportError typeMismatch();

    static constexpr qint32 InvalidProcedureCall = 5;
    static constexpr qint32 Overflow = 6;
    static constexpr qint32 OutOfMemory = 7;
    static constexpr qint32 SubscriptOutOfRange = 9;
    static constexpr qint32 DivisionByZero = 11;
    static constexpr qint32 TypeMismatch = 13;
    static constexpr qint32 UserInterrupt = 18; // "User interrupt occurred": a run the user stopped
    static constexpr qint32 FileNotFound = 53;
    static constexpr qint32 DiskFull = 61;
    static constexpr qint32 InputPastEndOfFile = 62;
    static constexpr qint32 PermissionDenied = 70;
    static constexpr qint32 PathFileAccessError = 75;
    static constexpr qint32 PathNotFound = 76;
    static constexpr qint32 ObjectVariableNotSet = 91;
    static constexpr qint32 InvalidUseOfNull = 94;
    static constexpr qint32 ControlArrayElementMissing = 340;
    static constexpr qint32 ObjectDoesNotSupportAction = 445;
    static constexpr qint32 KeyAlreadyAssociated = 457;
    static constexpr qint32 InvalidPicture = 481;
    static constexpr qint32 PrinterError = 482;

private:
    qint32 m_number;
    QString m_description;
    QString m_source;
    std::string m_what;
};

} // namespace KRML_ReportGen
