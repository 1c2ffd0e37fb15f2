#include "Statute.h"

namespace content {

namespace {

const QString itemSeparator = QStringLiteral(" ｜ ");

// article_key: "295" or "179-2".
std::optional<ArticleRef> parseKey(const QString& key)
{
    const QStringList parts = key.split(u'-');
    if (parts.size() > 2)
        return std::nullopt;
    bool ok = false;
    ArticleRef ref;
    ref.article = parts[0].toInt(&ok);
    if (!ok || ref.article <= 0)
        return std::nullopt;
    if (parts.size() == 2) {
        ref.branch = parts[1].toInt(&ok);
        if (!ok || ref.branch <= 0)
            return std::nullopt;
    }
    return ref;
}

qint64 articleNumber(const ArticleRef& ref)
{
    return paragraphNumber({ref.article, ref.branch, 1}) - 1;
}

} // namespace

QList<Paragraph> readStatute(const QString& path, QList<TsvError>& errors)
{
    static const QStringList header = {
        QStringLiteral("seq"),       QStringLiteral("article"), QStringLiteral("article_key"),
        QStringLiteral("paragraph"), QStringLiteral("heading"), QStringLiteral("part"),
        QStringLiteral("chapter"),   QStringLiteral("section"), QStringLiteral("subsection"),
        QStringLiteral("text"),      QStringLiteral("items")};
    const QList<TsvRow> rows = readTsv(path, header, errors);
    QList<Paragraph> paragraphs;
    paragraphs.reserve(rows.size());
    for (const TsvRow& row : rows) {
        Paragraph p;
        p.line = row.line();
        p.article = row["article"];
        const auto key = parseKey(row["article_key"]);
        const auto named = parseArticleRef(p.article);
        bool ok = false;
        const int paragraph = row["paragraph"].toInt(&ok);
        if (!key || !named || *key != *named || named->paragraph != 0 || !ok || paragraph <= 0) {
            errors.append({path, row.line(),
                           QStringLiteral("article, article_key and paragraph do not agree: %1 %2 %3")
                               .arg(p.article, row["article_key"], row["paragraph"])});
            continue;
        }
        if (key->branch >= 100 || paragraph >= 100) {
            errors.append({path, row.line(), QStringLiteral("branch and paragraph numbers must stay below 100")});
            continue;
        }
        p.ref = {key->article, key->branch, paragraph};
        p.heading = row["heading"];
        p.part = row["part"];
        p.chapter = row["chapter"];
        p.section = row["section"];
        p.subsection = row["subsection"];
        p.text = row["text"];
        bool itemsOk = true;
        for (const QString& line : row["items"].split(itemSeparator, Qt::SkipEmptyParts)) {
            const qsizetype blank = line.indexOf(u' ');
            if (blank <= 0) {
                itemsOk = false;
                break;
            }
            p.items.append({line.left(blank), line.mid(blank + 1), {}, {}});
        }
        if (!itemsOk) {
            errors.append({path, row.line(), QStringLiteral("an item lacks its number: %1").arg(row["items"])});
            continue;
        }
        paragraphs.append(p);
    }
    return paragraphs;
}

StatuteIndex::StatuteIndex(const QList<Paragraph>& paragraphs) : m_paragraphs(paragraphs)
{
    for (qsizetype i = 0; i < m_paragraphs.size(); ++i) {
        const ArticleRef& ref = m_paragraphs[i].ref;
        m_byNumber.insert(paragraphNumber(ref), i);
        ++m_countByArticle[articleNumber(ref)];
    }
}

const Paragraph* StatuteIndex::find(const ArticleRef& ref) const
{
    const auto it = m_byNumber.constFind(paragraphNumber(ref));
    return it == m_byNumber.constEnd() ? nullptr : &m_paragraphs[*it];
}

int StatuteIndex::paragraphCount(const ArticleRef& ref) const
{
    return m_countByArticle.value(articleNumber(ref), 0);
}

} // namespace content
