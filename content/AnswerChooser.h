#pragma once

#include "BlankRules.h"
#include "Glossary.h"
#include "QualityLimits.h"
#include "store/Question.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace content {

// What the answers of one question are chosen for.
struct AnswerContext
{
    QString display; // the passage as the quiz screen lays it out
    // 編, 章, 節, 款, 条 and 定義 as the question will carry them (the headings the screen shows).
    store::Question headings;
    // Taken first wherever the rules allow: the classic exam facts of this passage, and in a part after the first the
    // figures the parts before it asked in the sentences this one repeats.
    QStringList pinned;
    // Where the part's own items begin in display; words standing only before it (in sentences that every part of
    // the paragraph repeats) are taken after the others. 0 for a paragraph asked whole.
    qsizetype focus = 0;
    // A part after the first, whose sentences the first part asks already: their words only where the part's items
    // give nothing.
    bool repeatsLead = false;
    // The part before, as the quiz screen showed it (blanked): a word it showed plainly is not asked right after.
    QString before;
};

// Chooses the answer words of one passage from the glossary.
//
// Terms are tried in order of preference: the pinned words first; then the figures (figureSpans) wherever they stand;
// then by level; numbers (割合, 期間, 数額) before penalties and legal effects, those before organs and offices, those
// before the rest; then the rarer in the corpus before the more common, since a rare term says more about its
// passage; then the longer before the shorter. Fixed phrases are never taken, filler words (level 3) only where
// nothing else can be: a paragraph whose headings already tell all its other words (株式会社は、株式の併合をすることが
// できる。 under 第五節 株式の併合等); a word that a fixed phrase of a heading tells (株式買取請求 under （反対株主の
// 株式買取請求）) only where nothing but formula words is taken otherwise. A part after the first asks the sentences it
// repeats only where its own items give fewer than three answers. A term is taken in its asked form (askedForm) when,
// with the answers taken before it, the question keeps every rule:
//  - every answer leaves a blank, every place it blanks stands alone (standsAlone), and not all of them lie inside
//    fixed phrases (閲覧又は謄写, において準用する …) that give the word away;
//  - no blank falls inside a wording that a replacement clause replaces (replacedWordings);
//  - no answer only restates the last word of a name the passage defines and another answer asks (restatedByName);
//  - no list has three or more of its members blanked;
//  - the numbers run in reading order, an answer holding another coming before it;
//  - no heading gives an answer away (headingLeaks) or shows its stem (headingStems);
//  - the part before did not show it plainly.
// At most QualityLimits::maxAnswers are taken.
class AnswerChooser
{
public:
    // corpus: the texts in which the rarity of each term is counted (one count per text holding it).
    AnswerChooser(const QList<Term>& terms, const QStringList& corpus);

    // The answers, in the order of their numbers; empty when no term of the glossary can be blanked.
    QStringList choose(const AnswerContext& context) const;

    const Vocabulary& vocabulary() const { return m_vocabulary; }

private:
    Vocabulary m_vocabulary;
    QList<Term> m_candidates; // the answer words, in order of preference
};

} // namespace content
