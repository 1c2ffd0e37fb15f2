#pragma once

#include "TextChecks.h"

class PassageBox;

// The passage box showing a case: with its blanks, and revealed. Shared by the fuzz target over the box and by the
// test that replays the corpus. Needs a QApplication.
namespace textcheck {

// Shows the case in a passage box as the quiz screen does, blanked and then revealed, and checks that the box holds
// exactly the text the routines made and that exactly the characters of each marker (blanked) or each answer word
// (revealed) carry the highlight style, every other character the plain style. Returns the first difference, or an
// empty text.
QString checkBox(const TextCase& textCase);

// Whether exactly the characters of every occurrence of the targets in the box's text carry the highlight style
// (red, 14 points, bold) and every other character the plain style (black, 9 points, regular); the first
// difference, or an empty text.
QString checkHighlights(const PassageBox& box, const QStringList& targets);

} // namespace textcheck
