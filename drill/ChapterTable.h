#pragma once

#include "store/Question.h"

#include <QStringList>

// The parts of the Act and their chapters, as the selectors offer them.
namespace chapters {

inline const QString& all = store::kAll;

// "すべて" and the eight part titles, in menu order.
const QStringList& partList();
// The chapter items for a part text ("すべて" first), or nothing when the text is no part of the list.
// `found` tells the two apart.
QStringList chaptersOf(const QString& part, bool* found = nullptr);

} // namespace chapters
