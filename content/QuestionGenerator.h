#pragma once

#include "Glossary.h"
#include "ImportanceTiers.h"
#include "Statute.h"
#include "store/Question.h"

#include <QList>
#include <QString>

namespace content {

// The questions of the Act in its order: for each paragraph, one question per passage part (partsOf) that holds a
// glossary term that can be blanked, numbered by questionNumber, with the article's caption. A part after the first
// asks again the figures the parts before it asked (a figure once asked is never shown plainly in the repeated
// sentences) and nothing the part right before it showed plainly. The same inputs always give the same questions.
// Each question's tier (重要度) is A where it asks a classic exam fact of its passage, else what the tier table gives
// its paragraph.
QList<store::Question> generateQuestions(const QList<Paragraph>& act, const QList<Term>& glossary,
                                         const QList<ExamFact>& facts, const ImportanceTiers& tiers = {});

} // namespace content
