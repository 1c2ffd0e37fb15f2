#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// Why an operation on the question file failed. The menu and the quiz screen choose their message from this.
enum class FailureKind {
    FileMissing,    // no file of that name in the current directory
    NotADatabase,   // not a database of ours, damaged, or keyed with another password
    SchemaMissing,  // a table or a column the program needs is not there
    NullField,      // a field that must hold a value is Null in the row at hand
    ReadOnly,       // the file cannot be written; its folder could be
    FolderReadOnly, // the folder cannot be written (no journal can be made there), or neither file nor folder
    Busy,           // another process holds the file locked
    DiskFull,       // no room left on the disk for the journal or a grown file
    Other,
};

class StoreError : public std::runtime_error
{
public:
    StoreError(FailureKind kind, const QString& message, int sqliteCode = 0)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message), m_sqliteCode(sqliteCode)
    {
    }

    FailureKind kind() const { return m_kind; }
    // SQLite's own words, or ours where SQLite said nothing.
    const QString& message() const { return m_message; }
    int sqliteCode() const { return m_sqliteCode; }

private:
    FailureKind m_kind;
    QString m_message;
    int m_sqliteCode;
};

} // namespace store
