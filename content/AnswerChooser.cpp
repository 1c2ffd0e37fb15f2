#include "AnswerChooser.h"

#include "Figures.h"

#include <QHash>

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
          m_replaced(replacedWordings(context.display))
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
                if (!standsAlone(m_display, place, m_vocabulary) || overlapsAny(place, m_replaced))
                    return false;
            }
            // Where the word is the point somewhere, its places in fixed phrases may go along.
            if (std::all_of(places.begin(), places.end(),
                            [&](const passage::Span& p) { return insideFixedPhrase(m_display, p, m_vocabulary); }))
                return false;
        }
        return mostBlanksInOneList(m_display, spans) < 3 && inReadingOrder(spans, order) &&
               restatedByName(m_display, order).isEmpty() &&
               headingLeaks(m_context.headings, order, m_vocabulary).isEmpty() &&
               headingStems(m_context.headings, order).isEmpty();
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

    const AnswerContext& m_context;
    const QString& m_display;
    const Vocabulary& m_vocabulary;
    const Spans m_replaced;
};

} // namespace

AnswerChooser::AnswerChooser(const QList<Term>& terms, const QStringList& corpus) : m_vocabulary(terms)
{
    for (const Term& term : terms) {
        if (!isFixedPhrase(term.category))
            m_candidates.append({askedForm(term.text), term.category, term.level, term.line});
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
    // The pinned words; the figures wherever they stand; the words of the part's own items; those of the repeated
    // sentences only; the words a heading's fixed phrase tells, where nothing but formula words is taken before them;
    // filler words last, for a passage that has nothing else its headings do not already tell.
    enum Tier { Pinned, Figures, Items, Lead, Told, Filler, Tiers };
    QStringList tiers[Tiers];
    for (const QString& word : context.pinned) {
        if (display.contains(askedForm(word)) && !tiers[Pinned].contains(askedForm(word)))
            tiers[Pinned].append(askedForm(word));
    }
    for (const Term& term : m_candidates) {
        if (tiers[Pinned].contains(term.text) || !display.contains(term.text) ||
            (!context.before.isEmpty() && showsPlainly(context.before, term.text, m_vocabulary)))
            continue;
        if (isFiller(term))
            tiers[Filler].append(term.text);
        else if (toldByHeading(context.headings, term.text, m_vocabulary))
            tiers[Told].append(term.text);
        else if (holdsFigure(term.text))
            tiers[Figures].append(term.text);
        else
            tiers[display.indexOf(term.text, context.focus) >= 0 ? Items : Lead].append(term.text);
    }
    const Choice choice(context, m_vocabulary);
    const int most = QualityLimits().maxAnswers;
    // A part after the first asks the sentences it repeats only where its own items give fewer answers than this.
    const int leadAfter = 3;
    QStringList chosen;
    for (int tier = Pinned; tier < Tiers; ++tier) {
        if (tier == Filler && !chosen.isEmpty())
            break;
        if (tier == Lead && context.repeatsLead && chosen.size() >= leadAfter)
            continue;
        if (tier == Told && !std::all_of(chosen.begin(), chosen.end(),
                                         [](const QString& word) { return formulaWords().contains(word); }))
            continue;
        for (bool added = true; added && chosen.size() < most;) {
            added = false;
            for (const QString& word : std::as_const(tiers[tier])) {
                if (chosen.size() >= most)
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
    return chosen;
}

} // namespace content
