#pragma once

#include "store/DatabaseBuilder.h"
#include "store/Question.h"

#include <QList>
#include <QString>

namespace content {

// A malformed input line, with its 1-based line number.
struct TsvError
{
    QString file;
    int line = 0;
    QString message;
    QString toString() const;
};

// Escapes of a field: "\n" stands for a line break of the passage (CR LF in the file), "\t" for a tab and "\\" for
// a backslash. Nothing else is escaped.
QString unescapeField(const QString& field);
QString escapeField(const QString& text);

// questions.tsv: header "Ｎｏ 編 章 節 款 条 定義 問題 回答", optionally followed by "済 直近".
QList<store::Question> readQuestions(const QString& path, QList<TsvError>& errors);
// toc.tsv: header "part chapter section section_no first_article last_article".
QList<store::ContentsEntry> readContents(const QString& path, QList<TsvError>& errors);

} // namespace content
