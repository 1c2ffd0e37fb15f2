#pragma once

#include "ContentTsv.h"
#include "Statute.h"

#include <QList>
#include <QString>
#include <QStringList>

// The curated answer words (terms.tsv): term, category, level; and the classic exam facts that must be asked
// (exam_facts.tsv).
namespace content {

struct Term
{
    QString text;
    QString category;
    // 1: a key word of the exam; 2: a standard term; 3: a filler word that the grammar or the context gives away
    // (会社, 通知, 請求 …), never blanked.
    int level = 2;
    int line = 0;
};

// The categories: numbers (majorities and fractions, periods, amounts), penalties, legal effects, organs and offices,
// kinds of company, documents, property and shares, acts and procedures, rights and duties, parties, general words,
// and fixed phrases (定型: wordings such as 閲覧又は謄写 that give away the words inside them; never answers
// themselves, and no word is blanked where it stands inside one).
const QStringList& glossaryCategories();
// 割合, 期間 and 数額: the numbers learners must know.
bool isNumberCategory(const QString& category);
bool isFixedPhrase(const QString& category);
// The order in which the categories are preferred as answers: numbers, then penalties and legal effects, then
// organs and offices, then the rest.
int categoryRank(const QString& category);
// A word the grammar or the range gives away.
inline bool isFiller(const Term& term)
{
    return term.level == 3;
}

// The words that make a formula, not a rule of their own (準用する, 適用しない …): a question asking nothing else is
// formula-only.
const QStringList& formulaWords();

// Why a word cannot be an answer, or empty when it can: an answer must not be empty, hold a blank (but for the column
// blank it may carry first), a comma or a marker bracket, nor consist of digits only, or it could touch or break a
// blank marker.
QString answerWordProblem(const QString& word);

// The form in which a term is asked. A bare numeral (六, the multiplier of an item) is asked with the column blank
// before it, 「　六」, the text that makes it stand alone: the quiz screen blanks every occurrence of an answer, and
// the numerals of provisions (第四百二十三条) must keep their digits.
QString askedForm(const QString& term);

// Reads terms.tsv; unknown categories, bad levels, words that cannot be answers and repeated terms are errors.
QList<Term> readGlossary(const QString& path, QList<TsvError>& errors);

// A classic exam fact: the word that must be a blank in the question of a paragraph (and of its item, where the
// paragraph is asked in parts).
struct ExamFact
{
    QString paragraph; // 条 as the questions name it: 第三十三条第十項, 第二条
    QString item;      // 六, or empty
    QString term;
    QString note; // what the fact is, for the reader
    int line = 0;
};

// Reads exam_facts.tsv (paragraph item term note). A term may be a word of the glossary, not a filler or a fixed
// phrase, or a rule word of that paragraph alone (返還しなければならない, 全員の承認): one that would be predictable
// or noise wherever else it stands (行使することができない, 株式の数) is asked only where a fact names it.
QList<ExamFact> readExamFacts(const QString& path, const QList<Term>& glossary, QList<TsvError>& errors);

} // namespace content
