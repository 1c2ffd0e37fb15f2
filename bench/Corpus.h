#pragma once

#include "store/DatabaseBuilder.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// Question files of any size for the benchmark: the eight parts of the Act with their chapters and sections, passages
// of 200 to 600 characters built from the Act's vocabulary with two to five answers each, a 目次 to match, an
// importance tier for each question (about a quarter A, in runs, most of them in the chapters the exam asks), and
// progress as a learner part-way through the Act leaves it: the first third of the questions revealed in this run
// (済 = 直近 = 1), about four in ten of the rest revealed in an earlier run (済 = 1); one in ten of those revealed in
// this run marked 要復習 (済 = 0) and one in twenty of the others that are not done marked in an earlier run; and a
// reveal log of the last 120 days up to corpusDay, today's included.
namespace bench {

struct CorpusShape
{
    int questions = 0;
    int tocRows = 0;
    int tierA = 0;
    int marks = 0;
    int logDays = 0;
    qint64 bytes = 0;
};

// The day the learner of the files drills on: the last day of their reveal log. The benchmark's session runs on it.
inline const QDate corpusDay = QDate(2026, 12, 7);

// Writes a new question file at `path` (which must not exist) with `count` questions. The same count always gives
// the same file content.
CorpusShape writeCorpus(const QString& path, int count, const QByteArray& key);

// The range the drill operations of the benchmark run on: a chapter of the largest part, all its sections.
inline const QString drillPart = QStringLiteral("第二編 株式会社");
inline const QString drillChapter = QStringLiteral("第四章 機関");

} // namespace bench
