#pragma once

#include "store/Question.h"
#include "store/QuestionStore.h"
#include "store/Sqlite.h"

#include <QHash>
#include <QStringList>
#include <memory>
#include <optional>

// The two yardsticks our store is measured against. Neither touches a screen: the benchmark adds the same screen work
// to each of them that the program does.
namespace bench {

// The least database work each operation needs: its SQL prepared once on a connection opened (and keyed) once.
class LimitStore
{
public:
    LimitStore(const QString& path, const QByteArray& key);

    bool probe(const QString& part, const QString& chapter);
    QStringList sections(const QString& part, const QString& chapter);
    std::optional<store::Question> next(const store::Range& range);
    std::optional<store::Question> find(qint64 no);
    std::optional<store::Revealed> reveal(qint64 no);
    void clear(store::Flag flag);

    // The statement `next` runs for a range, for the record and for the query-plan check.
    static QByteArray nextSql(const store::Range& range);

private:
    store::Statement& statement(const QByteArray& sql);

    store::Connection m_db;
    QHash<QByteArray, std::shared_ptr<store::Statement>> m_statements;
};

// The access pattern of the program as first described: the file opened with its passphrase for every operation and
// closed at its end, the shown question found again by reading 問題 in stored order, and a flag cleared by one
// autocommitted update per row.
namespace literal {

// Opens the file with the passphrase, reads once (that is when the key is derived) and closes it.
void trialOpen(const QString& path, const QByteArray& key);
bool probe(const QString& path, const QByteArray& key, const QString& part, const QString& chapter);
QStringList sections(const QString& path, const QByteArray& key, const QString& part, const QString& chapter);
std::optional<store::Question> next(const QString& path, const QByteArray& key, const store::Range& range);
std::optional<store::Question> find(const QString& path, const QByteArray& key, qint64 no);
std::optional<store::Revealed> reveal(const QString& path, const QByteArray& key, qint64 no);
// Clears the flag row by row in stored order, each row its own transaction, stopping after `rowLimit` rows.
// Returns the number of rows written.
qint64 clear(const QString& path, const QByteArray& key, store::Flag flag, qint64 rowLimit);

// The selection statement as the described program builds it: the range texts spliced in between quotes.
QByteArray nextSql(const store::Range& range);

} // namespace literal

} // namespace bench
