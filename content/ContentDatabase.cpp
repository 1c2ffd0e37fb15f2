#include "ContentDatabase.h"

#include "ArticleNumber.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace content {

namespace {

QString nullable(const store::Statement& row, int column, const char* name, QStringList& nulls)
{
    if (row.isNull(column))
        nulls << QString::fromUtf8(name);
    return row.text(column);
}

// The learner's progress a question file holds.
struct Record
{
    struct Flags
    {
        int done = 0;
        int recent = 0;
    };
    QHash<qint64, Flags> flags;   // by Ｎｏ, the first row of an Ｎｏ deciding
    QHash<qint64, QString> marks; // 要復習
    QMap<QString, qint64> log;    // 解答記録

    bool hasProgress(qint64 no) const
    {
        const Flags f = flags.value(no);
        return f.done != 0 || f.recent != 0 || marks.contains(no);
    }
};

bool hasColumn(const store::Connection& db, const char* table, const QString& column)
{
    const QByteArray sql = QByteArray("PRAGMA table_info(\"") + table + "\")";
    store::Statement columns(db, sql.constData());
    while (columns.next()) {
        if (columns.text(1) == column)
            return true;
    }
    return false;
}

bool hasTable(const store::Connection& db, const QString& table)
{
    store::Statement tables(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1");
    tables.bind(1, table);
    return tables.next();
}

// The marks of 要復習 and the days of 解答記録, where the file has those tables.
QHash<qint64, QString> readMarks(const store::Connection& db)
{
    QHash<qint64, QString> marks;
    if (!hasTable(db, QStringLiteral("要復習")))
        return marks;
    store::Statement rows(db, "SELECT Ｎｏ, 日付 FROM 要復習");
    while (rows.next())
        marks.insert(rows.integer(0), rows.text(1));
    return marks;
}

QMap<QString, qint64> readLog(const store::Connection& db)
{
    QMap<QString, qint64> log;
    if (!hasTable(db, QStringLiteral("解答記録")))
        return log;
    store::Statement rows(db, "SELECT 日付, 解答数 FROM 解答記録");
    while (rows.next())
        log.insert(rows.text(0), rows.integer(1));
    return log;
}

Record readRecord(const QString& path, const QByteArray& key)
{
    store::Connection db = store::Connection::openExisting(path, key);
    store::Statement rows(db, "SELECT Ｎｏ, 済, 直近 FROM 問題 ORDER BY rowid");
    Record record;
    while (rows.next()) {
        if (rows.isNull(0))
            continue;
        const qint64 no = rows.integer(0);
        if (!record.flags.contains(no))
            record.flags.insert(no, {int(rows.integer(1)), int(rows.integer(2))});
    }
    record.marks = readMarks(db);
    record.log = readLog(db);
    return record;
}

void removeBuildFiles(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

DatabaseContent readDatabase(const QString& path, const QByteArray& key)
{
    store::Connection db = store::Connection::openExisting(path, key);
    DatabaseContent content;
    // 重要度 came later: a file made before reads as one without tiers.
    const QByteArray tier = hasColumn(db, "問題", QStringLiteral("重要度")) ? "重要度" : "NULL";
    const QByteArray sql =
        "SELECT Ｎｏ, 編, 章, 節, 款, 条, 定義, 問題, 回答, 済, 直近, " + tier + " FROM 問題 ORDER BY rowid";
    store::Statement questions(db, sql.constData());
    while (questions.next()) {
        QuestionRecord r;
        store::Question& q = r.question;
        if (questions.isNull(0))
            r.nullFields << QStringLiteral("Ｎｏ");
        q.no = questions.integer(0);
        q.part = nullable(questions, 1, "編", r.nullFields);
        q.chapter = nullable(questions, 2, "章", r.nullFields);
        q.section = questions.text(3);
        q.subsection = questions.text(4);
        q.article = nullable(questions, 5, "条", r.nullFields);
        q.caption = questions.text(6);
        q.passage = nullable(questions, 7, "問題", r.nullFields);
        q.answers = nullable(questions, 8, "回答", r.nullFields);
        q.done = int(questions.integer(9));
        q.recent = int(questions.integer(10));
        q.tier = questions.text(11);
        content.questions.append(r);
    }
    const QHash<qint64, QString> marks = readMarks(db);
    for (QuestionRecord& r : content.questions)
        r.question.markedOn = marks.value(r.question.no);
    const QMap<QString, qint64> log = readLog(db);
    for (auto it = log.constBegin(); it != log.constEnd(); ++it)
        content.log.append({it.key(), it.value()});
    store::Statement contents(db, "SELECT 編, 章, 節, 節No FROM 目次 ORDER BY rowid");
    while (contents.next()) {
        ContentsRecord r;
        r.entry.part = nullable(contents, 0, "編", r.nullFields);
        r.entry.chapter = nullable(contents, 1, "章", r.nullFields);
        r.entry.section = nullable(contents, 2, "節", r.nullFields);
        if (contents.isNull(3))
            r.nullFields << QStringLiteral("節No");
        r.entry.sectionNo = contents.integer(3);
        content.contents.append(r);
    }
    return content;
}

namespace {

// Carries the learner's progress of the file being replaced over to the new questions (see buildDatabase).
void keepProgress(const Record& old, QList<store::Question>& questions, QMap<QString, qint64>& log, BuildReport& report)
{
    QSet<qint64> present;
    QHash<qint64, QList<qint64>> partsOf; // paragraph number → the new Ｎｏ of its questions
    for (const store::Question& q : std::as_const(questions)) {
        present.insert(q.no);
        partsOf[q.no / partsPerParagraph].append(q.no);
    }
    QSet<qint64> oldNumbers(old.flags.keyBegin(), old.flags.keyEnd());
    for (auto it = old.marks.keyBegin(); it != old.marks.keyEnd(); ++it)
        oldNumbers.insert(*it);
    QHash<qint64, qint64> source; // new Ｎｏ → the old Ｎｏ whose progress it takes
    for (const qint64 no : std::as_const(oldNumbers)) {
        if (present.contains(no)) {
            source.insert(no, no);
            continue;
        }
        // The earlier numbering: the paragraph's number, now that of every part of the paragraph.
        bool placed = false;
        for (const qint64 part : partsOf.value(no)) {
            if (!oldNumbers.contains(part)) {
                source.insert(part, no);
                placed = true;
            }
        }
        if (!placed && old.hasProgress(no))
            report.unplaced.append(no);
    }
    std::sort(report.unplaced.begin(), report.unplaced.end());
    for (store::Question& q : questions) {
        const auto it = source.constFind(q.no);
        if (it == source.constEnd())
            continue;
        if (const auto flags = old.flags.constFind(*it); flags != old.flags.constEnd()) {
            q.done = flags->done;
            q.recent = flags->recent;
        }
        q.markedOn = old.marks.value(*it);
        report.keptQuestions += q.done != 0 || q.recent != 0 || !q.markedOn.isEmpty();
    }
    report.replacedProgress = !old.log.isEmpty() || std::any_of(oldNumbers.begin(), oldNumbers.end(),
                                                                [&](qint64 no) { return old.hasProgress(no); });
    for (auto it = old.log.constBegin(); it != old.log.constEnd(); ++it)
        log.insert(it.key(), it.value());
}

} // namespace

BuildReport buildDatabase(const QString& path, QList<store::Question> questions,
                          const QList<store::ContentsEntry>& contents, const QList<RevealDay>& givenLog,
                          const QByteArray& key, Progress progress)
{
    BuildReport report;
    QMap<QString, qint64> log;
    for (const RevealDay& day : givenLog)
        log.insert(day.day, day.count);
    if (progress == Progress::Keep && QFileInfo::exists(path)) {
        Record old;
        try {
            old = readRecord(path, key);
        } catch (const store::StoreError& e) {
            throw ProgressUnreadable(e.kind(), e.message(), e.sqliteCode());
        }
        keepProgress(old, questions, log, report);
    }

    const QString building = path + QStringLiteral(".%1.building").arg(QCoreApplication::applicationPid());
    removeBuildFiles(building);
    try {
        store::DatabaseBuilder builder(building, key);
        for (const store::Question& q : questions)
            builder.addQuestion(q);
        for (const store::ContentsEntry& e : contents)
            builder.addContents(e);
        for (auto it = log.constBegin(); it != log.constEnd(); ++it)
            builder.addRevealCount(it.key(), it.value());
        builder.finish();
    } catch (...) {
        removeBuildFiles(building);
        throw;
    }
    if (std::rename(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        removeBuildFiles(building);
        throw store::StoreError(store::FailureKind::Other,
                                QStringLiteral("cannot put the new file in place: %1").arg(reason));
    }
    return report;
}

} // namespace content
