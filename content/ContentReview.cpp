#include "ContentReview.h"

#include "Figures.h"
#include "Passage.h"
#include "drill/PassageText.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <numeric>
#include <random>

namespace content {

QHash<QString, QString> readFormulaOnly(const QString& path, QList<TsvError>& errors)
{
    QHash<QString, QString> reasons;
    for (const TsvRow& row : readTsv(path, {QStringLiteral("paragraph"), QStringLiteral("reason")}, errors)) {
        if (!parseArticleRef(row["paragraph"]) || row["reason"].isEmpty() || reasons.contains(row["paragraph"]))
            errors.append(
                {path, row.line(),
                 QStringLiteral("「%1」 names no paragraph, has no reason or is listed twice").arg(row["paragraph"])});
        else
            reasons.insert(row["paragraph"], row["reason"]);
    }
    return reasons;
}

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

qint64 paragraphOf(const store::Question& q)
{
    const auto ref = parseArticleRef(q.article);
    return ref ? paragraphNumber(*ref) : 0;
}

QStringList textsOf(const QString& text, const Spans& spans)
{
    QStringList texts;
    for (const passage::Span& s : spans)
        texts.append(text.mid(s.start, s.length));
    return texts;
}

// One question as the quiz screen shows it, with what the checks need of it.
struct Shown
{
    const store::Question& q;
    QStringList answers;
    QString display;    // the passage laid out
    QString blanked;    // and blanked
    QList<Spans> spans; // where each answer is blanked
};

class Reviewer
{
public:
    explicit Reviewer(const Standards& standards) : m_standards(standards)
    {
        for (const ExamFact& fact : standards.facts)
            m_factWords.insert(fact.paragraph + u'\t' + askedForm(fact.term));
    }

    void question(const store::Question& q)
    {
        const QStringList answers = passage::answerList(q.answers);
        const QString display = passage::breakSentences(q.passage);
        const Shown s{q, answers, display, passage::blankAnswers(display, answers), blankedSpans(display, answers)};
        ++r.questions;
        r.answers += int(answers.size());
        m_passages[paragraphOf(q)].append(q.passage);
        for (const QString& a : answers)
            m_asked[QString::number(paragraphOf(q)) + u'\t' + a].append(q.passage);

        checkHeadings(s);
        checkCaption(s);
        checkLength(s);
        checkWords(s);
        checkReplacedWordings(s);
        checkListsAndOrder(s);
        checkFigures(s);
        checkParts(s);
        countTier(s);
    }

    void paragraphs()
    {
        for (const Paragraph& p : m_standards.act.paragraphs()) {
            ++r.paragraphs;
            const QStringList passages = m_passages.value(paragraphNumber(p.ref));
            const QString name = paragraphName(m_standards.act, p);
            if (passages.isEmpty()) {
                ++r.paragraphsWithoutQuestion;
                r.findings << name + QStringLiteral(": no question");
            }
            for (const Item& item : p.items)
                checkItem(name, item, passages);
        }
    }

    void facts()
    {
        for (const ExamFact& fact : m_standards.facts) {
            ++r.facts;
            if (factAsked(fact))
                ++r.factsAsked;
            else
                r.findings << QStringLiteral("%1%2: the exam fact 「%3」 (%4) is no blank")
                                  .arg(fact.paragraph, fact.item.isEmpty() ? QString() : u'第' + fact.item + u'号',
                                       fact.term, fact.note);
        }
    }

    void limits(const QString& where)
    {
        const QualityLimits& limits = m_standards.limits;
        if (r.figuresShown > limits.maxFiguresShown)
            r.findings << where + QStringLiteral("%1 figures of the passages are left without a blank; at most %2")
                                      .arg(r.figuresShown)
                                      .arg(limits.maxFiguresShown);
        if (r.formulaOnly > limits.maxFormulaOnly)
            r.findings << where + QStringLiteral("%1 questions ask only formula words; at most %2")
                                      .arg(r.formulaOnly)
                                      .arg(limits.maxFormulaOnly);
        const int tierA = r.tiers.value(QStringLiteral("A"));
        if (r.tiers.value(QString()) < r.questions && (tierA < limits.minTierA || tierA > limits.maxTierA))
            r.findings << where + QStringLiteral("%1 questions of tier A; from %2 to %3 are wanted")
                                      .arg(tierA)
                                      .arg(limits.minTierA)
                                      .arg(limits.maxTierA);
        if (r.tiers.contains(QString()) && r.tiers.size() > 1)
            r.findings << where + QStringLiteral("%1 questions have no 重要度 where the others have one")
                                      .arg(r.tiers.value(QString()));
        for (auto it = m_standards.formulaOnly.constBegin(); it != m_standards.formulaOnly.constEnd(); ++it) {
            if (!m_formulaParagraphs.contains(it.key()))
                r.findings << where + QStringLiteral("%1 is listed in formula_only.tsv but asks more than a formula")
                                          .arg(it.key());
        }
    }

