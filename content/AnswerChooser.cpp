#include "AnswerChooser.h"

#include "ArticleNumber.h"

#include <QHash>

#include <algorithm>

namespace content {

namespace {

// Kanji that may stand right before a word without being part of it (当該, 各) and right after it (…等, …及び, …又は,
// …並びに, …若しくは, …以上, …全員, …各自, …間, …中, …後, …前, …内, …未満, …自ら).
const QString kanjiBefore = QStringLiteral("該各");
const QString kanjiAfter = QStringLiteral("等及又並若以全各間中後前内未自");

bool isKanji(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0xF900 && u <= 0xFAFF) ||
           u == 0x3005 || u == 0x3007;
}

// Whether the character next to a word's edge continues it: a numeral next to a numeral (十日 in 二十日), or a kanji
// next to a kanji that is no connective (株主 in 総株主). A numeral may follow any other kanji (選任後二年).
bool gluedTo(QChar edge, QChar neighbour, const QString& connectives)
{
    if (isKanjiNumeral(edge))
        return isKanjiNumeral(neighbour);
    return isKanji(edge) && isKanji(neighbour) && !connectives.contains(neighbour);
}

struct Found
{
    QString text;
    int level = 0;
    QList<qsizetype> starts;  // every occurrence, overlapping ones included
};

QList<qsizetype> occurrences(const QString& text, const QString& word)
{
    QList<qsizetype> starts;
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1))
        starts.append(at);
    return starts;
}

struct Span
{
    qsizetype start;
    qsizetype length;
};

// The places each answer blanks when the answers are replaced in list order: left to right, without overlap, never
// inside a place blanked by an earlier answer.
QList<QList<Span>> blankedPlaces(const QString& display, const QStringList& answers)
{
    QList<bool> taken(display.size(), false);
    QList<QList<Span>> places;
    for (const QString& answer : answers) {
        QList<Span> spans;
        qsizetype from = 0;
        for (qsizetype at = display.indexOf(answer, from); at >= 0 && !answer.isEmpty();
             at = display.indexOf(answer, from)) {
            const bool free = std::none_of(taken.begin() + at, taken.begin() + at + answer.size(), [](bool t) {
                return t;
            });
            if (!free) {
                from = at + 1;
                continue;
            }
            spans.append({at, answer.size()});
            std::fill(taken.begin() + at, taken.begin() + at + answer.size(), true);
            from = at + answer.size();
        }
        places.append(spans);
    }
    return places;
}

class Choice
{
public:
    Choice(const QString& display, const QList<Found>& found) : m_display(display), m_found(found) {}

    // The answers in the order of their numbers: reading order of the first place each one stands alone, except that
    // an answer holding another comes before it.
    QStringList ordered(const QStringList& answers) const
    {
        struct Keyed
        {
            qsizetype position;
            QString text;
        };
        QList<Keyed> keyed;
        for (const QString& a : answers)
            keyed.append({firstAlone(a, answers), a});
        std::sort(keyed.begin(), keyed.end(), [](const Keyed& x, const Keyed& y) {
            if (x.position != y.position)
                return x.position < y.position;
            if (x.text.size() != y.text.size())
                return x.text.size() > y.text.size();
            return x.text < y.text;
        });
        QStringList order;
        for (const Keyed& k : keyed)
            order.append(k.text);
        for (bool moved = true; moved;) {
            moved = false;
            for (qsizetype i = 0; i < order.size() && !moved; ++i) {
                for (qsizetype j = i + 1; j < order.size() && !moved; ++j) {
                    if (order[j].contains(order[i])) {
                        order.move(j, i);
                        moved = true;
                    }
                }
            }
        }
        return order;
    }

    bool acceptable(const QStringList& order) const
    {
        const QList<QList<Span>> places = blankedPlaces(m_display, order);
        for (qsizetype k = 0; k < order.size(); ++k) {
            if (places[k].isEmpty())
                return false;
            for (const Span& span : places[k]) {
                if (!standsAlone(order[k], span))
                    return false;
            }
        }
        return true;
    }

private:
    qsizetype firstAlone(const QString& answer, const QStringList& answers) const
    {
        const QList<qsizetype> starts = occurrences(m_display, answer);
        for (const qsizetype at : starts) {
            const bool inside = std::any_of(answers.begin(), answers.end(), [&](const QString& other) {
                return other.size() > answer.size() && other.contains(answer) && covered(other, at, answer.size());
            });
            if (!inside)
                return at;
        }
        return starts.value(0, m_display.size());
    }

    bool covered(const QString& word, qsizetype start, qsizetype length) const
    {
        for (qsizetype at = m_display.indexOf(word); at >= 0 && at <= start; at = m_display.indexOf(word, at + 1)) {
            if (start + length <= at + word.size())
                return true;
        }
        return false;
    }

    bool standsAlone(const QString& answer, const Span& span) const
    {
        for (const Found& f : m_found) {
            if (f.text.size() <= answer.size() || !f.text.contains(answer))
                continue;
            for (const qsizetype at : f.starts) {
                if (at <= span.start && span.start + span.length <= at + f.text.size())
                    return false;
            }
        }
        const qsizetype end = span.start + span.length;
        if (span.start > 0 && gluedTo(answer.front(), m_display.at(span.start - 1), kanjiBefore))
            return false;
        if (end < m_display.size() && gluedTo(answer.back(), m_display.at(end), kanjiAfter))
            return false;
        return true;
    }

    const QString& m_display;
    const QList<Found>& m_found;
};

} // namespace

AnswerChooser::AnswerChooser(QList<Term> terms, const QStringList& corpus) : m_terms(std::move(terms))
{
    QHash<QString, int> frequency;
    for (const Term& term : m_terms) {
        frequency.insert(term.text, int(std::count_if(corpus.begin(), corpus.end(), [&](const QString& text) {
                             return text.contains(term.text);
                         })));
    }
    std::stable_sort(m_terms.begin(), m_terms.end(), [&](const Term& a, const Term& b) {
        if (a.level != b.level)
            return a.level < b.level;
        if (isNumberCategory(a.category) != isNumberCategory(b.category))
            return isNumberCategory(a.category);
        const int fa = frequency.value(a.text);
        const int fb = frequency.value(b.text);
        if (fa != fb)
            return fa < fb;
        if (a.text.size() != b.text.size())
            return a.text.size() > b.text.size();
        return a.text < b.text;
    });
}

QStringList AnswerChooser::choose(const QString& display) const
{
    QList<Found> found;
    for (const Term& term : m_terms) {
        QList<qsizetype> starts = occurrences(display, term.text);
        if (!starts.isEmpty())
            found.append({term.text, term.level, std::move(starts)});
    }
    const Choice choice(display, found);
    QStringList chosen;
    // General words (level 3) only make up a passage that has fewer than two other terms.
    auto fill = [&](bool general, qsizetype limit) {
        for (bool added = true; added && chosen.size() < limit;) {
            added = false;
            for (const Found& f : found) {
                if (chosen.size() >= limit)
                    break;
                if ((f.level == 3) != general || chosen.contains(f.text))
                    continue;
                const QStringList trial = choice.ordered(chosen + QStringList{f.text});
                if (choice.acceptable(trial)) {
                    chosen = trial;
                    added = true;
                }
            }
        }
    };
    fill(false, maxAnswers);
    fill(true, 2);
    return choice.ordered(chosen);
}

} // namespace content
