#include "Sqlite.h"

#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <utility>

namespace store {

namespace faults {

namespace {

struct Planted
{
    QByteArray sqlStart;
    int code = 0;
    bool folderReadOnly = false;
};

Planted& planted()
{
    static Planted faults;
    return faults;
}

// The planted result code for this SQL, taken away as it is used; 0 for none.
int take(const char* sql)
{
    Planted& p = planted();
    if (p.code == 0 || !sql || !QByteArray(sql).startsWith(p.sqlStart))
        return 0;
    return std::exchange(p.code, 0);
}

} // namespace

void failNext(const QByteArray& sqlStart, int code)
{
    planted().sqlStart = sqlStart;
    planted().code = code;
}

void setFolderWritable(bool writable)
{
    planted().folderReadOnly = !writable;
}

void clear()
{
    planted() = Planted{};
}

} // namespace faults

FailureKind kindOfSqliteCode(int code)
{
    // Written to after it was removed or renamed: the file the learner sees is no longer the one that is open.
    if (code == SQLITE_READONLY_DBMOVED)
        return FailureKind::FileMissing;
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
        return FailureKind::NotADatabase;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return FailureKind::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return FailureKind::Busy;
    case SQLITE_FULL:
        return FailureKind::DiskFull;
    default:
        return FailureKind::Other;
    }
}

namespace {

// Whether new files can be made beside the open file. access() also answers for root: a read-only mount refuses
// with EROFS whatever the caller may do otherwise.
bool folderWritable(sqlite3* db)
{
    if (faults::planted().folderReadOnly)
        return false;
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    if (!name || !*name)
        return true;
    std::string folder(name);
    const std::string::size_type slash = folder.find_last_of('/');
    folder = slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : folder.substr(0, slash);
    return ::access(folder.c_str(), W_OK) == 0;
}

} // namespace

FailureKind kindOfFailure(int code, sqlite3* db)
{
    const FailureKind kind = kindOfSqliteCode(code);
    switch (code & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
        // A file that cannot be written in a folder that cannot be written either (a read-only medium or share)
        // is put right by moving both, not by changing the file.
        if (kind == FailureKind::ReadOnly && !folderWritable(db))
            return FailureKind::FolderReadOnly;
        return kind;
    case SQLITE_CANTOPEN:
        // The file is open already: what could not be made is the journal beside it, at the first write.
        return folderWritable(db) ? kind : FailureKind::FolderReadOnly;
    default:
        return kind;
    }
}

Connection::~Connection()
{
    close();
}

Connection::Connection(Connection&& other) noexcept : m_db(other.m_db)
{
    other.m_db = nullptr;
}

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        close();
        m_db = other.m_db;
        other.m_db = nullptr;
    }
    return *this;
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

static sqlite3* openRaw(const QString& path, const QByteArray& key, int flags)
{
    sqlite3* db = nullptr;
    const QByteArray name = path.toUtf8();
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        const FailureKind kind = (rc & 0xff) == SQLITE_CANTOPEN ? FailureKind::FileMissing : kindOfSqliteCode(rc);
        throw StoreError(kind, message, rc);
    }
    sqlite3_extended_result_codes(db, 1);
    if (!key.isEmpty()) {
        const int krc = sqlite3_key(db, key.constData(), key.size());
        if (krc != SQLITE_OK) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_close_v2(db);
            throw StoreError(FailureKind::NotADatabase, message, krc);
        }
    }
    // A lock held by another process is waited for briefly, then reported.
    sqlite3_busy_timeout(db, 2000);
    return db;
}

Connection Connection::openExisting(const QString& path, const QByteArray& key)
{
    return Connection(openRaw(path, key, SQLITE_OPEN_READWRITE));
}

Connection Connection::create(const QString& path, const QByteArray& key)
{
    return Connection(openRaw(path, key, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
}

void Connection::exec(const char* sql)
{
    if (const int planted = faults::take(sql))
        fail(planted);
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errstr(rc));
        sqlite3_free(error);
        throw StoreError(kindOfFailure(rc, m_db), message, rc);
    }
}

void Connection::checkLength() const
{
    auto pragma = [this](const char* sql) {
        Statement query(*this, sql);
        return query.next() ? query.text(0) : QString();
    };
    // A file in write-ahead mode is legitimately shorter while pages wait in its log.
    if (pragma("PRAGMA journal_mode").compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return;
    const qint64 pageSize = pragma("PRAGMA page_size").toLongLong();
    const qint64 pages = pragma("PRAGMA page_count").toLongLong();
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return;
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK)
        return;
    if (size < pages * pageSize)
        throw StoreError(FailureKind::NotADatabase,
                         QStringLiteral("file is %1 bytes long, %2 pages of %3 bytes need %4")
                             .arg(size)
                             .arg(pages)
                             .arg(pageSize)
                             .arg(pages * pageSize),
                         SQLITE_CORRUPT);
}

void Connection::fail(int code, const QString& context) const
{
    QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(code));
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    throw StoreError(kindOfFailure(code, m_db), message, code);
}

Statement::Statement(const Connection& connection, const char* sql) : m_connection(connection)
{
    const int rc = sqlite3_prepare_v2(connection.handle(), sql, -1, &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(connection.handle()));
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        // A statement that names a table or column the file lacks fails here with SQLITE_ERROR.
        const FailureKind kind = (rc & 0xff) == SQLITE_ERROR && (message.startsWith(QStringLiteral("no such")))
                                     ? FailureKind::SchemaMissing
                                     : kindOfFailure(rc, connection.handle());
        throw StoreError(kind, message, rc);
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement& Statement::bind(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const int rc = sqlite3_bind_text(m_stmt, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        m_connection.fail(rc);
    return *this;
}

Statement& Statement::bind(int index, qint64 value)
{
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        m_connection.fail(rc);
    return *this;
}

bool Statement::next()
{
    const int planted = faults::take(sqlite3_sql(m_stmt));
    const int rc = planted ? planted : sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_connection.fail(rc);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? QString::fromUtf8(data, size) : QString();
}

Transaction::Transaction(Connection& connection, const char* begin) : m_connection(connection)
{
    m_connection.exec(begin);
}

Transaction::~Transaction()
{
    if (!m_done && m_connection.isOpen())
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    m_connection.exec("COMMIT");
    m_done = true;
}

} // namespace store
