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
                      const samples::Division& division = {})
{
    QuestionRecord r;
    r.question = {no, division.part, division.chapter, division.section, division.subsection, jo, QString(), mondai,
                  kaitou};
    r.line = 0;
    return r;
}

// Questions for every paragraph of samples::statute(), numbered by the lines of a table.
LintInput soundInput()
{
    const samples::Division meeting{samples::part2, samples::organs, samples::meetings,
                                    QStringLiteral("第一款 株主総会")};
    const samples::Division foreign{samples::part6, QString(), QString(), QString()};
    LintInput input;
    input.questionSource = QStringLiteral("questions.tsv");
    input.contentsSource = QStringLiteral("toc.tsv");
    input.questions = {
        record(10001, "第一条", "会社の設立、組織、運営及び管理については、この法律の定めるところによる。", "設立"),
        record(20001, "第二条第一項", "会社は、法人とする。", "法人"),
        record(20002, "第二条第二項", "会社の住所は、その本店の所在地にあるものとする。", "本店,所在地"),
        record(2950001, "第二百九十五条第一項",
               "株主総会は、次に掲げる事項について決議をすることができる。\r\n一 定款の変更\r\n二 取締役の選任",
               "株主総会,定款の変更,取締役", meeting),
        record(2950002, "第二百九十五条第二項", "次の各号に掲げる場合には、当該各号に定める者が株主総会を招集する。",
               "株主総会", meeting),
        record(8170001, "第八百十七条",
               "外国会社は、日本において取引を継続してしようとするときは、日本における代表者を定めなければならない。",
               "外国会社,日本における代表者", foreign),
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
    const QStringList findings =
        content::lintContent(soundInput(), content::StatuteIndex(samples::statute()), smallOptions());
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(u'\n')));
}

