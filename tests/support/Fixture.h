#pragma once

#include "store/DatabaseBuilder.h"
#include "store/Question.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace fixture {

// A fresh temporary folder, made the current directory for the lifetime of the object.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // The question file by its bare name in this folder.
    QString database() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

QByteArray key();

store::Question question(qint64 no, const QString& hen, const QString& sho, const QString& mondai,
                         const QString& kaitou, const QString& setsu = {});

// Writes an encrypted question file with exactly these rows.
void writeDatabase(const QString& path, const QList<store::Question>& questions,
                   const QList<store::ContentsEntry>& contents = {}, const QByteArray& key = fixture::key());

// Runs SQL on a keyed file (to plant Nulls, drop a table, set flags).
void exec(const QString& path, const QString& sql, const QByteArray& key = fixture::key());

struct FlagRow
{
    qint64 no = 0;
    int done = 0;
    int recent = 0;
    bool operator==(const FlagRow&) const = default;
};
// Ｎｏ, 済 and 直近 of every row, in stored order.
QList<FlagRow> readFlags(const QString& path, const QByteArray& key = fixture::key());

// About ten questions across two parts and three chapters, with sections in one of them, and a 目次 to match.
QList<store::Question> sampleQuestions();
QList<store::ContentsEntry> sampleContents();

} // namespace fixture

char* toString(const fixture::FlagRow& row);
