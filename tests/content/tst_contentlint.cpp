// The quality checks: the sample's questions pass, and each kind of fault planted in them is caught by its check.
#include "ContentSamples.h"
#include "content/ActTables.h"
#include "content/ContentLint.h"
#include "support/Fixture.h"

#include <functional>

using content::LintInput;

// What one row checks: the sample's questions and table of contents, the limits, the formula-only paragraphs.
struct Case
{
    LintInput input;
    content::QualityLimits limits;
    QHash<QString, QString> formulaOnly;
    bool programChapters = false;
};
using Change = std::function<void(Case&)>;

Q_DECLARE_METATYPE(Change)

namespace {

store::Question& question(Case& c, qint64 no)
{
    for (content::QuestionRecord& r : c.input.questions) {
        if (r.question.no == no)
            return r.question;
    }
    qFatal("no question %lld", no);
}

} // namespace

class TestContentLint final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void faults_data();
    void faults();

private:
    LintInput m_input; // the sample's questions.tsv and toc.tsv
    QList<content::Paragraph> m_act;
    QList<content::Term> m_terms;
    QList<content::ExamFact> m_facts;
};

void TestContentLint::initTestCase()
{
    fixture::TempFolder folder;
    samples::writeFolder(folder.path());
    const content::ContentFolder sample(folder.path());
    QList<content::TsvError> errors;
    m_input = {"questions.tsv", "toc.tsv", content::readQuestions(sample.questions(), errors),
               content::readContents(sample.contents(), errors)};
    m_act = content::readAct(sample, errors);
    m_terms = content::readGlossary(sample.terms(), errors);
    m_facts = content::readExamFacts(sample.examFacts(), m_terms, errors);
    QCOMPARE(content::summarize(errors), QString());
}

