#include "Passage.h"

#include "drill/PassageText.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace content {

namespace {

// An item as the Act numbers it: 一, 十二, 三の二, then one blank.
bool isItemLine(const QString& line)
{
    static const QRegularExpression item(QStringLiteral("^[一二三四五六七八九十百]+(の[一二三四五六七八九十]+)* "));
    return item.match(line).hasMatch();
}

// A sub-item under its item: "　イ …", one level deeper "　　（１） …".
QString subItemLine(const QString& subItem)
{
    return (subItem.startsWith(u'（') ? QStringLiteral("　　") : QStringLiteral("　")) + subItem;
}

QString joined(const QString& lead, const QStringList& lines)
{
    return lines.isEmpty() ? lead : lead + passage::kLineBreak + lines.join(passage::kLineBreak);
}

constexpr int fitRows = boxRows - 2; // room for blank markers wider than their words
constexpr int apartRows = 6;         // the item lines of one part where items are asked apart

bool fits(const QString& passage, int rows)
{
    return rowsOf(passage::breakSentences(passage)) <= rows;
}

class PartBuilder
{
public:
    explicit PartBuilder(const Paragraph& p) : m_paragraph(p) {}

    QList<PassagePart> build()
    {
        const Paragraph& p = m_paragraph;
        const bool apart = asksItemsApart(p);
        if (p.items.isEmpty())
            return {whole(p.shortText.isEmpty() ? p.text : p.shortText)};
        if (!apart && fits(passageOf(p), fitRows))
            return {whole(p.text)};
        for (qsizetype i = 0; i < p.items.size(); ++i) {
            const Item& item = p.items[i];
            QList<qsizetype> all(item.subItems.size());
            std::iota(all.begin(), all.end(), 0);
            if (tryAdd(i, all, apart))
                continue;
            flush();
            if (tryAdd(i, all, apart))
                continue;
            // Too long for a part of its own: its sub-items spread over parts, each with the item's first line.
            for (qsizetype s = 0; s < item.subItems.size(); ++s) {
                if (tryAdd(i, {s}, apart))
                    continue;
                flush();
                tryAdd(i, {s}, apart, true);
            }
            if (item.subItems.isEmpty())
                tryAdd(i, {}, apart, true);
        }
        flush();
        return m_parts;
    }

private:
    PassagePart whole(const QString& lead) const
    {
        PassagePart part;
        QStringList lines;
        for (qsizetype i = 0; i < m_paragraph.items.size(); ++i) {
            lines += itemLines(m_paragraph.items[i]);
            part.items.append(i);
        }
        part.passage = joined(lead, lines);
        return part;
    }

    QStringList linesOf(const QList<qsizetype>& items, const QList<QList<qsizetype>>& subItems) const
    {
        QStringList lines;
        for (qsizetype k = 0; k < items.size(); ++k) {
            const Item& item = m_paragraph.items[items[k]];
            lines.append(item.shownLine());
            for (const qsizetype s : subItems[k])
                lines.append(subItemLine(item.subItems[s]));
        }
        return lines;
    }

    // The sentences for a part that begins with these lines: the paragraph's own in the first part where they leave
    // room, else their shortened form if there is one. A part keeps the sentences it began with.
    QString leadFor(const QStringList& lines) const
    {
        const Paragraph& p = m_paragraph;
        if (!m_items.isEmpty())
            return m_lead;
        if (p.shortText.isEmpty() || (m_parts.isEmpty() && fits(joined(p.text, lines), fitRows)))
            return p.text;
        return p.shortText;
    }

    // Adds the item (or some of its sub-items) to the part being filled when the part still fits: the box, and where
    // items are asked apart a few lines beside the sentences. A part's first item is taken whenever it fits the box;
    // forced, it is taken even when it does not.
    bool tryAdd(qsizetype item, const QList<qsizetype>& subItems, bool apart, bool force = false)
    {
        QList<qsizetype> items = m_items;
        QList<QList<qsizetype>> subs = m_subItems;
        if (!items.isEmpty() && items.last() == item) {
            subs.last() += subItems;
        } else {
            items.append(item);
            subs.append(subItems);
        }
        const QStringList lines = linesOf(items, subs);
        const QString lead = leadFor(lines);
        const int limit = m_items.isEmpty() || !apart
                              ? fitRows
                              : std::min(fitRows, rowsOf(passage::breakSentences(lead)) + apartRows);
        if (!force && !fits(joined(lead, lines), limit))
            return false;
        m_lead = lead;
        m_items = items;
        m_subItems = subs;
        return true;
    }

    void flush()
    {
        if (m_items.isEmpty())
            return;
        const QStringList lines = linesOf(m_items, m_subItems);
        m_parts.append({joined(m_lead, lines), m_items});
        m_items.clear();
        m_subItems.clear();
    }

    const Paragraph& m_paragraph;
    QList<PassagePart> m_parts;
    QString m_lead; // of the part being filled
    QList<qsizetype> m_items;
    QList<QList<qsizetype>> m_subItems;
};

} // namespace

bool introducesTwoColumnItems(const QString& sentence)
{
    return sentence.contains(QStringLiteral("当該各号に定める"));
}

QStringList itemLines(const Item& item)
{
    QStringList lines{item.shownLine()};
    for (const QString& sub : item.subItems)
        lines.append(subItemLine(sub));
    return lines;
}

QString passageOf(const Paragraph& p)
{
    QStringList lines;
    for (const Item& item : p.items)
        lines += itemLines(item);
    return joined(p.text, lines);
}

int rowsOf(const QString& display)
{
    int rows = 0;
    for (const QString& line : display.split(passage::kLineBreak)) {
        int width = 0;
        for (const QChar c : line)
            width += c.unicode() < 0x80 ? 1 : 2;
        rows += std::max(1, (width + 2 * boxColumns - 1) / (2 * boxColumns));
    }
    return rows;
}

bool asksItemsApart(const Paragraph& p)
{
    return p.ref.branch == 0 && (p.ref.article == 2 || p.ref.article == 976);
}

QList<PassagePart> partsOf(const Paragraph& paragraph)
{
    return PartBuilder(paragraph).build();
}

QStringList runTogetherItems(const QString& passage)
{
    const QStringList lines = passage.split(passage::kLineBreak);
    if (lines.isEmpty() || !introducesTwoColumnItems(lines.first()))
        return {};
    QStringList found;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (isItemLine(lines[i]) && !lines[i].contains(columnBlank))
            found.append(lines[i].section(u' ', 0, 0));
    }
    return found;
}

} // namespace content
