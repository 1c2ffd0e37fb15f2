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

} // namespace

QHash<qint64, QString> articleCaptions(const QList<Paragraph>& statute)
{
    QHash<qint64, QString> captions;
    QString caption;
    QString division;
    for (const Paragraph& p : statute) {
        if (p.ref.paragraph != 1)
            continue;
        const QString here = divisionOf(p);
        if (!p.heading.isEmpty())
            caption = p.heading;
        else if (here != division)
            caption = titleAsCaption(p);
        division = here;
        captions.insert(questionNumber(p.ref), caption);
    }
    return captions;
}

QList<store::Question> generateQuestions(const QList<Paragraph>& statute, const QList<Term>& glossary)
{
    const StatuteIndex index(statute);
    const QHash<qint64, QString> captions = articleCaptions(statute);
    QStringList displays;
    for (const Paragraph& p : statute)
        displays.append(passage::breakSentences(passageOf(p)));
    const AnswerChooser chooser(glossary, displays);
    QList<store::Question> questions;
    for (qsizetype i = 0; i < statute.size(); ++i) {
        const Paragraph& p = statute[i];
        const QStringList answers = chooser.choose(displays[i]);
        if (answers.isEmpty())
            continue;
        store::Question q;
        q.no = questionNumber(p.ref);
        q.hen = p.part;
        q.sho = p.chapter;
        q.setsu = p.section;
        q.kan = p.subsection;
        q.jo = index.paragraphCount(p.ref) > 1 ? paragraphRef(p.article, p.ref.paragraph) : p.article;
        q.teigi = captions.value(questionNumber({p.ref.article, p.ref.branch, 1}));
        q.mondai = passageOf(p);
        q.kaitou = answers.join(u',');
        questions.append(q);
    }
    return questions;
}

} // namespace content
