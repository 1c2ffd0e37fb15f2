#include "References.h"

#include "store/StoreError.h"

namespace bench {

namespace {

// A whole question as the quiz screen shows it: the row, its tier and its 要復習 mark.
#define COLUMNS                                                                                                                                          \
    "問題.Ｎｏ, 問題.編, 問題.章, 問題.節, 問題.款, 問題.条, 問題.定義, 問題.問題, 問題.回答, 問題.済, 問題.直近," \
    " 問題.重要度, (SELECT 日付 FROM 要復習 WHERE 要復習.Ｎｏ = 問題.Ｎｏ)"

using store::kAll;

store::Question readQuestion(const store::Statement& row)
{
    store::Question q;
    q.no = row.integer(0);
    q.part = row.text(1);
    q.chapter = row.text(2);
    q.section = row.text(3);
    q.subsection = row.text(4);
    q.article = row.text(5);
    q.caption = row.text(6);
    q.passage = row.text(7);
    q.answers = row.text(8);
    q.done = int(row.integer(9));
    q.recent = int(row.integer(10));
    q.tier = row.text(11);
    q.markedOn = row.text(12);
    return q;
}

// Resets a statement when the caller is done with it, so no read transaction outlives the operation.
struct Done
{
    store::Statement& statement;
    ~Done() { statement.reset(); }
};

// Opens with the passphrase as our store does, from the same processor state (see store::beforeKeyDerivation), so
// that the references pay for the key derivation what the program pays and no more.
store::Connection openWithPassphrase(const QString& path, const QByteArray& key)
{
    store::beforeKeyDerivation();
    return store::Connection::openExisting(path, key);
}

const char* clearSql(store::Flag flag)
{
    return flag == store::Flag::Done ? "UPDATE 問題 SET 済 = 0 WHERE 済 IS NOT 0"
                                     : "UPDATE 問題 SET 直近 = 0 WHERE 直近 IS NOT 0";
}

QString dayText(const QDate& day)
{
    return day.toString(Qt::ISODate);
}

// The statements of the writes beside the flags, and of the 学習状況 window's reads, the same for both references.
const char* const kFindRevealed = "SELECT rowid, 問題, 回答, 済, 直近, (SELECT 日付 FROM 要復習 WHERE 要復習.Ｎｏ = ?1)"
                                  " FROM 問題 WHERE Ｎｏ = ?1 ORDER BY rowid LIMIT 1";
const char* const kFlagsByRowid = "UPDATE 問題 SET 済 = ?2, 直近 = ?3 WHERE rowid = ?1";
const char* const kFlagsByNo = "UPDATE 問題 SET 済 = ?2, 直近 = ?3 WHERE rowid ="
                               " (SELECT rowid FROM 問題 WHERE Ｎｏ = ?1 ORDER BY rowid LIMIT 1)";
const char* const kUnmark = "DELETE FROM 要復習 WHERE Ｎｏ = ?1";
const char* const kMark = "INSERT OR REPLACE INTO 要復習 (Ｎｏ, 日付) VALUES (?1, ?2)";
// One statement adds one to the day's count, making the day's row where there is none.
const char* const kCountReveal = "INSERT OR REPLACE INTO 解答記録 (日付, 解答数)"
                                 " VALUES (?1, coalesce((SELECT 解答数 FROM 解答記録 WHERE 日付 = ?1), 0) + 1)";
const char* const kUncountReveal = "UPDATE 解答記録 SET 解答数 = 解答数 - 1 WHERE 日付 = ?1";
const char* const kDropEmptyDay = "DELETE FROM 解答記録 WHERE 日付 = ?1 AND 解答数 <= 0";
// The counts of every part and chapter: the tally the file keeps (its rows for tier A and for the rest), or counted
// from every question.
const char* const kTally = "SELECT 編, 章, 重要, 問題数, 済数 FROM 集計 WHERE 問題数 > 0 ORDER BY 最初";
const char* const kProgress = "SELECT 編, 章, count(*), coalesce(sum(済 = 1), 0), coalesce(sum(重要度 = 'A'), 0),"
                              " coalesce(sum(重要度 = 'A' AND 済 = 1), 0) FROM 問題 GROUP BY 編, 章 ORDER BY min(Ｎｏ)";
const char* const kMarkedProgress =
    "SELECT 編, 章, count(*), coalesce(sum(済 = 1), 0), coalesce(sum(重要度 = 'A'), 0),"
    " coalesce(sum(重要度 = 'A' AND 済 = 1), 0) FROM 要復習 CROSS JOIN 問題 ON 問題.Ｎｏ = 要復習.Ｎｏ GROUP BY 編, 章";
const char* const kRevealLog =
    "SELECT 日付, 解答数 FROM 解答記録 WHERE 日付 BETWEEN ?1 AND ?2 AND 解答数 > 0 ORDER BY 日付";

// The titles of a range as conditions on 編, 章 and 節, bound as ?1..?3.
QByteArray scopeWhere(const store::Range& range)
{
    if (range.part == kAll)
        return {};
    if (range.chapter == kAll)
        return " AND 編 = ?1";
    if (range.section.isEmpty() || range.section == kAll)
        return " AND 編 = ?1 AND 章 = ?2";
    return " AND 編 = ?1 AND 章 = ?2 AND 節 = ?3";
}

void bindScope(store::Statement& s, const QByteArray& sql, const store::Range& range)
{
    if (sql.contains("?1"))
        s.bind(1, range.part);
    if (sql.contains("?2"))
        s.bind(2, range.chapter);
    if (sql.contains("?3"))
        s.bind(3, range.section);
}

QByteArray notDoneSql(const store::Range& range)
{
    return "SELECT count(*) FROM 問題 WHERE 済 = 0" + scopeWhere(range);
}

store::ChapterProgress& chapterOf(QList<store::ChapterProgress>& chapters, const store::Statement& row)
{
    for (store::ChapterProgress& c : chapters) {
        if (c.part == row.text(0) && c.chapter == row.text(1))
            return c;
    }
    chapters.append({row.text(0), row.text(1), {}, {}});
    return chapters.last();
}

// The counts of every part and chapter as the store gives them: a marked question counts as marked, not as done.
void readMarks(QList<store::ChapterProgress>& chapters, store::Statement& marked)
{
    while (marked.next()) {
        store::ChapterProgress& c = chapterOf(chapters, marked);
        c.all.marked = int(marked.integer(2));
        c.all.done -= int(marked.integer(3));
        c.tierA.marked = int(marked.integer(4));
        c.tierA.done -= int(marked.integer(5));
    }
}

QList<store::ChapterProgress> readTally(store::Statement& tally, store::Statement& marked)
{
    QList<store::ChapterProgress> chapters;
    while (tally.next()) {
        store::ChapterProgress& c = chapterOf(chapters, tally);
        const store::Tally counts{int(tally.integer(3)), int(tally.integer(4)), 0};
        c.all += counts;
        if (tally.integer(2) == 1)
            c.tierA += counts;
    }
    readMarks(chapters, marked);
    return chapters;
}

QList<store::ChapterProgress> readCounted(store::Statement& all, store::Statement& marked)
{
    QList<store::ChapterProgress> chapters;
    while (all.next()) {
        store::ChapterProgress& c = chapterOf(chapters, all);
        c.all = {int(all.integer(2)), int(all.integer(3)), 0};
        c.tierA = {int(all.integer(4)), int(all.integer(5)), 0};
    }
    readMarks(chapters, marked);
    return chapters;
}

QList<store::DayCount> readLog(store::Statement& log)
{
    QList<store::DayCount> days;
    while (log.next())
        days.append({QDate::fromString(log.text(0), Qt::ISODate), int(log.integer(1))});
    return days;
}

} // namespace

// ---- limit ----

LimitStore::LimitStore(const QString& path, const QByteArray& key) : m_db(openWithPassphrase(path, key))
{
    store::Statement first(m_db, "SELECT count(*) FROM sqlite_master");
    first.next();
}

store::Statement& LimitStore::statement(const QByteArray& sql)
{
    auto& slot = m_statements[sql];
    if (!slot)
        slot = std::make_shared<store::Statement>(m_db, sql.constData());
    return *slot;
}

bool LimitStore::probe(const QString& part, const QString& chapter)
{
    store::Statement& s = statement("SELECT 1 FROM 目次 WHERE 編 = ?1 AND 章 = ?2 LIMIT 1");
    Done done{s};
    s.bind(1, part).bind(2, chapter);
    return s.next();
}

QStringList LimitStore::sections(const QString& part, const QString& chapter)
{
    store::Statement& s =
        statement("SELECT 節, 節No FROM 目次 WHERE 編 = ?1 AND 章 = ?2 GROUP BY 節, 節No ORDER BY 節No");
    Done done{s};
    s.bind(1, part).bind(2, chapter);
    QStringList result;
    while (s.next())
        result << s.text(0);
    return result;
}

QByteArray LimitStore::nextSql(const store::Range& range)
{
    const QByteArray tier = range.importantOnly ? " AND 重要度 = 'A'" : "";
    // The marked questions are few: walked in Ｎｏ order, each finds its row by Ｎｏ.
    if (range.markedOnly)
        return "SELECT " COLUMNS " FROM 要復習 CROSS JOIN 問題 ON 問題.Ｎｏ = 要復習.Ｎｏ WHERE 問題.直近 = 0" +
               scopeWhere(range) + tier + " ORDER BY 要復習.Ｎｏ, 問題.rowid LIMIT 1";
    // The open questions of a range of each shape are the entries of one partial index, in Ｎｏ order.
    const bool exclude = range.excludeSeen;
    QByteArray index = range.importantOnly ? "問題_重要_" : "問題_";
    index += exclude ? "未見_" : "残_";
    if (range.part == kAll)
        index += "全";
    else if (range.chapter == kAll)
        index += "編";
    else if (range.section.isEmpty() || range.section == kAll)
        index += "章";
    else
        index += "節";
    const QByteArray where = "直近 = 0" + scopeWhere(range) + (exclude ? " AND 済 = 0" : "") + tier;
    return "SELECT " COLUMNS " FROM 問題 INDEXED BY " + index + " WHERE " + where + " ORDER BY Ｎｏ LIMIT 1";
}

std::optional<store::Question> LimitStore::next(const store::Range& range)
{
    const QByteArray sql = nextSql(range);
    store::Statement& s = statement(sql);
    Done done{s};
    bindScope(s, sql, range);
    if (!s.next())
        return std::nullopt;
    return readQuestion(s);
}

std::optional<store::Question> LimitStore::find(qint64 no)
{
    store::Statement& s = statement("SELECT " COLUMNS " FROM 問題 WHERE Ｎｏ = ?1 ORDER BY rowid LIMIT 1");
    Done done{s};
    s.bind(1, no);
    if (!s.next())
        return std::nullopt;
    return readQuestion(s);
}

void LimitStore::run(const char* sql, qint64 no, const QString& text)
{
    store::Statement& s = statement(sql);
    Done done{s};
    if (no != 0)
        s.bind(1, no);
    if (!text.isNull())
        s.bind(no != 0 ? 2 : 1, text);
    s.next();
}

std::optional<store::Revealed> LimitStore::reveal(qint64 no, const QDate& day)
{
    // The row is read first: the passage and answers to show, and what Ctrl+Z would put back.
    run("BEGIN IMMEDIATE");
    std::optional<store::Revealed> revealed;
    qint64 rowid = 0;
    {
        store::Statement& find = statement(kFindRevealed);
        Done done{find};
        find.bind(1, no);
        if (find.next()) {
            rowid = find.integer(0);
            revealed =
                store::Revealed{find.text(1), find.text(2), int(find.integer(3)), int(find.integer(4)), find.text(5)};
        }
    }
    if (!revealed) {
        run("ROLLBACK");
        return std::nullopt;
    }
    {
        store::Statement& update = statement(kFlagsByRowid);
        Done done{update};
        update.bind(1, rowid).bind(2, qint64(1)).bind(3, qint64(1));
        update.next();
    }
    if (!revealed->markedBefore.isEmpty())
        run(kUnmark, no);
    run(kCountReveal, 0, dayText(day));
    run("COMMIT");
    return revealed;
}

void LimitStore::mark(qint64 no, const QDate& day)
{
    run("BEGIN IMMEDIATE");
    {
        store::Statement& update = statement(kFlagsByNo);
        Done done{update};
        update.bind(1, no).bind(2, qint64(0)).bind(3, qint64(1));
        update.next();
    }
    run(kMark, no, dayText(day));
    run("COMMIT");
}

void LimitStore::undoReveal(qint64 no, const store::Revealed& before, const QDate& day)
{
    run("BEGIN IMMEDIATE");
    {
        store::Statement& update = statement(kFlagsByNo);
        Done done{update};
        update.bind(1, no).bind(2, qint64(before.doneBefore)).bind(3, qint64(before.recentBefore));
        update.next();
    }
    if (before.markedBefore.isEmpty())
        run(kUnmark, no);
    else
        run(kMark, no, before.markedBefore);
    run(kUncountReveal, 0, dayText(day));
    run(kDropEmptyDay, 0, dayText(day));
    run("COMMIT");
}

void LimitStore::clear(store::Flag flag)
{
    if (flag == store::Flag::Recent)
        return run(clearSql(flag));
    run("BEGIN IMMEDIATE");
    run(clearSql(flag));
    run("DELETE FROM 要復習");
    run("COMMIT");
}

StatusReads LimitStore::status(const store::Range& range, const QDate& from, const QDate& to)
{
    StatusReads reads;
    {
        store::Statement& tally = statement(kTally);
        store::Statement& marked = statement(kMarkedProgress);
        Done doneTally{tally};
        Done doneMarked{marked};
        reads.chapters = readTally(tally, marked);
    }
    {
        store::Statement& log = statement(kRevealLog);
        Done done{log};
        log.bind(1, dayText(from)).bind(2, dayText(to));
        reads.days = readLog(log);
    }
    const QByteArray sql = notDoneSql(range);
    store::Statement& count = statement(sql);
    Done done{count};
    bindScope(count, sql, range);
    reads.rangeNotDone = count.next() ? int(count.integer(0)) : 0;
    return reads;
}

// ---- literal ----

namespace literal {

namespace {

QByteArray quoted(const QString& text)
{
    return "'" + text.toUtf8() + "'";
}

} // namespace

void trialOpen(const QString& path, const QByteArray& key)
{
    store::Connection db = openWithPassphrase(path, key);
    store::Statement first(db, "SELECT count(*) FROM sqlite_master");
    first.next();
}

namespace {

QByteArray contentsSql(const QString& part, const QString& chapter)
{
    return "SELECT 節,節No FROM 目次 WHERE 編 =" + quoted(part) + " and 章=" + quoted(chapter) +
           " GROUP BY 節,節No ORDER BY 節No ";
}

} // namespace

bool probe(const QString& path, const QByteArray& key, const QString& part, const QString& chapter)
{
    store::Connection db = openWithPassphrase(path, key);
    store::Statement s(db, contentsSql(part, chapter).constData());
    return s.next();
}

QStringList sections(const QString& path, const QByteArray& key, const QString& part, const QString& chapter)
{
    store::Connection db = openWithPassphrase(path, key);
    store::Statement s(db, contentsSql(part, chapter).constData());
    QStringList result;
    while (s.next())
        result << s.text(0);
    return result;
}

QByteArray nextSql(const store::Range& range)
{
    // The options came later: their conditions go in before the order.
    const bool on = range.excludeSeen && !range.markedOnly;
    QByteArray options;
    if (range.importantOnly)
        options += " and 重要度='A'";
    if (range.markedOnly)
        options += " and Ｎｏ in (select Ｎｏ from 要復習)";
    const QByteArray head = "SELECT " COLUMNS " FROM 問題 ";
    if (range.part == kAll)
        return head + (on ? "WHERE 直近 = 0 and 済 = 0" : "where 直近 = 0") + options + " order by Ｎｏ";
    QByteArray sql = head + "where 直近 = 0 and 編=" + quoted(range.part);
    if (range.chapter == kAll)
        return sql + (on ? " and  済 =0" : "") + options + " order by Ｎｏ";
    sql += " and 章=" + quoted(range.chapter);
    if (!range.section.isEmpty() && range.section != kAll)
        sql += " and 節=" + quoted(range.section);
    return sql + (on ? " and  済 = 0" : "") + options + " order by Ｎｏ";
}

std::optional<store::Question> next(const QString& path, const QByteArray& key, const store::Range& range)
{
    store::Connection db = openWithPassphrase(path, key);
    store::Statement s(db, nextSql(range).constData());
    if (!s.next())
        return std::nullopt;
    return readQuestion(s);
}

namespace {

// Reads 問題 in stored order up to the first row with this Ｎｏ; returns its rowid.
std::optional<qint64> scanFor(store::Connection& db, qint64 no)
{
    // NOT INDEXED: the table itself, in stored order, even where an index on Ｎｏ would cover the columns.
    store::Statement scan(db, "SELECT rowid, Ｎｏ FROM 問題 NOT INDEXED");
    while (scan.next()) {
        if (scan.integer(1) == no)
            return scan.integer(0);
    }
    return std::nullopt;
}

} // namespace

std::optional<store::Question> find(const QString& path, const QByteArray& key, qint64 no)
{
    store::Connection db = openWithPassphrase(path, key);
    const std::optional<qint64> rowid = scanFor(db, no);
    if (!rowid)
        return std::nullopt;
    store::Statement row(db, "SELECT " COLUMNS " FROM 問題 WHERE rowid = ?1");
    row.bind(1, *rowid);
    row.next();
    return readQuestion(row);
}

namespace {

// Runs one statement given as text.
void run(store::Connection& db, const QByteArray& sql)
{
    store::Statement s(db, sql.constData());
    s.next();
}

void writeFlags(store::Connection& db, qint64 rowid, int done, int recent)
{
    run(db, "UPDATE 問題 SET 済 = " + QByteArray::number(done) + ", 直近 = " + QByteArray::number(recent) +
                " WHERE rowid = " + QByteArray::number(rowid));
}

} // namespace

std::optional<store::Revealed> reveal(const QString& path, const QByteArray& key, qint64 no, const QDate& day)
{
    store::Connection db = openWithPassphrase(path, key);
    const std::optional<qint64> rowid = scanFor(db, no);
    if (!rowid)
        return std::nullopt;
    const QByteArray number = QByteArray::number(no);
    store::Transaction transaction(db);
    store::Revealed revealed;
    {
        const QByteArray sql = "SELECT 問題, 回答, 済, 直近, (SELECT 日付 FROM 要復習 WHERE Ｎｏ = " + number +
                               ") FROM 問題 WHERE rowid = " + QByteArray::number(*rowid);
        store::Statement row(db, sql.constData());
        row.next();
        revealed = {row.text(0), row.text(1), int(row.integer(2)), int(row.integer(3)), row.text(4)};
    }
    writeFlags(db, *rowid, 1, 1);
    if (!revealed.markedBefore.isEmpty())
        run(db, "DELETE FROM 要復習 WHERE Ｎｏ = " + number);
    const QByteArray date = quoted(dayText(day));
    run(db, "INSERT OR REPLACE INTO 解答記録 (日付, 解答数) VALUES (" + date +
                ", coalesce((SELECT 解答数 FROM 解答記録 WHERE 日付 = " + date + "), 0) + 1)");
    transaction.commit();
    return revealed;
}

void mark(const QString& path, const QByteArray& key, qint64 no, const QDate& day)
{
    store::Connection db = openWithPassphrase(path, key);
    const std::optional<qint64> rowid = scanFor(db, no);
    if (!rowid)
        return;
    store::Transaction transaction(db);
    writeFlags(db, *rowid, 0, 1);
    run(db, "INSERT OR REPLACE INTO 要復習 (Ｎｏ, 日付) VALUES (" + QByteArray::number(no) + ", " +
                quoted(dayText(day)) + ")");
    transaction.commit();
}

void undoReveal(const QString& path, const QByteArray& key, qint64 no, const store::Revealed& before, const QDate& day)
{
    store::Connection db = openWithPassphrase(path, key);
    const std::optional<qint64> rowid = scanFor(db, no);
    if (!rowid)
        return;
    const QByteArray number = QByteArray::number(no);
    const QByteArray date = quoted(dayText(day));
    store::Transaction transaction(db);
    writeFlags(db, *rowid, before.doneBefore, before.recentBefore);
    if (before.markedBefore.isEmpty())
        run(db, "DELETE FROM 要復習 WHERE Ｎｏ = " + number);
    else
        run(db,
            "INSERT OR REPLACE INTO 要復習 (Ｎｏ, 日付) VALUES (" + number + ", " + quoted(before.markedBefore) + ")");
    run(db, "UPDATE 解答記録 SET 解答数 = 解答数 - 1 WHERE 日付 = " + date);
    run(db, "DELETE FROM 解答記録 WHERE 日付 = " + date + " AND 解答数 <= 0");
    transaction.commit();
}

StatusReads status(const QString& path, const QByteArray& key, const store::Range& range, const QDate& from,
                   const QDate& to)
{
    store::Connection db = openWithPassphrase(path, key);
    StatusReads reads;
    {
        store::Statement all(db, kProgress);
        store::Statement marked(db, kMarkedProgress);
        reads.chapters = readCounted(all, marked);
    }
    {
        const QByteArray sql = "SELECT 日付, 解答数 FROM 解答記録 WHERE 日付 BETWEEN " + quoted(dayText(from)) +
                               " AND " + quoted(dayText(to)) + " AND 解答数 > 0 ORDER BY 日付";
        store::Statement log(db, sql.constData());
        reads.days = readLog(log);
    }
    QByteArray count = "SELECT count(*) FROM 問題 WHERE 済 = 0";
    if (range.part != kAll)
        count += " and 編=" + quoted(range.part);
    if (range.part != kAll && range.chapter != kAll)
        count += " and 章=" + quoted(range.chapter);
    if (range.part != kAll && range.chapter != kAll && !range.section.isEmpty() && range.section != kAll)
        count += " and 節=" + quoted(range.section);
    store::Statement notDone(db, count.constData());
    reads.rangeNotDone = notDone.next() ? int(notDone.integer(0)) : 0;
    return reads;
}

qint64 clear(const QString& path, const QByteArray& key, store::Flag flag, qint64 rowLimit)
{
    store::Connection db = openWithPassphrase(path, key);
    QList<qint64> rows;
    {
        store::Statement scan(db, "SELECT rowid FROM 問題 NOT INDEXED");
        while (rows.size() < rowLimit && scan.next())
            rows << scan.integer(0);
    }
    store::Statement update(db, flag == store::Flag::Done ? "UPDATE 問題 SET 済 = 0 WHERE rowid = ?1"
                                                          : "UPDATE 問題 SET 直近 = 0 WHERE rowid = ?1");
    for (const qint64 rowid : rows) {
        update.reset();
        update.bind(1, rowid);
        update.next();
    }
    if (flag == store::Flag::Done) {
        store::Statement unmark(db, "DELETE FROM 要復習");
        unmark.next();
    }
    return rows.size();
}

} // namespace literal

} // namespace bench
