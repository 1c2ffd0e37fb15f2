#include "StudyStatus.h"

#include "ChapterTable.h"
#include "store/QuestionStore.h"

#include <QHash>
#include <cmath>

namespace drill {

namespace {

void add(StudyStatus::Row& row, const store::ChapterProgress& c)
{
    row.all += c.all;
    row.tierA += c.tierA;
}

// The range as the menu picked it, a level with nothing picked yet counting as all of it.
store::Range wholeWhereNothingIsPicked(store::Range range)
{
    if (!chapters::partList().contains(range.part))
        range.part = store::kAll;
    if (range.chapter.isEmpty())
        range.chapter = store::kAll;
    return range;
}

QString titleOf(const store::Range& range)
{
    QString title = range.part == store::kAll ? QStringLiteral("会社法全体") : range.part;
    if (range.part != store::kAll && range.chapter != store::kAll && !range.chapter.isEmpty())
        title += QStringLiteral(" ／ ") + range.chapter;
    if (range.part != store::kAll && range.chapter != store::kAll && !range.section.isEmpty() &&
        range.section != store::kAll)
        title += QStringLiteral(" ／ ") + range.section;
    // The options that narrow the range, as the count of what is left takes them.
    if (range.markedOnly)
        title += range.importantOnly ? QStringLiteral("（要復習の重要問題）") : QStringLiteral("（要復習の問題）");
    else if (range.importantOnly)
        title += QStringLiteral("（重要問題）");
    return title;
}

} // namespace

int StudyStatus::revealsInPeriod() const
{
    int sum = 0;
    for (const int n : days)
        sum += n;
    return sum;
}

int StudyStatus::daysToFinish() const
{
    const int reveals = revealsInPeriod();
    if (reveals == 0)
        return -1;
    return int(std::ceil(double(rangeNotDone) * kDays / reveals));
}

StudyStatus readStudyStatus(store::QuestionStore& store, const store::Range& picked, const QDate& today)
{
    StudyStatus status;
    status.today = today;
    status.hasTiers = store.hasTiers();
    status.hasMarks = store.hasMarks();

    const QList<store::ChapterProgress> progress = store.progressByChapter();
    QHash<QString, qsizetype> partAt;
    for (const QString& part : chapters::partList()) {
        if (part == store::kAll)
            continue;
        partAt.insert(part, status.parts.size());
        status.parts.append({part});
    }
    if (chapters::partList().contains(picked.part) && picked.part != store::kAll) {
        status.chapterPart = picked.part;
        for (const QString& chapter : chapters::chaptersOf(picked.part)) {
            if (chapter != store::kAll)
                status.chapters.append({chapter});
        }
    }
    for (const store::ChapterProgress& c : progress) {
        if (const auto it = partAt.constFind(c.part); it != partAt.constEnd())
            add(status.parts[*it], c);
        if (c.part != status.chapterPart || c.chapter.isEmpty())
            continue;
        auto row = std::find_if(status.chapters.begin(), status.chapters.end(),
                                [&](const StudyStatus::Row& r) { return r.title == c.chapter; });
        if (row == status.chapters.end()) {
            status.chapters.append({c.chapter});
            row = status.chapters.end() - 1;
        }
        add(*row, c);
    }

    status.days = QList<int>(StudyStatus::kDays, 0);
    const QDate first = today.addDays(1 - StudyStatus::kDays);
    for (const store::DayCount& day : store.revealLog(first, today))
        status.days[first.daysTo(day.day)] = day.reveals;

    const store::Range range = wholeWhereNothingIsPicked(picked);
    status.rangeTitle = titleOf(range);
    status.rangeNotDone = store.countRange(range).notDone;
    return status;
}

QString countsText(const store::Tally& tally, bool withMarks)
{
    if (!withMarks)
        return QStringLiteral("済 %1　未 %2 ／ %3 問").arg(tally.done).arg(tally.open()).arg(tally.total);
    return QStringLiteral("済 %1　要復習 %2　未 %3 ／ %4 問")
        .arg(tally.done)
        .arg(tally.marked)
        .arg(tally.open())
        .arg(tally.total);
}

QString paceText(const StudyStatus& status)
{
    const int reveals = status.revealsInPeriod();
    if (reveals == 0)
        return QStringLiteral("この%1日間に解答した問題はありません。").arg(StudyStatus::kDays);
    const QString pace = QStringLiteral("この%1日間の解答 %2 問（1日平均 %3 問）。")
                             .arg(StudyStatus::kDays)
                             .arg(reveals)
                             .arg(QString::number(double(reveals) / StudyStatus::kDays, 'f', 1));
    if (status.rangeNotDone == 0)
        return pace + QStringLiteral("%1 の問題はすべて済です。").arg(status.rangeTitle);
    return pace + QStringLiteral("%1 の未済 %2 問を終えるには、このペースで あと約 %3 日かかります。")
                      .arg(status.rangeTitle)
                      .arg(status.rangeNotDone)
                      .arg(status.daysToFinish());
}

QString statusText(const StudyStatus& status)
{
    QStringList lines;
    const auto rows = [&](const QList<StudyStatus::Row>& list) {
        for (const StudyStatus::Row& r : list) {
            QString line = r.title + QStringLiteral("：") + countsText(r.all, status.hasMarks);
            if (status.hasTiers)
                line += QStringLiteral("（重要 ") + countsText(r.tierA, status.hasMarks) + QStringLiteral("）");
            lines << line;
        }
    };
    lines << QStringLiteral("編ごと");
    rows(status.parts);
    if (!status.chapterPart.isEmpty()) {
        lines << QStringLiteral("章ごと（%1）").arg(status.chapterPart);
        rows(status.chapters);
    }
    QStringList days;
    for (qsizetype i = 0; i < status.days.size(); ++i) {
        if (status.days[i] > 0)
            days << QStringLiteral("%1 %2 問")
                        .arg(status.today.addDays(i + 1 - status.days.size()).toString(QStringLiteral("M/d")))
                        .arg(status.days[i]);
    }
    lines << QStringLiteral("日ごとの解答（この%1日間）：%2")
                 .arg(StudyStatus::kDays)
                 .arg(days.isEmpty() ? QStringLiteral("なし") : days.join(QStringLiteral("、")));
    lines << paceText(status);
    return lines.join(u'\n');
}

} // namespace drill