void TestContentLint::faults_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("findings"); // all of them, and nothing else for the sound sample

    auto row = [](const char* name, Change change, const QStringList& findings) {
        QTest::newRow(name) << change << findings;
    };
    row("sound sample", [](Case&) {}, {});
    // Fields
    row("問題 empty", [](Case& c) { question(c, 2000100).passage.clear(); },
        {"questions.tsv:3: Ｎｏ 2000100 第二条第一項: 問題 is empty"});
    row("flag other than 0 and 1", [](Case& c) { question(c, 2000100).done = 2; },
        {"済 and 直近 must be 0 or 1 (2, 0)"});
    row("bare line feed in 問題", [](Case& c) { question(c, 295000100).passage.replace("\r\n", "\n"); },
        {"問題 has a line break other than CR LF"});
    // Divisions and articles
    row("編 not a part", [](Case& c) { question(c, 1000100).part = "第九編 附則"; },
        {"編 「第九編 附則」 is not a part of the Act"});
    row("章 not a chapter of its part", [](Case& c) { question(c, 1000100).chapter = "第九章 雑則"; },
        {"章 「第九章 雑則」 is not a chapter of 第一編 総則"});
    row("章 in a part without chapters", [](Case& c) { question(c, 817000100).chapter = "第一章 通則"; },
        {"第六編 外国会社 has no chapters: 章 must be empty"});
    row("条 not an article",
        [](Case& c) {
            question(c, 1000100).article = "一条";
            question(c, 2000100).article = "第二条第一号";
            question(c, 2000200).article = "第一二条";
        },
        {"条 「一条」 is not an article reference", "条 「第二条第一号」 is not an article reference",
         "条 「第一二条」 is not an article reference"});
    row("条 without the paragraph", [](Case& c) { question(c, 2000100).article = "第二条"; },
        {"条 names no paragraph, but 第二条 has 2"});
    row("節 other than the Act's", [](Case& c) { question(c, 295000100).section = "第二節 株主"; },
        {"節 「第二節 株主」 differs from the Act: 「第一節 株主総会及び種類株主総会等」"});
    // Answers
    row("answers that are no blanks of their own",
        [](Case& c) { question(c, 2000200).answers = "本店の所在地,所在地,支店,その 本店,1,"; },
        {"回答 holds 6 answers; at most 5", "answer 2 「所在地」 leaves no blank",
         "answer 3 「支店」 does not occur in the passage", "answer 4 「その 本店」 holds a blank",
         "answer 5 「1」 is only digits", "answer 6 「」 is empty"});
    row("two-column items shown run together",
        [](Case& c) { question(c, 295000200).passage.remove(content::columnBlank); },
        {"the passage shows two-column items run together: 一"});
    // Teaching
    row("headings that give an answer away",
        [](Case& c) {
            question(c, 2000100).caption = "（法人格）"; // inside a word of the caption
            question(c, 295000200).answers = "機関";     // the title of the chapter
        },
        {"Ｎｏ 2000100 第二条第一項: the headings give away 「法人」",
         "Ｎｏ 295000200 第二百九十五条第二項: the headings give away 「機関」"});
    row("items and sub-items not shown as the Act prints them",
        [](Case& c) {
            question(c, 295000100).passage.replace("定款の変更", "定款変更").remove("\r\n　ロ 取締役の員数");
        },
        {"第二百九十五条第一項: item 一 is not shown as the Act prints it",
         "第二百九十五条第一項: sub-item ロ of item 二 is not shown"});
    row("a passage longer than the box", [](Case& c) { question(c, 817000100).passage += QString(690, u'株'); },
        {"Ｎｏ 817000100 第八百十七条: the passage needs 21 lines (740 characters)"});
    row("a blank inside the wording a replacement clause replaces",
        [](Case& c) { question(c, 2000100).passage += "同項中「法人」とあるのは、「社団」とする。"; },
        {"Ｎｏ 2000100 第二条第一項: 1 answers blanked inside the wording a replacement clause replaces"});
    row("an answer that a name the passage defines restates",
        [](Case& c) {
            question(c, 2000100).passage += "株式の割当て（以下「株式無償割当て」という。）をする。";
            question(c, 2000100).answers = "株式無償割当て,割当て";
        },
        {"Ｎｏ 2000100 第二条第一項: asks 「割当て」, which a name the passage defines restates"});
    row("three members of one list blanked, a remark between them",
        [](Case& c) {
            question(c, 1000100).passage.replace("組織、", "組織（定款で定めるものに限る。）、");
            question(c, 1000100).answers = "設立,組織,管理";
        },
        {"Ｎｏ 1000100 第一条: three or more members of one list blanked"});
    row("a caption other than the article's, showing the stem of an answer",
        [](Case& c) {
            question(c, 2000100).caption = "（法人の性質）";
            question(c, 2000100).answers = "法人とする";
        },
        {"Ｎｏ 2000100 第二条第一項: 定義 「（法人の性質）」 is not the caption of 第二条: 「（趣旨）」",
         "Ｎｏ 2000100 第二条第一項: the headings show the stem 「法人」 of an answer"});
    row("an answer naming a provision",
        [](Case& c) {
            question(c, 2000200).passage += "第一条の規定による。";
            question(c, 2000200).answers = "本店,所在地,第一条";
        },
        {"Ｎｏ 2000200 第二条第二項: answer 「第一条」 names a provision"});
    row("formula-only questions without a reason and above the limit, a reason for none",
        [](Case& c) {
            question(c, 2000100).passage += "前項の規定は、会社について準用する。";
            question(c, 2000100).answers = "準用する";
            c.formulaOnly.insert("第二条第二項", "理由");
            c.limits.maxFormulaOnly = 0;
        },
        {"Ｎｏ 2000100 第二条第一項: asks only 「準用する」, and formula_only.tsv gives no reason for it",
         "questions.tsv: 1 questions ask only formula words; at most 0",
         "第二条第二項 is listed in formula_only.tsv but asks more than a formula"});
    row("figures left shown above the limit",
        [](Case& c) {
            question(c, 2000100).passage += "二週間以内に三分の二を定める。";
            question(c, 2000100).answers = "法人,二週間";
            c.limits.maxFiguresShown = 0;
        },
        {"questions.tsv: 1 figures of the passages are left without a blank; at most 0"});
    row("parts asking what the part before showed, showing a figure an earlier part asked",
        [](Case& c) {
            content::QuestionRecord second = c.input.questions.last();
            store::Question& first = c.input.questions.last().question;
            first.no = 817000101;
            first.passage += "二週間以内に定める。";
            first.answers = "日本における代表者,二週間";
            second.question.no = 817000102;
            second.question.passage = first.passage;
            second.question.answers = "外国会社";
            c.input.questions.append(second);
        },
        {"Ｎｏ 817000102 第八百十七条: asks 「外国会社」, which the part before showed plainly",
         "Ｎｏ 817000102 第八百十七条: shows 「二週間」, which a part before asked"});
    row("numbers out of reading order", [](Case& c) { question(c, 2000200).answers = "所在地,本店"; },
        {"Ｎｏ 2000200 第二条第二項: the numbers do not run in reading order"});
    row("an exam fact that is no blank", [](Case& c) { question(c, 817000100).answers = "取引"; },
        {"第八百十七条: the exam fact 「日本における代表者」 (外国会社の代表者) is no blank"});
    row("an exam fact of an item no passage shows",
        [](Case& c) { question(c, 295000100).passage.remove("\r\n一 定款の変更"); },
        {"第二百九十五条第一項第一号: the exam fact 「定款の変更」 (総会の決議事項) is no blank"});
    row("paragraphs without a question, a chapter short of questions",
        [](Case& c) {
            c.input.questions.removeIf([](auto& r) { return r.question.no == 2000200 || r.question.no == 817000100; });
        },
        {"第二条第二項: no question", "第八百十七条: no question",
         "questions.tsv: 第一編 総則 / 第一章 通則: 2 questions; at least 3 are needed"});
    // Numbering and order
    row("Ｎｏ used twice", [](Case& c) { question(c, 2000200).no = 2000100; },
        {"questions.tsv:4: Ｎｏ 2000100 第二条第二項: Ｎｏ is used twice"});
    row("Ｎｏ descending in the file", [](Case& c) { c.input.questions.swapItemsAt(0, 1); },
        {"Ｎｏ 1000100 第一条: Ｎｏ is lower than the Ｎｏ 2000100 before it"});
    row("Ｎｏ as files numbered before parts", [](Case& c) { question(c, 2000200).no = 20002; },
        {"Ｎｏ 20002 第二条第二項: Ｎｏ is not a number of the paragraph 第二条第二項 names (2000200"});
    row("a tier that is none, a question without one, too few of tier A",
        [](Case& c) {
            question(c, 817000100).tier.clear();
            question(c, 1000100).tier = "D";
        },
        {"Ｎｏ 1000100 第一条: 重要度 「D」 is none of A B C",
         "questions.tsv: 1 questions have no 重要度 where the others have one",
         "questions.tsv: 2 questions of tier A; from 3 to 900 are wanted"});
    // Counts
    row("too few questions in all", [](Case& c) { c.limits.minQuestions = 7; },
        {"questions.tsv: 6 questions; at least 7 are needed"});
    row("the program's chapters the Act lacks", [](Case& c) { c.programChapters = true; },
        {"questions.tsv: 第八編 罰則: 0 questions; at least 1 are needed",
         "questions.tsv: 第二編 株式会社 / 第六章 定款の変更: 0 questions; at least 1 are needed"});
    // 目次
    row("section of 目次 without a question",
        [](Case& c) {
            for (content::QuestionRecord& r : c.input.questions)
                r.question.section.clear();
        },
        {"toc.tsv:2: 目次 第一節 株主総会及び種類株主総会等 (第二編 株式会社 / 第四章 機関) has no question"});
    row("節 of a question not in 目次", [](Case& c) { c.input.contents.clear(); },
        {"節 「第一節 株主総会及び種類株主総会等」 is not in 目次 under 第二編 株式会社 / 第四章 機関"});
}

void TestContentLint::faults()
{
    QFETCH(Change, change);
    QFETCH(QStringList, findings);
    Case c{m_input, {}, {}};
    c.limits.minQuestions = 6;
    c.limits.minPerChapter = 3;
    c.limits.minTierA = 3;
    change(c);
    const content::StatuteIndex act(m_act);
    const content::Vocabulary vocabulary(m_terms);
    const QStringList got =
        content::lintContent(c.input, {act, vocabulary, m_facts, c.formulaOnly, c.limits}, c.programChapters);
    const QString all = got.join(u'\n');
    for (const QString& finding : findings)
        QVERIFY2(all.contains(finding), qPrintable(QStringLiteral("wanted: %1\ngot:\n%2").arg(finding, all)));
    if (findings.isEmpty())
        QVERIFY2(got.isEmpty(), qPrintable(all));
}

QTEST_GUILESS_MAIN(TestContentLint)
#include "tst_contentlint.moc"
