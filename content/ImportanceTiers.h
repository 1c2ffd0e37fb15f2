#pragma once

#include "ArticleNumber.h"
#include "ContentTsv.h"
#include "Statute.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace content {

// The importance tiers of the questions, from the reviewed table tiers.tsv (from to tier reason):
//  A — what the 経営法務 paper asks: the core rules of 設立, 株式 and 種類株式, the design of the organs and each
//      organ's powers, terms, majorities and liabilities, 計算 and 分配可能額, 組織再編 with 簡易・略式, 事業譲渡,
//      特別支配株主の売渡請求, 持分会社; and, whatever its range, every question that asks a classic exam fact;
//  B — the rest of the core chapters;
//  C — the areas the paper rarely asks (清算, 社債, 非訟・登記・公告・解散命令, 罰則, 外国会社) and procedural detail.
// A row names a range of articles (第二十五条 to 第四十条), or one paragraph (from and to both 第三百九条第二項, or
// 第三条第一項 for an article of one paragraph), which takes precedence over the range that holds it. The ranges cover
// every article of the Act once, in its order.
class ImportanceTiers
{
public:
    // Reads the table and checks it against the Act: tiers A, B or C, each row with its reason, the ranges in order,
    // without gaps or overlaps, covering every article; each paragraph row naming a paragraph of the Act once.
    static ImportanceTiers read(const QString& path, const StatuteIndex& act, QList<TsvError>& errors);

    // The tier of a paragraph by the table.
    QString tierOf(const ArticleRef& paragraph) const;

private:
    struct Row
    {
        ArticleRef from;
        ArticleRef to;
        QString tier;
    };
    QList<Row> m_ranges;
    QList<Row> m_paragraphs;
};

} // namespace content
