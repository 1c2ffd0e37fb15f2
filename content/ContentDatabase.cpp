#include "ContentDatabase.h"

#include "ArticleNumber.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
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

struct Flags
{
    int done = 0;
    int recent = 0;
};

QHash<qint64, Flags> readProgress(const QString& path, const QByteArray& key)
{
    store::Connection db = store::Connection::openExisting(path, key);
    store::Statement rows(db, "SELECT Ｎｏ, 済, 直近 FROM 問題 ORDER BY rowid");
    QHash<qint64, Flags> flags;
    while (rows.next()) {
        if (rows.isNull(0))
            continue;
        const qint64 no = rows.integer(0);
        if (!flags.contains(no))
            flags.insert(no, {int(rows.integer(1)), int(rows.integer(2))});
    }
    return flags;
}

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

BuildReport buildDatabase(const QString& path, QList<store::Question> questions,
                          const QList<store::ContentsEntry>& contents, const QByteArray& key, Progress progress)
{
    BuildReport report;
    if (progress == Progress::Keep && QFileInfo::exists(path)) {
        QHash<qint64, Flags> old;
        try {
            old = readProgress(path, key);
        } catch (const store::StoreError& e) {
            throw ProgressUnreadable(e.kind(), e.message(), e.sqliteCode());
        }
        QSet<qint64> present;
        for (const store::Question& q : std::as_const(questions))
            present.insert(q.no);
        // A file made before paragraphs were asked in parts numbered a question by its paragraph alone: its flags
        // go to the paragraph's question, which now carries that number × 100.
        for (const qint64 no : old.keys()) {
            const qint64 carried = no * partsPerParagraph;
            if (!present.contains(no) && present.contains(carried) && !old.contains(carried))
                old.insert(carried, old.take(no));
        }
        for (store::Question& q : questions) {
            const auto it = old.constFind(q.no);
            if (it == old.constEnd())
                continue;
            q.done = it->done;
            q.recent = it->recent;
            if (q.done != 0 || q.recent != 0)
                ++report.keptQuestions;
        }
        for (auto it = old.constBegin(); it != old.constEnd(); ++it) {
            if (it->done == 0 && it->recent == 0)
                continue;
            report.replacedProgress = true;
            if (!present.contains(it.key()))
                ++report.lostQuestions;
        }
    }

    const QString building = path + QStringLiteral(".%1.building").arg(QCoreApplication::applicationPid());
    removeBuildFiles(building);
    try {
        store::DatabaseBuilder builder(building, key);
        for (const store::Question& q : questions)
            builder.addQuestion(q);
        for (const store::ContentsEntry& e : contents)
            builder.addContents(e);
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
