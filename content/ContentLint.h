#pragma once

#include "ContentReview.h"
#include "ContentTsv.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace content {

// The content to check, and the names its findings are reported under.
struct LintInput
{
    QString questionSource; // questions.tsv, or the database file
    QString contentsSource; // toc.tsv, or the database file
    QList<QuestionRecord> questions;
    QList<ContentsRecord> contents;
};

// Every quality check of the shipped content, one line per finding; nothing when all is well.
//  - the rules of teaching (reviewQuestions), each question as the quiz screen shows it: no heading gives an answer
//    away or shows its stem, 定義 is the article's caption, every paragraph has a question and every item and
//    sub-item is shown, no passage needs more lines than the box shows, no answer names a provision, none blanks
//    inside a replaced wording or three members of one list, the numbers run in reading order, no part asks what the
//    part before showed plainly or shows a figure an earlier part asked, a formula-only question has its reason in
//    formula_only.tsv, every classic exam fact is a blank; and over the set, no more figures left shown and no more
//    formula-only questions than the limits allow;
//  - required fields present, flags 0 or 1, line breaks CR LF;
//  - 編 and 章 from the program's chapter table or, for the chapters it lacks, from the Act; 条 a paragraph of the
//    Act, naming the paragraph where the article has several; 編 章 節 款 as the Act has them;
//  - Ｎｏ unique, ascending in the file and in the order of the Act, and the Ｎｏ of the paragraph its 条 names
//    (questionNumber), never the number a paragraph had before questions were numbered in parts;
//  - one to maxAnswers answers, each a possible answer word that occurs in the laid-out passage and leaves its
//    blank marker after the replacement in list order;
//  - no two-column items shown run together;
//  - enough questions in all and per chapter, or one per paragraph where a chapter has fewer paragraphs;
//  - every section of 目次 drilled, and every 節 of a question in 目次.
// programChapters: also count the chapters of the program's own table that the statute given does not hold (a
// statute extract leaves them out).
QStringList lintContent(const LintInput& input, const Standards& standards, bool programChapters = true);

} // namespace content
