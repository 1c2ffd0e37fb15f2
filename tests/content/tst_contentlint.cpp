// The quality checks: a sound small content passes, and each kind of fault is caught by its own check.
#include "ContentSamples.h"
#include "content/ContentLint.h"

#include <algorithm>
#include <functional>

using content::LintInput;
using content::QuestionRecord;
using Change = std::function<void(LintInput&, content::LintOptions&)>;

Q_DECLARE_METATYPE(Change)

namespace {

QuestionRecord record(qint64 no, const QString& jo, const QString& mondai, const QString& kaitou,
                      const samples::Division& division = samples::Division())
{
    QuestionRecord r;
    r.question = {no, division.part, division.chapter, division.section, division.subsection, jo, QString(), mondai,
                  kaitou};
    return r;
}

// Questions for every paragraph of samples::act(), numbered by the lines of a table.
LintInput soundInput()
{
    LintInput input;
    input.questionSource = QStringLiteral("questions.tsv");
    input.contentsSource = QStringLiteral("toc.tsv");
    input.questions = {
        record(1000100, "第一条", "会社の設立、組織、運営及び管理については、この法律の定めるところによる。", "設立"),
        record(2000100, "第二条第一項", "会社は、法人とする。", "法人"),
        record(2000200, "第二条第二項", "会社の住所は、その本店の所在地にあるものとする。", "本店,所在地"),
        record(295000100, "第二百九十五条第一項",
               "株主総会は、次に掲げる事項について決議をすることができる。\r\n一 定款の変更\r\n二 取締役の選任"
               "\r\n　イ 取締役の氏名\r\n　ロ 取締役の員数",
               "決議,定款の変更", samples::meeting),
        record(295000200, "第二百九十五条第二項",
               "次の各号に掲げる場合には、当該各号に定める者が株主総会を招集する。\r\n一 取締役会設置会社　取締役会",
               "招集,取締役会設置会社,取締役会", samples::meeting),
        record(817000100, "第八百十七条",
               "外国会社は、日本において取引を継続してしようとするときは、日本における代表者を定めなければならない。",
               "日本における代表者", samples::foreign),
    };
    for (qsizetype i = 0; i < input.questions.size(); ++i)
        input.questions[i].line = int(i + 2);
    for (const store::ContentsEntry& e : samples::contents())
        input.contents.append({e, 2, {}});
    return input;
}

content::LintOptions smallOptions()
{
    content::LintOptions options;
    options.minQuestions = 6;
    options.minPerChapter = 3;
    options.programChapters = false;
    return options;
}

QStringList lint(const LintInput& input, const content::LintOptions& options,
                 const QList<content::ExamFact>& facts = {})
{
    const content::Vocabulary vocabulary(
        samples::glossary({"設立 3 手続", "法人 2 一般", "本店 2 一般", "所在地 2 一般", "決議 2 手続",
                           "定款の変更 1 手続", "取締役", "招集 2 手続", "取締役会設置会社 1 会社", "取締役会",
                           "株主総会", "日本における代表者 2"}));
    return content::lintContent(input, content::StatuteIndex(samples::act()), vocabulary, facts, options);
}

store::Question& question(LintInput& input, qint64 no)
{
    for (QuestionRecord& r : input.questions) {
        if (r.question.no == no)
            return r.question;
    }
    qFatal("no question %lld", no);
}

void drop(LintInput& input, qint64 no)
{
    input.questions.removeIf([no](const QuestionRecord& r) { return r.question.no == no; });
}

} // namespace

class TestContentLint final : public QObject
{
    Q_OBJECT

private slots:
    void soundContentPasses();
    void faults_data();
    void faults();
    void programChaptersAreCounted();
};

void TestContentLint::soundContentPasses()
{
    const QStringList findings = lint(soundInput(), smallOptions());
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(u'\n')));
}

