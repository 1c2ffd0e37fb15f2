#pragma once

#include <QString>

namespace store {

// One row of table 問題 as the screens read it. Nullable text fields read as empty text.
struct Question
{
    qint64 no = 0;
    QString hen;    // 編
    QString sho;    // 章
    QString setsu;  // 節 (Null → empty)
    QString kan;    // 款 (Null → empty)
    QString jo;     // 条
    QString teigi;  // 定義 (Null → empty)
    QString mondai; // 問題
    QString kaitou; // 回答
    int done = 0;   // 済
    int recent = 0; // 直近

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
