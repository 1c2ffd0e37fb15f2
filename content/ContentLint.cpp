#include "ContentLint.h"

#include "ContentReview.h"

#include "Glossary.h"
#include "Passage.h"
#include "drill/ChapterTable.h"
#include "drill/PassageText.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>
#include <tuple>

namespace content {

namespace {

QString located(const QString& source, int line)
{
    return line > 0 ? QStringLiteral("%1:%2: ").arg(source).arg(line) : source + QStringLiteral(": ");
}

QString unitName(const QString& part, const QString& chapter)
{
    return chapter.isEmpty() ? part : part + QStringLiteral(" / ") + chapter;
}

QString unitKey(const QString& part, const QString& chapter)
{
    return part + u'\t' + chapter;
}

QStringList fixedChapters(const QString& part)
{
    QStringList list = chapters::chaptersOf(part);
    list.removeAll(chapters::all);
    return list;
}

bool hasStrayLineBreak(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n'))
            return true;
        if (text.at(i) == u'\n' && (i == 0 || text.at(i - 1) != u'\r'))
            return true;
    }
    return false;
}

class Linter
{
public:
    Linter(const LintInput& input, const StatuteIndex& statute, const QualityLimits& limits, bool programChapters)
        : m_input(input), m_statute(statute), m_options(limits), m_programChapters(programChapters)
    {
        for (const Paragraph& p : statute.paragraphs()) {
            m_formerNumbers.insert(paragraphNumber(p.ref));
            const QString key = unitKey(p.part, p.chapter);
            if (!m_paragraphsOf.contains(key))
                m_units.append({p.part, p.chapter});
            m_paragraphsOf[key].append(&p);
            if (!p.chapter.isEmpty())
                m_actChapters[p.part].insert(p.chapter);
        }
    }

    QStringList run()
    {
        QHash<qint64, int> lineOfNo;
        std::optional<qint64> previous;
        for (const QuestionRecord& r : m_input.questions) {
            checkRow(r);
            const qint64 no = r.question.no;
            if (lineOfNo.contains(no)) {
                report(r, QStringLiteral("Ｎｏ is used twice"));
            } else {
                if (previous && no < *previous)
                    report(r, QStringLiteral("Ｎｏ is lower than the Ｎｏ %1 before it").arg(*previous));
                lineOfNo.insert(no, r.line);
            }
            previous = no;
        }
        checkActOrder();
        checkCounts();
        checkContents();
        return m_findings;
    }

private:
    void report(const QuestionRecord& r, const QString& message)
    {
        m_findings << located(m_input.questionSource, r.line) +
                          QStringLiteral("Ｎｏ %1 %2: %3").arg(r.question.no).arg(r.question.article, message);
    }

    void checkRow(const QuestionRecord& r)
    {
        const store::Question& q = r.question;
        for (const QString& field : r.nullFields)
            report(r, field + QStringLiteral(" is Null"));
        const std::pair<const char*, const QString*> required[] = {
            {"編", &q.part}, {"条", &q.article}, {"問題", &q.passage}, {"回答", &q.answers}};
        for (const auto& [name, value] : required) {
            const QString field = QString::fromUtf8(name);
            if (value->isEmpty() && !r.nullFields.contains(field))
                report(r, field + QStringLiteral(" is empty"));
        }
        checkDivision(r);
        if ((q.done != 0 && q.done != 1) || (q.recent != 0 && q.recent != 1))
            report(r, QStringLiteral("済 and 直近 must be 0 or 1 (%1, %2)").arg(q.done).arg(q.recent));
        if (hasStrayLineBreak(q.passage))
            report(r, QStringLiteral("問題 has a line break other than CR LF"));
        checkArticle(r);
        checkAnswers(r);
        if (const QStringList items = runTogetherItems(q.passage); !items.isEmpty())
            report(r, QStringLiteral("the passage shows two-column items run together: %1").arg(items.join(u' ')));
        if (!q.section.isEmpty())
            m_drilledSections.insert(QStringList{q.part, q.chapter, q.section}.join(u'\t'));
    }

