#pragma once

#include "Samples.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace bench {

struct Settings
{
    int reps = 18;            // each variant of each operation but the two below
    int startupReps = 6;      // start-up: every repetition derives the key, in all three variants
    int resetReps = 3;        // our resets and the limit's
    int literalResetReps = 1; // the literal resets, row by row: each is an average over 10,000 commits already
    qint64 literalRowCap = 10000;
};

// What an operation is held to (see the goals in main.cpp).
enum class Kind {
    StartUp, // the menu's start-up: derives the key, once per run
    Click,   // everything the learner waits for after a click
    Window,  // a window of its own opened: read, built, shown and painted
    Reset,   // a flag cleared on every row
};

// Goals of their own for some operations, beside the ones every operation is held to (see main.cpp).
inline const QString kImportantGoal = QStringLiteral("the next question with 重要問題だけ within 1.5× its limit");
inline const QString kWritesGoal =
    QStringLiteral("reveal, X and Ctrl+Z with their new writes (mark, day's count) within 1.5× their limit");

// One line of the table: an operation on a file of `questions` questions.
struct Row
{
    QString operation;
    Kind kind = Kind::Click;
    int questions = 0;
    Samples ours;
    Samples limit;
    Samples literal;
    bool literalExtrapolated = false;
    QString goal; // a goal of its own, or empty
};

// Times every operation on the question file "ソラメモ.mdb" in `folder`, which is the current directory while it runs.
// Anything that went differently from a normal drill (a message box nobody expected, variants that chose different
// questions) is added to `problems`; facts worth printing beside the table go to `notes`.
QList<Row> timeOperations(const QString& folder, int questions, const Settings& settings, QStringList& notes,
                          QStringList& problems);

} // namespace bench
