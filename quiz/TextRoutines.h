#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The text work of a question: sentence layout, blanks and the places to highlight. No widgets.
namespace quiz {

inline const QString kLineBreak = QStringLiteral("\r\n");

// Lays the passage out one sentence per line: a line break follows each "。", except while a "。）" still lies
// ahead. The whole passage is kept.
QString BreakSentences(const QString& text);

// 回答 cut at every half-width comma, untrimmed; empty text gives no entry.
QStringList answerList(const QString& kaitou);

// " 《 n 》 " for answer number n (from 1).
QString blankMarker(int number);

// Replaces every occurrence of each answer, in list order, by its marker. Text already turned into a marker is
// never touched again; an answer inside an earlier answer word has nothing left to match.
QString blankAnswers(const QString& display, const QStringList& answers);

struct Span
{
    qsizetype start = 0;  // 0-based
    qsizetype length = 0;
    bool operator==(const Span&) const = default;
};

// Every occurrence of the target in the text, overlapping ones included, left to right.
QList<Span> findOccurrences(const QString& text, const QString& target);

} // namespace quiz
