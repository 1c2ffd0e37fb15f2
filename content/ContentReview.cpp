#include "ContentReview.h"

#include "Passage.h"
#include "drill/PassageText.h"

#include <QHash>
#include <QLocale>
#include <QTextStream>

namespace content {

namespace {

QString place(const store::Question& q)
{
    return QStringLiteral("Ｎｏ %1 %2").arg(q.no).arg(q.article);
}

QString paragraphName(const StatuteIndex& act, const Paragraph& p)
{
    return act.paragraphCount(p.ref) > 1 ? paragraphRef(p.article, p.ref.paragraph) : p.article;
}

bool showsLine(const QString& passage, const QString& line)
{
    return (passage::kLineBreak + passage + passage::kLineBreak)
        .contains(passage::kLineBreak + line + passage::kLineBreak);
}

class Reviewer
{
public:
    Reviewer(const StatuteIndex& act, const Vocabulary& vocabulary) : m_act(act), m_vocabulary(vocabulary) {}

    void question(const store::Question& q)
    {
        const QStringList answers = passage::answerList(q.answers);
        const QString display = passage::breakSentences(q.passage);
        ++r.questions;
        r.answers += int(answers.size());
        if (const auto ref = parseArticleRef(q.article); ref)
            m_passages[paragraphNumber(*ref)].append(q.passage);

        const QStringList leaks = headingLeaks(q, answers, m_vocabulary);
        if (!leaks.isEmpty()) {
            ++r.leakQuestions;
            r.leakAnswers += int(leaks.size());
            r.findings << place(q) + QStringLiteral(": the headings give away 「%1」").arg(leaks.join(u'、'));
        }
        int inText = 0;
        const QStringList lines = headingLines(q);
        for (const QString& a : answers)
            inText += std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(a); });
        r.answersInHeadingText += inText;
        r.questionsWithAnswerInHeadingText += inText > 0;

        const QString shown = passage::blankAnswers(display, answers);
        const int rows = rowsOf(shown);
        if (shown.size() > r.longestCharacters) {
            r.longestCharacters = int(shown.size());
            r.longestAt = place(q);
        }
        r.longestRows = std::max(r.longestRows, rows);
        if (rows > boxRows || shown.size() > boxCharacters) {
            ++r.overBox;
            r.findings << place(q) + QStringLiteral(": the passage needs %1 lines (%2 characters); the box shows %3 "
                                                    "(%4)")
                                         .arg(rows)
                                         .arg(shown.size())
                                         .arg(boxRows)
                                         .arg(boxCharacters);
        }

        const QList<Spans> spans = blankedSpans(display, answers);
        bool allFiller = !answers.isEmpty();
        for (qsizetype k = 0; k < answers.size(); ++k) {
            const QString& a = answers[k];
            const Term* term = m_vocabulary.find(a);
            r.numericAnswers += term && isNumberCategory(term->category);
            const bool phrased = std::all_of(spans[k].begin(), spans[k].end(), [&](const passage::Span& s) {
                return insideFixedPhrase(display, s, m_vocabulary);
            });
            const bool filler = !term || isFiller(*term) || isFixedPhrase(term->category) || phrased ||
                                q.part.contains(a) || q.chapter.contains(a) || q.section.contains(a);
            allFiller = allFiller && filler;
        }
        r.fillerOnly += allFiller;

        const Spans quotes = replacementQuotes(display);
        int inQuotes = 0;
        for (qsizetype k = 0; k < answers.size(); ++k) {
            inQuotes += std::any_of(spans[k].begin(), spans[k].end(), [&](const passage::Span& s) {
                return std::any_of(quotes.begin(), quotes.end(), [&](const passage::Span& quote) {
                    return s.start < quote.start + quote.length && quote.start < s.start + s.length;
                });
            });
        }
        if (inQuotes > 0) {
            r.quoteBlankAnswers += inQuotes;
            ++r.quoteBlankQuestions;
            r.findings << place(q) + QStringLiteral(": %1 answers blanked inside the quoted wording of a replacement "
                                                    "clause")
                                         .arg(inQuotes);
        }
        if (mostBlanksInOneList(display, spans) >= 3) {
            ++r.longLists;
            r.findings << place(q) + QStringLiteral(": three or more members of one list blanked");
        }
        if (!inReadingOrder(spans, answers)) {
            ++r.outOfOrder;
            r.findings << place(q) + QStringLiteral(": the numbers do not run in reading order");
        }
        for (qsizetype k = 0; k < answers.size(); ++k)
            m_asked[QString::number(paragraphOf(q)) + u'\t' + answers[k]].append(q.passage);
    }

    void paragraphs()
    {
        for (const Paragraph& p : m_act.paragraphs()) {
            ++r.paragraphs;
            const QStringList passages = m_passages.value(paragraphNumber(p.ref));
            const QString name = paragraphName(m_act, p);
            if (passages.isEmpty()) {
                ++r.paragraphsWithoutQuestion;
                r.findings << name + QStringLiteral(": no question");
            }
            for (const Item& item : p.items) {
                const QStringList lines = itemLines(item);
                auto shown = [&](const QString& line) {
                    return std::any_of(passages.begin(), passages.end(),
                                       [&](const QString& s) { return showsLine(s, line); });
                };
                ++r.items;
                if (!shown(lines.first())) {
                    ++r.itemsMissing;
                    r.findings << name + QStringLiteral(": item %1 is not shown as the Act prints it").arg(item.number);
                }
                for (qsizetype s = 1; s < lines.size(); ++s) {
                    ++r.subItems;
                    if (!shown(lines[s])) {
                        ++r.subItemsMissing;
                        r.findings << name + QStringLiteral(": sub-item %1 of item %2 is not shown")
                                                 .arg(item.subItems[s - 1].section(u' ', 0, 0), item.number);
                    }
                }
            }
        }
    }

