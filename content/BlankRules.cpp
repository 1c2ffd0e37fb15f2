#include "BlankRules.h"

#include "ArticleNumber.h"

#include <QRegularExpression>
#include <algorithm>

namespace content {

namespace {

// Kanji that may stand right before a word without being part of it (当該, 各, その他, その後) and right after it
// (…等, …及び, …又は, …並びに, …若しくは, …以上, …全員, …各自, …間, …中, …後, …前, …内, …未満, …自ら, and 第 of a
// provision: 民法第百八条).
const QString kanjiBefore = QStringLiteral("該各他後");
const QString kanjiAfter = QStringLiteral("等及又並若以全各間中後前内未自第");

bool isKanji(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0xF900 && u <= 0xFAFF) ||
           u == 0x3005 || u == 0x3007;
}

bool gluedTo(QChar edge, QChar neighbour, const QString& connectives)
{
    if (isKanjiNumeral(edge))
        return isKanjiNumeral(neighbour);
    return isKanji(edge) && isKanji(neighbour) && !connectives.contains(neighbour);
}

// A piece of text between two blanks that may stand between members of one list: a few words, no particle that
// ends a phrase, no sentence end.
bool listFiller(const QString& piece)
{
    static const QString breaks = QStringLiteral("はをがにでともへや。（）「」");
    return piece.size() <= 12 && std::none_of(piece.begin(), piece.end(), [](QChar c) { return breaks.contains(c); });
}

// The text without the parenthesised remarks it holds whole: members of a list stay members with a remark between
// them (取締役（イ及びロに掲げるものを除く。）、会計参与、監査役).
QString withoutParentheses(const QString& text)
{
    QString out;
    int depth = 0;
    qsizetype open = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'（' && depth++ == 0)
            open = i;
        else if (c == u'）' && depth > 0 && --depth == 0)
            continue;
        else if (depth == 0)
            out += c;
    }
    return depth == 0 ? out : out + text.mid(open);
}

} // namespace

Vocabulary::Vocabulary(const QList<Term>& terms) : m_terms(terms)
{
    for (qsizetype i = 0; i < m_terms.size(); ++i)
        m_index.insert(m_terms[i].text, i);
    for (const Term& shorter : m_terms) {
        for (const Term& longer : m_terms) {
            if (longer.text.size() > shorter.text.size() && longer.text.contains(shorter.text))
                m_holding[shorter.text].append(longer.text);
        }
    }
}

const Term* Vocabulary::find(const QString& word) const
{
    const auto it = m_index.constFind(word.startsWith(columnBlank) ? word.mid(1) : word);
    return it == m_index.constEnd() ? nullptr : &m_terms[*it];
}

namespace {

// Whether a longer word of the vocabulary, a fixed phrase or an answer word as asked, stands over the span.
bool heldAt(const QString& text, const passage::Span& span, const Vocabulary& vocabulary, bool phrase)
{
    const QString word = text.mid(span.start, span.length);
    const qsizetype end = span.start + span.length;
    for (const QString& longer : vocabulary.holding(word)) {
        const Term* term = vocabulary.find(longer);
        if (!term || isFixedPhrase(term->category) != phrase)
            continue;
        for (qsizetype at = text.indexOf(longer, std::max<qsizetype>(0, end - longer.size()));
             at >= 0 && at <= span.start; at = text.indexOf(longer, at + 1)) {
            if (end <= at + longer.size())
                return true;
        }
    }
    return false;
}

} // namespace

bool insideFixedPhrase(const QString& text, const passage::Span& span, const Vocabulary& vocabulary)
{
    return heldAt(text, span, vocabulary, true);
}

bool standsAlone(const QString& text, const passage::Span& span, const Vocabulary& vocabulary)
{
    const QString word = text.mid(span.start, span.length);
    const qsizetype end = span.start + span.length;
    if (word.isEmpty() || heldAt(text, span, vocabulary, false))
        return false;
    // A numeral carried with the column blank (askedForm) is the whole second column of its item.
    if (word.startsWith(columnBlank) && end < text.size() && text.at(end) != u'\r')
        return false;
    if (span.start > 0 && gluedTo(word.front(), text.at(span.start - 1), kanjiBefore))
        return false;
    // A bound (…以上, …以下, …以内, …未満) closes its word whatever follows (一株以上引き受け).
    static const QStringList bounds = {QStringLiteral("以上"), QStringLiteral("以下"), QStringLiteral("以内"),
                                       QStringLiteral("未満")};
    const bool bounded = std::any_of(bounds.begin(), bounds.end(), [&](const QString& b) { return word.endsWith(b); });
    if (end < text.size() && !bounded && gluedTo(word.back(), text.at(end), kanjiAfter))
        return false;
    return true;
}

Spans replacedWordings(const QString& text)
{
    Spans quotes; // top-level 「…」, inside the brackets
    int depth = 0;
    qsizetype open = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'「' && depth++ == 0)
            open = i + 1;
        else if (text.at(i) == u'」' && depth > 0 && --depth == 0)
            quotes.append({open, i - open});
    }
    // 「X」とあるのは「Y」: X is replaced, and so is each quote joined to a replaced one by a connective
    // (「X」及び「Z」とあるのは); Y, the new wording, is not.
    static const QRegularExpression connective(QStringLiteral("^(、|及び|又は|並びに|若しくは)$"));
    QList<bool> replaced(quotes.size(), false);
    for (qsizetype k = quotes.size() - 1; k >= 0; --k) {
        const qsizetype after = quotes[k].start + quotes[k].length + 1;
        const QStringView rest = QStringView(text).mid(after);
        if (rest.startsWith(u"とある") || rest.startsWith(u"とあり"))
            replaced[k] = true;
        else if (k + 1 < quotes.size() && replaced[k + 1] &&
                 connective.match(text.mid(after, quotes[k + 1].start - 1 - after)).hasMatch())
            replaced[k] = true;
    }
    Spans found;
    for (qsizetype k = 0; k < quotes.size(); ++k) {
        if (replaced[k])
            found.append(quotes[k]);
    }
    return found;
}

