#include "SqliteEngine.h"

#include "AdoType.h"
#include "JetSqlRewriter.h"
#include "MemoryRecordset.h"
#include "PathNames.h"
#include "ProviderErrors.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <sqlite3.h>

namespace KRML_ReportGen {

namespace {

int digitsAt(const char *s, int from, int count)
{
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

// Dates are stored as text: "yyyy-MM-dd", optionally followed by " HH:mm",
// " HH:mm:ss" (or "T" instead of the blank), also with "/" between the parts.
QVariant parseStoredDate(const char *s, int len)
{
    if (len < 10 || (s[4] != '-' && s[4] != '/') || s[7] != s[4])
        return QVariant();
    const int y = digitsAt(s, 0, 4), mo = digitsAt(s, 5, 2), d = digitsAt(s, 8, 2);
    if (y < 0 || mo < 0 || d < 0)
        return QVariant();
    const QDate date(y, mo, d);
    if (!date.isValid())
        return QVariant();
    if (len == 10)
        return date;
    if ((s[10] != ' ' && s[10] != 'T') || len < 16 || s[13] != ':')
        return QVariant();
    const int h = digitsAt(s, 11, 2), mi = digitsAt(s, 14, 2);
    int sec = 0;
    if (len >= 19 && s[16] == ':')
        sec = digitsAt(s, 17, 2);
    if (h < 0 || mi < 0 || sec < 0)
        return QVariant();
    const QTime time(h, mi, sec);
    if (!time.isValid())
        return QVariant();
    return QDateTime(date, time);
}

QVariant naturalValue(sqlite3_stmt *st, int col)
{
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(st, col);
        if (v >= INT32_MIN && v <= INT32_MAX)
            return QVariant(int(v));
        return QVariant(qlonglong(v));
    }
    case SQLITE_FLOAT:
        return sqlite3_column_double(st, col);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, col)),
                                 sqlite3_column_bytes(st, col));
    }
}

QString columnText(sqlite3_stmt *st, int col)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, col)), sqlite3_column_bytes(st, col));
}

// The value of a column as its declared type gives it to reports. SQLite
// lets a column hold any value; what does not fit the declared type is
// handed over as it is stored.
QVariant typedValue(sqlite3_stmt *st, int col, int type)
{
    const int storage = sqlite3_column_type(st, col);
    if (storage == SQLITE_NULL)
        return QVariant();
    switch (type) {
    case AdoType::Integer:
    case AdoType::SmallInt:
    case AdoType::UnsignedTinyInt:
    case AdoType::BigInt:
        if (storage == SQLITE_INTEGER)
            return naturalValue(st, col);
        break;
    case AdoType::Single:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
            return float(sqlite3_column_double(st, col));
        break;
    case AdoType::Double:
    case AdoType::Numeric:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
            return sqlite3_column_double(st, col);
        break;
    case AdoType::Currency:
        // Currency holds four decimal places.
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
            return std::round(sqlite3_column_double(st, col) * 10000.0) / 10000.0;
        break;
    case AdoType::Boolean:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
            return sqlite3_column_double(st, col) != 0.0;
        if (storage == SQLITE_TEXT) {
            const QString t = columnText(st, col).trimmed().toLower();
            if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("-1") || t == QLatin1String("1"))
                return true;
            if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("0"))
                return false;
        }
        break;
    case AdoType::Date:
        if (storage == SQLITE_TEXT) {
            const QVariant d = parseStoredDate(reinterpret_cast<const char *>(sqlite3_column_text(st, col)),
                                               sqlite3_column_bytes(st, col));
            if (d.isValid())
                return d;
        }
        break;
    case AdoType::VarWChar:
    case AdoType::LongVarWChar:
        if (storage != SQLITE_BLOB)
            return columnText(st, col);
        break;
    default:
        break;
    }
    return naturalValue(st, col);
}

class Statement
{
public:
    ~Statement() { sqlite3_finalize(st); }
    sqlite3_stmt *st = nullptr;
};

} // namespace

SqliteEngine::SqliteEngine(sqlite3 *db) : m_db(db) {}

SqliteEngine::~SqliteEngine()
{
    close();
}

bool SqliteEngine::isSqliteFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

