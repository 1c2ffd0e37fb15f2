#include "QuestionStore.h"

#include "ProgressTables.h"

#include <QFile>
#include <algorithm>
#include <sqlite3.h>
#include <sys/stat.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace store {

#if defined(__x86_64__) || defined(__i386__)
namespace {
__attribute__((target("avx"))) void clearUpperVectorHalves()
{
    _mm256_zeroupper();
}
} // namespace
#endif

void beforeKeyDerivation()
{
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx"))
        clearUpperVectorHalves();
#endif
}

QString databaseFileName()
{
    return QStringLiteral("ソラメモ.mdb");
}

QString connectString()
{
    return QStringLiteral(";pwd=QRVKX4Z7");
}

QByteArray passwordOf(const QString& connect)
{
    static const QString marker = QStringLiteral(";pwd=");
    const qsizetype at = connect.indexOf(marker, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    return connect.mid(at + marker.size()).toUtf8();
}

namespace {

const QStringList& requiredQuestionColumns()
{
    static const QStringList columns = {
        QStringLiteral("Ｎｏ"), QStringLiteral("編"), QStringLiteral("章"),   QStringLiteral("節"),
        QStringLiteral("款"),   QStringLiteral("条"), QStringLiteral("定義"), QStringLiteral("問題"),
        QStringLiteral("回答"), QStringLiteral("済"), QStringLiteral("直近"),
    };
    return columns;
}

const QStringList& contentsColumns()
{
    static const QStringList columns = {QStringLiteral("編"), QStringLiteral("章"), QStringLiteral("節"),
                                        QStringLiteral("節No")};
    return columns;
}

// A day as the progress tables hold it.
QString dayText(const QDate& day)
{
    return day.toString(Qt::ISODate);
}

QString required(const Statement& row, int column, const char* name)
{
    if (row.isNull(column))
        throw StoreError(FailureKind::NullField, QStringLiteral("%1 is Null").arg(QString::fromUtf8(name)));
    return row.text(column);
}

Question readQuestion(const Statement& row)
{
    Question q;
    if (row.isNull(0))
        throw StoreError(FailureKind::NullField, QStringLiteral("Ｎｏ is Null"));
    q.no = row.integer(0);
    q.part = required(row, 1, "編");
    q.chapter = required(row, 2, "章");
    q.section = row.text(3);
    q.subsection = row.text(4);
    q.article = required(row, 5, "条");
    q.caption = row.text(6);
    q.passage = required(row, 7, "問題");
    q.answers = required(row, 8, "回答");
    q.done = int(row.integer(9));
    q.recent = int(row.integer(10));
    q.tier = row.text(11);
    q.markedOn = row.text(12);
    return q;
}

// How much of the Act a range covers, which decides the shape of its conditions.
enum class Scope { All, Part, Chapter, Section };

Scope scopeOf(const Range& range)
{
    if (range.part == kAll)
        return Scope::All;
    if (range.chapter == kAll)
        return Scope::Part;
    if (range.section.isEmpty() || range.section == kAll)
        return Scope::Chapter;
    return Scope::Section;
}

// The titles of the range, from fixed pieces only; the range texts are bound as ?1..?3.
QByteArray scopeCondition(Scope scope)
{
    switch (scope) {
    case Scope::All:
        return {};
    case Scope::Part:
        return " AND 編 = ?1";
    case Scope::Chapter:
        return " AND 編 = ?1 AND 章 = ?2";
    case Scope::Section:
        return " AND 編 = ?1 AND 章 = ?2 AND 節 = ?3";
    }
    return {};
}

void bindRange(Statement& statement, Scope scope, const Range& range)
{
    if (scope >= Scope::Part)
        statement.bind(1, range.part);
    if (scope >= Scope::Chapter)
        statement.bind(2, range.chapter);
    if (scope >= Scope::Section)
        statement.bind(3, range.section);
}

const char* const kImportant = " AND 重要度 = 'A'";

// Both flags of the first row of an Ｎｏ.
const char* const kWriteFlags =
    "UPDATE 問題 SET 済 = ?2, 直近 = ?3 WHERE rowid = (SELECT rowid FROM 問題 WHERE Ｎｏ = ?1 ORDER BY rowid LIMIT 1)";

// The index that holds exactly the open questions of a range of this shape, in Ｎｏ order (see DatabaseBuilder).
QByteArray openIndex(Scope scope, bool exclude, bool important)
{
    QByteArray name = important ? "問題_重要_" : "問題_";
    name += exclude ? "未見_" : "残_";
    switch (scope) {
    case Scope::All:
        return name + "全";
    case Scope::Part:
        return name + "編";
    case Scope::Chapter:
        return name + "章";
    case Scope::Section:
        return name + "節";
    }
    return name;
}

} // namespace

// A cached statement lent to one operation. It is reset when the operation is done with it, so that no read
// transaction, and with it no lock on the file, outlives the operation.
class QuestionStore::Use
{
public:
    explicit Use(Statement& statement) : m_statement(statement) {}
    ~Use() { m_statement.reset(); }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    Statement* operator->() const { return &m_statement; }
    Statement& operator*() const { return m_statement; }

private:
    Statement& m_statement;
};

QuestionStore::QuestionStore(QString path, QByteArray key) : m_path(std::move(path)), m_key(std::move(key)) {}

Statement& QuestionStore::statement(const QByteArray& sql, const QByteArray& withoutIndex)
{
    if (const auto it = m_statements.constFind(sql); it != m_statements.constEnd())
        return **it;
    std::shared_ptr<Statement> prepared;
    try {
        prepared = std::make_shared<Statement>(m_connection, sql.constData());
    } catch (const StoreError&) {
        if (withoutIndex.isEmpty())
            throw;
        prepared = std::make_shared<Statement>(m_connection, withoutIndex.constData());
    }
    m_statements.insert(sql, prepared);
    return *prepared;
}

Connection& QuestionStore::connection()
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(m_path).constData(), &st) != 0) {
        release();
        throw StoreError(FailureKind::FileMissing, QStringLiteral("%1 does not exist").arg(m_path));
    }
    if (m_connection.isOpen() && st.st_dev == m_dev && st.st_ino == m_ino)
        return m_connection;
    release();
    beforeKeyDerivation();
    Connection fresh = Connection::openExisting(m_path, m_key);
    std::swap(m_connection, fresh);
    try {
        verify();
    } catch (...) {
        release();
        throw;
    }
    m_dev = st.st_dev;
    m_ino = st.st_ino;
    return m_connection;
}