void TestContentLint::faults_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("finding");
    QTest::addColumn<QStringList>("fact");  // paragraph, item, term of an exam fact to require

    auto row = [](const char* name, Change change, const QString& finding, const QStringList& fact = {}) {
        QTest::newRow(name) << change << finding << fact;
    };
    // Fields
    row("問題 empty", [](LintInput& in, auto&) { question(in, 2000100).passage.clear(); },
        "questions.tsv:3: Ｎｏ 2000100 第二条第一項: 問題 is empty");
    row("回答 Null in a database", [](LintInput& in, auto&) { in.questions[1].nullFields << "回答"; },
        "Ｎｏ 2000100 第二条第一項: 回答 is Null");
    row("flag other than 0 and 1", [](LintInput& in, auto&) { question(in, 2000100).done = 2; },
        "済 and 直近 must be 0 or 1 (2, 0)");
    row("bare line feed in 問題", [](LintInput& in, auto&) { question(in, 295000100).passage.replace("\r\n", "\n"); },
        "問題 has a line break other than CR LF");
    // Divisions and articles
    row("編 not a part", [](LintInput& in, auto&) { question(in, 1000100).part = "第九編 附則"; },
        "編 「第九編 附則」 is not a part of the Act");
    row("章 not a chapter of its part", [](LintInput& in, auto&) { question(in, 1000100).chapter = "第九章 雑則"; },
        "章 「第九章 雑則」 is not a chapter of 第一編 総則");
    row("章 in a part without chapters", [](LintInput& in, auto&) { question(in, 817000100).chapter = "第一章 通則"; },
        "第六編 外国会社 has no chapters: 章 must be empty");
    row("条 not an article", [](LintInput& in, auto&) { question(in, 1000100).article = "一条"; },
        "条 「一条」 is not an article reference");
    row("条 without the paragraph", [](LintInput& in, auto&) { question(in, 2000100).article = "第二条"; },
        "条 names no paragraph, but 第二条 has 2");
    row("節 other than the Act's", [](LintInput& in, auto&) { question(in, 295000100).section = "第二節 株主"; },
        "節 「第二節 株主」 differs from the Act: 「第一節 株主総会及び種類株主総会等」");
    // Answers
    row("more than five answers", [](LintInput& in, auto&) { question(in, 817000100).answers = "外,日,取,継,代,定"; },
        "回答 holds 6 answers; at most 5");
    row("answer with a blank", [](LintInput& in, auto&) { question(in, 2000200).answers = "本店,その 本店"; },
        "answer 2 「その 本店」 holds a blank");
    row("answer of digits only", [](LintInput& in, auto&) { question(in, 2000200).answers = "本店,1"; },
        "answer 2 「1」 is only digits");
    row("empty answer after a trailing comma", [](LintInput& in, auto&) { question(in, 2000200).answers = "本店,"; },
        "answer 2 「」 is empty");
    row("answer not in the passage", [](LintInput& in, auto&) { question(in, 2000200).answers = "本店,支店"; },
        "answer 2 「支店」 does not occur in the passage");
    row("answer inside an earlier answer",
        [](LintInput& in, auto&) { question(in, 2000200).answers = "本店の所在地,所在地"; },
        "answer 2 「所在地」 leaves no blank");
    row("two-column items shown run together",
        [](LintInput& in, auto&) { question(in, 295000200).passage.remove(content::columnBlank); },
        "the passage shows two-column items run together: 一");
    // Teaching
    row("a heading gives an answer away", [](LintInput& in, auto&) { question(in, 2000100).caption = "（法人格）"; },
        "Ｎｏ 2000100 第二条第一項: the headings give away 「法人」");
    row("an answer the range titles hold", [](LintInput& in, auto&) { question(in, 295000200).answers = "株主総会"; },
        "Ｎｏ 295000200 第二百九十五条第二項: the headings give away 「株主総会」");
    row("an item not shown as the Act prints it",
        [](LintInput& in, auto&) { question(in, 295000100).passage.replace("定款の変更", "定款変更"); },
        "第二百九十五条第一項: item 一 is not shown as the Act prints it");
    row("a sub-item not shown",
        [](LintInput& in, auto&) { question(in, 295000100).passage.remove("\r\n　ロ 取締役の員数"); },
        "第二百九十五条第一項: sub-item ロ of item 二 is not shown");
    row("a passage longer than the box",
        [](LintInput& in, auto&) { question(in, 817000100).passage += QString(690, u'株'); },
        "Ｎｏ 817000100 第八百十七条: the passage needs 21 lines (740 characters)");
    row("a blank inside a replacement clause's quotes",
        [](LintInput& in, auto&) { question(in, 2000100).passage += "同項中「法人」とあるのは、「社団」とする。"; },
        "Ｎｏ 2000100 第二条第一項: 1 answers blanked inside the quoted wording of a replacement clause");
    row("three members of one list blanked",
        [](LintInput& in, auto&) { question(in, 295000100).answers = "決議,定款の変更,取締役"; },
        "Ｎｏ 295000100 第二百九十五条第一項: three or more members of one list blanked");
    row("numbers out of reading order", [](LintInput& in, auto&) { question(in, 2000200).answers = "所在地,本店"; },
        "Ｎｏ 2000200 第二条第二項: the numbers do not run in reading order");
    row("an exam fact that is no blank", [](LintInput& in, auto&) { question(in, 2000200).answers = "本店"; },
        "第二条第二項: the exam fact 「所在地」 (note) is no blank", {"第二条第二項", "", "所在地"});
    row("an exam fact of an item the passage lacks", [](LintInput&, auto&) {},
        "第二百九十五条第一項第三号: the exam fact 「決議」", {"第二百九十五条第一項", "三", "決議"});
    row("a paragraph without a question", [](LintInput& in, auto&) { drop(in, 2000200); }, "第二条第二項: no question");
    row("a part without chapters left out", [](LintInput& in, auto&) { drop(in, 817000100); },
        "第八百十七条: no question");
    // Numbering and order
    row("Ｎｏ used twice", [](LintInput& in, auto&) { question(in, 2000200).no = 2000100; },
        "questions.tsv:4: Ｎｏ 2000100 第二条第二項: Ｎｏ is used twice");
    row("Ｎｏ descending in the file", [](LintInput& in, auto&) { in.questions.swapItemsAt(0, 1); },
        "Ｎｏ 1000100 第一条: Ｎｏ is lower than the Ｎｏ 2000100 before it");
    row("Ｎｏ of another paragraph", [](LintInput& in, auto&) { question(in, 2000200).no = 2000301; },
        "Ｎｏ 2000301 第二条第二項: Ｎｏ is not a number of the paragraph 第二条第二項 names (2000200");
    row("Ｎｏ as files numbered before parts", [](LintInput& in, auto&) { question(in, 2000200).no = 20002; },
        "Ｎｏ 20002 第二条第二項: Ｎｏ is not a number of the paragraph");
    // Counts
    row("too few questions in all", [](LintInput&, content::LintOptions& o) { o.minQuestions = 7; },
        "questions.tsv: 6 questions; at least 7 are needed");
    row("too few questions in a chapter", [](LintInput& in, auto&) { drop(in, 2000200); },
        "第一編 総則 / 第一章 通則: 2 questions; at least 3 are needed");
    // 目次
    row("section of 目次 without a question",
        [](LintInput& in, auto&) {
            for (QuestionRecord& r : in.questions)
                r.question.section.clear();
        },
        "toc.tsv:2: 目次 第一節 株主総会及び種類株主総会等 (第二編 株式会社 / 第四章 機関) has no question");
    row("節 of a question not in 目次", [](LintInput& in, auto&) { in.contents.clear(); },
        "節 「第一節 株主総会及び種類株主総会等」 is not in 目次 under 第二編 株式会社 / 第四章 機関");
}

