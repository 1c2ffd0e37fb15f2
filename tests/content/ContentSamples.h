#pragma once

// Small pieces of statute, glossary and question table for the content tests.
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
inline const QString part6 = QStringLiteral("第六編 外国会社");

struct Division
{
    QString part = part1;
    QString chapter = chapter1;
    QString section;
    QString subsection;
};

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
    p.items = items;
    return p;
}

inline content::Term term(const QString& text, int level = 1, const QString& category = QStringLiteral("機関"))
{
    return {text, category, level, 0};
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

// articles.tsv of the given paragraphs.
inline QByteArray statuteTable(const QList<content::Paragraph>& paragraphs)
{
    QString text = QStringLiteral("seq\tarticle\tarticle_key\tparagraph\theading\tpart\tchapter\tsection\tsubsection\t"
                                  "text\titems\n");
    int seq = 0;
    for (const content::Paragraph& p : paragraphs) {
        const QString key = p.ref.branch > 0 ? QStringLiteral("%1-%2").arg(p.ref.article).arg(p.ref.branch)
                                             : QString::number(p.ref.article);
        text += QStringList{QString::number(++seq), p.article, key, QString::number(p.ref.paragraph), p.heading,
                            p.part, p.chapter, p.section, p.subsection, p.text, p.items.join(QStringLiteral(" ｜ "))}
                    .join(u'\t') +
                u'\n';
    }
    return text.toUtf8();
}

inline QByteArray glossaryTable(const QList<content::Term>& terms)
{
    QString text = QStringLiteral("term\tcategory\tlevel\n");
    for (const content::Term& t : terms)
        text += QStringLiteral("%1\t%2\t%3\n").arg(t.text, t.category).arg(t.level);
    return text.toUtf8();
}

inline QByteArray contentsTable(const QList<store::ContentsEntry>& entries)
{
    QString text = QStringLiteral("part\tchapter\tsection\tsection_no\tfirst_article\tlast_article\n");
    for (const store::ContentsEntry& e : entries)
        text += QStringLiteral("%1\t%2\t%3\t%4\t\t\n").arg(e.hen, e.sho, e.setsu).arg(e.setsuNo);
    return text.toUtf8();
}

// A statute of three units: 第一編第一章 with three paragraphs, 第二編第四章第一節 with two, and 第六編 (no
// chapters) with one.
inline QList<content::Paragraph> statute()
{
    const Division meeting{part2, organs, meetings, QStringLiteral("第一款 株主総会")};
    const Division foreign{part6, QString(), QString(), QString()};
    return {
        paragraph(QStringLiteral("第一条"), 1,
                  QStringLiteral("会社の設立、組織、運営及び管理については、この法律の定めるところによる。"), {},
                  QStringLiteral("（趣旨）")),
        paragraph(QStringLiteral("第二条"), 1, QStringLiteral("会社は、法人とする。"), {},
                  QStringLiteral("（法人格）")),
        paragraph(QStringLiteral("第二条"), 2, QStringLiteral("会社の住所は、その本店の所在地にあるものとする。")),
        paragraph(QStringLiteral("第二百九十五条"), 1,
                  QStringLiteral("株主総会は、次に掲げる事項について決議をすることができる。"),
                  {QStringLiteral("一 定款の変更"), QStringLiteral("二 取締役の選任")},
                  QStringLiteral("（株主総会の権限）"), meeting),
        paragraph(QStringLiteral("第二百九十五条"), 2,
                  QStringLiteral("次の各号に掲げる場合には、当該各号に定める者が株主総会を招集する。"),
                  {QStringLiteral("一 取締役会設置会社取締役会")}, {}, meeting),
        paragraph(
            QStringLiteral("第八百十七条"), 1,
            QStringLiteral(
                "外国会社は、日本において取引を継続してしようとするときは、日本における代表者を定めなければならない。"),
            {}, QStringLiteral("（外国会社の日本における代表者）"), foreign),
    };
}

inline QList<store::ContentsEntry> contents()
{
    return {{part2, organs, meetings, 1}};
}

} // namespace samples
