#pragma once

#include "ContentTsv.h"

#include <QList>
#include <QString>
#include <QStringList>

// The curated answer words (terms.tsv): term, category, level.
namespace content {

struct Term
{
    QString text;
    QString category;
    // 1: a key word of the exam; 2: a standard term; 3: a general word, used only where a passage holds fewer than
    // two terms of levels 1 and 2.
    int level = 2;
    int line = 0;
};

// The categories: numbers (majorities and fractions, periods, amounts), penalties, organs and offices, kinds of
// company, documents, property and shares, acts and procedures, rights and duties, parties, general words.
const QStringList& glossaryCategories();
// 割合, 期間 and 数額: the numbers learners must know.
bool isNumberCategory(const QString& category);

// Why a word cannot be an answer, or empty when it can: an answer must not be empty, hold a blank, a comma or a
// marker bracket, nor consist of digits only, or it could touch or break a blank marker.
QString answerWordProblem(const QString& word);

// Reads terms.tsv; unknown categories, bad levels, words that cannot be answers and repeated terms are errors.
QList<Term> readGlossary(const QString& path, QList<TsvError>& errors);

} // namespace content
