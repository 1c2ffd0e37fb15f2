#pragma once

#include "Question.h"
#include "Sqlite.h"

#include <QDate>
#include <QHash>
#include <QStringList>
#include <functional>
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

struct RangeCounts
{
    int open = 0;    // still offered by the next-question selection
    int total = 0;   // questions of the range, whatever their flags (with 要復習だけ: the marked ones)
    int notDone = 0; // of those, the ones with 済 = 0
};

// How many questions are done (済 = 1), marked (要復習) or neither: not revealed yet, or revealed and forgotten by a
// 記録削除. A marked question counts as marked, whatever its 済.
struct Tally
{
    int total = 0;
    int done = 0;
    int marked = 0;

    int open() const { return total - done - marked; }
    Tally& operator+=(const Tally& other)
    {
        total += other.total;
        done += other.done;
        marked += other.marked;
        return *this;
    }
    bool operator==(const Tally&) const = default;
};

// How far the learner has come in one chapter (a part without chapters has an empty chapter): over all its
// questions and over tier A alone (nothing where the file has no tiers).
struct ChapterProgress
{
    QString part;
    QString chapter;
    Tally all;
    Tally tierA;

    bool operator==(const ChapterProgress&) const = default;
};

// Questions revealed on one day.
struct DayCount
{
    QDate day;
    int reveals = 0;

    bool operator==(const DayCount&) const = default;
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
    // Whether the part and chapter can be drilled: 目次 lists sections of it, or 問題 holds questions of it.
    bool knowsChapter(const QString& part, const QString& chapter);
    // Whether the file gives its questions a tier (column 重要度); without it 重要問題だけ takes every question.
    bool hasTiers();
    // Whether the file holds the table of 要復習 marks, which the first X makes.
    bool hasMarks();

    // Sets the flag to 0 in every row, all or nothing. Clearing 済 (記録削除) takes every 要復習 mark away with it.
    void clearFlag(Flag flag);

    // The open question of the range with the lowest Ｎｏ.
    std::optional<Question> nextQuestion(const Range& range);
    // The first row in stored order with this Ｎｏ.
    std::optional<Question> question(qint64 no);
    // Writes 済 = 1 and 直近 = 1 on the first row with this Ｎｏ, takes its 要復習 mark away and counts one reveal
    // on the day, all or nothing, and returns its passage and answers with what it replaced.
    std::optional<Revealed> reveal(qint64 no, const QDate& day = QDate::currentDate());
    // Puts back what a reveal on `revealedOn` replaced: both flags, the mark with its day, and the day's count.
    void undoReveal(qint64 no, const Revealed& before, const QDate& revealedOn);
    // X: marks the question 要復習 on the day (済 = 0, 直近 = 1), or takes the mark away again (済 = 1, 直近 = 1).
    void setMark(qint64 no, const QDate& day);
    void removeMark(qint64 no);
    // Writes both flags of the first row with this Ｎｏ, all or nothing.
    void writeFlags(qint64 no, int done, int recent);

    RangeCounts countRange(const Range& range);
    // Every part and chapter the questions name, in Ｎｏ order of their first question.
    QList<ChapterProgress> progressByChapter();
    // The days from `from` to `to` on which questions were revealed, in order; days without a reveal are left out.
    QList<DayCount> revealLog(const QDate& from, const QDate& to);

    // Lets go of the file entirely.
    void release();

    const QString& path() const { return m_path; }

private:
    class Use;

    Connection& connection();
    void verify();
    // The column list of a whole question, 問題's columns qualified, with its tier and mark where the file has them.
    QByteArray questionColumns() const;
    // Creates a progress table with the first write that needs it, inside that write's transaction.
    void ensureTable(bool& present, const char* create);
    void writeMark(qint64 no, const QString& day);
    // Writes both flags of the first row with this Ｎｏ and its mark (none for an empty day), then whatever `more`
    // writes, all in one transaction.
    void writeRecord(qint64 no, int done, int recent, const QString& markedOn, const std::function<void()>& more = {});
    // The statement for this SQL on the open connection, prepared at its first use. When the SQL names an index the
    // file lacks (a file written before the index existed), the SQL without the index clause is used instead.
    Statement& statement(const QByteArray& sql, const QByteArray& withoutIndex = {});

    QString m_path;
    QByteArray m_key;
    Connection m_connection;
    QHash<QByteArray, std::shared_ptr<Statement>> m_statements;
    dev_t m_dev = 0;
    ino_t m_ino = 0;
    // What the open file holds beyond the two tables every file has.
    bool m_hasTiers = false;
    bool m_hasMarks = false;
    bool m_hasLog = false;
    bool m_hasTally = false;
};

} // namespace store
