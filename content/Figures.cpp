#include "Figures.h"

#include <QRegularExpression>

namespace content {

namespace {

const QString numeral = QStringLiteral("[〇一二三四五六七八九十百千万億0-9０-９]+");

} // namespace

QList<passage::Span> figureSpans(const QString& text)
{
    static const QRegularExpression figure(
        QStringLiteral("(?<![第前次同〇一二三四五六七八九十百千万億0-9０-９])(?<!昭和|平成|令和|明治|大正)"
                       "(?:%1分の%1|%1(?:箇月|か月|週間|時間|単元|年|月|日|円|個|人|倍|回)|%1株(?=以上|以下|未満))"
                       "|過半数|半数"
                       "|(?<=\\x{3000})%1(?=\\r|\\n|$)")
            .arg(numeral));
    QList<passage::Span> spans;
    for (auto it = figure.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        spans.append({match.capturedStart(), match.capturedLength()});
    }
    return spans;
}

bool holdsFigure(const QString& word)
{
    return !figureSpans(word).isEmpty();
}

bool isProvisionReference(const QString& word)
{
    static const QRegularExpression reference(
        QStringLiteral("^(第%1条(の%1)*|[前次同]条)?(第%1項|[前次同]項|前%1項)?(第%1号|[前次同]号)?$").arg(numeral));
    return !word.isEmpty() && reference.match(word).hasMatch();
}

} // namespace content