    Review r;

private:
    void finding(const store::Question& q, const QString& message) { r.findings << place(q) + u':' + u' ' + message; }

    // No heading gives an answer away or shows its stem (the screen blanks the answers in the headings too).
    void checkHeadings(const Shown& s)
    {
        const QStringList leaks = headingLeaks(s.q, s.answers, m_standards.vocabulary);
        if (!leaks.isEmpty()) {
            ++r.leakQuestions;
            r.leakAnswers += int(leaks.size());
            finding(s.q, QStringLiteral("the headings give away 「%1」").arg(leaks.join(u'、')));
        }
        const QStringList stems = headingStems(s.q, s.answers);
        if (!stems.isEmpty()) {
            ++r.stemQuestions;
            finding(s.q, QStringLiteral("the headings show the stem 「%1」 of an answer").arg(stems.join(u'、')));
        }
        int inText = 0;
        const QStringList lines = headingLines(s.q);
        for (const QString& a : s.answers)
            inText += std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(a); });
        r.answersInHeadingText += inText;
        r.questionsWithAnswerInHeadingText += inText > 0;
    }

    // 定義 is the caption of the article (its own, or what captions.tsv gives it).
    void checkCaption(const Shown& s)
    {
        const auto ref = parseArticleRef(s.q.article);
        const Paragraph* p = ref ? m_standards.act.find(*ref) : nullptr;
        if (p && s.q.caption != p->caption) {
            ++r.wrongCaptions;
            finding(s.q, QStringLiteral("定義 「%1」 is not the caption of %2: 「%3」")
                             .arg(s.q.caption, p->article, p->caption));
        }
    }

    // The passage fits the box as shown, blank markers included.
    void checkLength(const Shown& s)
    {
        const int rows = rowsOf(s.blanked);
        if (s.blanked.size() > r.longestCharacters) {
            r.longestCharacters = int(s.blanked.size());
            r.longestAt = place(s.q);
        }
        r.longestRows = std::max(r.longestRows, rows);
        if (rows > boxRows || s.blanked.size() > boxCharacters) {
            ++r.overBox;
            finding(s.q, QStringLiteral("the passage needs %1 lines (%2 characters); the box shows %3 (%4)")
                             .arg(rows)
                             .arg(s.blanked.size())
                             .arg(boxRows)
                             .arg(boxCharacters));
        }
    }

    // What the answers are: filler words, formula words, provision numbers.
    void checkWords(const Shown& s)
    {
        const Vocabulary& vocabulary = m_standards.vocabulary;
        bool allFiller = !s.answers.isEmpty();
        for (qsizetype k = 0; k < s.answers.size(); ++k) {
            const QString& a = s.answers[k];
            const Term* term = vocabulary.find(a);
            // A word outside the glossary is an answer only as an exam fact of its paragraph.
            const bool fact = m_factWords.contains(s.q.article + u'\t' + a);
            const bool phrased = std::all_of(s.spans[k].begin(), s.spans[k].end(), [&](const passage::Span& span) {
                return insideFixedPhrase(s.display, span, vocabulary);
            });
            const bool filler = term ? isFiller(*term) || isFixedPhrase(term->category) : !fact;
            allFiller = allFiller && (filler || phrased || s.q.part.contains(a) || s.q.chapter.contains(a) ||
                                      s.q.section.contains(a));
            if (isProvisionReference(a)) {
                ++r.provisionAnswers;
                finding(s.q, QStringLiteral("answer 「%1」 names a provision").arg(a));
            }
        }
        r.fillerOnly += allFiller;
        const bool formula =
            !s.answers.isEmpty() && std::all_of(s.answers.begin(), s.answers.end(),
                                                [](const QString& a) { return formulaWords().contains(a); });
        if (formula) {
            ++r.formulaOnly;
            m_formulaParagraphs.insert(s.q.article);
            if (!m_standards.formulaOnly.contains(s.q.article))
                finding(s.q, QStringLiteral("asks only 「%1」, and formula_only.tsv gives no reason for it")
                                 .arg(s.answers.join(u'、')));
        }
    }

    // No blank inside a wording that a replacement clause replaces.
    void checkReplacedWordings(const Shown& s)
    {
        const Spans replaced = replacedWordings(s.display);
        int inside = 0;
        for (const Spans& places : s.spans) {
            inside += std::any_of(places.begin(), places.end(),
                                  [&](const passage::Span& place) { return overlapsAny(place, replaced); });
        }
        if (inside > 0) {
            r.replacedBlankAnswers += inside;
            ++r.replacedBlankQuestions;
            finding(s.q,
                    QStringLiteral("%1 answers blanked inside the wording a replacement clause replaces").arg(inside));
        }
    }

    // No answer that a name the passage defines restates, no three blanks in one list, numbers in reading order.
    void checkListsAndOrder(const Shown& s)
    {
        const QStringList restated = restatedByName(s.display, s.answers);
        if (!restated.isEmpty()) {
            r.restatedAnswers += int(restated.size());
            finding(s.q,
                    QStringLiteral("asks 「%1」, which a name the passage defines restates").arg(restated.join(u'、')));
        }
        if (mostBlanksInOneList(s.display, s.spans) >= 3) {
            ++r.longLists;
            finding(s.q, QStringLiteral("three or more members of one list blanked"));
        }
        if (!inReadingOrder(s.spans, s.answers)) {
            ++r.outOfOrder;
            finding(s.q, QStringLiteral("the numbers do not run in reading order"));
        }
    }

    // The figures of the passage, blanked or left shown; the answers that hold one.
    void checkFigures(const Shown& s)
    {
        r.figures += int(figureSpans(s.display).size());
        r.figuresShown += int(figureSpans(s.blanked).size());
        r.figureAnswers += int(std::count_if(s.answers.begin(), s.answers.end(), holdsFigure));
    }

    // The parts of one paragraph in turn: none asks what the part right before showed plainly, and none shows plainly
    // a figure that an earlier part asked.
    void checkParts(const Shown& s)
    {
        const qint64 paragraph = s.q.no / partsPerParagraph;
        if (s.q.no % partsPerParagraph == 0 || paragraph != m_partsOf) {
            m_partsOf = paragraph;
            m_before.clear();
            m_figuresAsked.clear();
        }
        if (s.q.no % partsPerParagraph == 0)
            return;
        for (const QString& a : s.answers) {
            if (!m_before.isEmpty() && showsPlainly(m_before, a, m_standards.vocabulary)) {
                ++r.repeatedAnswers;
                finding(s.q, QStringLiteral("asks 「%1」, which the part before showed plainly").arg(a));
            }
        }
        for (const QString& figure : textsOf(s.blanked, figureSpans(s.blanked))) {
            if (m_figuresAsked.contains(figure)) {
                ++r.figuresShownAfter;
                finding(s.q, QStringLiteral("shows 「%1」, which a part before asked").arg(figure));
            }
        }
        m_before = s.blanked;
        for (const QString& a : s.answers) {
            for (const QString& figure : textsOf(a, figureSpans(a)))
                m_figuresAsked.insert(figure);
        }
    }

    // The tier of the question, counted in all and by chapter; one that is none of A, B, C is a finding.
    void countTier(const Shown& s)
    {
        if (!s.q.tier.isEmpty() && !tierNames().contains(s.q.tier))
            finding(s.q, QStringLiteral("重要度 「%1」 is none of %2").arg(s.q.tier, tierNames().join(u' ')));
        ++r.tiers[s.q.tier];
        const QString chapter = s.q.chapter.isEmpty() ? s.q.part : s.q.part + QStringLiteral(" / ") + s.q.chapter;
        if (r.tiersByChapter.isEmpty() || r.tiersByChapter.last().first != chapter)
            r.tiersByChapter.append({chapter, {}});
        ++r.tiersByChapter.last().second[s.q.tier];
    }

    void checkItem(const QString& name, const Item& item, const QStringList& passages)
    {
        const QStringList lines = itemLines(item);
        auto shown = [&](const QString& line) {
            return std::any_of(passages.begin(), passages.end(), [&](const QString& s) { return showsLine(s, line); });
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

    bool factAsked(const ExamFact& fact) const
    {
        const auto ref = parseArticleRef(fact.paragraph);
        const Paragraph* p = ref ? m_standards.act.find(*ref) : nullptr;
        if (!p)
            return false;
        const QStringList passages =
            m_asked.value(QString::number(paragraphNumber(*ref)) + u'\t' + askedForm(fact.term));
        return std::any_of(passages.begin(), passages.end(), [&](const QString& s) {
            return fact.item.isEmpty() || std::any_of(p->items.begin(), p->items.end(), [&](const Item& item) {
                       return item.number == fact.item && showsLine(s, item.shownLine());
                   });
        });
    }

    const Standards& m_standards;
    QHash<qint64, QStringList> m_passages; // by paragraph
    QHash<QString, QStringList> m_asked;   // paragraph and answer → the passages that blank it
    QSet<QString> m_formulaParagraphs;     // paragraphs with a formula-only question
    QSet<QString> m_factWords;             // 条 and the asked form of each exam fact's word
    qint64 m_partsOf = 0;                  // the paragraph whose parts are being read
    QString m_before;                      // the part before, as shown
    QSet<QString> m_figuresAsked;          // by the parts so far
};

QString number(int n)
{
    return QLocale::c().toString(n);
}

} // namespace

