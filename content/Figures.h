#pragma once

#include "drill/PassageText.h"

#include <QList>
#include <QString>

// The figures of the Act: the numbers and thresholds a learner must know, as they stand in a passage.
namespace content {

// Where the figures stand in the text: a numeral (kanji or digits) with its unit (二週間, 六箇月, 三人, 百万円, 一個,
// 四倍), a fraction (三分の二, 百分の三), 過半数 and 半数, a number of shares as a bound (一株以上), and a numeral
// standing alone as the second column of an item (the multipliers 六, 四, 二 of 第四百二十五条). Numerals that name a
// provision (第四百二十三条, 前三条, 同項第二号), the year of another law (昭和二十三年), numerals without a unit
// (二以上の 種類, 一の株主), which count things rather than set a rule, and a share as the unit of a reckoning
// (一株当たり純資産 額, 一株に満たない端数) are no figures.
QList<passage::Span> figureSpans(const QString& text);

// Whether the word holds a figure (三分の二以上に当たる多数, 一個の議決権).
bool holdsFigure(const QString& word);

// Whether the word names a provision of the Act and nothing else (第百五十八条第一項, 前項): no answer, since
// nobody learns the numbers of provisions.
bool isProvisionReference(const QString& word);

} // namespace content
