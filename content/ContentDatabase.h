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
    QList<QuestionRecord> questions; // stored order
    QList<ContentsRecord> contents;
};

// Reads every row of 問題 and 目次. Throws store::StoreError when the file is missing, is no database, is keyed
// with another password or lacks a table.
DatabaseContent readDatabase(const QString& path, const QByteArray& key);

// The file to be replaced could not be read, so its progress cannot be carried over.
class ProgressUnreadable : public store::StoreError
{
public:
    using store::StoreError::StoreError;
};

enum class Progress {
    Keep,    // the flags held by the file being replaced win, by Ｎｏ
    Discard, // the flags come from the questions given
};

struct BuildReport
{
    bool replacedProgress = false; // the file replaced held any flag set
    int keptQuestions = 0;         // questions that took over a flag from it
    int lostQuestions = 0;         // its questions with a flag set whose Ｎｏ is no longer there
};

// Writes a new question file at path, keyed with key: the questions (with their flags) and the table of contents.
// The file is built beside the target and renamed over it only when complete, so a failure leaves the old file as
// it was. With Progress::Keep, an existing file's 済 and 直近 are carried over by Ｎｏ (the first row of an Ｎｏ
// decides); an Ｎｏ the new questions lack goes to Ｎｏ × 100 when they have that (a file made before paragraphs were
// asked in parts numbered a question by its paragraph alone). A file that cannot be read stops the build with
// ProgressUnreadable. Throws store::StoreError.
BuildReport buildDatabase(const QString& path, QList<store::Question> questions,
                          const QList<store::ContentsEntry>& contents, const QByteArray& key, Progress progress);

} // namespace content
