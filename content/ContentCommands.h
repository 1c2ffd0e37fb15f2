#pragma once

#include "ContentDatabase.h"
#include "ContentFolder.h"
#include "ContentLint.h"

#include <QByteArray>
#include <QString>
#include <optional>

class QTextStream;

// The work of each subcommand of harunire-km-content. Each returns the exit status: 0 done, 1 failed (one line on
// err, nothing written) or, for lint, findings (one line each on out).
namespace content::commands {

// The Act, its tables, the glossary and the exam facts of the folder → question table (written whole or not at
// all).
int generate(const ContentFolder& folder, const QString& output, QTextStream& out, QTextStream& err);

// question table (with the reveal log an exported record carries) + table of contents → question file.
int build(const QString& questions, const QString& toc, const QString& output, const QByteArray& key, Progress progress,
          QTextStream& out, QTextStream& err);

// The questions, tiers and table of contents of a newer question file (from) into a learner's file (into), keeping
// the learner's 済, 直近 and 要復習 by Ｎｏ and the whole reveal log: new questions are added, changed ones take their
// new text, gone ones leave (see buildDatabase for the Ｎｏ of files made before paragraphs were asked in parts).
// Progress that finds no question is named in one line on err; the exit status stays 0.
int merge(const QString& from, const QString& into, const QByteArray& key, QTextStream& out, QTextStream& err);

// A question table (with the folder's table of contents) or a question file (with its own 目次), against the Act,
// the glossary and the exam facts of the folder.
int lint(const QString& file, const ContentFolder& folder, const QByteArray& key, QTextStream& out, QTextStream& err);

// The measures of a question table or file (reviewQuestions) on out, then the sample of its questions as the quiz
// screen shows them. Exit status 0 whatever the measures are.
// The sample report prints: how many questions, of which tier (all when empty), drawn at random with the seed, or
// spread evenly without one.
struct SampleOptions
{
    int count = 0;
    QString tier;
    std::optional<quint32> seed;
};

int report(const QString& file, const ContentFolder& folder, const QByteArray& key, const SampleOptions& sample,
           QTextStream& out, QTextStream& err);

// question file → the learner's record: the question table with 重要度, 済, 直近 and 要復習, and the reveal log after
// it; to out when output is empty.
int exportTable(const QString& database, const QString& output, const QByteArray& key, QTextStream& out,
                QTextStream& err);

// Whether the file is a question table (named .tsv, or starting with its header) rather than a database.
bool isQuestionTable(const QString& path);

} // namespace content::commands
