#pragma once

#include "store/Question.h"
#include "store/QuestionStore.h"
#include "store/Sqlite.h"

#include <QDate>
#include <QHash>
#include <QStringList>
#include <memory>
#include <optional>

// The two yardsticks our store is measured against. Neither touches a screen: the benchmark adds the same screen work
// to each of them that the program does.
namespace bench {

// What the 学習状況 window is built from, as read from the file.
struct StatusReads
{
    QList<store::ChapterProgress> chapters;
    QList<store::DayCount> days;
    int rangeNotDone = 0;
};

// The least database work each operation needs: its SQL prepared once on a connection opened (and keyed) once.
class LimitStore
{
public:
    LimitStore(const QString& path, const QByteArray& key);

    bool probe(const QString& part, const QString& chapter);
    QStringList sections(const QString& part, const QString& chapter);
    std::optional<store::Question> next(const store::Range& range);
    std::optional<store::Question> find(qint64 no);
    // Both flags set, the 要復習 mark taken away and one reveal counted on the day, in one transaction.
    std::optional<store::Revealed> reveal(qint64 no, const QDate& day);
    // X: 済 = 0 and the mark with its day, in one transaction.
    void mark(qint64 no, const QDate& day);
    // Ctrl+Z: the flags and the mark as the reveal found them, and the day's count one less, in one transaction.
    void undoReveal(qint64 no, const store::Revealed& before, const QDate& day);
    // 記録削除 clears the marks with 済.
    void clear(store::Flag flag);
    // What the 学習状況 window reads: the counts of every part and chapter, the reveal log, the range's count.
    StatusReads status(const store::Range& range, const QDate& from, const QDate& to);

    // The statement `next` runs for a range, for the record and for the query-plan check.
    static QByteArray nextSql(const store::Range& range);

private:
    store::Statement& statement(const QByteArray& sql);
    // Steps a statement without results once: with `no` as ?1 where it is not 0, and `text` as the next parameter
    // where it is not null.
    void run(const char* sql, qint64 no = 0, const QString& text = QString());

    store::Connection m_db;
    QHash<QByteArray, std::shared_ptr<store::Statement>> m_statements;
};

// The access pattern of the program as first described: the file opened with its passphrase for every operation and
// closed at its end, the shown question found again by reading 問題 in stored order, and a flag cleared by one
// autocommitted update per row. What that program did not have (tiers, marks, the reveal log) is read and written
// with the limit's statements as text, on the connection opened for the operation, each operation's writes in one
// transaction.
namespace literal {

// Opens the file with the passphrase, reads once (that is when the key is derived) and closes it.
void trialOpen(const QString& path, const QByteArray& key);
bool probe(const QString& path, const QByteArray& key, const QString& part, const QString& chapter);
QStringList sections(const QString& path, const QByteArray& key, const QString& part, const QString& chapter);
std::optional<store::Question> next(const QString& path, const QByteArray& key, const store::Range& range);
std::optional<store::Question> find(const QString& path, const QByteArray& key, qint64 no);
std::optional<store::Revealed> reveal(const QString& path, const QByteArray& key, qint64 no, const QDate& day);
void mark(const QString& path, const QByteArray& key, qint64 no, const QDate& day);
void undoReveal(const QString& path, const QByteArray& key, qint64 no, const store::Revealed& before, const QDate& day);
StatusReads status(const QString& path, const QByteArray& key, const store::Range& range, const QDate& from,
                   const QDate& to);
// Clears the flag row by row in stored order, each row its own transaction, stopping after `rowLimit` rows; 記録削除
// then takes the marks away. Returns the number of rows written.
qint64 clear(const QString& path, const QByteArray& key, store::Flag flag, qint64 rowLimit);

// The selection statement as the described program builds it: the range texts spliced in between quotes.
QByteArray nextSql(const store::Range& range);

} // namespace literal

} // namespace bench
