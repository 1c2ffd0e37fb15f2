#pragma once

#include "drill/DrillSession.h"
#include "drill/MessageSeam.h"
#include "store/DatabaseBuilder.h"
#include "store/QuestionStore.h"

#include <QTemporaryDir>
#include <optional>

// Answers the program's message boxes from a script and records each box and how the program ended, for the
// lifetime of the object. A Yes/No box without a scripted answer fails the test.
class SeamRecorder
{
public:
    struct Box
    {
        QString text;
        QString title;
        QString under; // what stood under it, as the test describes it
    };

    SeamRecorder();
    ~SeamRecorder();
    Q_DISABLE_COPY_MOVE(SeamRecorder)

    void answer(bool yes) { m_answers.append(yes); }
    void describeUnder(std::function<QString()> describe) { m_describe = std::move(describe); }
    const QList<Box>& boxes() const { return m_boxes; }
    QStringList texts() const;
    // Scripted answers no Yes/No box has taken: a question that came as a box with OK alone.
    qsizetype answersLeft() const { return m_answers.size(); }
    bool ended() const { return m_status.has_value(); }
    int exitStatus() const { return m_status.value_or(-1); }

private:
    QList<Box> m_boxes;
    QList<bool> m_answers;
    std::optional<int> m_status;
    std::function<QString()> m_describe;
};

namespace fixture {

// A fresh temporary folder, made the current directory for the lifetime of the object.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    Q_DISABLE_COPY_MOVE(TempFolder)

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // The question file by its bare name in this folder.
    QString database() const { return file(store::databaseFileName()); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The key the fixture files are written with: a raw key, which costs nothing to derive, unlike the program's
// password, which the files the program and its tools make are keyed with.
QByteArray key();
QByteArray programKey();

// Ten questions, Ｎｏ 10 to 100: 10–40 in 第一編 総則 (10, 20 第一章 通則; 30, 40 第二章 会社の商号), 50–90 in
// 第二編 株式会社 第四章 機関 (50, 60 第一節; 70–90 第二節), 100 in 第二編 第五章 計算等. Tier A: 20, 40, 60, 80, 90.
QList<store::Question> sampleQuestions();

// A 目次 for 第二編 第四章 機関: its two sections out of 節No order, one of them twice.
QList<store::ContentsEntry> sampleContents();

// Writes an encrypted question file with exactly these rows.
void writeDatabase(const QString& path, const QList<store::Question>& questions = sampleQuestions(),
                   const QList<store::ContentsEntry>& contents = sampleContents(),
                   const QByteArray& key = fixture::key());

// Runs SQL on a keyed file (to plant Nulls, drop a table, set flags).
void exec(const QString& path, const QString& sql, const QByteArray& key = fixture::key());

// Ｎｏ, 済 and 直近 of every row in stored order, with the day of its 要復習 mark, then the days of 解答記録, as
// "10:0/1+2026-12-07 20:1/1 … 2026-12-07=2", read through a connection of its own.
QString flags(const QString& path, const QByteArray& key = fixture::key());

// The day the drills of the tests take place on.
inline QDate today()
{
    return QDate(2026, 12, 7);
}

// A store on the question file of the current directory, keyed like the fixture files.
class Store : public store::QuestionStore
{
public:
    Store() : QuestionStore(store::databaseFileName(), key()) {}
};

// The drill as a test sees it: a temporary folder holding a question file, the store, the session with its own
// lock file, and the recorder that answers the message boxes.
struct Drill
{
    explicit Drill(const QList<store::Question>& questions = sampleQuestions());
    // On a copy of a question file the program and its tools made, keyed with the program's password.
    explicit Drill(const QString& copyOf);
    ~Drill() { session.release(); }

    QString database() const { return folder.database(); }
    // Starts up and starts a drill on the whole Act, answering the confirmation with Yes.
    void launch(bool excludeSeen = false);

    TempFolder folder;
    SeamRecorder seam;
    store::QuestionStore store;
    drill::DrillSession session;
};

} // namespace fixture
