#pragma once

// A content folder holding a small Act for the content tests, and the questions generate makes of it.
#include "content/ContentFolder.h"
#include "content/Glossary.h"

#include <QFile>
#include <QTest>

namespace samples {

// A table from lines whose fields are kept apart by '|'.
inline QByteArray tsv(const QStringList& lines)
{
    return (lines.join(u'\n').replace(u'|', u'\t') + u'\n').toUtf8();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), qPrintable(path));
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The glossary: term|category|level. 設立, 組織, 運営 and 管理 rank alike and stand in one list, of which two may be
// blanked: their wording decides which.
inline const QStringList terms =
    QStringLiteral("設立|手続|2 組織|一般|2 運営|一般|2 管理|手続|2 会社|会社|3 法人|一般|2 本店|一般|2 所在地|一般|2 "
                   "株主総会|機関|1 決議|手続|2 定款の変更|手続|1 取締役|機関|1 招集|手続|2 取締役会設置会社|会社|1 "
                   "取締役会|機関|1 外国会社|会社|1 日本における代表者|当事者|2")
        .split(u' ');

// The Act: 第一条 and 第二条 (two paragraphs, no heading of its own) in 第一編第一章; 第二百九十五条 in a section, its
// first paragraph with a sub-item list, its second with a two-column item; 第八百十七条 in 第六編 (no chapters, no
// heading). Its tables (captions for the two articles without one, tiers), a glossary (the sample's unless given),
// two exam facts, a 目次, and in questions.tsv what generate makes of them.
inline void writeFolder(const QString& path, const QStringList& glossary = terms)
{
    const QString meetings = "第二編 株式会社|第四章 機関|第一節 株主総会及び種類株主総会等";
    const QString general = "第一編 総則|第一章 通則|||";
    const QString meeting = meetings + "|第一款 株主総会|";
    const QString foreign = "第六編 外国会社||||";
    const QStringList text = {
        "会社の設立、組織、運営及び管理については、この法律の定めるところによる。",
        "会社は、法人とする。",
        "会社の住所は、その本店の所在地にあるものとする。",
        "株主総会は、次に掲げる事項について決議をすることができる。",
        "次の各号に掲げる場合には、当該各号に定める者が株主総会を招集する。",
        "外国会社は、日本において取引を継続してしようとするときは、日本における代表者を定めなければならない。"};
    const content::ContentFolder folder(path);
    writeFile(folder.articles(),
              tsv({"seq|article|article_key|paragraph|heading|part|chapter|section|subsection|text|items",
                   "1|第一条|1|1|（趣旨）|" + general + text[0] + "|", "2|第二条|2|1||" + general + text[1] + "|",
                   "3|第二条|2|2||" + general + text[2] + "|",
                   "4|第二百九十五条|295|1|（権限）|" + meeting + text[3] + "|一 定款の変更 ｜ 二 取締役の選任",
                   "5|第二百九十五条|295|2||" + meeting + text[4] + "|一 取締役会設置会社取締役会",
                   "6|第八百十七条|817|1||" + foreign + text[5] + "|"}));
    writeFile(folder.subItems(),
              tsv({"seq|article|paragraph|item|text", "4|第二百九十五条|1|二|取締役の氏名取締役の員数"}));
    writeFile(folder.itemColumns(),
              tsv({"article|paragraph|item|first|second", "第二百九十五条|2|一|取締役会設置会社|取締役会"}));
    writeFile(folder.subItemLines(), tsv({"article|paragraph|item|label|text", "第二百九十五条|1|二|イ|取締役の氏名",
                                          "第二百九十五条|1|二|ロ|取締役の員数"}));
    writeFile(folder.shortTexts(), tsv({"article|paragraph|item|text"}));
    // The caption of 第一条 carries over to 第二条; the title of 第六編 serves as the caption of 第八百十七条.
    writeFile(folder.captions(), tsv({"article|caption|reason", "第二条|（趣旨）|第一条の見出しを共有する",
                                      "第八百十七条|（外国会社）|第六編の題名が見出しを兼ねる"}));
    writeFile(folder.formulaOnly(), tsv({"paragraph|reason"}));
    // 第八百十七条 asks its exam fact: A whatever its range says.
    writeFile(folder.tiers(),
              tsv({"from|to|tier|reason", "第一条|第二条|B|総則", "第二百九十五条|第二百九十五条|A|権限",
                   "第八百十七条|第八百十七条|C|外国会社", "第二条第二項|第二条第二項|C|住所"}));
    writeFile(folder.terms(), tsv(QStringList{"term|category|level"} + glossary));
    writeFile(folder.examFacts(), tsv({"paragraph|item|term|note", "第二百九十五条第一項|一|定款の変更|総会の決議事項",
                                       "第八百十七条||日本における代表者|外国会社の代表者"}));
    writeFile(folder.contents(),
              tsv({"part|chapter|section|section_no|first_article|last_article", meetings + "|1||"}));
    writeFile(folder.questions(),
              tsv({"Ｎｏ|編|章|節|款|条|定義|問題|回答|重要度",
                   "1000100|" + general + "第一条|（趣旨）|" + text[0] + "|組織,管理|B",
                   "2000100|" + general + "第二条第一項|（趣旨）|" + text[1] + "|法人|B",
                   "2000200|" + general + "第二条第二項|（趣旨）|" + text[2] + "|本店,所在地|C",
                   "295000100|" + meeting + "第二百九十五条第一項|（権限）|" + text[3] +
                       "\\n一 定款の変更\\n二 取締役の選任\\n　イ 取締役の氏名\\n　ロ 取締役の員数|決議,定款の変更|A",
                   "295000200|" + meeting + "第二百九十五条第二項|（権限）|" + text[4] +
                       "\\n一 取締役会設置会社　取締役会|招集,取締役会設置会社,取締役会|A",
                   "817000100|" + foreign + "第八百十七条|（外国会社）|" + text[5] + "|日本における代表者|A"}));
}

} // namespace samples