Review reviewQuestions(const QList<QuestionRecord>& questions, const QString& source, const Standards& standards)
{
    Reviewer reviewer(standards);
    for (const QuestionRecord& record : questions) {
        const qsizetype before = reviewer.r.findings.size();
        reviewer.question(record.question);
        for (qsizetype i = before; i < reviewer.r.findings.size(); ++i) {
            reviewer.r.findings[i].prepend(record.line > 0 ? QStringLiteral("%1:%2: ").arg(source).arg(record.line)
                                                           : source + QStringLiteral(": "));
        }
    }
    reviewer.paragraphs();
    reviewer.facts();
    reviewer.limits(source + QStringLiteral(": "));
    return reviewer.r;
}

void printReview(const Review& r, const QualityLimits& limits, QTextStream& out)
{
    auto line = [&](const char* name, const QString& value) {
        out << QString::fromUtf8(name).leftJustified(32) << value << '\n';
    };
    auto questions = [](int n) { return QStringLiteral("%1 questions").arg(number(n)); };
    const double share = r.answers > 0 ? 100.0 * r.figureAnswers / r.answers : 0.0;
    line("questions", number(r.questions));
    line("answers", number(r.answers));
    line("header leaks",
         QStringLiteral("%1 questions (%2 answers)").arg(number(r.leakQuestions), number(r.leakAnswers)));
    line("  answers in a heading's text",
         QStringLiteral("%1 in %2 questions (blanked on screen)")
             .arg(number(r.answersInHeadingText), number(r.questionsWithAnswerInHeadingText)));
    line("answer stems in a heading", questions(r.stemQuestions));
    line("wrong captions", questions(r.wrongCaptions));
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
    line("formula-only questions",
         QStringLiteral("%1 (at most %2)").arg(number(r.formulaOnly), number(limits.maxFormulaOnly)));
    line("provision numbers asked", QStringLiteral("%1 answers").arg(number(r.provisionAnswers)));
    line("blanks in replaced wordings", QStringLiteral("%1 answers in %2 questions")
                                            .arg(number(r.replacedBlankAnswers), number(r.replacedBlankQuestions)));
    line("answers a defined name restates", QStringLiteral("%1 answers").arg(number(r.restatedAnswers)));
    line("three or more of one list", questions(r.longLists));
    line("out-of-order numbering", questions(r.outOfOrder));
    line("parts: shown just before", QStringLiteral("%1 answers").arg(number(r.repeatedAnswers)));
    line("parts: figures shown after", number(r.figuresShownAfter));
    line("figures left shown", QStringLiteral("%1 of %2 (at most %3)")
                                   .arg(number(r.figuresShown), number(r.figures), number(limits.maxFiguresShown)));
    line("figure blanks", QStringLiteral("%1 % (%2 of %3 answers)")
                              .arg(QString::number(share, 'f', 1), number(r.figureAnswers), number(r.answers)));
    line("classic exam facts asked", QStringLiteral("%1 of %2").arg(number(r.factsAsked), number(r.facts)));
    if (r.tiers.value(QString()) == r.questions) {
        line("tiers", QStringLiteral("none (no 重要度)"));
    } else {
        QStringList counts;
        for (const QString& tier : tierNames())
            counts << tier + u' ' + number(r.tiers.value(tier));
        line("tiers", counts.join(QStringLiteral(", ")) +
                          QStringLiteral(" (A from %1 to %2)").arg(number(limits.minTierA), number(limits.maxTierA)));
        out << "  " << tierNames().join(QStringLiteral("     ")) << "  by chapter\n";
        for (const auto& [chapter, tiers] : r.tiersByChapter) {
            for (const QString& tier : tierNames())
                out << QString::number(tiers.value(tier)).rightJustified(tier == tierNames().first() ? 3 : 6);
            out << "  " << chapter << '\n';
        }
    }
    out.flush();
}

void printSample(const QList<QuestionRecord>& questions, int count, std::optional<quint32> seed, QTextStream& out)
{
    const qsizetype total = questions.size();
    QList<qsizetype> chosen;
    if (seed) {
        // A partial shuffle by std::mt19937, whose output the C++ standard fixes: the same seed draws the same
        // questions on every machine.
        QList<qsizetype> order(total);
        std::iota(order.begin(), order.end(), 0);
        std::mt19937 random(*seed);
        for (qsizetype i = 0; i < std::min<qsizetype>(count, total); ++i) {
            std::swap(order[i], order[i + qsizetype(random() % quint32(total - i))]);
            chosen.append(order[i]);
        }
        std::sort(chosen.begin(), chosen.end());
    } else {
        for (int i = 0; i < count && total > 0; ++i)
            chosen.append(qsizetype(i) * total / count);
    }
    for (const qsizetype at : std::as_const(chosen)) {
        const store::Question& q = questions[at].question;
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
