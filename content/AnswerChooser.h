#pragma once

#include "BlankRules.h"
#include "Glossary.h"
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
    QStringList pinned; // classic exam facts of this passage, taken first wherever the rules allow
    // Where the part's own items begin in display; words standing only before it (in sentences that every part of
    // the paragraph repeats) are taken after the others. 0 for a paragraph asked whole.
    qsizetype focus = 0;
    // A part after the first, whose sentences the first part asks already: their words only where the part's items
    // give nothing.
    bool repeatsLead = false;
};

// Chooses the answer words of one passage from the glossary.
//
// Terms are tried in order of preference: classic exam facts of the passage first; then by level; numbers (割合,
// 期間, 数額) before penalties and legal effects, those before organs and offices, those before the rest; then the
// rarer in the corpus before the more common, since a rare term says more about its passage; then the longer before
// the shorter. Fixed phrases are never taken, filler words (level 3) only where nothing else can be: a paragraph
// whose headings already tell all its other words (株式会社は、株式の併合をすることができる。 under 第五節 株式の
// 併合等). A term is taken when, with the answers taken before it, the question keeps every rule:
//  - every answer leaves a blank, every place it blanks stands alone (standsAlone), and not all of them lie inside
//    fixed phrases (閲覧又は謄写, において準用する …) that give the word away;
//  - no blank falls inside the quoted wording of a replacement clause;
//  - no list has three or more of its members blanked;
//  - the numbers run in reading order, an answer holding another coming before it;
//  - no heading gives an answer away (headingLeaks).
// At most maxAnswers are taken. A passage with no term left (one that only rewords other provisions, every word
// inside its quotes) blanks the first provision it names.
class AnswerChooser
{
public:
    static constexpr int maxAnswers = 5;

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
