#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The rules the text routines of a question keep for any passage and any 回答, checked on one case. Shared by the
// fuzz target and by the test that replays its corpus.
namespace textcheck {

struct TextCase
{
    QString passage;      // 問題
    QString answers;      // 回答
    QList<int> uncovered; // blank numbers shown with their words, as by uncovering one blank at a time
};

// Reads a case from raw bytes: byte 0 holds flags (bit 0: the rest is UTF-16 in little-endian order, else UTF-8),
// byte 1 the blanks to uncover (bit k: number k + 1), then the passage, a U+0000, and 回答. Any bytes make a case.
TextCase decode(const QByteArray& bytes);
// The bytes of a case, UTF-8, for writing seeds.
QByteArray encode(const TextCase& textCase);

// Runs the passage through the layout, the blanking, the uncovering and the highlight scan. Returns the first rule
// broken, or an empty text.
QString check(const TextCase& textCase);

// Every place where the target occurs in the text, overlapping ones included, found by comparing at each position.
QList<qsizetype> naiveOccurrences(const QString& text, const QString& target);

} // namespace textcheck
