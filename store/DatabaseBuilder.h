#pragma once

#include "Question.h"
#include "Sqlite.h"

#include <QList>

namespace store {

// One row of table 目次.
struct ContentsEntry
{
    QString part;         // 編
    QString chapter;      // 章
    QString section;      // 節
    qint64 sectionNo = 0; // 節No
};

// Writes question files: the content tool's build, the test fixtures and the benchmark all make theirs here, so
// every file has the tables, columns and indexes the program reads.
class DatabaseBuilder
{
public:
    // Creates a new, empty file keyed with the key, with both tables. The file must not exist yet.
    DatabaseBuilder(const QString& path, const QByteArray& key);

    // A question with its flags, its tier and its mark (a row of 要復習 when it is marked).
    void addQuestion(const Question& question);
    void addContents(const ContentsEntry& entry);
    // A day of the reveal log 解答記録.
    void addRevealCount(const QString& day, qint64 count);
    // Builds the indexes, writes everything added and closes the file.
    void finish();

    Connection& connection() { return m_connection; }

    // Both tables with their indexes.
    static void createSchema(Connection& connection);
    static void createTables(Connection& connection);
    // The indexes the store's statements name. Building them after the rows are in is much faster than keeping
    // them up to date row by row.
    static void createIndexes(Connection& connection);
    // The tally of every part and chapter (集計), counted from the rows in 問題, and the triggers that keep it.
    static void createTally(Connection& connection);

private:
    Connection m_connection;
    std::optional<Transaction> m_transaction;
    std::optional<Statement> m_insertQuestion;
    std::optional<Statement> m_insertContents;
    std::optional<Statement> m_insertMark;
    std::optional<Statement> m_insertRevealCount;
};

} // namespace store
