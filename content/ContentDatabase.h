#pragma once

#include "ContentTsv.h"
#include "store/DatabaseBuilder.h"
#include "store/Question.h"

#include <QList>
#include <QString>

// The question file as a whole: reading it back and writing it anew.
namespace content {

struct DatabaseContent
{
    QList<QuestionRecord> questions; // stored order, with the learner's marks (要復習)
    QList<ContentsRecord> contents;
    QList<RevealDay> log; // 解答記録, by day
};

// Reads every row of 問題 and 目次, the marks of 要復習 and the days of 解答記録; a file without 重要度, 要復習 or
// 解答記録 (made before them) reads as one without tiers, marks or log. Throws store::StoreError when the file is
// missing, is no database, is keyed with another password or lacks 問題 or 目次.
DatabaseContent readDatabase(const QString& path, const QByteArray& key);

// The file to be replaced could not be read, so its progress cannot be carried over.
class ProgressUnreadable : public store::StoreError
{
public:
    using store::StoreError::StoreError;
};

enum class Progress {
    Keep,    // the learner's progress held by the file being replaced wins, by Ｎｏ
    Discard, // the progress comes from the questions and the log given
};

struct BuildReport
{
    bool replacedProgress = false; // the file replaced held any progress: a flag set, a mark, a day of the log
    int keptQuestions = 0;         // questions that took over a flag or a mark from it
    QList<qint64> unplaced;        // its questions with a flag set or a mark that found no question to go to
};

// Writes a new question file at path, keyed with key: the questions (with their flags, tiers and marks), the table
// of contents and the reveal log. The file is built beside the target and renamed over it only when complete, so a
// failure leaves the old file as it was.
//
// With Progress::Keep, the learner's progress held by an existing file wins: its 済, 直近 and mark go to the
// question of the same Ｎｏ (the first row of an Ｎｏ decides), and its reveal log is kept, the days it lacks taken
// from the log given. A file of the earlier numbering (before paragraphs were asked in parts, Ｎｏ = the paragraph's
// number) has Ｎｏ the new questions lack: the progress of such an Ｎｏ goes to every question of that paragraph
// (Ｎｏ × 100 + part), since a learner who had done the paragraph has done each of its parts. Progress that finds no
// question is listed in the report. A file that cannot be read stops the build with ProgressUnreadable. Throws
// store::StoreError.
BuildReport buildDatabase(const QString& path, QList<store::Question> questions,
                          const QList<store::ContentsEntry>& contents, const QList<RevealDay>& log,
                          const QByteArray& key, Progress progress);

} // namespace content
