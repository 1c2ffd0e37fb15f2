#include "ActTables.h"

#include <QHash>
#include <QSet>

namespace content {

namespace {

QString itemKey(const QString& article, const QString& paragraph, const QString& item)
{
    return article + u'\t' + paragraph + u'\t' + item;
}

class Act
{
public:
    Act(QList<Paragraph> paragraphs) : m_paragraphs(std::move(paragraphs))
    {
        for (Paragraph& p : m_paragraphs) {
            m_byParagraph.insert(itemKey(p.article, QString::number(p.ref.paragraph), {}), &p);
            for (Item& item : p.items)
                m_byItem.insert(itemKey(p.article, QString::number(p.ref.paragraph), item.number), &item);
        }
    }

    // The paragraph and the item a row of a reviewed table names in its columns article, paragraph and item.
    Paragraph* paragraph(const QString& article, const QString& paragraph) const
    {
        return m_byParagraph.value(itemKey(article, paragraph, {}));
    }
    Paragraph* paragraph(const TsvRow& row) const { return paragraph(row["article"], row["paragraph"]); }
    Item* item(const TsvRow& row) const
    {
        return m_byItem.value(itemKey(row["article"], row["paragraph"], row["item"]));
    }
    QList<Paragraph>& paragraphs() { return m_paragraphs; }
    QList<Paragraph> take() { return std::move(m_paragraphs); }

private:
    QList<Paragraph> m_paragraphs;
    QHash<QString, Paragraph*> m_byParagraph;
    QHash<QString, Item*> m_byItem;
};

const QStringList itemColumns = {QStringLiteral("article"), QStringLiteral("paragraph"), QStringLiteral("item")};

// "item 一 of 第二条 paragraph 1"
QString itemName(const TsvRow& row)
{
    return QStringLiteral("item %1 of %2 paragraph %3").arg(row["item"], row["article"], row["paragraph"]);
}

void applyColumns(Act& act, const QString& path, QList<TsvError>& errors)
{
    const QList<TsvRow> rows =
        readTsv(path, itemColumns + QStringList{QStringLiteral("first"), QStringLiteral("second")}, errors);
    QSet<Item*> done;
    for (const TsvRow& row : rows) {
        Item* item = act.item(row);
        const QString first = row["first"];
        const QString second = row["second"];
        if (!item) {
            errors.append({path, row.line(), QStringLiteral("no %1").arg(itemName(row))});
        } else if (done.contains(item)) {
            errors.append({path, row.line(), QStringLiteral("%1 is split twice").arg(itemName(row))});
        } else if (first.isEmpty() || second.isEmpty() || first + second != item->text) {
            errors.append(
                {path, row.line(),
                 QStringLiteral("the columns of %1 do not make its text: %2").arg(itemName(row), item->text)});
        } else {
            item->text = first + columnBlank + second;
            done.insert(item);
        }
    }
}

void applySubItems(Act& act, const QString& dataPath, const QString& path, QList<TsvError>& errors)
{
    const QList<TsvRow> data = readTsv(
        dataPath, QStringList{QStringLiteral("seq")} + itemColumns + QStringList{QStringLiteral("text")}, errors);
    const QList<TsvRow> rows =
        readTsv(path, itemColumns + QStringList{QStringLiteral("label"), QStringLiteral("text")}, errors);
    QHash<Item*, QString> joined;
    QHash<Item*, int> firstLine;
    for (const TsvRow& row : rows) {
        Item* item = act.item(row);
        if (!item || row["label"].isEmpty() || row["text"].isEmpty()) {
            errors.append({path, row.line(), QStringLiteral("no %1, or no label or text").arg(itemName(row))});
            continue;
        }
        item->subItems.append(row["label"] + u' ' + row["text"]);
        joined[item] += row["text"].remove(columnBlank);
        firstLine.insert(item, firstLine.value(item, row.line()));
    }
    for (const TsvRow& row : data) {
        Item* item = act.item(row);
        if (!item) {
            errors.append({dataPath, row.line(), QStringLiteral("no %1").arg(itemName(row))});
        } else if (!joined.contains(item)) {
            errors.append({dataPath, row.line(),
                           QStringLiteral("the sub-items of %1 have no rows in %2").arg(itemName(row), path)});
        } else if (joined.take(item) != row["text"]) {
            errors.append(
                {path, firstLine.value(item),
                 QStringLiteral("the sub-items of %1 do not make the text of %2").arg(itemName(row), dataPath)});
        }
    }
    for (auto it = joined.constBegin(); it != joined.constEnd(); ++it)
        errors.append(
            {path, firstLine.value(it.key()), QStringLiteral("sub-items for an item %1 does not list").arg(dataPath)});
}

// Whether every piece of the shortened text between the omission marks stands in the full text, in order.
bool shortens(const QString& shortened, const QString& full)
{
    qsizetype from = 0;
    for (const QString& piece : shortened.split(omission, Qt::SkipEmptyParts)) {
        const qsizetype at = full.indexOf(piece, from);
        if (at < 0)
            return false;
        from = at + piece.size();
    }
    return shortened.contains(omission);
}

void applyShortTexts(Act& act, const QString& path, QList<TsvError>& errors)
{
    const QList<TsvRow> rows = readTsv(path, itemColumns + QStringList{QStringLiteral("text")}, errors);
    for (const TsvRow& row : rows) {
        const bool whole = row["item"].isEmpty();
        Paragraph* p = whole ? act.paragraph(row) : nullptr;
        Item* item = whole ? nullptr : act.item(row);
        QString* shortText = p ? &p->shortText : item ? &item->shortText : nullptr;
        if (!shortText)
            errors.append(
                {path, row.line(),
                 QStringLiteral("no paragraph %2 (item %3) in %1").arg(row["article"], row["paragraph"], row["item"])});
        else if (!shortens(row["text"], p ? p->text : item->text))
            errors.append(
                {path, row.line(),
                 QStringLiteral("the text is not the original with parts left out (marked %1)").arg(omission)});
        else
            *shortText = row["text"];
    }
}

void applyCaptions(Act& act, const QString& path, QList<TsvError>& errors)
{
    const QList<TsvRow> rows =
        readTsv(path, {QStringLiteral("article"), QStringLiteral("caption"), QStringLiteral("reason")}, errors);
    QHash<QString, QString> given;
    for (const TsvRow& row : rows) {
        const Paragraph* p = act.paragraph(row["article"], QStringLiteral("1"));
        if (!p)
            errors.append({path, row.line(), QStringLiteral("no article %1").arg(row["article"])});
        else if (!p->heading.isEmpty())
            errors.append({path, row.line(), QStringLiteral("%1 has a caption of its own").arg(row["article"])});
        else if (given.contains(row["article"]) || row["reason"].isEmpty())
            errors.append(
                {path, row.line(), QStringLiteral("%1 is listed twice, or without a reason").arg(row["article"])});
        else
            given.insert(row["article"], row["caption"]);
    }
    // The caption stands before the first paragraph and holds for the whole article.
    QString caption;
    for (Paragraph& p : act.paragraphs()) {
        if (p.ref.paragraph == 1) {
            caption = !p.heading.isEmpty() ? p.heading : given.value(p.article);
            if (p.heading.isEmpty() && !given.contains(p.article))
                errors.append({path, 0, QStringLiteral("%1 has no caption of its own and no row").arg(p.article)});
        }
        p.caption = caption;
    }
}

bool introducesTwoColumns(const QString& sentence)
{
    return sentence.contains(QStringLiteral("当該各号に定める"));
}

} // namespace

QList<Paragraph> readAct(const ContentFolder& folder, QList<TsvError>& errors)
{
    Act act(readStatute(folder.articles(), errors));
    if (!errors.isEmpty())
        return {};
    applyColumns(act, folder.itemColumns(), errors);
    applySubItems(act, folder.subItems(), folder.subItemLines(), errors);
    applyShortTexts(act, folder.shortTexts(), errors);
    applyCaptions(act, folder.captions(), errors);
    QList<Paragraph> paragraphs = act.take();
    for (const Paragraph& p : std::as_const(paragraphs)) {
        if (!introducesTwoColumns(p.text))
            continue;
        for (const Item& item : p.items) {
            if (!item.text.contains(columnBlank))
                errors.append({folder.itemColumns(), 0,
                               QStringLiteral("item %1 of %2 paragraph %3 has no split point")
                                   .arg(item.number, p.article)
                                   .arg(p.ref.paragraph)});
        }
    }
    return errors.isEmpty() ? paragraphs : QList<Paragraph>();
}

} // namespace content
