#pragma once

#include "SeamRecorder.h"
#include "drill/DrillSession.h"
#include "store/DatabaseBuilder.h"
#include "store/Question.h"
#include "store/QuestionStore.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace fixture {

// A fresh temporary folder, made the current directory for the lifetime of the object.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // The question file by its bare name in this folder.
    QString database() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The key the fixture files are written with: a raw key, which costs nothing to derive, unlike the program's
// password. The store reads the program's own files with that password (see the store's tests).
QByteArray key();
// The program's own password, for the files the program and its tools make and read.
QByteArray programKey();

// A store on the question file of the current directory, keyed like the fixture files.
class Store : public store::QuestionStore
{
public:
    Store() : QuestionStore(store::databaseFileName(), key()) {}
};

// Writes an encrypted question file with exactly these rows.
void writeDatabase(const QString& path, const QList<store::Question>& questions,
                   const QList<store::ContentsEntry>& contents = {}, const QByteArray& key = fixture::key());

// Runs SQL on a keyed file (to plant Nulls, drop a table, set flags).
void exec(const QString& path, const QString& sql, const QByteArray& key = fixture::key());

// Ｎｏ, 済 and 直近 of every row in stored order, as "10:0/1 20:1/1 …", read through a connection of its own.
QString flags(const QString& path, const QByteArray& key = fixture::key());

// Ten questions across two parts and three chapters, sections in one of them, and a 目次 to match. 編 and 章 of
// question n (Ｎｏ 10 n): 1–4 第一編 総則 (1, 2 第一章 通則; 3, 4 第二章 会社の商号); 5–9 第二編 株式会社 第四章 機関
// (5, 6 第一節; 7–9 第二節); 10 第二編 第五章 計算等.
QList<store::Question> sampleQuestions();
QList<store::ContentsEntry> sampleContents();

// The drill as a test sees it: a temporary folder holding a question file, the store, the session with its own
// lock file, and the recorder that answers the message boxes.
struct Drill
{
    explicit Drill(const QList<store::Question>& questions = sampleQuestions(),
                   const QList<store::ContentsEntry>& contents = sampleContents());
    ~Drill();

    QString database() const { return folder.database(); }
    // Picks the items by their texts and leaves each selector, as the learner does; empty texts pick nothing.
    void choose(const QString& part, const QString& chapter = {}, const QString& section = {});
    // Starts up, chooses the range and starts a drill on it, answering the confirmation with Yes.
    void launch(const QString& part = store::kAll, const QString& chapter = store::kAll, const QString& section = {},
                bool excludeSeen = false);

    TempFolder folder;
    SeamRecorder seam;
    Store store;
    drill::DrillSession session;
};

} // namespace fixture
