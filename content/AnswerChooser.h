#pragma once

#include "Glossary.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace content {

// Chooses the answer words of one passage from the glossary.
//
// Terms are tried in order of preference: by level; numbers (割合, 期間, 数額) before words; then the rarer in the
// corpus (the passages of the whole Act) before the more common, since a rare term says more about its passage;
// then the longer before the shorter. A term is taken
// when, with the answers taken before it, every answer still leaves its blank after the replacement in list order,
// and every place it blanks is a word of its own: not part of a longer glossary term found in the passage (取締役 in
// 取締役会) and not glued to a kanji that continues it (十日 in 二十日, 株主 in 総株主). Where a term lies inside
// another answer, the longer answer comes first, so the shorter one only blanks the places where it stands alone.
// The answers are numbered in reading order as far as that rule allows.
class AnswerChooser
{
public:
    static constexpr int maxAnswers = 5;

    // corpus: the texts in which the rarity of each term is counted (one count per text holding it).
    AnswerChooser(QList<Term> terms, const QStringList& corpus);

    // The answers for a passage as the quiz screen lays it out, in the order of their numbers; empty when no term of
    // the glossary can be blanked in it.
    QStringList choose(const QString& display) const;

private:
    QList<Term> m_terms;  // in order of preference
};

} // namespace content
