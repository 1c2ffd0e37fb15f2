#pragma once

#include <QString>
#include <QStringList>

class PassageBox;

// The passage routines shared by the first display, the repeat display and the reveal.
namespace Module1 {

// Gives every occurrence of the marker of answer n + 1 the highlight style.
void MarkBlank(PassageBox& box, int n);
// Gives every occurrence of the word the highlight style.
void MarkWord(PassageBox& box, const QString& word);

// Puts the laid-out passage into the box with its answers blanked: plain style over all, markers highlighted.
void showBlanked(PassageBox& box, const QString& display, const QStringList& answers);
// Puts the laid-out passage into the box with its answer words highlighted.
void showRevealed(PassageBox& box, const QString& display, const QStringList& answers);

} // namespace Module1
