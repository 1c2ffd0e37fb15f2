#include "QuestionGenerator.h"

#include "AnswerChooser.h"
#include "Passage.h"
#include "drill/PassageText.h"

namespace content {

namespace {

QString divisionOf(const Paragraph& p)
{
    return QStringList{p.part, p.chapter, p.section, p.subsection}.join(u'\t');
}

// "第一節 総則" → "（総則）"
QString titleAsCaption(const Paragraph& p)
{
    for (const QString& title : {p.subsection, p.section, p.chapter, p.part}) {
        if (!title.isEmpty())
            return u'（' + title.section(u' ', 1) + u'）';
    }
    return {};
}

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

QHash<qint64, QString> articleCaptions(const QList<Paragraph>& act)
{
    QHash<qint64, QString> captions;
    QString caption;
    QString division;
    for (const Paragraph& p : act) {
        if (p.ref.paragraph != 1)
            continue;
        const QString here = divisionOf(p);
        if (!p.heading.isEmpty())
            caption = p.heading;
        else if (here != division)
            caption = titleAsCaption(p);
        division = here;
        captions.insert(paragraphNumber(p.ref), caption);
    }
    return captions;
}

QList<store::Question> generateQuestions(const QList<Paragraph>& act, const QList<Term>& glossary,
                                         const QList<ExamFact>& facts)
{
    const StatuteIndex index(act);
    const QHash<qint64, QString> captions = articleCaptions(act);
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
        q.caption = captions.value(paragraphNumber({p.ref.article, p.ref.branch, 1}));
        const QList<PassagePart> parts = partsOf(p);
        for (qsizetype k = 0; k < parts.size(); ++k) {
            const PassagePart& part = parts[k];
            AnswerContext context{passage::breakSentences(part.passage), q,
                                  pinnedFacts(facts, q.article, p, part, k == 0), 0, k > 0};
            if (parts.size() > 1 && !part.items.isEmpty())
                context.focus = std::max<qsizetype>(
                    0, context.display.indexOf(passage::kLineBreak + p.items[part.items.first()].number + u' '));
            const QStringList answers = chooser.choose(context);
            if (answers.isEmpty())
                continue;
            q.no = questionNumber(p.ref, parts.size() > 1 ? int(k + 1) : 0);
            q.passage = part.passage;
            q.answers = answers.join(u',');
            questions.append(q);
        }
    }
    return questions;
}

} // namespace content
