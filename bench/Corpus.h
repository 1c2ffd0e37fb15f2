#pragma once

#include "store/DatabaseBuilder.h"

#include <QByteArray>
#include <QString>

// Question files of any size for the benchmark: the eight parts of the Act with their chapters and sections, passages
// of 200 to 600 characters built from the Act's vocabulary with two to five answers each, a 目次 to match, and
// progress flags as a learner part-way through the Act leaves them: the first third of the questions revealed in this
// run (済 = 直近 = 1), and about four in ten of the rest revealed in an earlier run (済 = 1).
namespace bench {

struct CorpusShape
{
    int questions = 0;
    int tocRows = 0;
    qint64 bytes = 0;
};

// Writes a new question file at `path` (which must not exist) with `count` questions. The same count always gives
// the same file content.
CorpusShape writeCorpus(const QString& path, int count, const QByteArray& key);

// The range the drill operations of the benchmark run on: a chapter of the largest part, all its sections.
inline const QString drillPart = QStringLiteral("第二編 株式会社");
inline const QString drillChapter = QStringLiteral("第四章 機関");

} // namespace bench
