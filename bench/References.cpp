#include "References.h"

#include "store/StoreError.h"

namespace bench {

namespace {

#define COLUMNS "Ｎｏ, 編, 章, 節, 款, 条, 定義, 問題, 回答, 済, 直近"

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
    // The open questions of a range of each shape are the entries of one partial index, in Ｎｏ order.
    const bool exclude = range.excludeSeen;
    QByteArray index = exclude ? "問題_未見_" : "問題_残_";
    QByteArray where = "直近 = 0";
    if (range.part == kAll) {
        index += "全";
    } else if (range.chapter == kAll) {
        index += "編";
        where += " AND 編 = ?1";
    } else if (range.section.isEmpty() || range.section == kAll) {
        index += "章";
        where += " AND 編 = ?1 AND 章 = ?2";
    } else {
        index += "節";
        where += " AND 編 = ?1 AND 章 = ?2 AND 節 = ?3";
    }
    if (exclude)
        where += " AND 済 = 0";
    return "SELECT " COLUMNS " FROM 問題 INDEXED BY " + index + " WHERE " + where + " ORDER BY Ｎｏ LIMIT 1";
}

std::optional<store::Question> LimitStore::next(const store::Range& range)
{
    const QByteArray sql = nextSql(range);
    store::Statement& s = statement(sql);
    Done done{s};
    if (sql.contains("?1"))
        s.bind(1, range.part);
    if (sql.contains("?2"))
        s.bind(2, range.chapter);
    if (sql.contains("?3"))
        s.bind(3, range.section);
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

std::optional<store::Revealed> LimitStore::reveal(qint64 no)
{
    // One statement writes both flags on the first row of that Ｎｏ and is its own transaction.
    store::Statement& update = statement("UPDATE 問題 SET 済 = 1, 直近 = 1 WHERE rowid ="
                                         " (SELECT rowid FROM 問題 WHERE Ｎｏ = ?1 ORDER BY rowid LIMIT 1)");
    {
        Done done{update};
        update.bind(1, no);
        update.next();
    }
    store::Statement& read = statement("SELECT 問題, 回答 FROM 問題 WHERE Ｎｏ = ?1 ORDER BY rowid LIMIT 1");
    Done done{read};
    read.bind(1, no);
    if (!read.next())
        return std::nullopt;
    return store::Revealed{read.text(0), read.text(1)};
}

void LimitStore::clear(store::Flag flag)
{
    store::Statement& s = statement(clearSql(flag));
    Done done{s};
    s.next();
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
    const bool on = range.excludeSeen;
    const QByteArray head = "SELECT " COLUMNS " FROM 問題 ";
    if (range.part == kAll)
        return head + (on ? "WHERE 直近 = 0 and 済 = 0 order by Ｎｏ" : "where 直近 = 0 order by Ｎｏ");
    QByteArray sql = head + "where 直近 = 0 and 編=" + quoted(range.part);
    if (range.chapter == kAll)
        return sql + (on ? " and  済 =0 order by Ｎｏ" : " order by Ｎｏ");
    sql += " and 章=" + quoted(range.chapter);
    if (!range.section.isEmpty() && range.section != kAll)
        sql += " and 節=" + quoted(range.section);
    return sql + (on ? " and  済 = 0 order by Ｎｏ" : " order by Ｎｏ");
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

std::optional<store::Revealed> reveal(const QString& path, const QByteArray& key, qint64 no)
{
    store::Connection db = openWithPassphrase(path, key);
    const std::optional<qint64> rowid = scanFor(db, no);
    if (!rowid)
        return std::nullopt;
    store::Revealed revealed;
    {
        store::Statement row(db, "SELECT 問題, 回答 FROM 問題 WHERE rowid = ?1");
        row.bind(1, *rowid);
        row.next();
        revealed = {row.text(0), row.text(1)};
    }
    store::Statement update(db, "UPDATE 問題 SET 済 = 1, 直近 = 1 WHERE rowid = ?1");
    update.bind(1, *rowid);
    update.next();
    return revealed;
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
    return rows.size();
}

} // namespace literal

} // namespace bench
