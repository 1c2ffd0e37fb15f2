#pragma once

#include <QString>

// Texts and constants shared by several parts of the program, each defined here once.
namespace texts {

// The title of the program's message boxes.
inline const QString kTitle = QStringLiteral("ハルニレKM");
// A line break as the passages and the messages hold it.
inline const QString kLineBreak = QStringLiteral("\r\n");

} // namespace texts
