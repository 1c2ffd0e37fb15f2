#pragma once

#include "StoreError.h"

#include <QByteArray>
#include <QString>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// Faults planted in the lowest layer, for tests: every failure the file can cause is made on demand here instead
// of with a real full disk, a real read-only medium or a real lock.
namespace faults {

// The next statement step or exec whose SQL starts with `sqlStart` fails with the SQLite result code, once.
void failNext(const QByteArray& sqlStart, int code);
// Whether the folder of the file counts as writable, as on a read-only medium it does not.
void setFolderWritable(bool writable);
// Takes every planted fault away.
void clear();

} // namespace faults

// Turns an SQLite result code into the kind of failure the screens report, from the code alone.
FailureKind kindOfSqliteCode(int code);

// The same for a failure on an open connection: a write refused because the file or its folder is read-only is
// told apart by asking whether the file's folder can be written.
FailureKind kindOfFailure(int code, sqlite3* db);

// An open SQLite connection. Moves, never copies; closes on destruction.
class Connection
{
public:
    Connection() = default;
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file (never creates one) and applies the key. The key is checked by the caller's first
    // read: SQLCipher only finds out then whether it fits.
    static Connection openExisting(const QString& path, const QByteArray& key);
    // Creates a new file, keyed with the given key.
    static Connection create(const QString& path, const QByteArray& key);

    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }
    void close();

    // Runs statements without parameters or results (DDL, BEGIN, COMMIT).
    void exec(const char* sql);
    // Throws NotADatabase when the file is shorter than the pages it announces (a download cut short inside its
    // last page reads well until that page is needed). Call after the first read, which rolls back a journal left
    // by a crash and so brings the file to its true length.
    void checkLength() const;
    [[noreturn]] void fail(int code, const QString& context = {}) const;

private:
    explicit Connection(sqlite3* db) : m_db(db) {}
    sqlite3* m_db = nullptr;
};

// A prepared statement with bound parameters. Reset and reused by its owner.
class Statement
{
public:
    Statement(const Connection& connection, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, const QString& text);
    Statement& bind(int index, qint64 value);
    // Steps once: true while a row is at hand.
    bool next();
    void reset();

    bool isNull(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const;

private:
    const Connection& m_connection;
    sqlite3_stmt* m_stmt = nullptr;
};

// A transaction that rolls back unless committed.
class Transaction
{
public:
    explicit Transaction(Connection& connection, const char* begin = "BEGIN IMMEDIATE");
    ~Transaction();
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

} // namespace store
