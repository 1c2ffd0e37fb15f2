#pragma once

#include <QString>
#include <compare>
#include <optional>

// Article references as the Act writes them, in kanji numerals.
namespace content {

// 〇 … 九 and the units 十, 百, 千.
bool isKanjiNumeral(QChar c);
// "二百九十五" → 295, "十一" → 11; -1 when the text is no kanji numeral.
int kanjiToNumber(QStringView text);
// 295 → "二百九十五", 10 → "十" (1 … 9999).
QString numberToKanji(int value);

// One article, or one paragraph of it: 第百七十九条の二第三項 is {179, 2, 3}.
struct ArticleRef
{
    int article = 0;
    int branch = 0;    // の二 → 2; 0 for none
    int paragraph = 0; // 0 when the whole article is named

    auto operator<=>(const ArticleRef&) const = default;
    // The same article and paragraph, a missing paragraph counting as the first.
    ArticleRef withParagraph() const { return {article, branch, paragraph > 0 ? paragraph : 1}; }
};

// "第三条", "第百七十九条の二", "第二十六条第二項"; nothing when the text is none of these.
std::optional<ArticleRef> parseArticleRef(const QString& text);
// "第二十六条" + paragraph 2 → "第二十六条第二項".
QString paragraphRef(const QString& article, int paragraph);

// The number of a paragraph: article × 10000 + branch × 100 + paragraph (第百七十九条の二第三項 → 1790203). It
// ascends in the order of the Act. Question files made before paragraphs were asked in parts numbered their
// questions so.
qint64 paragraphNumber(const ArticleRef& paragraph);

// The Ｎｏ of a question: the paragraph number × 100 + the part, 0 for the one question of a paragraph asked whole
// and 1, 2, … for the questions of a paragraph asked in parts (第百七十九条の二第三項 → 179020300; its second part →
// 179020302). It ascends in reading order and does not move when other paragraphs gain, lose or split questions.
qint64 questionNumber(const ArticleRef& paragraph, int part = 0);
constexpr int partsPerParagraph = 100;

} // namespace content
