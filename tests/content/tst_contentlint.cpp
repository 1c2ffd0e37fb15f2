// The quality checks: the sample's questions pass, and each kind of fault planted in them is caught by its check.
#include "ContentSamples.h"
#include "content/ActTables.h"
#include "content/ContentLint.h"
#include "support/Fixture.h"

#include <functional>

using content::LintInput;
using Change = std::function<void(LintInput&, content::LintOptions&)>;

Q_DECLARE_METATYPE(Change)

namespace {

store::Question& question(LintInput& input, qint64 no)
{
    for (content::QuestionRecord& r : input.questions) {
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
    row("sound sample", [](LintInput&, auto&) {}, {});
    // Fields
    row("問題 empty", [](LintInput& in, auto&) { question(in, 2000100).passage.clear(); },
        {"questions.tsv:3: Ｎｏ 2000100 第二条第一項: 問題 is empty"});
    row("flag other than 0 and 1", [](LintInput& in, auto&) { question(in, 2000100).done = 2; },
        {"済 and 直近 must be 0 or 1 (2, 0)"});
    row("bare line feed in 問題", [](LintInput& in, auto&) { question(in, 295000100).passage.replace("\r\n", "\n"); },
        {"問題 has a line break other than CR LF"});
    // Divisions and articles
    row("編 not a part", [](LintInput& in, auto&) { question(in, 1000100).part = "第九編 附則"; },
        {"編 「第九編 附則」 is not a part of the Act"});
    row("章 not a chapter of its part", [](LintInput& in, auto&) { question(in, 1000100).chapter = "第九章 雑則"; },
        {"章 「第九章 雑則」 is not a chapter of 第一編 総則"});
    row("章 in a part without chapters", [](LintInput& in, auto&) { question(in, 817000100).chapter = "第一章 通則"; },
        {"第六編 外国会社 has no chapters: 章 must be empty"});
    row("条 not an article",
        [](LintInput& in, auto&) {
            question(in, 1000100).article = "一条";
            question(in, 2000100).article = "第二条第一号";
            question(in, 2000200).article = "第一二条";
        },
        {"条 「一条」 is not an article reference", "条 「第二条第一号」 is not an article reference",
         "条 「第一二条」 is not an article reference"});
    row("条 without the paragraph", [](LintInput& in, auto&) { question(in, 2000100).article = "第二条"; },
        {"条 names no paragraph, but 第二条 has 2"});
    row("節 other than the Act's", [](LintInput& in, auto&) { question(in, 295000100).section = "第二節 株主"; },
        {"節 「第二節 株主」 differs from the Act: 「第一節 株主総会及び種類株主総会等」"});
    // Answers
    row("answers that are no blanks of their own",
        [](LintInput& in, auto&) { question(in, 2000200).answers = "本店の所在地,所在地,支店,その 本店,1,"; },
        {"回答 holds 6 answers; at most 5", "answer 2 「所在地」 leaves no blank",
         "answer 3 「支店」 does not occur in the passage", "answer 4 「その 本店」 holds a blank",
         "answer 5 「1」 is only digits", "answer 6 「」 is empty"});
    row("two-column items shown run together",
        [](LintInput& in, auto&) { question(in, 295000200).passage.remove(content::columnBlank); },
        {"the passage shows two-column items run together: 一"});
    // Teaching
    row("headings that give an answer away",
        [](LintInput& in, auto&) {
            question(in, 2000100).caption = "（法人格）"; // inside a word of the caption
            question(in, 295000200).answers = "機関";     // the title of the chapter
        },
        {"Ｎｏ 2000100 第二条第一項: the headings give away 「法人」",
         "Ｎｏ 295000200 第二百九十五条第二項: the headings give away 「機関」"});
    row("items and sub-items not shown as the Act prints them",
        [](LintInput& in, auto&) {
            question(in, 295000100).passage.replace("定款の変更", "定款変更").remove("\r\n　ロ 取締役の員数");
        },
        {"第二百九十五条第一項: item 一 is not shown as the Act prints it",
         "第二百九十五条第一項: sub-item ロ of item 二 is not shown"});
    row("a passage longer than the box",
        [](LintInput& in, auto&) { question(in, 817000100).passage += QString(690, u'株'); },
        {"Ｎｏ 817000100 第八百十七条: the passage needs 21 lines (740 characters)"});
    row("a blank inside a replacement clause's quotes",
        [](LintInput& in, auto&) { question(in, 2000100).passage += "同項中「法人」とあるのは、「社団」とする。"; },
        {"Ｎｏ 2000100 第二条第一項: 1 answers blanked inside the quoted wording of a replacement clause"});
    row("three members of one list blanked",
        [](LintInput& in, auto&) { question(in, 1000100).answers = "設立,組織,管理"; },
        {"Ｎｏ 1000100 第一条: three or more members of one list blanked"});
    row("numbers out of reading order", [](LintInput& in, auto&) { question(in, 2000200).answers = "所在地,本店"; },
        {"Ｎｏ 2000200 第二条第二項: the numbers do not run in reading order"});
    row("an exam fact that is no blank", [](LintInput& in, auto&) { question(in, 817000100).answers = "取引"; },
        {"第八百十七条: the exam fact 「日本における代表者」 (外国会社の代表者) is no blank"});
    row("an exam fact of an item no passage shows",
        [](LintInput& in, auto&) { question(in, 295000100).passage.remove("\r\n一 定款の変更"); },
        {"第二百九十五条第一項第一号: the exam fact 「定款の変更」 (総会の決議事項) is no blank"});
    row("paragraphs without a question, a chapter short of questions",
        [](LintInput& in, auto&) {
            in.questions.removeIf([](auto& r) { return r.question.no == 2000200 || r.question.no == 817000100; });
        },
        {"第二条第二項: no question", "第八百十七条: no question",
         "questions.tsv: 第一編 総則 / 第一章 通則: 2 questions; at least 3 are needed"});
    // Numbering and order
    row("Ｎｏ used twice", [](LintInput& in, auto&) { question(in, 2000200).no = 2000100; },
        {"questions.tsv:4: Ｎｏ 2000100 第二条第二項: Ｎｏ is used twice"});
    row("Ｎｏ descending in the file", [](LintInput& in, auto&) { in.questions.swapItemsAt(0, 1); },
        {"Ｎｏ 1000100 第一条: Ｎｏ is lower than the Ｎｏ 2000100 before it"});
    row("Ｎｏ as files numbered before parts", [](LintInput& in, auto&) { question(in, 2000200).no = 20002; },
        {"Ｎｏ 20002 第二条第二項: Ｎｏ is not a number of the paragraph 第二条第二項 names (2000200"});
    // Counts
    row("too few questions in all", [](LintInput&, content::LintOptions& o) { o.minQuestions = 7; },
        {"questions.tsv: 6 questions; at least 7 are needed"});
    row("the program's chapters the Act lacks", [](LintInput&, content::LintOptions& o) { o.programChapters = true; },
        {"questions.tsv: 第八編 罰則: 0 questions; at least 1 are needed",
         "questions.tsv: 第二編 株式会社 / 第六章 定款の変更: 0 questions; at least 1 are needed"});
    // 目次
    row("section of 目次 without a question",
        [](LintInput& in, auto&) {
            for (content::QuestionRecord& r : in.questions)
                r.question.section.clear();
        },
        {"toc.tsv:2: 目次 第一節 株主総会及び種類株主総会等 (第二編 株式会社 / 第四章 機関) has no question"});
    row("節 of a question not in 目次", [](LintInput& in, auto&) { in.contents.clear(); },
        {"節 「第一節 株主総会及び種類株主総会等」 is not in 目次 under 第二編 株式会社 / 第四章 機関"});
}

void TestContentLint::faults()
{
    QFETCH(Change, change);
    QFETCH(QStringList, findings);
    LintInput input = m_input;
    content::LintOptions options;
    options.minQuestions = 6;
    options.minPerChapter = 3;
    options.programChapters = false;
    change(input, options);
    const QStringList got =
        content::lintContent(input, content::StatuteIndex(m_act), content::Vocabulary(m_terms), m_facts, options);
    const QString all = got.join(u'\n');
    for (const QString& finding : findings)
        QVERIFY2(all.contains(finding), qPrintable(QStringLiteral("wanted: %1\ngot:\n%2").arg(finding, all)));
    if (findings.isEmpty())
        QVERIFY2(got.isEmpty(), qPrintable(all));
}

QTEST_GUILESS_MAIN(TestContentLint)
#include "tst_contentlint.moc"
