#pragma once

#include "ArticleNumber.h"
#include "ContentTsv.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The text of the Act by paragraph (articles.tsv).
namespace content {

struct Paragraph
{
    int line = 0;
    QString article;  // 第百七十九条の二
    ArticleRef ref;   // with the paragraph number
    QString heading;  // （株主総会の権限）, or empty
    QString part;
    QString chapter;  // empty in the parts without chapters
    QString section;
    QString subsection;
    QString text;       // the paragraph's own sentences
    QStringList items;  // "一 剰余金の配当", …
};

// Reads articles.tsv; each row's article_key must agree with its article.
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
