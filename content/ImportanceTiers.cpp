#include "ImportanceTiers.h"

namespace content {

namespace {

// The article of a reference, without its paragraph.
ArticleRef articleOf(const ArticleRef& ref)
{
    return {ref.article, ref.branch, 0};
}

} // namespace

ImportanceTiers ImportanceTiers::read(const QString& path, const StatuteIndex& act, QList<TsvError>& errors)
{
    ImportanceTiers table;
    const qsizetype before = errors.size();
    auto error = [&](int line, const QString& message) { errors.append({path, line, message}); };
    for (const TsvRow& row :
         readTsv(path, {QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("tier"), QStringLiteral("reason")},
                 errors)) {
        const auto from = parseArticleRef(row["from"]);
        const auto to = parseArticleRef(row["to"]);
        if (!from || !to || !tierNames().contains(row["tier"]) || row["reason"].isEmpty()) {
            error(row.line(), QStringLiteral("a row needs two articles, a tier A, B or C and a reason"));
            continue;
        }
        const Row r{*from, *to, row["tier"]};
        if (from->paragraph > 0 || to->paragraph > 0) {
            if (*from != *to || !act.find(*from))
                error(row.line(), QStringLiteral("%1 – %2: a paragraph row names one paragraph of the Act")
                                      .arg(row["from"], row["to"]));
            else
                table.m_paragraphs.append(r);
            continue;
        }
        if (!act.find(*from) || !act.find(*to) || *to < *from) {
            error(row.line(), QStringLiteral("%1 – %2 is no range of articles of the Act").arg(row["from"], row["to"]));
            continue;
        }
        if (!table.m_ranges.isEmpty() && !(table.m_ranges.last().to < *from)) {
            error(row.line(), QStringLiteral("%1 overlaps the range before it").arg(row["from"]));
            continue;
        }
        table.m_ranges.append(r);
    }
    if (errors.size() > before)
        return table;
    // Every article of the Act in exactly one range.
    qsizetype range = 0;
    for (const Paragraph& p : act.paragraphs()) {
        const ArticleRef article = articleOf(p.ref);
        while (range < table.m_ranges.size() && table.m_ranges[range].to < article)
            ++range;
        if (range == table.m_ranges.size() || article < table.m_ranges[range].from) {
            error(0, QStringLiteral("%1 is in no range").arg(p.article));
            break;
        }
    }
    return table;
}

QString ImportanceTiers::tierOf(const ArticleRef& paragraph) const
{
    const ArticleRef exact = paragraph.withParagraph();
    for (const Row& r : m_paragraphs) {
        if (r.from == exact)
            return r.tier;
    }
    const ArticleRef article = articleOf(paragraph);
    for (const Row& r : m_ranges) {
        if (!(article < r.from) && !(r.to < article))
            return r.tier;
    }
    return {};
}

} // namespace content
