#include "QuestionGenerator.h"

#include "AnswerChooser.h"
#include "Figures.h"
#include "Passage.h"
#include "drill/PassageText.h"

namespace content {

namespace {

// The facts to pin in a part: those of its paragraph that name one of the items it shows, and in the first part
// those that name no item.
QStringList pinnedFacts(const QList<ExamFact>& facts, const QString& jo, const Paragraph& p, const PassagePart& part,
                        bool first)
{
    QStringList pinned;
    for (const ExamFact& fact : facts) {
        if (fact.paragraph != jo)
            continue;
        const bool shown =
            fact.item.isEmpty() ? first : std::any_of(part.items.begin(), part.items.end(), [&](qsizetype i) {
                return p.items[i].number == fact.item;
            });
        if (shown)
            pinned.append(fact.term);
    }
    return pinned;
}

} // namespace

QList<store::Question> generateQuestions(const QList<Paragraph>& act, const QList<Term>& glossary,
                                         const QList<ExamFact>& facts, const ImportanceTiers& tiers)
{
    const StatuteIndex index(act);
    QStringList corpus;
    for (const Paragraph& p : act)
        corpus.append(passage::breakSentences(passageOf(p)));
    const AnswerChooser chooser(glossary, corpus);
    QList<store::Question> questions;
    for (const Paragraph& p : act) {
        store::Question q;
        q.part = p.part;
        q.chapter = p.chapter;
        q.section = p.section;
        q.subsection = p.subsection;
        q.article = index.paragraphCount(p.ref) > 1 ? paragraphRef(p.article, p.ref.paragraph) : p.article;
        q.caption = p.caption;
        const QList<PassagePart> parts = partsOf(p);
        QStringList figuresAsked; // by the parts so far: asked again wherever a later part repeats them
        QString before;           // the question of the part before, as shown
        for (qsizetype k = 0; k < parts.size(); ++k) {
            const PassagePart& part = parts[k];
            const QStringList factsHere = pinnedFacts(facts, q.article, p, part, k == 0);
            AnswerContext context{passage::breakSentences(part.passage), q, factsHere + figuresAsked, 0, k > 0, before};
            if (parts.size() > 1 && !part.items.isEmpty())
                context.focus = std::max<qsizetype>(
                    0, context.display.indexOf(passage::kLineBreak + p.items[part.items.first()].number + u' '));
            const QStringList answers = chooser.choose(context);
            if (answers.isEmpty())
                continue;
            before = passage::blankAnswers(context.display, answers);
            for (const QString& answer : answers) {
                if (holdsFigure(answer) && !figuresAsked.contains(answer))
                    figuresAsked.append(answer);
            }
            q.no = questionNumber(p.ref, parts.size() > 1 ? int(k + 1) : 0);
            q.passage = part.passage;
            q.answers = answers.join(u',');
            const bool asksFact = std::any_of(factsHere.begin(), factsHere.end(),
                                              [&](const QString& fact) { return answers.contains(askedForm(fact)); });
            q.tier = asksFact ? QStringLiteral("A") : tiers.tierOf(p.ref);
            questions.append(q);
        }
    }
    return questions;
}

} // namespace content
