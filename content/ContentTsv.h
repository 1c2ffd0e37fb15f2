#pragma once

#include "store/DatabaseBuilder.h"
#include "store/Question.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace content {

// A malformed or unreadable input, with its 1-based line number (0 when the whole file is meant).
struct TsvError
{
    QString file;
    int line = 0;
    QString message;
    QString toString() const;
};

// The first error as one line, with a count of the others.
QString summarize(const QList<TsvError>& errors);

// One data row of a tab-separated file and the line it stands on, its fields found by the names of the header.
class TsvRow
{
public:
    TsvRow(int line, const QStringList& fields, std::shared_ptr<const QHash<QString, qsizetype>> columns)
        : m_line(line), m_fields(fields), m_columns(std::move(columns))
    {
    }

    int line() const { return m_line; }
    // The field under the column of that name (UTF-8); readTsv makes sure every column it was asked for is there.
    QString operator[](const char* column) const;

private:
    int m_line = 0;
    QStringList m_fields;
    std::shared_ptr<const QHash<QString, qsizetype>> m_columns;
};

// Where a table stands in a file that holds two: it begins at the first line, or at the line that equals its
// header (startsAt; no rows when there is none), and ends at the end of the file, or at a line equal to endsAt.
struct TsvSection
{
    QString startsAt;
    QString endsAt;
};

// Reads a UTF-8 tab-separated table whose header begins with the given columns. Every data row must have as many
// fields as the header; empty lines are skipped. Problems go to errors; the header read goes to actualHeader.
QList<TsvRow> readTsv(const QString& path, const QStringList& header, QList<TsvError>& errors,
                      QStringList* actualHeader = nullptr, const TsvSection& section = {});

// Escapes of a field: "\n" stands for a line break of the passage (CR LF in the file), "\t" for a tab and "\\" for
// a backslash. Nothing else is escaped.
QString unescapeField(const QString& field);
QString escapeField(const QString& text);

// A question as read from a table or a database: the row, where it stood, and the fields that were Null.
struct QuestionRecord
{
    store::Question question;
    int line = 0;           // line of the tsv file; 0 for a database row
    QStringList nullFields; // names of the fields that were Null (databases only)
};

// A row of 目次 as read, with the same bookkeeping.
struct ContentsRecord
{
    store::ContentsEntry entry;
    int line = 0;
    QStringList nullFields;
};

const QStringList& questionHeader(); // Ｎｏ 編 章 節 款 条 定義 問題 回答
// The importance tiers a question may have (重要度): A, B, C (see ImportanceTiers).
const QStringList& tierNames();

// A day of the learner's reveal log (解答記録): the day (YYYY-MM-DD) and how many questions were revealed on it.
struct RevealDay
{
    QString day;
    qint64 count = 0;
    bool operator==(const RevealDay&) const = default;
};

// The columns a question table may have after 回答, in any order: 重要度 (A, B, C or empty), the flags 済 and 直近
// (0 or 1), both or neither, and 要復習 (the day the learner marked the question, YYYY-MM-DD, or empty). A column
// left out reads as empty or 0.
const QStringList& optionalColumns();

// The header of the reveal log that a learner's record may carry after its questions, following an empty line:
// 日付 解答数, then one day a line.
const QStringList& revealLogHeader();

// questions.tsv, or an exported record: the question header, then optional columns.
QList<QuestionRecord> readQuestions(const QString& path, QList<TsvError>& errors);
// The reveal log after the questions of an exported record; empty when the table has none. Each day once, a count
// of zero or more.
QList<RevealDay> readRevealLog(const QString& path, QList<TsvError>& errors);
// toc.tsv: header "part chapter section section_no ...".
QList<ContentsRecord> readContents(const QString& path, QList<TsvError>& errors);

// Which columns a question table is written with: the questions as generate makes them (with 重要度), or a
// learner's record as export writes it (with 重要度, 済, 直近 and 要復習, and the reveal log after the questions).
enum class TableColumns { Questions, Record };

// The question table as text: header and one line per question, LF line ends; a record with its reveal log.
QByteArray questionTable(const QList<store::Question>& questions, TableColumns columns,
                         const QList<RevealDay>& log = {});

QList<store::Question> questionsOf(const QList<QuestionRecord>& records);
QList<store::ContentsEntry> entriesOf(const QList<ContentsRecord>& records);

} // namespace content
