#include "Passage.h"

#include "drill/PassageText.h"

#include <QRegularExpression>
#include <algorithm>

namespace content {

namespace {

const QChar columnBlank = QChar(0x3000);

// An item as the Act numbers it: 一, 十二, 三の二, then one blank.
bool isItemLine(const QString& line)
{
    static const QRegularExpression item(QStringLiteral("^[一二三四五六七八九十百]+(の[一二三四五六七八九十]+)* "));
    return item.match(line).hasMatch();
}

} // namespace

bool introducesTwoColumnItems(const QString& sentence)
{
    return sentence.contains(QStringLiteral("当該各号に定める"));
}

bool hasColumnBlank(const QString& item)
{
    return item.contains(columnBlank);
}

QString passageOf(const Paragraph& p)
{
    const bool runTogether =
        introducesTwoColumnItems(p.text) && !std::all_of(p.items.begin(), p.items.end(), hasColumnBlank);
    if (p.items.isEmpty() || runTogether)
        return p.text;
    return p.text + passage::kLineBreak + p.items.join(passage::kLineBreak);
}

QStringList runTogetherItems(const QString& passage)
{
    const QStringList lines = passage.split(passage::kLineBreak);
    if (lines.isEmpty() || !introducesTwoColumnItems(lines.first()))
        return {};
    QStringList found;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (isItemLine(lines[i]) && !hasColumnBlank(lines[i]))
            found.append(lines[i].section(u' ', 0, 0));
    }
    return found;
}

} // namespace content
