#pragma once

#include "Texts.h"

#include <QList>
#include <QString>
#include <QStringList>

// The text work of a question: sentence layout, blanks and the places to highlight. No widgets.
namespace passage {

using texts::kLineBreak;

// Lays the passage out one sentence per line: a line break follows each "。", except while a "。）" still lies
// ahead, and except where a line break follows already. The whole passage is kept.
QString breakSentences(const QString& text);

// 回答 cut at every half-width comma, untrimmed; empty text gives no entry.
QStringList answerList(const QString& answers);

// " 《 n 》 " for answer number n (from 1).
QString blankMarker(int number);

struct Span
{
    qsizetype start = 0; // 0-based
    qsizetype length = 0;
    bool operator==(const Span&) const = default;
};

// A piece of the blanked passage: plain text (number 0), or the marker of answer number n standing for the answer
// word it replaced.
struct Run
{
    QString text;   // the plain text, or the answer word the marker replaced
    int number = 0; // answer number from 1, or 0 for plain text
    bool operator==(const Run&) const = default;
};

// The passage cut into plain runs and replaced answer words, answers replaced in list order; a replaced word is never
// looked into again by a later answer.
QList<Run> blankRuns(const QString& display, const QStringList& answers);

// Where a blank stands in the laid-out text, and whether it shows its marker or its word.
struct Blank
{
    Span span;
    int number = 0;
    bool uncovered = false;
};

// The blanked text with the blanks of the given numbers showing their words instead of their markers; `blanks`
// receives where each blank stands.
QString layOutBlanks(const QList<Run>& runs, const QList<int>& uncovered, QList<Blank>* blanks = nullptr);

// A passage as the box shows it: its text and the characters in the highlight style.
struct Shown
{
    QString text;
    QList<Span> highlights;
};

// The passage with its blanks, those of the given numbers showing their words: every marker and uncovered word
// highlighted (and a marker's text that the passage itself holds, like a blank).
Shown showBlanks(const QList<Run>& runs, const QStringList& answers, const QList<int>& uncovered);
// The passage with the answers in place, every occurrence of each answer word highlighted.
Shown showAnswers(const QString& display, const QStringList& answers);

// Replaces every occurrence of each answer, in list order, by its marker. Text already turned into a marker is
// never touched again; an answer inside an earlier answer word has nothing left to match.
QString blankAnswers(const QString& display, const QStringList& answers);

// Every occurrence of the target in the text, overlapping ones included, left to right.
QList<Span> findOccurrences(const QString& text, const QString& target);

} // namespace passage
