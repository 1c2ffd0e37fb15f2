#pragma once

#include "BlankRules.h"
#include "ContentTsv.h"
#include "Glossary.h"
#include "Statute.h"

#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

namespace content {

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
    int paragraphs = 0;
    int paragraphsWithoutQuestion = 0;
    int items = 0;
    int itemsMissing = 0; // items no question of their paragraph shows, as the Act prints them
    int subItems = 0;
    int subItemsMissing = 0;
    int longestCharacters = 0;
    int longestRows = 0;
    QString longestAt;
    int overBox = 0;           // passages longer than the box shows (boxRows, boxCharacters)
    int fillerOnly = 0;        // measured only: a paragraph whose headings tell every other word may have nothing else
    int quoteBlankAnswers = 0; // answers blanked inside the quoted wording of a replacement clause
    int quoteBlankQuestions = 0;
    int longLists = 0;  // questions with three or more blanks in one list
    int outOfOrder = 0; // questions numbered out of reading order
    int numericAnswers = 0;
    int facts = 0;
    int factsAsked = 0;
    // One line for every question, paragraph, item or fact that breaks a rule that must hold throughout.
    QStringList findings;
};

// Measures the questions against the Act, the glossary and the classic exam facts. A filler answer is a word of
// level 3, a fixed phrase, a word not in the glossary, one blanked only inside fixed phrases, or one standing in the
// range titles (編, 章, 節).
Review reviewQuestions(const QList<QuestionRecord>& questions, const QString& source, const StatuteIndex& act,
                       const Vocabulary& vocabulary, const QList<ExamFact>& facts);

// The measures as a table of lines.
void printReview(const Review& review, QTextStream& out);

// The sample a reviewer reads: count questions spread evenly over the set (the first, then every set size / count
// further), each with its headings and passage blanked as the quiz screen shows them, then its answers.
void printSample(const QList<QuestionRecord>& questions, int count, QTextStream& out);

} // namespace content
