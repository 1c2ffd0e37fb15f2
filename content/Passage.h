#pragma once

#include "Statute.h"

#include <QString>
#include <QStringList>

// The passage a paragraph shows: its sentences, then its items, each on a line of its own.
namespace content {

// Whether the sentence introduces items of two columns, a case and what applies to it ("次の各号に掲げる…は、
// 当該各号に定める…").
bool introducesTwoColumnItems(const QString& sentence);

// Whether the two columns of an item are kept apart by an ideographic blank (restored in 第二条).
bool hasColumnBlank(const QString& item);

// The sentences, and the items on lines of their own (CR LF), unless they are two-column items whose columns stand
// run together: those are left out. Sub-items are not part of the items and never shown.
QString passageOf(const Paragraph& paragraph);

// The item lines of a passage whose two columns stand run together.
QStringList runTogetherItems(const QString& passage);

} // namespace content
