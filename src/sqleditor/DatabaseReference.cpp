#include "DatabaseReference.h"

#include "DbConnection.h"
#include "FileService.h"
#include "ReportError.h"
#include "Windows1252Codec.h"

#include <QRegularExpression>

namespace KRML_ReportGen {

void DatabaseReference::CreateDBReferenceFile(FileService &files, const QString &path, DbConnection &connection)
{
    m_tables.clear();
    m_columns.clear();
    m_path = path;
    QString text;
    try {
        if (connection.state() == DbConnection::Closed && !connection.connectionString().isEmpty())
            connection.open();
        if (connection.state() == DbConnection::Open) {
            auto schema = connection.tableSchema();
            for (; !schema->isEOF(); schema->moveNext()) {
                const QString table = schema->field(QStringLiteral("TABLE_NAME")).value.toString();
                if (table.contains(QLatin1String("MSys")))
                    continue;
                try {
                    // No rows are needed, only the columns.
                    const bool plain = QRegularExpression(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$")).match(table).hasMatch();
                    auto rs = connection.openRecordset(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0")
                                                           .arg(plain ? table : QLatin1Char('[') + table + QLatin1Char(']')));
                    QString block = table + QStringLiteral(".\r\n");
                    QStringList columns;
                    for (int c = 0; c < rs->fieldCount(); ++c) {
                        columns << rs->fieldName(c);
                        block += table + QLatin1Char('.') + rs->fieldName(c) + QStringLiteral("\r\n");
                    }
                    text += block + QStringLiteral("!\r\n");
                    m_tables << table;
                    m_columns << columns;
                } catch (const ReportError &) {
                    // A table that cannot be read: colouring and completion know fewer names.
                }
            }
        }
    } catch (const ReportError &) {
    }
    files.writeBytes(path, Windows1252Codec::encode(text));
}

QString DatabaseReference::completionWord(const QString &text, int caret)
{
    caret = std::clamp(caret, 0, int(text.size()));
    if (caret == 0 || text[caret - 1] != QLatin1Char('.'))
        return QString();
    QString word;
    for (int i = 0; i < caret - 1; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('.')
            || c == QLatin1Char('\t') || c == QLatin1Char('(') || c == QLatin1Char(','))
            word.clear();
        else
            word += c;
    }
    word = word.trimmed();
    if (word.startsWith(QLatin1Char('[')) && word.endsWith(QLatin1Char(']')))
        word = word.mid(1, word.size() - 2);
    return word.isEmpty() ? QString() : word + QLatin1Char('.');
}

QStringList DatabaseReference::completionEntries(const FileService &files, const QString &path, const QString &word)
{
    QStringList entries;
    if (word.isEmpty() || !files.fileExists(path))
        return entries;
    const QStringList lines = Windows1252Codec::decode(files.readBytes(path)).split(QStringLiteral("\r\n"));
    const QString wanted = word.trimmed();
    bool inside = false;
    for (const QString &line : lines) {
        if (!inside) {
            inside = line.trimmed().compare(wanted, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (line == QLatin1String("!"))
            break;
        entries << line.mid(wanted.size());
    }
    return entries;
}

int DatabaseReference::matchingEntry(const QStringList &entries, const QString &prefix)
{
    const QString p = prefix.trimmed();
    for (int i = 0; i < entries.size(); ++i)
        if (entries[i].trimmed().startsWith(p, Qt::CaseInsensitive))
            return i;
    return -1;
}

} // namespace KRML_ReportGen
