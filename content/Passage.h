#pragma once

#include "Statute.h"

#include <QList>
#include <QString>
#include <QStringList>

// The passage a question shows: a paragraph's sentences, then its items, each on a line of its own with its
// sub-items under it, laid out by the quiz screen one sentence per line.
namespace content {

// The passage box of the quiz screen: how many full-width characters fit on a line, and how many lines show without
// scrolling.
inline constexpr int boxColumns = 37;
inline constexpr int boxRows = 19;
// The most characters a laid-out passage may hold, blanked as shown; the box shows a little more without scrolling.
inline constexpr int boxCharacters = 700;

// Whether the sentence introduces items of two columns, a case and what applies to it ("次の各号に掲げる…は、
// 当該各号に定める…").
bool introducesTwoColumnItems(const QString& sentence);

// The lines of an item: "一 取締役会設置会社　取締役会" (its shortened text where it has one), then its sub-items
// indented ("　イ …", "　　（１） …").
QStringList itemLines(const Item& item);

// The sentences and every item of the paragraph, on lines of their own (CR LF).
QString passageOf(const Paragraph& paragraph);

// The lines the passage box needs for a laid-out passage: each line wraps at boxColumns full-width characters
// (half-width ones count half). The box's proportional face fits more, so a passage within boxRows shows whole.
int rowsOf(const QString& display);

// One question's share of a paragraph: its passage and the items it shows (their indexes).
struct PassagePart
{
    QString passage;
    QList<qsizetype> items;
};

// The paragraphs whose items are each a rule of its own (the definitions of 第二条, the fines of 第九百七十六条): asked
// a few items at a time, even where the whole would fit the box.
bool asksItemsApart(const Paragraph& paragraph);

// The passages a paragraph is asked in. A paragraph without items: one, in its shortened form where it has one.
// Else one, the whole paragraph, when it fits the box (rowsOf at most boxRows - 2, room left for the blank markers)
// and its items are not asked apart; else consecutive items in
// parts that fit, each part carrying the sentences (their shortened form where the whole sentences leave no room), an
// item too long for one part spread over several with its first line repeated, and the items asked apart at most
// a few lines at a time.
QList<PassagePart> partsOf(const Paragraph& paragraph);

// The item lines of a passage whose two columns stand run together.
QStringList runTogetherItems(const QString& passage);

} // namespace content
