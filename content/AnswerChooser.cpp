#include "AnswerChooser.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace content {

namespace {

QList<qsizetype> occurrences(const QString& text, const QString& word)
{
    QList<qsizetype> starts;
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1))
        starts.append(at);
    return starts;
}

class Choice
{
public:
    Choice(const AnswerContext& context, const Vocabulary& vocabulary)
        : m_context(context), m_display(context.display), m_vocabulary(vocabulary),
          m_quotes(replacementQuotes(context.display))
    {
    }

    // The answers in the order of their numbers: reading order of the first place each one stands alone, except that
    // an answer holding another comes before it.
    QStringList ordered(const QStringList& answers) const
    {
        QList<std::pair<qsizetype, QString>> keyed;
        for (const QString& a : answers)
            keyed.append({firstAlone(a, answers), a});
        std::sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) {
            if (x.first != y.first)
                return x.first < y.first;
            if (x.second.size() != y.second.size())
                return x.second.size() > y.second.size();
            return x.second < y.second;
        });
        QStringList order;
        for (const auto& k : keyed)
            order.append(k.second);
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
        const QList<Spans> spans = blankedSpans(m_display, order);
        for (const Spans& places : spans) {
            if (places.isEmpty())
                return false;
            for (const passage::Span& place : places) {
                if (!standsAlone(m_display, place, m_vocabulary) || inQuote(place))
                    return false;
            }
            // Where the word is the point somewhere, its places in fixed phrases may go along.
            if (std::all_of(places.begin(), places.end(),
                            [&](const passage::Span& p) { return insideFixedPhrase(m_display, p, m_vocabulary); }))
                return false;
        }
        return mostBlanksInOneList(m_display, spans) < 3 && inReadingOrder(spans, order) &&
               headingLeaks(m_context.headings, order, m_vocabulary).isEmpty();
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

    bool inQuote(const passage::Span& place) const
    {
        return std::any_of(m_quotes.begin(), m_quotes.end(), [&](const passage::Span& q) {
            return place.start < q.start + q.length && q.start < place.start + place.length;
        });
    }

    const AnswerContext& m_context;
    const QString& m_display;
    const Vocabulary& m_vocabulary;
    const Spans m_quotes;
};

} // namespace

AnswerChooser::AnswerChooser(const QList<Term>& terms, const QStringList& corpus) : m_vocabulary(terms)
{
    for (const Term& term : terms) {
        if (!isFixedPhrase(term.category))
            m_candidates.append(term);
    }
    QHash<QString, int> frequency;
    for (const Term& term : std::as_const(m_candidates)) {
        frequency.insert(term.text, int(std::count_if(corpus.begin(), corpus.end(),
                                                      [&](const QString& text) { return text.contains(term.text); })));
    }
    std::stable_sort(m_candidates.begin(), m_candidates.end(), [&](const Term& a, const Term& b) {
        if (a.level != b.level)
            return a.level < b.level;
        if (categoryRank(a.category) != categoryRank(b.category))
            return categoryRank(a.category) < categoryRank(b.category);
        const int fa = frequency.value(a.text);
        const int fb = frequency.value(b.text);
        if (fa != fb)
            return fa < fb;
        if (a.text.size() != b.text.size())
            return a.text.size() > b.text.size();
        return a.text < b.text;
    });
}

QStringList AnswerChooser::choose(const AnswerContext& context) const
{
    const QString& display = context.display;
    // The pinned facts, then the words of the part's own items, then those of the repeated sentences only; filler
    // words last, for a passage that has nothing else its headings do not already tell.
    QStringList tiers[4];
    for (const QString& fact : context.pinned) {
        if (display.contains(fact))
            tiers[0].append(fact);
    }
    for (const Term& term : m_candidates) {
        const qsizetype at = display.indexOf(term.text, context.focus);
        if (tiers[0].contains(term.text) || !display.contains(term.text))
            continue;
        tiers[isFiller(term) ? 3 : at >= 0 ? 1 : 2].append(term.text);
    }
    const Choice choice(context, m_vocabulary);
    QStringList chosen;
    for (const QStringList& tier : tiers) {
        if ((&tier == &tiers[3] || (&tier == &tiers[2] && context.repeatsLead)) && !chosen.isEmpty())
            break;
        for (bool added = true; added && chosen.size() < maxAnswers;) {
            added = false;
            for (const QString& word : tier) {
                if (chosen.size() >= maxAnswers)
                    break;
                if (chosen.contains(word))
                    continue;
                const QStringList trial = choice.ordered(chosen + QStringList{word});
                if (choice.acceptable(trial)) {
                    chosen = trial;
                    added = true;
                }
            }
        }
    }
    // A paragraph that only rewords other provisions (「…」とあるのは「…」とする) keeps every word of the glossary
    // inside its quotes: it asks which provision it rewords.
    static const QRegularExpression reference(
        QStringLiteral("第[一二三四五六七八九十百千]+条(の[一二三四五六七八九十]+)*(第[一二三四五六七八九十]+項)?"
                       "|第[一二三四五六七八九十]+項"));
    for (auto it = reference.globalMatch(display); chosen.isEmpty() && it.hasNext();) {
        const QStringList trial{it.next().captured()};
        if (choice.acceptable(trial))
            chosen = trial;
    }
    return choice.ordered(chosen);
}

} // namespace content
