#pragma once

#include "ContentDatabase.h"
#include "ContentLint.h"

#include <QByteArray>
#include <QString>

class QTextStream;

// The work of each subcommand of harunire-km-content. Each returns the exit status: 0 done, 1 failed (one line on
// err, nothing written) or, for lint, findings (one line each on out).
namespace content::commands {

// statute + glossary → question table (written whole or not at all).
int generate(const QString& statute, const QString& terms, const QString& output, QTextStream& out,
             QTextStream& err);

// question table + table of contents → question file.
int build(const QString& questions, const QString& toc, const QString& output, const QByteArray& key,
          Progress progress, QTextStream& out, QTextStream& err);

// The questions and table of contents of a newer question file (from) into a learner's file (into), keeping the
// learner's 済 and 直近 by Ｎｏ: new questions are added, changed ones take their new text, gone ones leave.
int merge(const QString& from, const QString& into, const QByteArray& key, QTextStream& out, QTextStream& err);

// A question table (with the table of contents toc) or a question file (with its own 目次), against the statute.
int lint(const QString& file, const QString& toc, const QString& statute, const QByteArray& key,
         const LintOptions& options, QTextStream& out, QTextStream& err);

// question file → question table with the flags; to out when output is empty.
int exportTable(const QString& database, const QString& output, const QByteArray& key, QTextStream& out,
                QTextStream& err);

// Whether the file is a question table (named .tsv, or starting with its header) rather than a database.
bool isQuestionTable(const QString& path);

} // namespace content::commands
