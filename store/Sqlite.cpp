#include "Sqlite.h"

#include <sqlite3.h>

namespace store {

FailureKind kindOfSqliteCode(int code)
{
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
    default:
        return FailureKind::Other;
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
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errstr(rc));
        sqlite3_free(error);
        throw StoreError(kindOfSqliteCode(rc), message, rc);
    }
}

void Connection::fail(int code, const QString& context) const
{
    QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(code));
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    throw StoreError(kindOfSqliteCode(code), message, code);
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
                                     : kindOfSqliteCode(rc);
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
    const int rc = sqlite3_step(m_stmt);
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