    void checkDivision(const QuestionRecord& r)
    {
        const store::Question& q = r.question;
        if (q.part.isEmpty())
            return;
        if (q.part == chapters::all || !chapters::partList().contains(q.part)) {
            report(r, QStringLiteral("編 「%1」 is not a part of the Act").arg(q.part));
            return;
        }
        const QStringList fixed = fixedChapters(q.part);
        if (fixed.isEmpty()) {
            if (!q.chapter.isEmpty())
                report(r, QStringLiteral("%1 has no chapters: 章 must be empty").arg(q.part));
        } else if (q.chapter.isEmpty()) {
            if (!r.nullFields.contains(QStringLiteral("章")))
                report(r, QStringLiteral("章 is empty"));
        } else if (!fixed.contains(q.chapter) && !m_actChapters.value(q.part).contains(q.chapter)) {
            report(r, QStringLiteral("章 「%1」 is not a chapter of %2").arg(q.chapter, q.part));
        }
    }

    void checkArticle(const QuestionRecord& r)
    {
        const store::Question& q = r.question;
        if (q.article.isEmpty())
            return;
        const auto ref = parseArticleRef(q.article);
        if (!ref) {
            report(r, QStringLiteral("条 「%1」 is not an article reference").arg(q.article));
            return;
        }
        const Paragraph* p = m_statute.find(*ref);
        if (!p) {
            report(r, QStringLiteral("条 「%1」 is not in the Act").arg(q.article));
            return;
        }
        m_ordered.append({q.no, ref->withParagraph(), &r});
        m_answered[unitKey(q.part, q.chapter)].insert(paragraphNumber(*ref));
        if (q.no / partsPerParagraph != paragraphNumber(*ref) || m_formerNumbers.contains(q.no))
            report(r, QStringLiteral("Ｎｏ is not a number of the paragraph %1 names (%2, or %2 and a part)")
                          .arg(q.article)
                          .arg(questionNumber(*ref)));
        const int paragraphs = m_statute.paragraphCount(*ref);
        if (ref->paragraph == 0 && paragraphs > 1)
            report(r, QStringLiteral("条 names no paragraph, but %1 has %2").arg(p->article).arg(paragraphs));
        const std::tuple<const char*, const QString*, const QString*> divisions[] = {
            {"編", &q.part, &p->part},
            {"章", &q.chapter, &p->chapter},
            {"節", &q.section, &p->section},
            {"款", &q.subsection, &p->subsection}};
        for (const auto& [name, ours, act] : divisions) {
            if (*ours != *act)
                report(
                    r,
                    QStringLiteral("%1 「%2」 differs from the Act: 「%3」").arg(QString::fromUtf8(name), *ours, *act));
        }
    }

    void checkAnswers(const QuestionRecord& r)
    {
        const store::Question& q = r.question;
        if (q.answers.isEmpty())
            return;
        const QStringList answers = passage::answerList(q.answers);
        if (answers.size() > m_options.maxAnswers)
            report(r,
                   QStringLiteral("回答 holds %1 answers; at most %2").arg(answers.size()).arg(m_options.maxAnswers));
        const QString display = passage::breakSentences(q.passage);
        const QString blanked = passage::blankAnswers(display, answers);
        for (qsizetype k = 0; k < answers.size(); ++k) {
            const QString& answer = answers[k];
            const QString name = QStringLiteral("answer %1 「%2」").arg(k + 1).arg(answer);
            if (const QString problem = answerWordProblem(answer); !problem.isEmpty())
                report(r, name + u' ' + problem);
            else if (!display.contains(answer))
                report(r, name + QStringLiteral(" does not occur in the passage"));
            else if (!blanked.contains(passage::blankMarker(int(k + 1))))
                report(r, name + QStringLiteral(" leaves no blank: every place of it lies inside an earlier answer"));
        }
    }

    void checkActOrder()
    {
        std::stable_sort(m_ordered.begin(), m_ordered.end(),
                         [](const Ordered& a, const Ordered& b) { return a.no < b.no; });
        for (qsizetype i = 1; i < m_ordered.size(); ++i) {
            const Ordered& before = m_ordered[i - 1];
            const Ordered& here = m_ordered[i];
            if (here.no != before.no && here.ref < before.ref)
                report(*here.record, QStringLiteral("comes after Ｎｏ %1 %2, against the order of the Act")
                                         .arg(before.no)
                                         .arg(before.record->question.article));
        }
    }

