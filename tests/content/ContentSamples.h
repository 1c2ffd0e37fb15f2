#pragma once

// Small pieces of the Act, its tables, glossary and question table for the content tests.
#include "content/ContentFolder.h"
#include "content/ContentTsv.h"
#include "content/Glossary.h"
#include "content/Statute.h"

#include <QFile>
#include <QTest>

namespace samples {

inline const QString part1 = QStringLiteral("第一編 総則");
inline const QString chapter1 = QStringLiteral("第一章 通則");
inline const QString part2 = QStringLiteral("第二編 株式会社");
inline const QString organs = QStringLiteral("第四章 機関");
inline const QString meetings = QStringLiteral("第一節 株主総会及び種類株主総会等");

struct Division
{
    QString part = part1;
    QString chapter = chapter1;
    QString section;
    QString subsection;
};

inline const Division meeting{part2, organs, meetings, QStringLiteral("第一款 株主総会")};
inline const Division foreign{QStringLiteral("第六編 外国会社"), {}, {}, {}};

// items: "一 定款の変更" (two columns kept apart by an ideographic blank where restored).
inline content::Paragraph paragraph(const QString& article, int number, const QString& text,
                                    const QStringList& items = {}, const QString& heading = {},
                                    const Division& division = {})
{
    content::Paragraph p;
    p.article = article;
    p.ref = content::parseArticleRef(article).value_or(content::ArticleRef{});
    p.ref.paragraph = number;
    p.heading = heading;
    p.part = division.part;
    p.chapter = division.chapter;
    p.section = division.section;
    p.subsection = division.subsection;
    p.text = text;
    for (const QString& item : items)
        p.items.append({item.section(u' ', 0, 0), item.section(u' ', 1), {}, {}});
    return p;
}

// "term level category", level 1 and 機関 when left out.
inline QList<content::Term> glossary(const QStringList& entries)
{
    QList<content::Term> terms;
    for (const QString& entry : entries) {
        const QStringList f = entry.split(u' ');
        terms.append({f[0], f.value(2, QStringLiteral("機関")), f.value(1, QStringLiteral("1")).toInt(), 0});
    }
    return terms;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray table(const QString& header, const QList<QStringList>& rows)
{
    QString text = header + u'\n';
    for (const QStringList& row : rows)
        text += row.join(u'\t') + u'\n';
    return text.toUtf8();
}

// articles.tsv of the given paragraphs, items run together as the data set has them.
inline QByteArray statuteTable(const QList<content::Paragraph>& paragraphs)
{
    QList<QStringList> rows;
    for (const content::Paragraph& p : paragraphs) {
        const QString key = p.ref.branch > 0 ? QStringLiteral("%1-%2").arg(p.ref.article).arg(p.ref.branch)
                                             : QString::number(p.ref.article);
        QStringList items;
        for (const content::Item& item : p.items)
            items << QString(item.line()).remove(content::columnBlank);
        rows.append({QString::number(rows.size() + 1), p.article, key, QString::number(p.ref.paragraph), p.heading,
                     p.part, p.chapter, p.section, p.subsection, p.text, items.join(QStringLiteral(" ｜ "))});
    }
    return table(QStringLiteral("seq\tarticle\tarticle_key\tparagraph\theading\tpart\tchapter\tsection\tsubsection\t"
                                "text\titems"),
                 rows);
}

inline QByteArray glossaryTable(const QList<content::Term>& terms)
{
    QList<QStringList> rows;
    for (const content::Term& t : terms)
        rows.append({t.text, t.category, QString::number(t.level)});
    return table(QStringLiteral("term\tcategory\tlevel"), rows);
}

inline QByteArray contentsTable(const QList<store::ContentsEntry>& entries)
{
    QList<QStringList> rows;
    for (const store::ContentsEntry& e : entries)
        rows.append({e.part, e.chapter, e.section, QString::number(e.sectionNo), {}, {}});
    return table(QStringLiteral("part\tchapter\tsection\tsection_no\tfirst_article\tlast_article"), rows);
}

// A small Act: 第一編第一章 with three paragraphs, 第二編第四章第一節 with two (one with a sub-item list, one with
// two-column items), and 第六編 (no chapters) with one.
inline QList<content::Paragraph> statute()
{
    return {
        paragraph(QStringLiteral("第一条"), 1,
                  QStringLiteral("会社の設立、組織、運営及び管理については、この法律の定めるところによる。"), {},
                  QStringLiteral("（趣旨）")),
        paragraph(QStringLiteral("第二条"), 1, QStringLiteral("会社は、法人とする。"), {}, QStringLiteral("（通則）")),
        paragraph(QStringLiteral("第二条"), 2, QStringLiteral("会社の住所は、その本店の所在地にあるものとする。")),
        paragraph(QStringLiteral("第二百九十五条"), 1,
                  QStringLiteral("株主総会は、次に掲げる事項について決議をすることができる。"),
                  {QStringLiteral("一 定款の変更"), QStringLiteral("二 取締役の選任")}, QStringLiteral("（権限）"),
                  meeting),
        paragraph(QStringLiteral("第二百九十五条"), 2,
                  QStringLiteral("次の各号に掲げる場合には、当該各号に定める者が株主総会を招集する。"),
                  {QStringLiteral("一 取締役会設置会社　取締役会")}, {}, meeting),
        paragraph(
            QStringLiteral("第八百十七条"), 1,
            QStringLiteral(
                "外国会社は、日本において取引を継続してしようとするときは、日本における代表者を定めなければならない。"),
            {}, QStringLiteral("（外国会社の日本における代表者）"), foreign),
    };
}

// The sample Act as readAct gives it: the sub-items of 第二百九十五条第一項第二号 in place.
inline QList<content::Paragraph> act()
{
    QList<content::Paragraph> paragraphs = statute();
    paragraphs[3].items[1].subItems = {QStringLiteral("イ 取締役の氏名"), QStringLiteral("ロ 取締役の員数")};
    return paragraphs;
}

inline QList<store::ContentsEntry> contents()
{
    return {{part2, organs, meetings, 1}};
}

// A content folder holding the sample Act and its tables, a glossary and no exam facts.
inline void writeFolder(const QString& path, const QList<content::Term>& terms)
{
    const content::ContentFolder folder(path);
    writeFile(folder.articles(), statuteTable(statute()));
    writeFile(folder.subItems(), table(QStringLiteral("seq\tarticle\tparagraph\titem\ttext"),
                                       {{"4", "第二百九十五条", "1", "二", "取締役の氏名取締役の員数"}}));
    writeFile(folder.itemColumns(), table(QStringLiteral("article\tparagraph\titem\tfirst\tsecond"),
                                          {{"第二百九十五条", "2", "一", "取締役会設置会社", "取締役会"}}));
    writeFile(folder.subItemLines(), table(QStringLiteral("article\tparagraph\titem\tlabel\ttext"),
                                           {{"第二百九十五条", "1", "二", "イ", "取締役の氏名"},
                                            {"第二百九十五条", "1", "二", "ロ", "取締役の員数"}}));
    writeFile(folder.shortTexts(), "article\tparagraph\titem\ttext\n");
    writeFile(folder.terms(), glossaryTable(terms));
    writeFile(folder.examFacts(), "paragraph\titem\tterm\tnote\n");
    writeFile(folder.contents(), contentsTable(contents()));
}

} // namespace samples