void QuestionStore::verify()
{
    // The first read tells whether the key fits: SQLCipher cannot know before it decrypts a page.
    auto checkColumns = [this](const char* pragma, const QString& table, const QStringList& wanted) {
        Statement info(m_connection, pragma);
        QStringList present;
        while (info.next())
            present << info.text(1);
        if (present.isEmpty())
            throw StoreError(FailureKind::SchemaMissing, QStringLiteral("no such table: %1").arg(table));
        for (const QString& column : wanted) {
            if (!present.contains(column))
                throw StoreError(FailureKind::SchemaMissing,
                                 QStringLiteral("no such column: %1.%2").arg(table, column));
        }
        return present;
    };
    m_hasTiers = checkColumns("PRAGMA table_info(\"問題\")", QStringLiteral("問題"), requiredQuestionColumns())
                     .contains(QStringLiteral("重要度"));
    checkColumns("PRAGMA table_info(\"目次\")", QStringLiteral("目次"), contentsColumns());
    QStringList names;
    for (Statement tables(m_connection, "SELECT name FROM sqlite_master WHERE type IN ('table', 'trigger')");
         tables.next();)
        names << tables.text(0);
    m_hasMarks = names.contains(QStringLiteral("要復習"));
    m_hasLog = names.contains(QStringLiteral("解答記録"));
    // The tally counts right only while every trigger that keeps it is there.
    m_hasTally = names.contains(QString::fromUtf8(progress::kTallyName)) &&
                 std::all_of(std::begin(progress::kTallyTriggers), std::end(progress::kTallyTriggers),
                             [&](const char* trigger) { return names.contains(QString::fromUtf8(trigger)); });
    // A file cut short is noticed now, not at the first question that lies in the missing part.
    m_connection.checkLength();
}

void QuestionStore::release()
{
    // Statements first: a connection with statements left unfinalized would stay open behind our back.
    m_statements.clear();
    m_connection.close();
    m_dev = 0;
    m_ino = 0;
    m_hasTiers = m_hasMarks = m_hasLog = m_hasTally = false;
}

QByteArray QuestionStore::questionColumns() const
{
    QByteArray columns = "問題.Ｎｏ, 問題.編, 問題.章, 問題.節, 問題.款, 問題.条, 問題.定義, 問題.問題, 問題.回答,"
                         " 問題.済, 問題.直近, ";
    columns += m_hasTiers ? "問題.重要度, " : "NULL, ";
    columns += m_hasMarks ? "(SELECT 日付 FROM 要復習 WHERE 要復習.Ｎｏ = 問題.Ｎｏ)" : "NULL";
    return columns;
}

