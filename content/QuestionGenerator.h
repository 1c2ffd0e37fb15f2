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
// serves as its caption (第二十五条 under 第一節 総則 → （総則）). Keyed by questionNumber of the article's first
// paragraph.
QHash<qint64, QString> articleCaptions(const QList<Paragraph>& statute);

// One question for each paragraph whose passage holds a glossary term, in the order of the Act. The same inputs
// always give the same questions.
QList<store::Question> generateQuestions(const QList<Paragraph>& statute, const QList<Term>& glossary);

} // namespace content