bool overlapsAny(const passage::Span& span, const Spans& spans)
{
    return std::any_of(spans.begin(), spans.end(), [&](const passage::Span& s) {
        return span.start < s.start + s.length && s.start < span.start + span.length;
    });
}

QList<Spans> blankedSpans(const QString& display, const QStringList& answers)
{
    QList<Spans> spans(answers.size());
    qsizetype at = 0;
    for (const passage::Run& run : passage::blankRuns(display, answers)) {
        if (run.number > 0)
            spans[run.number - 1].append({at, run.text.size()});
        at += run.text.size();
    }
    return spans;
}

int mostBlanksInOneList(const QString& display, const QList<Spans>& spans)
{
    Spans all;
    for (const Spans& s : spans)
        all += s;
    std::sort(all.begin(), all.end(), [](const passage::Span& a, const passage::Span& b) { return a.start < b.start; });
    static const QRegularExpression separator(QStringLiteral("、|及び|又は|並びに|若しくは|\\r\\n　*[^ \\r\\n]{1,6} "));
    int most = all.isEmpty() ? 0 : 1;
    int chain = 1;
    for (qsizetype i = 1; i < all.size(); ++i) {
        const qsizetype from = all[i - 1].start + all[i - 1].length;
        const QStringList pieces = withoutParentheses(display.mid(from, all[i].start - from)).split(separator);
        const bool joined = pieces.size() > 1 && std::all_of(pieces.begin(), pieces.end(), listFiller);
        chain = joined ? chain + 1 : 1;
        most = std::max(most, chain);
    }
    return most;
}

bool inReadingOrder(const QList<Spans>& spans, const QStringList& answers)
{
    QList<qsizetype> first;
    for (const Spans& s : spans)
        first.append(s.isEmpty() ? -1 : s.first().start);
    for (qsizetype i = 0; i < first.size(); ++i) {
        for (qsizetype j = i + 1; j < first.size(); ++j) {
            if (first[i] >= 0 && first[j] >= 0 && first[j] < first[i] && !answers[i].contains(answers[j]))
                return false;
        }
    }
    return true;
}

QStringList headingLines(const store::Question& q)
{
    static const QString gap = QStringLiteral("  ");
    return {q.part + gap + q.chapter, q.caption, q.section + gap + q.subsection + gap + q.article};
}

QStringList headingLeaks(const store::Question& q, const QStringList& answers, const Vocabulary& vocabulary)
{
    QStringList leaks;
    const QStringList titles = {q.part, q.chapter, q.section};
    for (const QString& answer : answers) {
        if (std::any_of(titles.begin(), titles.end(), [&](const QString& t) { return t.contains(answer); }))
            leaks.append(answer);
    }
    for (const QString& line : headingLines(q)) {
        const QList<Spans> spans = blankedSpans(line, answers);
        for (qsizetype k = 0; k < answers.size(); ++k) {
            const bool glued = std::any_of(spans[k].begin(), spans[k].end(),
                                           [&](const passage::Span& s) { return !standsAlone(line, s, vocabulary); });
            if (glued && !leaks.contains(answers[k]))
                leaks.append(answers[k]);
        }
    }
    return leaks;
}

bool toldByHeading(const store::Question& q, const QString& word, const Vocabulary& vocabulary)
{
    const QStringList lines = headingLines(q);
    return std::any_of(lines.begin(), lines.end(), [&](const QString& line) {
        const Spans spans = blankedSpans(line, {word}).first();
        return std::any_of(spans.begin(), spans.end(),
                           [&](const passage::Span& s) { return insideFixedPhrase(line, s, vocabulary); });
    });
}

namespace {

// The leading kanji of a word (対抗 of 対抗することができない), after the blank an answer may carry.
QString leadingKanji(const QString& word)
{
    qsizetype from = word.startsWith(columnBlank) ? 1 : 0;
    qsizetype end = from;
    while (end < word.size() && isKanji(word.at(end)))
        ++end;
    return word.mid(from, end - from);
}

} // namespace

QStringList headingStems(const store::Question& q, const QStringList& answers)
{
    QStringList shown;
    for (const QString& line : headingLines(q))
        shown.append(passage::blankAnswers(line, answers));
    QStringList stems;
    for (const QString& answer : answers) {
        const QString stem = leadingKanji(answer);
        const qsizetype end = answer.indexOf(stem) + stem.size();
        const QStringView rest = QStringView(answer).mid(end);
        if (stem.size() < 2 || rest.isEmpty() || rest.startsWith(u'の') || rest.startsWith(u"ごと") ||
            stems.contains(stem))
            continue;
        if (std::any_of(shown.begin(), shown.end(), [&](const QString& line) { return line.contains(stem); }))
            stems.append(stem);
    }
    return stems;
}

QStringList restatedByName(const QString& display, const QStringList& answers)
{
    QStringList restated;
    for (const QString& name : answers) {
        if (!display.contains(u'「' + name + u'」'))
            continue;
        for (const QString& word : answers) {
            if (word != name && name.endsWith(word) && !restated.contains(word))
                restated.append(word);
        }
    }
    return restated;
}

bool showsPlainly(const QString& shown, const QString& word, const Vocabulary& vocabulary)
{
    for (const passage::Span& place : passage::findOccurrences(shown, word)) {
        if (standsAlone(shown, place, vocabulary))
            return true;
    }
    return false;
}

} // namespace content
