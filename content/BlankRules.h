#pragma once

#include "Glossary.h"
#include "drill/PassageText.h"
#include "store/Question.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The rules a question's blanks keep, shared by the choice of answers and the checks of a question set.
namespace content {

// The words of the glossary, answer words and fixed phrases alike, for telling whether a blanked word stands alone.
class Vocabulary
{
public:
    explicit Vocabulary(const QList<Term>& terms);

    // The words longer than word that hold it (取締役会 and 取締役会設置会社 for 取締役; 閲覧又は謄写 for 謄写).
    QStringList holding(const QString& word) const { return m_holding.value(word); }
    // The term of that wording (or of that asked form), or nullptr.
    const Term* find(const QString& word) const;
    const QList<Term>& terms() const { return m_terms; }

private:
    QList<Term> m_terms;
    QHash<QString, qsizetype> m_index;
    QHash<QString, QStringList> m_holding;
};

using Spans = QList<passage::Span>;

// Whether the word blanked at span is a word of its own there: not part of a longer answer word of the
// vocabulary standing at that place (取締役 in 取締役会), not a numeral glued to another numeral (十日 in
// 二十日), not a kanji word glued to a kanji that continues it (株主 in 総株主). Connectives such as 及び, 又は,
// 等, 以上, 当該, 各 may touch it, and a numeral may follow any other kanji (選任後二年). A numeral carried with the
// column blank (askedForm) stands alone only as the whole second column of its item.
bool standsAlone(const QString& text, const passage::Span& span, const Vocabulary& vocabulary);

// Whether the word blanked at span stands inside a fixed phrase that gives it away there (謄写 in 閲覧又は謄写).
bool insideFixedPhrase(const QString& text, const passage::Span& span, const Vocabulary& vocabulary);

// The wordings a replacement clause replaces (X of 「X」とあるのは「Y」, also X and Z of 「X」及び「Z」とあるのは …),
// as the spans inside their brackets. The learner cannot know the wording of another provision, so these stay shown;
// the new wording Y, often the rule itself (「株主総会」とあるのは「取締役会」), may be asked.
Spans replacedWordings(const QString& text);
// Whether the span overlaps one of the spans.
bool overlapsAny(const passage::Span& span, const Spans& spans);

// Where each answer is blanked when the answers are replaced in list order, as the quiz screen replaces them.
QList<Spans> blankedSpans(const QString& display, const QStringList& answers);

// The most blanks standing in one list: members joined by 、, 及び, 又は, 並びに, 若しくは, or the lines of items, with
// no more than a few words between the blanks besides parenthesised remarks.
int mostBlanksInOneList(const QString& display, const QList<Spans>& spans);

// Whether the numbers run in reading order: the first blank of each answer comes after the first blank of every
// lower-numbered one, except where the lower-numbered answer holds the higher-numbered (取締役会 before 取締役).
bool inReadingOrder(const QList<Spans>& spans, const QStringList& answers);

// The three heading lines of a question as the quiz screen shows them: 編 章, 定義, 節 款 条.
QStringList headingLines(const store::Question& q);

// The answers the headings give away while the question is open (the screen blanks them as it blanks the passage):
// one that stands in the 編, 章 or 節 title, which the learner chose on the menu, and one blanked inside a longer
// word of a heading line, where the rest of the word tells it (株主 in （株主総会の招集）).
QStringList headingLeaks(const store::Question& q, const QStringList& answers, const Vocabulary& vocabulary);

// Whether a heading line, the word blanked in it, shows it inside a fixed phrase that tells it as the phrase would in
// the passage (株式買取請求 in （反対株主の株式買取請求））. Such a word is asked only where the question would
// otherwise ask nothing but formula words.
bool toldByHeading(const store::Question& q, const QString& word, const Vocabulary& vocabulary);

// The stems of answers that the headings show while the answers are blanked: the leading kanji of an answer that
// goes on as a verb or an adverb (two or more kanji, then kana other than の or ごと) standing in a heading line,
// which names what the blank holds (（…の対抗要件） over 対抗することができない, （適用除外） over 適用しない,
// （債権者の 異議） over 異議を述べる). A noun phrase (株式の併合, 株主総会ごと) is no stem of that kind: its first
// noun says little.
QStringList headingStems(const store::Question& q, const QStringList& answers);

// The answers that only restate the last word of a name the passage defines (「Y」という) and that another answer
// asks: once that blank is filled, the name tells them (割当て of 株式無償割当て, 質権者 of 登録株式質権者).
QStringList restatedByName(const QString& display, const QStringList& answers);

// Whether the blanked text shows the word plainly, standing alone somewhere (a question asked right after it is
// answered by it).
bool showsPlainly(const QString& shown, const QString& word, const Vocabulary& vocabulary);

} // namespace content
