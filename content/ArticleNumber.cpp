#include "ArticleNumber.h"

namespace content {

namespace {

const QString digits = QStringLiteral("〇一二三四五六七八九");

int unitOf(QChar c)
{
    if (c == u'十')
        return 10;
    if (c == u'百')
        return 100;
    if (c == u'千')
        return 1000;
    return 0;
}

int digitOf(QChar c)
{
    const qsizetype at = digits.indexOf(c);
    return at > 0 ? int(at) : -1;
}

} // namespace

bool isKanjiNumeral(QChar c)
{
    return digitOf(c) > 0 || unitOf(c) > 0 || c == u'〇';
}

int kanjiToNumber(QStringView text)
{
    if (text.isEmpty())
        return -1;
    int total = 0;
    int pending = -1; // a digit waiting for its unit
    int lastUnit = 10000;
    for (const QChar c : text) {
        if (const int d = digitOf(c); d > 0) {
            if (pending >= 0)
                return -1;
            pending = d;
        } else if (const int u = unitOf(c); u > 0) {
            if (u >= lastUnit)
                return -1;
            total += (pending >= 0 ? pending : 1) * u;
            pending = -1;
            lastUnit = u;
        } else {
            return -1;
        }
    }
    return total + (pending >= 0 ? pending : 0);
}

QString numberToKanji(int value)
{
    if (value <= 0 || value > 9999)
        return {};
    QString out;
    static const struct
    {
        int unit;
        QChar name;
    } units[] = {{1000, u'千'}, {100, u'百'}, {10, u'十'}};
    for (const auto& u : units) {
        const int d = value / u.unit;
        if (d > 1)
            out += digits.at(d);
        if (d > 0)
            out += u.name;
        value %= u.unit;
    }
    if (value > 0)
        out += digits.at(value);
    return out;
}

std::optional<ArticleRef> parseArticleRef(const QString& text)
{
    // 第 N 条 [の M] [第 P 項]
    if (!text.startsWith(u'第'))
        return std::nullopt;
    const qsizetype jo = text.indexOf(u'条');
    if (jo < 0)
        return std::nullopt;
    ArticleRef ref;
    ref.article = kanjiToNumber(QStringView(text).mid(1, jo - 1));
    if (ref.article <= 0)
        return std::nullopt;
    qsizetype at = jo + 1;
    if (at < text.size() && text.at(at) == u'の') {
        qsizetype end = at + 1;
        while (end < text.size() && isKanjiNumeral(text.at(end)))
            ++end;
        ref.branch = kanjiToNumber(QStringView(text).mid(at + 1, end - at - 1));
        if (ref.branch <= 0)
            return std::nullopt;
        at = end;
    }
    if (at == text.size())
        return ref;
    if (text.at(at) != u'第' || !text.endsWith(u'項'))
        return std::nullopt;
    ref.paragraph = kanjiToNumber(QStringView(text).mid(at + 1, text.size() - at - 2));
    if (ref.paragraph <= 0)
        return std::nullopt;
    return ref;
}

QString paragraphRef(const QString& article, int paragraph)
{
    return article + u'第' + numberToKanji(paragraph) + u'項';
}

qint64 paragraphNumber(const ArticleRef& p)
{
    const ArticleRef r = p.withParagraph();
    return qint64(r.article) * 10000 + r.branch * 100 + r.paragraph;
}

qint64 questionNumber(const ArticleRef& p, int part)
{
    return paragraphNumber(p) * partsPerParagraph + part;
}

} // namespace content
