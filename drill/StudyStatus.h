#pragma once

#include "store/QuestionStore.h"

#include <QDate>
#include <QList>
#include <QString>

namespace drill {

// How far the learner has come, as the 学習状況 window shows it: read afresh from the file each time it opens.
struct StudyStatus
{
    // One part or chapter: all its questions, and those of tier A.
    struct Row
    {
        QString title;
        store::Tally all;
        store::Tally tierA;
    };

    static constexpr int kDays = 30;

    bool hasTiers = false; // the file gives tiers: tier A is shown beside every row
    bool hasMarks = false; // the file holds marks: 要復習 is a part of every bar
    QList<Row> parts;      // every part of the Act, in the menu's order
    QString chapterPart;   // the part whose chapters follow (the one picked on the menu); empty when none is
    QList<Row> chapters;
    QDate today;
    QList<int> days;      // questions revealed on each of the last kDays days, the oldest first and today last
    QString rangeTitle;   // the range picked on the menu, in one line
    int rangeNotDone = 0; // its questions not done yet (済 = 0)

    int revealsInPeriod() const;
    // Days the range's questions not done yet would take at the pace of the last kDays days; -1 without a reveal.
    int daysToFinish() const;
};

StudyStatus readStudyStatus(store::QuestionStore& store, const store::Range& range, const QDate& today);

// "済 120　要復習 5　未 300 ／ 425 問" (without 要復習 where the file holds no marks).
QString countsText(const store::Tally& tally, bool withMarks);
// The pace of the last days and what it means for the range, in one or two sentences.
QString paceText(const StudyStatus& status);
// Every figure of the window as lines of text, for a screen reader and for the tests.
QString statusText(const StudyStatus& status);

} // namespace drill
