#pragma once

#include "BlankRules.h"
#include "ContentTsv.h"
#include "Glossary.h"
#include "QualityLimits.h"
#include "Statute.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

class QTextStream;

namespace content {

// What a question set is measured against: the Act, the glossary, the classic exam facts, the paragraphs that may
// ask only a formula word (formula_only.tsv: 条 as the questions name it → the reason) and the limits.
struct Standards
{
    const StatuteIndex& act;
    const Vocabulary& vocabulary;
    const QList<ExamFact>& facts;
    const QHash<QString, QString>& formulaOnly;
    QualityLimits limits = {};
};

// Reads formula_only.tsv (paragraph reason): the paragraphs that only reword or apply other provisions and have
// nothing to ask but the formula, each with the reason.
QHash<QString, QString> readFormulaOnly(const QString& path, QList<TsvError>& errors);

// How well a question set teaches, measured over the whole set as the quiz screen shows it (headings and passage
// blanked alike).
struct Review
{
    int questions = 0;
    int answers = 0;
    int leakQuestions = 0; // a heading gives an answer away (headingLeaks)
    int leakAnswers = 0;
    int answersInHeadingText = 0; // answers standing word for word in a heading before blanking (for comparison)
    int questionsWithAnswerInHeadingText = 0;
    int stemQuestions = 0; // a heading shows the stem of an answer (headingStems)
    int wrongCaptions = 0; // 定義 other than the caption of the article
    int paragraphs = 0;
    int paragraphsWithoutQuestion = 0;
    int items = 0;
    int itemsMissing = 0; // items no question of their paragraph shows, as the Act prints them
    int subItems = 0;
    int subItemsMissing = 0;
    int longestCharacters = 0;
    int longestRows = 0;
    QString longestAt;
    int overBox = 0;          // passages longer than the box shows (boxRows, boxCharacters)
    int fillerOnly = 0;       // measured only: a paragraph whose headings tell every other word may have nothing else
    int formulaOnly = 0;      // questions asking only formula words
    int provisionAnswers = 0; // answers that name a provision (第百五十八条第一項)
    int replacedBlankAnswers = 0; // answers blanked inside a wording a replacement clause replaces
    int replacedBlankQuestions = 0;
    int restatedAnswers = 0;   // answers that a name the passage defines restates (restatedByName)
    int longLists = 0;         // questions with three or more blanks in one list
    int outOfOrder = 0;        // questions numbered out of reading order
    int repeatedAnswers = 0;   // answers of a part that the part right before showed plainly
    int figuresShownAfter = 0; // figures a part shows plainly after an earlier part of its paragraph asked them
    int figures = 0;           // figures standing in the passages (figureSpans)
    int figuresShown = 0;      // of those, left without a blank
    int figureAnswers = 0;     // answers holding a figure
    int facts = 0;
    int factsAsked = 0;
    // Questions by tier (重要度: A, B, C, or empty where the set has none), in all and by chapter (編 / 章) in the
    // order of the set.
    QMap<QString, int> tiers;
    QList<std::pair<QString, QMap<QString, int>>> tiersByChapter;
    // One line for every question, paragraph, item or fact that breaks a rule, and for every limit exceeded.
    QStringList findings;
};

// Measures the questions against the standards. A filler answer is a word of level 3, a fixed phrase, a word not in
// the glossary, one blanked only inside fixed phrases, or one standing in the range titles (編, 章, 節).
Review reviewQuestions(const QList<QuestionRecord>& questions, const QString& source, const Standards& standards);

// The measures as a table of lines, with the limits beside them.
void printReview(const Review& review, const QualityLimits& limits, QTextStream& out);

// The sample a reviewer reads, each question with its headings and passage blanked as the quiz screen shows them,
// then its answers: count questions spread evenly over the set (the first, then every set size / count further), or
// with a seed, count questions drawn at random, the same for the same seed, in the order of the set.
void printSample(const QList<QuestionRecord>& questions, int count, std::optional<quint32> seed, QTextStream& out);

} // namespace content
