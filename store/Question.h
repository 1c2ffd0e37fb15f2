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

// The first item of every selector of the range: no restriction at that level.
inline const QString kAll = QStringLiteral("すべて");

// The range chosen on the menu: the texts picked in the three selectors ("すべて" leaves a level open, an empty
// text is nothing picked) and whether the questions seen before are left out.
struct Range
{
    QString part;
    QString chapter;
    QString section;
    bool excludeSeen = false;

    bool operator==(const Range&) const = default;
};

} // namespace store
