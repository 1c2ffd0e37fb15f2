#pragma once

#include <QString>

namespace store {

// One row of table 問題 as the screens read it. Nullable text fields read as empty text.
struct Question
{
    qint64 no = 0;
    QString part;       // 編
    QString chapter;    // 章
    QString section;    // 節 (Null → empty)
    QString subsection; // 款 (Null → empty)
    QString article;    // 条
    QString caption;    // 定義 (Null → empty)
    QString passage;    // 問題
    QString answers;    // 回答
    int done = 0;       // 済
    int recent = 0;     // 直近
    QString tier;       // 重要度: "A", "B" or "C"; empty in a file without the column
    QString markedOn;   // 要復習: the day X marked it (YYYY-MM-DD); empty when it is not marked

    bool operator==(const Question&) const = default;
};

// The passage and answers of the question just revealed, and its record as it was before.
struct Revealed
{
    QString passage; // 問題
    QString answers; // 回答
    int doneBefore = 0;
    int recentBefore = 0;
    QString markedBefore; // the day of its 要復習 mark; empty when it had none
};

// The first item of every selector of the range: no restriction at that level.
inline const QString kAll = QStringLiteral("すべて");

// The range chosen on the menu: the texts picked in the three selectors ("すべて" leaves a level open, an empty
// text is nothing picked) and the options that narrow it.
struct Range
{
    QString part;
    QString chapter;
    QString section;
    bool excludeSeen = false;   // 今まで見た問題を外す: leaves out the questions with 済 = 1
    bool importantOnly = false; // 重要問題だけ: tier A alone, where the file has tiers
    bool markedOnly = false;    // 要復習だけ: the marked questions alone; excludeSeen has no effect then

    bool operator==(const Range&) const = default;
};

} // namespace store