std::unique_ptr<SqliteEngine> SqliteEngine::open(const ConnectionString &cs, Acceptance acceptance)
{
    const QString given = cs.dataSource().trimmed();
    QString path;
    if (given == QLatin1String(":memory:") && acceptance == AnyFile) {
        path = given;
    } else {
        path = PathNames::resolve(given);
        const QFileInfo fi(path);
        if (given.isEmpty() || !fi.isFile())
            throw ProviderErrors::fileNotFound(given);
        const bool sqlite = isSqliteFile(path);
        if (!sqlite && acceptance == SqliteFilesOnly)
            return nullptr;
        if (!sqlite && fi.size() > 0)
            throw ProviderErrors::unrecognizedFormat(given);
    }
    const QString mode = cs.value(QStringLiteral("Mode")).toLower();
    const bool readOnly = (mode.contains(QLatin1String("read")) && !mode.contains(QLatin1String("write"))) || mode == QLatin1String("1");
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw ProviderErrors::unspecified(QStringLiteral("The database '%1' could not be opened: %2").arg(given, msg));
    }
    sqlite3_busy_timeout(db, 2000);
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(db));
}

std::unique_ptr<SqliteEngine> SqliteEngine::create(const QString &path)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw ProviderErrors::unspecified(QStringLiteral("The database '%1' could not be created: %2").arg(path, msg));
    }
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(db));
}

void SqliteEngine::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void SqliteEngine::raise(int rc)
{
    const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
    static const QLatin1String noTable("no such table: ");
    static const QLatin1String noColumn("no such column: ");
    if (msg.startsWith(noTable)) {
        QString name = msg.mid(noTable.size());
        if (name.startsWith(QLatin1String("main.")))
            name = name.mid(5);
        throw ProviderErrors::noSuchTable(name);
    }
    if (msg.startsWith(noColumn))
        throw ProviderErrors::unknownColumn(msg.mid(noColumn.size()));
    if ((rc & 0xFF) == SQLITE_MISMATCH)
        throw ProviderErrors::typeMismatch(msg);
    if (msg.contains(QLatin1String("syntax error")) || msg.contains(QLatin1String("incomplete input"))
        || msg.contains(QLatin1String("unrecognized token")))
        throw ProviderErrors::syntaxError(msg);
    throw ProviderErrors::unspecified(msg);
}

std::unique_ptr<Recordset> SqliteEngine::run(const QString &sql)
{
    if (!m_db)
        throw ProviderErrors::unspecified(QStringLiteral("The database is closed."));
    const QByteArray text = JetSqlRewriter::toSqlite(sql).toUtf8();
    Statement s;
    int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &s.st, nullptr);
    if (rc != SQLITE_OK)
        raise(rc);
    if (!s.st)
        throw ReportError(qint32(0x80040E0C), QStringLiteral("Command text was not set for the command object."),
                          QStringLiteral("Provider"));

    const int columns = sqlite3_column_count(s.st);
    if (columns == 0) {
        while ((rc = sqlite3_step(s.st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            raise(rc);
        return std::make_unique<MemoryRecordset>();
    }

    QStringList names;
    QList<int> types;
    QList<bool> computed;
    for (int c = 0; c < columns; ++c) {
        names.append(QString::fromUtf8(sqlite3_column_name(s.st, c)));
        const char *decl = sqlite3_column_decltype(s.st, c);
        computed.append(decl == nullptr);
        types.append(decl ? AdoType::fromDeclaredType(QString::fromUtf8(decl)) : int(AdoType::Empty));
    }
    auto rs = std::make_unique<MemoryRecordset>(names, types);
    QList<QVariant> row(columns);
    while ((rc = sqlite3_step(s.st)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            row[c] = computed[c] ? naturalValue(s.st, c) : typedValue(s.st, c, types[c]);
        rs->appendRow(row);
    }
    if (rc != SQLITE_DONE)
        raise(rc);
    // A computed column (an expression, an aggregate) has no declared type:
    // it takes the type of its first value, text when every value is empty.
    for (int c = 0; c < columns; ++c) {
        if (!computed[c])
            continue;
        int type = AdoType::VarWChar;
        for (int r = 0; r < rs->rowCount(); ++r) {
            if (!rs->valueAt(r, c).isNull()) {
                type = AdoType::fromValue(rs->valueAt(r, c));
                break;
            }
        }
        rs->setType(c, type);
    }
    return rs;
}

std::unique_ptr<Recordset> SqliteEngine::tables()
{
    auto rs = run(QStringLiteral("SELECT NULL AS TABLE_CATALOG, NULL AS TABLE_SCHEMA, name AS TABLE_NAME, "
                                 "CASE type WHEN 'view' THEN 'VIEW' ELSE 'TABLE' END AS TABLE_TYPE "
                                 "FROM sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                                 "ORDER BY name"));
    return rs;
}

void SqliteEngine::runScript(const QString &sql)
{
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : QString();
        sqlite3_free(err);
        throw ProviderErrors::unspecified(msg);
    }
}

} // namespace KRML_ReportGen
