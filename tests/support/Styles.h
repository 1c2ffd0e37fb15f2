#pragma once

#include "quiz/PassageBox.h"
#include "drill/PassageText.h"

#include <QSet>
#include <QString>

namespace fixture {

// Checks, character by character, that exactly the characters inside the spans carry the highlight style (red,
// 14 pt, bold) and every other character the plain style (black, 9 pt, regular). Line breaks are not characters
// of a line and are skipped. Returns an empty text when all is well, else the first difference.
QString checkStyles(const PassageBox& box, const QList<passage::Span>& highlighted);

// The spans of every occurrence of each target in the box's text.
QList<passage::Span> spansOf(const QString& text, const QStringList& targets);

} // namespace fixture
