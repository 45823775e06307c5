#include "SqlErrorMessage.h"

#include "ProviderErrors.h"
#include "ReportError.h"

namespace KRML_ReportGen {

QString SqlErrorMessage::supportLine()
{
    return QStringLiteral("If the problem persists, please contact KRML ReportGen support with the text of this message.");
}

QString SqlErrorMessage::text(qint32 number, const QString &description)
{
    QString head;
    switch (number) {
    case ProviderErrors::NoSuchTable: {
        const int first = description.indexOf(QLatin1Char('\''));
        const int second = first < 0 ? -1 : description.indexOf(QLatin1Char('\''), first + 1);
        // From the first quote up to, not including, the second: the table
        // name with its opening quote.
        const QString quoted = first < 0 ? QString() : description.mid(first, (second < 0 ? description.size() : second) - first);
        head = QStringLiteral("Unable to find the table ") + quoted + QStringLiteral("'. Please ensure that it is spelled correctly.");
        break;
    }
    case ProviderErrors::UnknownColumn:
        head = QStringLiteral("One or more fields are spelt incorrectly");
        break;
    case ProviderErrors::TypeMismatch:
        head = QStringLiteral("Type mismatch in SQL statement");
        break;
    default:
        head = QString::number(number) + QStringLiteral(" - ") + description;
        break;
    }
    return head + QStringLiteral("\r\n\r\n") + supportLine();
}

QString SqlErrorMessage::text(const ReportError &error)
{
    return text(error.number(), error.description());
}

} // namespace KRML_ReportGen
