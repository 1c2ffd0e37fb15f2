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

    Paragraph* paragraph(const QStringList& f) const { return m_byParagraph.value(itemKey(f[0], f[1], {})); }
    Item* item(const QStringList& f) const { return m_byItem.value(itemKey(f[0], f[1], f[2])); }
    QList<Paragraph> take() { return std::move(m_paragraphs); }

private:
    QList<Paragraph> m_paragraphs;
    QHash<QString, Paragraph*> m_byParagraph;
    QHash<QString, Item*> m_byItem;
};

const QStringList itemColumns = {QStringLiteral("article"), QStringLiteral("paragraph"), QStringLiteral("item")};

void applyColumns(Act& act, const QString& path, QList<TsvError>& errors)
{
    const QList<TsvRow> rows =
        readTsv(path, itemColumns + QStringList{QStringLiteral("first"), QStringLiteral("second")}, errors);
    QSet<Item*> done;
    for (const TsvRow& row : rows) {
        const QStringList& f = row.fields;
        Item* item = act.item(f);
        if (!item) {
            errors.append({path, row.line, QStringLiteral("no item %1 in %2 paragraph %3").arg(f[2], f[0], f[1])});
        } else if (done.contains(item)) {
            errors.append({path, row.line, QStringLiteral("item %1 of %2 is split twice").arg(f[2], f[0])});
        } else if (f[3].isEmpty() || f[4].isEmpty() || f[3] + f[4] != item->text) {
            errors.append(
                {path, row.line,
                 QStringLiteral("the columns of item %1 of %2 do not make its text: %3").arg(f[2], f[0], item->text)});
        } else {
            item->text = f[3] + columnBlank + f[4];
            done.insert(item);
        }
    }
}

void applySubItems(Act& act, const QString& dataPath, const QString& path, QList<TsvError>& errors)
{
    const QList<TsvRow> data = readTsv(dataPath,
                                       {QStringLiteral("seq"), QStringLiteral("article"), QStringLiteral("paragraph"),
                                        QStringLiteral("item"), QStringLiteral("text")},
                                       errors);
    const QList<TsvRow> rows =
        readTsv(path, itemColumns + QStringList{QStringLiteral("label"), QStringLiteral("text")}, errors);
    QHash<Item*, QString> joined;
    QHash<Item*, int> firstLine;
    for (const TsvRow& row : rows) {
        const QStringList& f = row.fields;
        Item* item = act.item(f);
        if (!item || f[3].isEmpty() || f[4].isEmpty()) {
            errors.append({path, row.line,
                           QStringLiteral("no item %1 in %2 paragraph %3, or no label or text").arg(f[2], f[0], f[1])});
            continue;
        }
        item->subItems.append(f[3] + u' ' + f[4]);
        joined[item] += QString(f[4]).remove(columnBlank);
        firstLine.insert(item, firstLine.value(item, row.line));
    }
    for (const TsvRow& row : data) {
        const QStringList f = row.fields.mid(1);
        Item* item = act.item(f);
        if (!item) {
            errors.append({dataPath, row.line, QStringLiteral("no item %1 in %2 paragraph %3").arg(f[2], f[0], f[1])});
        } else if (!joined.contains(item)) {
            errors.append({dataPath, row.line,
                           QStringLiteral("the sub-items of item %1 of %2 paragraph %3 have no "
                                          "rows in %4")
                               .arg(f[2], f[0], f[1], path)});
        } else if (joined.take(item) != f[3]) {
            errors.append({path, firstLine.value(item),
                           QStringLiteral("the sub-items of item %1 of %2 paragraph %3 do not make the text of %4")
                               .arg(f[2], f[0], f[1], dataPath)});
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
        const QStringList& f = row.fields;
        Paragraph* p = f[2].isEmpty() ? act.paragraph(f) : nullptr;
        Item* item = f[2].isEmpty() ? nullptr : act.item(f);
        QString* shortText = p ? &p->shortText : item ? &item->shortText : nullptr;
        if (!shortText)
            errors.append({path, row.line, QStringLiteral("no paragraph %2 (item %3) in %1").arg(f[0], f[1], f[2])});
        else if (!shortens(f[3], p ? p->text : item->text))
            errors.append({path, row.line,
                           QStringLiteral("the text is not the original with parts left out "
                                          "(marked %1)")
                               .arg(omission)});
        else
            *shortText = f[3];
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
