#pragma once

#include "Glossary.h"
#include "Statute.h"
#include "store/Question.h"

#include <QHash>
#include <QList>
#include <QString>

namespace content {

// The caption shown with each article (定義): its own caption; else the caption printed before it in the same
// division (articles that share a caption); else, for the first article of a division, the division's title, which
// serves as its caption (第二十五条 under 第一節 総則 → （総則）). Keyed by paragraphNumber of the article's first
// paragraph.
QHash<qint64, QString> articleCaptions(const QList<Paragraph>& act);

// The questions of the Act in its order: for each paragraph, one question per passage part (partsOf) that holds a
// glossary term that can be blanked, numbered by questionNumber. The same inputs always give the same questions.
QList<store::Question> generateQuestions(const QList<Paragraph>& act, const QList<Term>& glossary,
                                         const QList<ExamFact>& facts);

} // namespace content