void TestContentLint::faults()
{
    QFETCH(Change, change);
    QFETCH(QString, finding);
    QFETCH(QStringList, fact);
    LintInput input = soundInput();
    content::LintOptions options = smallOptions();
    change(input, options);
    QList<content::ExamFact> facts;
    if (!fact.isEmpty())
        facts.append({fact[0], fact[1], fact[2], "note", 2});
    const QStringList findings = lint(input, options, facts);
    const bool caught =
        std::any_of(findings.begin(), findings.end(), [&](const QString& line) { return line.contains(finding); });
    QVERIFY2(caught, qPrintable(QStringLiteral("wanted: %1\ngot:\n%2").arg(finding, findings.join(u'\n'))));
}

void TestContentLint::programChaptersAreCounted()
{
    // Against the program's chapter table, the chapters the extract of the Act lacks have no question.
    content::LintOptions options = smallOptions();
    options.programChapters = true;
    const QStringList findings = lint(soundInput(), options);
    QVERIFY(findings.contains("questions.tsv: 第八編 罰則: 0 questions; at least 1 are needed"));
    QVERIFY(
        findings.contains("questions.tsv: 第二編 株式会社 / 第六章 定款の変更: 0 questions; at least 1 are needed"));
    QVERIFY(!findings.join(u'\n').contains("第一章 通則:"));
}

QTEST_GUILESS_MAIN(TestContentLint)
#include "tst_contentlint.moc"
