#pragma once

// Tables of the learner's progress beside the flags of 問題. Programs before them never look at them, and files
// without them work as before: the program creates each with its first write of it.
namespace store::progress {

// 要復習: the questions the learner marked with X as not known yet, and the day each was marked (YYYY-MM-DD).
inline constexpr const char* kCreateMarks =
    "CREATE TABLE IF NOT EXISTS 要復習 (Ｎｏ INTEGER PRIMARY KEY, 日付 TEXT NOT NULL)";

// 解答記録: how many questions were revealed on each day (YYYY-MM-DD), local time.
inline constexpr const char* kCreateLog =
    "CREATE TABLE IF NOT EXISTS 解答記録 (日付 TEXT PRIMARY KEY, 解答数 INTEGER NOT NULL)";

// 集計: how many questions each part and chapter holds and how many of them are done (済 = 1), tier A (重要 = 1)
// apart from the rest, and the lowest Ｎｏ of each, for their order. The builder makes it with triggers that keep it
// right through every write to 問題, whatever program makes the write; a file without it, or whose triggers are gone,
// is counted afresh.
inline constexpr const char* kTallyName = "集計";
inline constexpr const char* kTallyTriggers[] = {"集計_済", "集計_追加", "集計_削除", "集計_移動"};

} // namespace store::progress
