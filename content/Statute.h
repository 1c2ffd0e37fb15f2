#pragma once

#include "ArticleNumber.h"
#include "ContentTsv.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The text of the Act by paragraph (articles.tsv).
namespace content {

// An item (号) of a paragraph: its number, its text (the two columns of a case and what applies to it kept apart by
// an ideographic blank, as the Act prints them) and its sub-items, each as it is shown: "イ 子会社", "（１） …".
struct Item
{
    QString number; // 一, 三の二
    QString text;
    QStringList subItems;
    QString shortText; // a shortened text (omissions marked （略）) for an item too long for the box, or empty

    QString line() const { return number + u' ' + text; }
    QString shownLine() const { return number + u' ' + (shortText.isEmpty() ? text : shortText); }
    bool operator==(const Item&) const = default;
};

struct Paragraph
{
    int line = 0;
    QString article; // 第百七十九条の二
    ArticleRef ref;  // with the paragraph number
    QString heading; // （株主総会の権限）, or empty
    // The caption its questions show (定義): the article's own heading, or what captions.tsv gives an article without
    // one (readAct).
    QString caption;
    QString part;
    QString chapter; // empty in the parts without chapters
    QString section;
    QString subsection;
    QString text; // the paragraph's own sentences
    QList<Item> items;
    // A shortened form of the sentences (omissions marked （略）) for the parts of a paragraph whose sentences are too
    // long to be shown beside its items; empty for most paragraphs.
    QString shortText;

    bool operator==(const Paragraph&) const = default;
};

// The ideographic blank that keeps the two columns of an item apart.
inline constexpr QChar columnBlank = QChar(0x3000);

// Reads articles.tsv; each row's article_key must agree with its article. Items keep the text of the data set (two
// columns run together, no sub-items): readAct completes them.
QList<Paragraph> readStatute(const QString& path, QList<TsvError>& errors);

// The paragraphs of the Act, found by their reference.
class StatuteIndex
{
public:
    explicit StatuteIndex(const QList<Paragraph>& paragraphs);

    // The paragraph a reference names (a reference without a paragraph names the first one).
    const Paragraph* find(const ArticleRef& ref) const;
    // How many paragraphs the article has; 0 for an article not in the Act.
    int paragraphCount(const ArticleRef& ref) const;

    const QList<Paragraph>& paragraphs() const { return m_paragraphs; }

private:
    QList<Paragraph> m_paragraphs;
    QHash<qint64, qsizetype> m_byNumber;
    QHash<qint64, int> m_countByArticle;
};

} // namespace content