void TestContentLint::faults_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("finding");

    auto row = [](const char* name, Change change, const QString& finding) {
        QTest::newRow(name) << change << finding;
    };
    // Fields
    row("問題 empty", [](LintInput& in, auto&) { question(in, 20001).mondai.clear(); },
        "questions.tsv:3: Ｎｏ 20001 第二条第一項: 問題 is empty");
    row("回答 Null in a database", [](LintInput& in, auto&) { in.questions[1].nullFields << "回答"; },
        "Ｎｏ 20001 第二条第一項: 回答 is Null");
    row("flag other than 0 and 1", [](LintInput& in, auto&) { question(in, 20001).done = 2; },
        "済 and 直近 must be 0 or 1 (2, 0)");
    row("bare line feed in 問題", [](LintInput& in, auto&) { question(in, 2950001).mondai.replace("\r\n", "\n"); },
        "問題 has a line break other than CR LF");
    // Divisions and articles
    row("編 not a part", [](LintInput& in, auto&) { question(in, 10001).hen = "第九編 附則"; },
        "編 「第九編 附則」 is not a part of the Act");
    row("章 not a chapter of its part", [](LintInput& in, auto&) { question(in, 10001).sho = "第九章 雑則"; },
        "章 「第九章 雑則」 is not a chapter of 第一編 総則");
    row("章 in a part without chapters", [](LintInput& in, auto&) { question(in, 8170001).sho = "第一章 通則"; },
        "第六編 外国会社 has no chapters: 章 must be empty");
    row("条 not an article", [](LintInput& in, auto&) { question(in, 10001).jo = "一条"; },
        "条 「一条」 is not an article reference");
    row("条 not in the Act", [](LintInput& in, auto&) { question(in, 10001).jo = "第四条"; },
        "条 「第四条」 is not in the Act");
    row("条 without the paragraph", [](LintInput& in, auto&) { question(in, 20001).jo = "第二条"; },
        "条 names no paragraph, but 第二条 has 2");
    row("節 other than the Act's", [](LintInput& in, auto&) { question(in, 2950001).setsu = "第二節 株主"; },
        "節 「第二節 株主」 differs from the Act: 「第一節 株主総会及び種類株主総会等」");
    // Answers
    row("more than five answers",
        [](LintInput& in, auto&) {
            store::Question& q = question(in, 8170001);
            q.kaitou = "外国会社,日本,取引,継続,代表者,定め";
        },
        "回答 holds 6 answers; at most 5");
    row("answer with a blank", [](LintInput& in, auto&) { question(in, 20002).kaitou = "本店,その 本店"; },
        "answer 2 「その 本店」 holds a blank");
    row("answer of digits only", [](LintInput& in, auto&) { question(in, 20002).kaitou = "本店,1"; },
        "answer 2 「1」 is only digits");
    row("answer with a marker bracket", [](LintInput& in, auto&) { question(in, 20002).kaitou = "本店,《"; },
        "answer 2 「《」 holds a comma or a marker bracket");
    row("empty answer after a trailing comma", [](LintInput& in, auto&) { question(in, 20002).kaitou = "本店,"; },
        "answer 2 「」 is empty");
    row("answer not in the passage", [](LintInput& in, auto&) { question(in, 20002).kaitou = "本店,支店"; },
        "answer 2 「支店」 does not occur in the passage");
    row("answer inside an earlier answer",
        [](LintInput& in, auto&) { question(in, 20002).kaitou = "本店の所在地,所在地"; },
        "answer 2 「所在地」 leaves no blank");
    row("two-column items shown run together",
        [](LintInput& in, auto&) { question(in, 2950002).mondai += "\r\n一 取締役会設置会社取締役会"; },
        "the passage shows two-column items run together: 一");
    // Numbering and order
    row("Ｎｏ used twice", [](LintInput& in, auto&) { question(in, 20002).no = 20001; },
        "questions.tsv:4: Ｎｏ 20001 第二条第二項: Ｎｏ is used twice");
    row("Ｎｏ descending in the file", [](LintInput& in, auto&) { in.questions.swapItemsAt(0, 1); },
        "Ｎｏ 10001 第一条: Ｎｏ is lower than the Ｎｏ 20001 before it");
    row("Ｎｏ against the order of the Act",
        [](LintInput& in, auto&) {
            question(in, 10001).no = 20005;
            std::stable_sort(
                in.questions.begin(), in.questions.end(),
                [](const QuestionRecord& a, const QuestionRecord& b) { return a.question.no < b.question.no; });
        },
        "Ｎｏ 20005 第一条: comes after Ｎｏ 20002 第二条第二項, against the order of the Act");
    // Counts
    row("too few questions in all", [](LintInput&, content::LintOptions& o) { o.minQuestions = 7; },
        "questions.tsv: 6 questions; at least 7 are needed");
    row("too few questions in a chapter", [](LintInput& in, auto&) { drop(in, 20002); },
        "第一編 総則 / 第一章 通則: 2 questions; at least 3 are needed");
    row("a paragraph of a small chapter without a question", [](LintInput& in, auto&) { drop(in, 2950002); },
        "第二編 株式会社 / 第四章 機関: 第二百九十五条第二項 has no question, and the chapter has only 2 paragraphs");
    row("a part without chapters left out", [](LintInput& in, auto&) { drop(in, 8170001); },
        "第六編 外国会社: 第八百十七条 has no question");
    // 目次
    row("section of 目次 without a question",
        [](LintInput& in, auto&) {
            for (QuestionRecord& r : in.questions)
                r.question.setsu.clear();
        },
        "toc.tsv:2: 目次 第一節 株主総会及び種類株主総会等 (第二編 株式会社 / 第四章 機関) has no question");
    row("節 of a question not in 目次", [](LintInput& in, auto&) { in.contents.clear(); },
        "節 「第一節 株主総会及び種類株主総会等」 is not in 目次 under 第二編 株式会社 / 第四章 機関");
    row(
        "目次 row without 節",
        [](LintInput& in, auto&) {
            in.contents.append({{samples::part1, samples::chapter1, "", 1}, 3, {}});
        },
        "toc.tsv:3: 目次 節 is empty");
}

void TestContentLint::faults()
{
    QFETCH(Change, change);
    QFETCH(QString, finding);
    LintInput input = soundInput();
    content::LintOptions options = smallOptions();
    change(input, options);
    const QStringList findings = content::lintContent(input, content::StatuteIndex(samples::statute()), options);
    const bool caught =
        std::any_of(findings.begin(), findings.end(), [&](const QString& line) { return line.contains(finding); });
    QVERIFY2(caught, qPrintable(QStringLiteral("wanted: %1\ngot:\n%2").arg(finding, findings.join(u'\n'))));
}

void TestContentLint::programChaptersAreCounted()
{
    // Against the program's chapter table, the chapters the extract of the Act lacks have no question.
    content::LintOptions options = smallOptions();
    options.programChapters = true;
    const QStringList findings = content::lintContent(soundInput(), content::StatuteIndex(samples::statute()), options);
    QVERIFY(findings.contains("questions.tsv: 第八編 罰則: 0 questions; at least 1 are needed"));
    QVERIFY(
        findings.contains("questions.tsv: 第二編 株式会社 / 第六章 定款の変更: 0 questions; at least 1 are needed"));
    QVERIFY(!findings.join(u'\n').contains("第一章 通則:"));
}

QTEST_GUILESS_MAIN(TestContentLint)
#include "tst_contentlint.moc"