    void checkCounts()
    {
        const QString where = located(m_input.questionSource, 0);
        if (m_input.questions.size() < m_options.minQuestions)
            m_findings << where + QStringLiteral("%1 questions; at least %2 are needed")
                                      .arg(m_input.questions.size())
                                      .arg(m_options.minQuestions);
        // The program's parts and chapters first, then the chapters of the Act that its table lacks.
        QList<std::pair<QString, QString>> units;
        for (const QString& part : chapters::partList()) {
            if (part == chapters::all || !m_programChapters)
                continue;
            const QStringList fixed = fixedChapters(part);
            if (fixed.isEmpty())
                units.append({part, QString()});
            for (const QString& chapter : fixed)
                units.append({part, chapter});
        }
        for (const auto& unit : m_units) {
            if (!units.contains(unit))
                units.append(unit);
        }
        for (const auto& [part, chapter] : units) {
            const QString key = unitKey(part, chapter);
            const QList<const Paragraph*> paragraphs = m_paragraphsOf.value(key);
            const QSet<qint64> answered = m_answered.value(key);
            // A chapter with fewer paragraphs is held to a question for each of them, which reviewQuestions checks
            // for every paragraph of the Act.
            if (paragraphs.size() < m_options.minPerChapter && !paragraphs.isEmpty())
                continue;
            const int needed = paragraphs.isEmpty() ? 1 : m_options.minPerChapter;
            if (answered.size() < needed)
                m_findings << where + QStringLiteral("%1: %2 questions; at least %3 are needed")
                                          .arg(unitName(part, chapter))
                                          .arg(answered.size())
                                          .arg(needed);
        }
    }

    void checkContents()
    {
        QSet<QString> listed;
        for (const ContentsRecord& c : m_input.contents) {
            const QString where = located(m_input.contentsSource, c.line) + QStringLiteral("目次 ");
            for (const QString& field : c.nullFields)
                m_findings << where + field + QStringLiteral(" is Null");
            const store::ContentsEntry& e = c.entry;
            if (e.section.isEmpty() && !c.nullFields.contains(QStringLiteral("節"))) {
                m_findings << where + QStringLiteral("節 is empty");
                continue;
            }
            const QString key = QStringList{e.part, e.chapter, e.section}.join(u'\t');
            if (listed.contains(key))
                continue;
            listed.insert(key);
            if (!m_drilledSections.contains(key))
                m_findings << where +
                                  QStringLiteral("%1 (%2) has no question").arg(e.section, unitName(e.part, e.chapter));
        }
        for (const QuestionRecord& r : m_input.questions) {
            const store::Question& q = r.question;
            if (!q.section.isEmpty() && !listed.contains(QStringList{q.part, q.chapter, q.section}.join(u'\t')))
                report(r,
                       QStringLiteral("節 「%1」 is not in 目次 under %2").arg(q.section, unitName(q.part, q.chapter)));
        }
    }

    struct Ordered
    {
        qint64 no;
        ArticleRef ref;
        const QuestionRecord* record;
    };

    const LintInput& m_input;
    const StatuteIndex& m_statute;
    const QualityLimits& m_options;
    const bool m_programChapters;
    QStringList m_findings;
    QList<std::pair<QString, QString>> m_units; // (part, chapter) of the Act, in its order
    QHash<QString, QList<const Paragraph*>> m_paragraphsOf;
    QHash<QString, QSet<QString>> m_actChapters;
    QHash<QString, QSet<qint64>> m_answered; // unit → paragraphs with a question
    QSet<QString> m_drilledSections;
    QList<Ordered> m_ordered;
    QSet<qint64> m_formerNumbers; // paragraph numbers, the Ｎｏ of questions before paragraphs were asked in parts
};

} // namespace

QStringList lintContent(const LintInput& input, const Standards& standards, bool programChapters)
{
    return Linter(input, standards.act, standards.limits, programChapters).run() +
           reviewQuestions(input.questions, input.questionSource, standards).findings;
}

} // namespace content
