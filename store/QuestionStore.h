#pragma once

#include "Question.h"
#include "Sqlite.h"

#include <QHash>
#include <QStringList>
#include <memory>
#include <optional>
#include <sys/types.h>

namespace store {

// The file the program works on, looked up by its bare name in the current directory.
QString databaseFileName();
// The connect string the file is opened with; the text after ";pwd=" is the file's key.
QString connectString();
QByteArray passwordOf(const QString& connect);

enum class Flag { Done, Recent }; // 済, 直近

// Call right before a connection derives its key from the password (its first read). Code that used the AVX
// registers and left their upper halves in use (Qt's start-up and drawing do, here) makes older SSE code run at
// about half speed on processors with AVX-512 until the halves are cleared; the SHA-1 rounds of the key derivation
// are such code, so opening the file took twice as long inside the program as outside it. Clearing them costs one
// instruction.
void beforeKeyDerivation();

// The passage and answers of the question just revealed, and its flags as they were before.
struct Revealed
{
    QString passage; // 問題
    QString answers; // 回答
    int doneBefore = 0;
    int recentBefore = 0;
};

struct RangeCounts
{
    int open = 0;  // still offered by the next-question selection
    int total = 0; // questions of the range, whatever their flags
};

// Every operation the screens perform on the question file. Each one runs to its end within the call: it opens
// what it needs, commits what it writes and leaves no lock held behind. The connection itself (and the key derived
// from the password, which is slow to derive) is kept between operations while the file stays the same one, and so
// are its prepared statements, each reset when its operation is done with it; a file that was removed or replaced in
// the meantime is noticed at the next operation.
class QuestionStore
{
public:
    explicit QuestionStore(QString path = databaseFileName(), QByteArray key = passwordOf(connectString()));

    // Opens the file and proves it is ours: the key fits and tables 問題 and 目次 have every column.
    void trialOpen();

    // Section list of a part and chapter: 節 of 目次, one per distinct (節, 節No), in 節No order.
    QStringList sections(const QString& part, const QString& chapter);
    // Whether 目次 holds any row for the part and chapter.
    bool hasSections(const QString& part, const QString& chapter);

    // Sets the flag to 0 in every row, all or nothing.
    void clearFlag(Flag flag);

    // The open question of the range with the lowest Ｎｏ.
    std::optional<Question> nextQuestion(const Range& range);
    // The first row in stored order with this Ｎｏ.
    std::optional<Question> question(qint64 no);
    // Writes 済 = 1 and 直近 = 1 on the first row with this Ｎｏ and returns its passage and answers.
    std::optional<Revealed> reveal(qint64 no);
    // Writes both flags of the first row with this Ｎｏ, all or nothing.
    void writeFlags(qint64 no, int done, int recent);

    RangeCounts countRange(const Range& range);

    // Lets go of the file entirely.
    void release();

    const QString& path() const { return m_path; }

private:
    class Use;

    Connection& connection();
    void verify();
    // The statement for this SQL on the open connection, prepared at its first use. When the SQL names an index the
    // file lacks (a file written before the index existed), the SQL without the index clause is used instead.
    Statement& statement(const QByteArray& sql, const QByteArray& withoutIndex = {});

    QString m_path;
    QByteArray m_key;
    Connection m_connection;
    QHash<QByteArray, std::shared_ptr<Statement>> m_statements;
    dev_t m_dev = 0;
    ino_t m_ino = 0;
};

} // namespace store
