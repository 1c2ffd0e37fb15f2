#include "DatabaseBuilder.h"

#include "ProgressTables.h"

namespace store {

void DatabaseBuilder::createTables(Connection& connection)
{
    // The two flags come right after Ｎｏ: a passage and its answers usually spill over into overflow pages, and a
    // column stored after them can only be read by walking that chain, which the resets would do for every row.
    // 重要度 came later and stands last, where programs that do not know it never look; the indexes below hold it,
    // so that no selection or count has to walk to it.
    connection.exec("CREATE TABLE 問題 ("
                    " Ｎｏ INTEGER, 済 INTEGER NOT NULL DEFAULT 0, 直近 INTEGER NOT NULL DEFAULT 0,"
                    " 編 TEXT, 章 TEXT, 節 TEXT, 款 TEXT, 条 TEXT, 定義 TEXT, 問題 TEXT, 回答 TEXT, 重要度 TEXT);"
                    "CREATE TABLE 目次 (編 TEXT, 章 TEXT, 節 TEXT, 節No INTEGER);");
}

void DatabaseBuilder::createIndexes(Connection& connection)
{
    // 問題_Ｎｏ finds the question on show, and counts the marked questions of every part and chapter from the index
    // alone; 問題_集計 counts a range from the index alone; 目次_章 lists sections.
    // The next-question selection has one index per shape of range, each holding only the questions still open
    // (直近 = 0, and for the option also 済 = 0) in Ｎｏ order under the range's titles: the lowest open Ｎｏ of a
    // range is then the first entry under its titles, however many questions were revealed before it. The same again
    // over the important questions alone (重要度 = 'A'), for 重要問題だけ.
    connection.exec(
        "CREATE INDEX 問題_Ｎｏ ON 問題 (Ｎｏ, 編, 章, 重要度, 済);"
        "CREATE INDEX 問題_集計 ON 問題 (編, 章, 節, 重要度, 済, 直近, Ｎｏ);"
        "CREATE INDEX 目次_章 ON 目次 (編, 章);"
        "CREATE INDEX 問題_残_全 ON 問題 (Ｎｏ) WHERE 直近 = 0;"
        "CREATE INDEX 問題_残_編 ON 問題 (編, Ｎｏ) WHERE 直近 = 0;"
        "CREATE INDEX 問題_残_章 ON 問題 (編, 章, Ｎｏ) WHERE 直近 = 0;"
        "CREATE INDEX 問題_残_節 ON 問題 (編, 章, 節, Ｎｏ) WHERE 直近 = 0;"
        "CREATE INDEX 問題_未見_全 ON 問題 (Ｎｏ) WHERE 直近 = 0 AND 済 = 0;"
        "CREATE INDEX 問題_未見_編 ON 問題 (編, Ｎｏ) WHERE 直近 = 0 AND 済 = 0;"
        "CREATE INDEX 問題_未見_章 ON 問題 (編, 章, Ｎｏ) WHERE 直近 = 0 AND 済 = 0;"
        "CREATE INDEX 問題_未見_節 ON 問題 (編, 章, 節, Ｎｏ) WHERE 直近 = 0 AND 済 = 0;"
        "CREATE INDEX 問題_重要_残_全 ON 問題 (Ｎｏ) WHERE 直近 = 0 AND 重要度 = 'A';"
        "CREATE INDEX 問題_重要_残_編 ON 問題 (編, Ｎｏ) WHERE 直近 = 0 AND 重要度 = 'A';"
        "CREATE INDEX 問題_重要_残_章 ON 問題 (編, 章, Ｎｏ) WHERE 直近 = 0 AND 重要度 = 'A';"
        "CREATE INDEX 問題_重要_残_節 ON 問題 (編, 章, 節, Ｎｏ) WHERE 直近 = 0 AND 重要度 = 'A';"
        "CREATE INDEX 問題_重要_未見_全 ON 問題 (Ｎｏ) WHERE 直近 = 0 AND 済 = 0 AND 重要度 = 'A';"
        "CREATE INDEX 問題_重要_未見_編 ON 問題 (編, Ｎｏ) WHERE 直近 = 0 AND 済 = 0 AND 重要度 = 'A';"
        "CREATE INDEX 問題_重要_未見_章 ON 問題 (編, 章, Ｎｏ) WHERE 直近 = 0 AND 済 = 0 AND 重要度 = 'A';"
        "CREATE INDEX 問題_重要_未見_節 ON 問題 (編, 章, 節, Ｎｏ) WHERE 直近 = 0 AND 済 = 0 AND 重要度 = 'A';");
}

void DatabaseBuilder::createTally(Connection& connection)
{
    // The group of a row of 問題 (NEW or OLD): its part, its chapter, and whether it is of tier A.
    const auto group = [](const QByteArray& row) {
        return "編 = coalesce(" + row + ".編, '') AND 章 = coalesce(" + row + ".章, '') AND 重要 = (" + row +
               ".重要度 IS 'A')";
    };
    // A row comes into its group, or leaves it.
    const auto enter = [&](const QByteArray& row) {
        return "INSERT OR IGNORE INTO 集計 VALUES (coalesce(" + row + ".編, ''), coalesce(" + row + ".章, ''), " + row +
               ".重要度 IS 'A', " + row + ".Ｎｏ, 0, 0); UPDATE 集計 SET 問題数 = 問題数 + 1, 済数 = 済数 + (" + row +
               ".済 IS 1), 最初 = min(最初, " + row + ".Ｎｏ) WHERE " + group(row) + ";";
    };
    const auto leave = [&](const QByteArray& row) {
        return "UPDATE 集計 SET 問題数 = 問題数 - 1, 済数 = 済数 - (" + row + ".済 IS 1) WHERE " + group(row) + ";";
    };
    const QByteArray moved = "(OLD.編 IS NOT NEW.編 OR OLD.章 IS NOT NEW.章 OR OLD.重要度 IS NOT NEW.重要度)";
    const QByteArray sql =
        "CREATE TABLE 集計 (編 TEXT NOT NULL, 章 TEXT NOT NULL, 重要 INTEGER NOT NULL, 最初 INTEGER,"
        " 問題数 INTEGER NOT NULL, 済数 INTEGER NOT NULL, PRIMARY KEY (編, 章, 重要)) WITHOUT ROWID;"
        "INSERT INTO 集計 SELECT coalesce(編, ''), coalesce(章, ''), 重要度 IS 'A', min(Ｎｏ), count(*),"
        " coalesce(sum(済 IS 1), 0) FROM 問題 GROUP BY 1, 2, 3;"
        // A reveal or a reset: the group stays, its count of done ones moves.
        "CREATE TRIGGER 集計_済 AFTER UPDATE OF 済 ON 問題 WHEN OLD.済 IS NOT NEW.済 AND NOT " +
        moved + " BEGIN UPDATE 集計 SET 済数 = 済数 + (NEW.済 IS 1) - (OLD.済 IS 1) WHERE " + group("NEW") +
        "; END;"
        "CREATE TRIGGER 集計_追加 AFTER INSERT ON 問題 BEGIN " +
        enter("NEW") + " END; CREATE TRIGGER 集計_削除 AFTER DELETE ON 問題 BEGIN " + leave("OLD") +
        " END;"
        // A row moved into another group, its 済 changed or not.
        "CREATE TRIGGER 集計_移動 AFTER UPDATE OF 編, 章, 重要度, 済 ON 問題 WHEN " +
        moved + " BEGIN " + leave("OLD") + " " + enter("NEW") + " END;";
    connection.exec(sql.constData());
}

void DatabaseBuilder::createSchema(Connection& connection)
{
    createTables(connection);
    createIndexes(connection);
    createTally(connection);
}

DatabaseBuilder::DatabaseBuilder(const QString& path, const QByteArray& key)
    : m_connection(Connection::create(path, key))
{
    m_transaction.emplace(m_connection, "BEGIN");
    createTables(m_connection);
    m_insertQuestion.emplace(m_connection, "INSERT INTO 問題 (Ｎｏ, 編, 章, 節, 款, 条, 定義, 問題, 回答, 済, 直近,"
                                           " 重要度) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    m_insertContents.emplace(m_connection, "INSERT INTO 目次 (編, 章, 節, 節No) VALUES (?1, ?2, ?3, ?4)");
}

namespace {

// Empty optional texts are stored as Null, as the statute has no section or caption there.
void bindOptional(Statement& statement, int index, const QString& text)
{
    if (!text.isEmpty())
        statement.bind(index, text);
}

} // namespace

void DatabaseBuilder::addQuestion(const Question& q)
{
    Statement& s = *m_insertQuestion;
    s.reset();
    s.bind(1, q.no).bind(2, q.part).bind(3, q.chapter);
    bindOptional(s, 4, q.section);
    bindOptional(s, 5, q.subsection);
    s.bind(6, q.article);
    bindOptional(s, 7, q.caption);
    s.bind(8, q.passage).bind(9, q.answers).bind(10, qint64(q.done)).bind(11, qint64(q.recent));
    bindOptional(s, 12, q.tier);
    s.next();
    if (q.markedOn.isEmpty())
        return;
    if (!m_insertMark) {
        m_connection.exec(progress::kCreateMarks);
        m_insertMark.emplace(m_connection, "INSERT OR REPLACE INTO 要復習 (Ｎｏ, 日付) VALUES (?1, ?2)");
    }
    m_insertMark->reset();
    m_insertMark->bind(1, q.no).bind(2, q.markedOn);
    m_insertMark->next();
}

void DatabaseBuilder::addRevealCount(const QString& day, qint64 count)
{
    if (!m_insertRevealCount) {
        m_connection.exec(progress::kCreateLog);
        m_insertRevealCount.emplace(m_connection, "INSERT OR REPLACE INTO 解答記録 (日付, 解答数) VALUES (?1, ?2)");
    }
    m_insertRevealCount->reset();
    m_insertRevealCount->bind(1, day).bind(2, count);
    m_insertRevealCount->next();
}

void DatabaseBuilder::addContents(const ContentsEntry& e)
{
    Statement& s = *m_insertContents;
    s.reset();
    s.bind(1, e.part).bind(2, e.chapter).bind(3, e.section).bind(4, e.sectionNo);
    s.next();
}

void DatabaseBuilder::finish()
{
    m_insertQuestion.reset();
    m_insertContents.reset();
    m_insertMark.reset();
    m_insertRevealCount.reset();
    createIndexes(m_connection);
    createTally(m_connection);
    m_transaction->commit();
    m_transaction.reset();
    m_connection.close();
}

} // namespace store