void QuestionStore::ensureTable(bool& present, const char* create)
{
    // Runs inside the caller's transaction: rolled back with it, the table is made again by the next write.
    if (!present)
        m_connection.exec(create);
}

void QuestionStore::trialOpen()
{
    connection();
}

QStringList QuestionStore::sections(const QString& part, const QString& chapter)
{
    connection();
    Use query(statement("SELECT 節, 節No FROM 目次 WHERE 編 = ?1 AND 章 = ?2 GROUP BY 節, 節No ORDER BY 節No"));
    query->bind(1, part).bind(2, chapter);
    QStringList result;
    while (query->next()) {
        if (query->isNull(0))
            throw StoreError(FailureKind::NullField, QStringLiteral("目次.節 is Null"));
        result << query->text(0);
    }
    return result;
}

bool QuestionStore::hasSections(const QString& part, const QString& chapter)
{
    connection();
    Use query(statement("SELECT 1 FROM 目次 WHERE 編 = ?1 AND 章 = ?2 LIMIT 1"));
    query->bind(1, part).bind(2, chapter);
    return query->next();
}

bool QuestionStore::knowsChapter(const QString& part, const QString& chapter)
{
    connection();
    Use query(statement("SELECT 1 FROM 目次 WHERE 編 = ?1 AND 章 = ?2"
                        " UNION ALL SELECT 1 FROM 問題 WHERE 編 = ?1 AND 章 = ?2 LIMIT 1"));
    query->bind(1, part).bind(2, chapter);
    return query->next();
}

bool QuestionStore::hasTiers()
{
    connection();
    return m_hasTiers;
}

bool QuestionStore::hasMarks()
{
    connection();
    return m_hasMarks;
}

void QuestionStore::clearFlag(Flag flag)
{
    Connection& db = connection();
    Transaction transaction(db);
    {
        Use update(statement(flag == Flag::Done ? "UPDATE 問題 SET 済 = 0 WHERE 済 IS NOT 0"
                                                : "UPDATE 問題 SET 直近 = 0 WHERE 直近 IS NOT 0"));
        update->next();
    }
    if (flag == Flag::Done && m_hasMarks) {
        Use marks(statement("DELETE FROM 要復習"));
        marks->next();
    }
    transaction.commit();
}

std::optional<Question> QuestionStore::nextQuestion(const Range& range)
{
    connection();
    const Scope scope = scopeOf(range);
    const bool important = range.importantOnly && m_hasTiers;
    const QByteArray tier = important ? kImportant : "";
    if (range.markedOnly) {
        // The marks are few: walked in Ｎｏ order, each finds its question by Ｎｏ.
        if (!m_hasMarks)
            return std::nullopt;
        Use query(statement("SELECT " + questionColumns() +
                            " FROM 要復習 CROSS JOIN 問題 ON 問題.Ｎｏ = 要復習.Ｎｏ WHERE 問題.直近 = 0" +
                            scopeCondition(scope) + tier + " ORDER BY 要復習.Ｎｏ, 問題.rowid LIMIT 1"));
        bindRange(*query, scope, range);
        return query->next() ? std::optional(readQuestion(*query)) : std::nullopt;
    }
    const bool exclude = range.excludeSeen;
    const QByteArray where = "直近 = 0" + scopeCondition(scope) + (exclude ? " AND 済 = 0" : "") + tier;
    const QByteArray tail = " WHERE " + where + " ORDER BY Ｎｏ LIMIT 1";
    const QByteArray plain = "SELECT " + questionColumns() + " FROM 問題" + tail;
    const QByteArray indexed =
        "SELECT " + questionColumns() + " FROM 問題 INDEXED BY " + openIndex(scope, exclude, important) + tail;
    Use query(statement(indexed, plain));
    bindRange(*query, scope, range);
    if (!query->next())
        return std::nullopt;
    return readQuestion(*query);
}

std::optional<Question> QuestionStore::question(qint64 no)
{
    connection();
    Use query(statement("SELECT " + questionColumns() + " FROM 問題 WHERE Ｎｏ = ?1 ORDER BY rowid LIMIT 1"));
    query->bind(1, no);
    if (!query->next())
        return std::nullopt;
    return readQuestion(*query);
}