    void facts(const QList<ExamFact>& facts)
    {
        for (const ExamFact& fact : facts) {
            ++r.facts;
            const auto ref = parseArticleRef(fact.paragraph);
            const Paragraph* p = ref ? m_act.find(*ref) : nullptr;
            const QStringList passages =
                ref ? m_asked.value(QString::number(paragraphNumber(*ref)) + u'\t' + fact.term) : QStringList();
            const bool asked =
                p && std::any_of(passages.begin(), passages.end(), [&](const QString& s) {
                    return fact.item.isEmpty() || std::any_of(p->items.begin(), p->items.end(), [&](const Item& item) {
                               return item.number == fact.item && showsLine(s, item.shownLine());
                           });
                });
            if (asked)
                ++r.factsAsked;
            else
                r.findings << QStringLiteral("%1%2: the exam fact 「%3」 (%4) is no blank")
                                  .arg(fact.paragraph, fact.item.isEmpty() ? QString() : u'第' + fact.item + u'号',
                                       fact.term, fact.note);
        }
    }

    Review r;

private:
    static qint64 paragraphOf(const store::Question& q)
    {
        const auto ref = parseArticleRef(q.article);
        return ref ? paragraphNumber(*ref) : 0;
    }

    const StatuteIndex& m_act;
    const Vocabulary& m_vocabulary;
    QHash<qint64, QStringList> m_passages; // by paragraph
    QHash<QString, QStringList> m_asked;   // paragraph and answer → the passages that blank it
};

QString number(int n)
{
    return QLocale::c().toString(n);
}

} // namespace

Review reviewQuestions(const QList<QuestionRecord>& questions, const QString& source, const StatuteIndex& act,
                       const Vocabulary& vocabulary, const QList<ExamFact>& facts)
{
    Reviewer reviewer(act, vocabulary);
    for (const QuestionRecord& record : questions) {
        const qsizetype before = reviewer.r.findings.size();
        reviewer.question(record.question);
        for (qsizetype i = before; i < reviewer.r.findings.size(); ++i) {
            reviewer.r.findings[i].prepend(record.line > 0 ? QStringLiteral("%1:%2: ").arg(source).arg(record.line)
                                                           : source + QStringLiteral(": "));
        }
    }
    reviewer.paragraphs();
    reviewer.facts(facts);
    return reviewer.r;
}

void printReview(const Review& r, QTextStream& out)
{
    auto line = [&](const char* name, const QString& value) {
        out << QString::fromUtf8(name).leftJustified(32) << value << '\n';
    };
    const double share = r.answers > 0 ? 100.0 * r.numericAnswers / r.answers : 0.0;
    line("questions", number(r.questions));
    line("answers", number(r.answers));
    line("header leaks",
         QStringLiteral("%1 questions (%2 answers)").arg(number(r.leakQuestions), number(r.leakAnswers)));
    line("  answers in a heading's text",
         QStringLiteral("%1 in %2 questions (blanked on screen)")
             .arg(number(r.answersInHeadingText), number(r.questionsWithAnswerInHeadingText)));
    line("paragraphs without a question",
         QStringLiteral("%1 of %2").arg(number(r.paragraphsWithoutQuestion), number(r.paragraphs)));
    line("items missing",
         QStringLiteral("%1 of %2 items, %3 of %4 sub-items")
             .arg(number(r.itemsMissing), number(r.items), number(r.subItemsMissing), number(r.subItems)));
    line("longest passage", QStringLiteral("%1 characters (%2), %3 lines; over the box (%4 lines, %5 "
                                           "characters): %6")
                                .arg(number(r.longestCharacters), r.longestAt, number(r.longestRows), number(boxRows),
                                     number(boxCharacters), number(r.overBox)));
    line("filler-only questions", number(r.fillerOnly));
    line("replacement-clause blanks",
         QStringLiteral("%1 answers in %2 questions").arg(number(r.quoteBlankAnswers), number(r.quoteBlankQuestions)));
    line("three or more of one list", QStringLiteral("%1 questions").arg(number(r.longLists)));
    line("out-of-order numbering", QStringLiteral("%1 questions").arg(number(r.outOfOrder)));
    line("numeric blanks", QStringLiteral("%1 % (%2 of %3 answers)")
                               .arg(QString::number(share, 'f', 1), number(r.numericAnswers), number(r.answers)));
    line("classic exam facts asked", QStringLiteral("%1 of %2").arg(number(r.factsAsked), number(r.facts)));
    out.flush();
}

void printSample(const QList<QuestionRecord>& questions, int count, QTextStream& out)
{
    const qsizetype total = questions.size();
    for (int i = 0; i < count && total > 0; ++i) {
        const store::Question& q = questions[qsizetype(i) * total / count].question;
        const QStringList answers = passage::answerList(q.answers);
        out << "Ｎｏ " << q.no << '\n';
        for (const QString& heading : headingLines(q))
            out << "  " << passage::blankAnswers(heading, answers).trimmed() << '\n';
        out << "  ----\n";
        const QString shown = passage::blankAnswers(passage::breakSentences(q.passage), answers);
        for (const QString& l : shown.split(passage::kLineBreak))
            out << "  " << l << '\n';
        QStringList numbered;
        for (qsizetype k = 0; k < answers.size(); ++k)
            numbered << QStringLiteral("%1 %2").arg(k + 1).arg(answers[k]);
        out << "  => " << numbered.join(QStringLiteral(" / ")) << "\n\n";
    }
    out.flush();
}

} // namespace content