std::optional<Revealed> QuestionStore::reveal(qint64 no, const QDate& day)
{
    Connection& db = connection();
    Transaction transaction(db);
    qint64 rowid = 0;
    Revealed revealed;
    {
        const QByteArray mark = m_hasMarks ? "(SELECT 日付 FROM 要復習 WHERE 要復習.Ｎｏ = ?1)" : "NULL";
        Use find(statement("SELECT rowid, 問題, 回答, 済, 直近, " + mark +
                           " FROM 問題 WHERE Ｎｏ = ?1 ORDER BY rowid LIMIT 1"));
        find->bind(1, no);
        if (!find->next())
            return std::nullopt; // nothing written; the transaction rolls back
        rowid = find->integer(0);
        revealed.passage = required(*find, 1, "問題");
        revealed.answers = required(*find, 2, "回答");
        revealed.doneBefore = int(find->integer(3));
        revealed.recentBefore = int(find->integer(4));
        revealed.markedBefore = find->text(5);
    }
    {
        Use update(statement("UPDATE 問題 SET 済 = 1, 直近 = 1 WHERE rowid = ?1"));
        update->bind(1, rowid);
        update->next();
    }
    if (!revealed.markedBefore.isEmpty()) {
        Use unmark(statement("DELETE FROM 要復習 WHERE Ｎｏ = ?1"));
        unmark->bind(1, no);
        unmark->next();
    }
    ensureTable(m_hasLog, progress::kCreateLog);
    {
        Use day0(statement("INSERT OR IGNORE INTO 解答記録 (日付, 解答数) VALUES (?1, 0)"));
        day0->bind(1, dayText(day));
        day0->next();
    }
    {
        Use count(statement("UPDATE 解答記録 SET 解答数 = 解答数 + 1 WHERE 日付 = ?1"));
        count->bind(1, dayText(day));
        count->next();
    }
    transaction.commit();
    m_hasLog = true;
    return revealed;
}

void QuestionStore::undoReveal(qint64 no, const Revealed& before, const QDate& revealedOn)
{
    writeRecord(no, before.doneBefore, before.recentBefore, before.markedBefore, [&] {
        if (!m_hasLog)
            return;
        for (const char* sql : {"UPDATE 解答記録 SET 解答数 = 解答数 - 1 WHERE 日付 = ?1",
                                "DELETE FROM 解答記録 WHERE 日付 = ?1 AND 解答数 <= 0"}) {
            Use count(statement(sql));
            count->bind(1, dayText(revealedOn));
            count->next();
        }
    });
}

void QuestionStore::setMark(qint64 no, const QDate& day)
{
    writeRecord(no, 0, 1, dayText(day));
}

void QuestionStore::removeMark(qint64 no)
{
    writeRecord(no, 1, 1, {});
}

void QuestionStore::writeMark(qint64 no, const QString& day)
{
    // Inside the caller's transaction, which puts m_hasMarks back should it roll back.
    if (day.isEmpty()) {
        if (!m_hasMarks)
            return;
        Use unmark(statement("DELETE FROM 要復習 WHERE Ｎｏ = ?1"));
        unmark->bind(1, no);
        unmark->next();
        return;
    }
    ensureTable(m_hasMarks, progress::kCreateMarks);
    m_hasMarks = true;
    Use mark(statement("INSERT OR REPLACE INTO 要復習 (Ｎｏ, 日付) VALUES (?1, ?2)"));
    mark->bind(1, no).bind(2, day);
    mark->next();
}

void QuestionStore::writeRecord(qint64 no, int done, int recent, const QString& markedOn,
                                const std::function<void()>& more)
{
    Connection& db = connection();
    const bool hadMarks = m_hasMarks;
    try {
        Transaction transaction(db);
        {
            Use update(statement(kWriteFlags));
            update->bind(1, no).bind(2, qint64(done)).bind(3, qint64(recent));
            update->next();
        }
        writeMark(no, markedOn);
        if (more)
            more();
        transaction.commit();
    } catch (...) {
        m_hasMarks = hadMarks;
        throw;
    }
}

void QuestionStore::writeFlags(qint64 no, int done, int recent)
{
    Connection& db = connection();
    Transaction transaction(db);
    {
        Use update(statement(kWriteFlags));
        update->bind(1, no).bind(2, qint64(done)).bind(3, qint64(recent));
        update->next();
    }
    transaction.commit();
}

RangeCounts QuestionStore::countRange(const Range& range)
{
    connection();
    const Scope scope = scopeOf(range);
    const QByteArray tier = range.importantOnly && m_hasTiers ? kImportant : "";
    QByteArray sql;
    if (range.markedOnly) {
        if (!m_hasMarks)
            return {};
        sql = "SELECT count(*), coalesce(sum(問題.直近 = 0), 0), coalesce(sum(問題.済 = 0), 0)"
              " FROM 要復習 CROSS JOIN 問題 ON 問題.Ｎｏ = 要復習.Ｎｏ"
              " WHERE 1" +
              scopeCondition(scope) + tier;
    } else {
        QByteArray open = "直近 = 0";
        if (range.excludeSeen)
            open += " AND 済 = 0";
        sql = "SELECT count(*), coalesce(sum(" + open + "), 0), coalesce(sum(済 = 0), 0) FROM 問題 WHERE 1" +
              scopeCondition(scope) + tier;
    }
    Use query(statement(sql));
    bindRange(*query, scope, range);
    RangeCounts counts;
    if (query->next()) {
        counts.total = int(query->integer(0));
        counts.open = int(query->integer(1));
        counts.notDone = int(query->integer(2));
    }
    return counts;
}

QList<ChapterProgress> QuestionStore::progressByChapter()
{
    connection();
    QList<ChapterProgress> chapters;
    QHash<QString, qsizetype> at;
    const auto chapterOf = [&](const Statement& row) -> ChapterProgress& {
        const QString key = row.text(0) + u'\t' + row.text(1);
        if (!at.contains(key)) {
            at.insert(key, chapters.size());
            chapters.append({row.text(0), row.text(1), {}, {}});
        }
        return chapters[at.value(key)];
    };
    if (m_hasTally) {
        // The tally the triggers keep: a few rows, whatever the size of the file.
        Use rows(statement("SELECT 編, 章, 重要, 問題数, 済数 FROM 集計 WHERE 問題数 > 0 ORDER BY 最初"));
        while (rows->next()) {
            ChapterProgress& c = chapterOf(*rows);
            const Tally tally{int(rows->integer(3)), int(rows->integer(4)), 0};
            c.all += tally;
            if (rows->integer(2) == 1)
                c.tierA += tally;
        }
    } else {
        // 問題_集計 holds every column read here: the count never touches the rows themselves.
        const QByteArray tiers =
            m_hasTiers ? "coalesce(sum(重要度 = 'A'), 0), coalesce(sum(重要度 = 'A' AND 済 = 1), 0)" : "0, 0";
        Use rows(statement("SELECT 編, 章, count(*), coalesce(sum(済 = 1), 0), " + tiers +
                           " FROM 問題 GROUP BY 編, 章 ORDER BY min(Ｎｏ)"));
        while (rows->next()) {
            ChapterProgress& c = chapterOf(*rows);
            c.all = {int(rows->integer(2)), int(rows->integer(3)), 0};
            c.tierA = {int(rows->integer(4)), int(rows->integer(5)), 0};
        }
    }
    if (!m_hasMarks)
        return chapters;
    // A marked question counts as marked, not as done, whatever its 済. 問題_Ｎｏ holds what is read of each.
    const QByteArray tiers =
        m_hasTiers ? "coalesce(sum(重要度 = 'A'), 0), coalesce(sum(重要度 = 'A' AND 済 = 1), 0)" : "0, 0";
    Use rows(statement("SELECT 編, 章, count(*), coalesce(sum(済 = 1), 0), " + tiers +
                       " FROM 要復習 CROSS JOIN 問題 ON 問題.Ｎｏ = 要復習.Ｎｏ GROUP BY 編, 章"));
    while (rows->next()) {
        if (!at.contains(rows->text(0) + u'\t' + rows->text(1)))
            continue;
        ChapterProgress& c = chapterOf(*rows);
        c.all.marked = int(rows->integer(2));
        c.all.done -= int(rows->integer(3));
        c.tierA.marked = int(rows->integer(4));
        c.tierA.done -= int(rows->integer(5));
    }
    return chapters;
}

QList<DayCount> QuestionStore::revealLog(const QDate& from, const QDate& to)
{
    connection();
    if (!m_hasLog)
        return {};
    Use rows(statement("SELECT 日付, 解答数 FROM 解答記録 WHERE 日付 BETWEEN ?1 AND ?2 AND 解答数 > 0 ORDER BY 日付"));
    rows->bind(1, dayText(from)).bind(2, dayText(to));
    QList<DayCount> days;
    while (rows->next())
        days.append({QDate::fromString(rows->text(0), Qt::ISODate), int(rows->integer(1))});
    return days;
}

} // namespace store
