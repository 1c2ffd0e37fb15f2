// The generator: the Act's tables, paragraphs asked in parts and their numbers, the choice of answers, and the
// questions of the sample, whatever the order of its glossary.
#include "ContentSamples.h"
#include "content/ActTables.h"
#include "content/AnswerChooser.h"
#include "content/ContentCommands.h"
#include "content/QuestionGenerator.h"
#include "drill/PassageText.h"
#include "support/Fixture.h"

#include <QTextStream>
#include <algorithm>

Q_DECLARE_METATYPE(content::Paragraph)

namespace {

// "term level category", level 1 and 機関 when left out.
QList<content::Term> termsOf(const QStringList& entries)
{
    QList<content::Term> terms;
    for (const QString& entry : entries) {
        const QStringList f = entry.split(u' ');
        terms.append({f[0], f.value(2, QStringLiteral("機関")), f.value(1, QStringLiteral("1")).toInt(), 0});
    }
    return terms;
}

} // namespace

class TestContentGenerate final : public QObject
{
    Q_OBJECT

private slots:
    void actTables_data();
    void actTables();
    void parts_data();
    void parts();
    void partAnswers_data();
    void partAnswers();
    void answers_data();
    void answers();
    void sampleQuestions_data();
    void sampleQuestions();
};

void TestContentGenerate::actTables_data()
{
    QTest::addColumn<QString>("file"); // the table spoilt
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("error");
    const QString columns = "article|paragraph|item|first|second";
    const QString lines = "article|paragraph|item|label|text";
    QTest::newRow("columns that do not make the item")
        << "item_columns.tsv" << QStringList{columns, "第二百九十五条|2|一|取締役会設置会社|取締役"}
        << "the columns of item 一 of 第二百九十五条 paragraph 2 do not make its text";
    QTest::newRow("a two-column item without a split point")
        << "item_columns.tsv" << QStringList{columns} << "item 一 of 第二百九十五条 paragraph 2 has no split point";
    QTest::newRow("a split point for an item the Act lacks")
        << "item_columns.tsv" << QStringList{columns, "第二百九十五条|2|二|取締役会設置会社|取締役会"}
        << "no item 二 of 第二百九十五条 paragraph 2";
    QTest::newRow("sub-items that do not make the data set's text")
        << "subitem_lines.tsv" << QStringList{lines, "第二百九十五条|1|二|イ|取締役の氏名"}
        << "the sub-items of item 二 of 第二百九十五条 paragraph 1 do not make the text of";
    QTest::newRow("sub-items of the data set without rows")
        << "subitem_lines.tsv" << QStringList{lines} << "have no rows in";
    QTest::newRow("a short text that is no shortening")
        << "short_texts.tsv" << QStringList{"article|paragraph|item|text", "第一条|1||会社の（略）法律による。"}
        << "the text is not the original with parts left out";
    QTest::newRow("an article without a caption of its own and without a row")
        << "captions.tsv" << QStringList{"article|caption|reason", "第八百十七条|（外国会社）|題名"}
        << "第二条 has no caption of its own and no row";
    const QString tiers = "from|to|tier|reason";
    QTest::newRow("an article in no tier range")
        << "tiers.tsv" << QStringList{tiers, "第一条|第二条|B|総則", "第二百九十五条|第二百九十五条|A|権限"}
        << "第八百十七条 is in no range";
    QTest::newRow("tier ranges that overlap")
        << "tiers.tsv" << QStringList{tiers, "第一条|第二百九十五条|B|総則", "第二条|第八百十七条|A|権限"}
        << "第二条 overlaps the range before it";
    QTest::newRow("a tier that is none") << "tiers.tsv" << QStringList{tiers, "第一条|第八百十七条|D|全部"}
                                         << "a tier A, B or C and a reason";
    // A fact may name a word outside the glossary, but never one the glossary holds as a filler word.
    const QString facts = "paragraph|item|term|note";
    QTest::newRow("an exam fact that is a filler word of the glossary")
        << "exam_facts.tsv" << QStringList{facts, "第二条第一項||会社|会社"}
        << "「会社」 is a filler word or a fixed phrase of the glossary";
    QTest::newRow("an exam fact that cannot be an answer")
        << "exam_facts.tsv" << QStringList{facts, "第二条第一項||法人 とする|法人"} << "「法人 とする」 holds a blank";
}

void TestContentGenerate::actTables()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    QFETCH(QString, error);
    fixture::TempFolder folder;
    samples::writeFolder(folder.path());
    samples::writeFile(folder.file(file), samples::tsv(lines));
    QString printed;
    QTextStream stream(&printed);
    QCOMPARE(content::commands::generate(content::ContentFolder(folder.path()), "made.tsv", stream, stream), 1);
    QVERIFY2(printed.contains(error), qPrintable(printed));
    QVERIFY(!QFile::exists("made.tsv"));
}

void TestContentGenerate::parts_data()
{
    QTest::addColumn<content::Paragraph>("paragraph");
    QTest::addColumn<QStringList>("starts"); // Ｎｏ and first item of each question
    auto paragraph = [](const content::ArticleRef& ref, const QString& text, const QStringList& items) {
        content::Paragraph p;
        p.ref = ref;
        p.text = text;
        for (const QString& item : items)
            p.items.append({item.section(u' ', 0, 0), item.section(u' ', 1), {}, {}});
        return p;
    };
    QStringList many;
    for (int i = 1; i <= 30; ++i)
        many << content::numberToKanji(i) + u' ' + QString(60, u'株');                   // two lines of the box
    content::Paragraph split = paragraph({10, 2, 11}, "次に掲げる事項を定める。", many); // 第十条の二第十一項
    content::Paragraph shortened = split;
    shortened.text = QString(300, u'会') + QStringLiteral("は、次に掲げる事項を定める。");
    shortened.shortText = QStringLiteral("会（略）は、次に掲げる事項を定める。");
    QTest::newRow("a long list in parts of consecutive items")
        << split << QStringList{"10021101 一", "10021102 九", "10021103 十七", "10021104 二十五"};
    QTest::newRow("the whole sentences once, then their shortened form")
        << shortened
        << QStringList{"10021101 一", "10021102 五", "10021103 十三", "10021104 二十一", "10021105 二十九"};
    QTest::newRow("the items of 第二条 asked apart")
        << paragraph({2, 0, 1}, "次の各号に掲げる用語の意義は、当該各号に定める。",
                     {"一 会社　" + QString(200, u'社') + "をいう。", "二 子会社　会社をいう。"})
        << QStringList{"2000101 一", "2000102 二"};
}

void TestContentGenerate::parts()
{
    QFETCH(content::Paragraph, paragraph);
    QFETCH(QStringList, starts);
    QStringList firsts;
    QStringList shown; // the item lines of every question in turn
    for (const store::Question& q :
         content::generateQuestions({paragraph}, termsOf({"事項 2 一般", "意義 2 一般"}), {})) {
        QStringList lines = q.passage.split(passage::kLineBreak);
        QCOMPARE(lines.takeFirst(),
                 firsts.isEmpty() || paragraph.shortText.isEmpty() ? paragraph.text : paragraph.shortText);
        firsts << QStringLiteral("%1 %2").arg(q.no).arg(lines.value(0).section(u' ', 0, 0));
        shown += lines;
    }
    QCOMPARE(firsts, starts);
    QStringList every; // once each, in the order of the Act
    for (const content::Item& item : paragraph.items)
        every << item.line();
    QCOMPARE(shown, every);
}

// The answers of a paragraph asked in parts, eight items of two lines a part.
void TestContentGenerate::partAnswers_data()
{
    QTest::addColumn<QString>("sentences");
    QTest::addColumn<QStringList>("words"); // the word each item opens with, in order
    QTest::addColumn<QStringList>("glossary");
    QTest::addColumn<QStringList>("asked"); // Ｎｏ and answers of each part
    const QStringList officers = {"取締役", "会計参与", "監査役", "執行役", "清算人", "会計監査人", "支配人"};
    // A figure of the sentences that every part repeats is asked in every part once asked (二週間), and no part asks
    // what the part before showed plainly (監査役, which the first part left shown).
    QTest::newRow("a figure of the sentences again, nothing the part before showed")
        << "株主総会の日の二週間前までに、次に掲げる事項を定める。" << officers + QStringList{"", "監査役", "発起人"}
        << QStringList{"二週間 1 期間", "株主総会"} + officers + QStringList{"発起人"}
        << QStringList{"10000101 二週間,取締役,会計参与,執行役,会計監査人", "10000102 二週間,発起人"};
    // A later part whose items give fewer than three answers asks the sentences' words too (連帯して, blanked in the
    // part before); one whose items give three does not.
    QTest::newRow("the sentences' words where the items give fewer than three")
        << "次に掲げる者は、連帯して、支払う。"
        << QStringList{"取締役", "", "", "", "", "", "",       "",       "発起人", "",
                       "",       "", "", "", "", "", "監査役", "清算人", "支配人"}
        << QStringList{"連帯して 1 効果", "取締役", "発起人", "監査役", "清算人", "支配人"}
        << QStringList{"10000101 連帯して,取締役", "10000102 連帯して,発起人", "10000103 監査役,清算人,支配人"};
}

void TestContentGenerate::partAnswers()
{
    QFETCH(QString, sentences);
    QFETCH(QStringList, words);
    QFETCH(QStringList, glossary);
    QFETCH(QStringList, asked);
    content::Paragraph p;
    p.ref = {10, 0, 1};
    p.text = sentences;
    for (int i = 1; i <= words.size(); ++i)
        p.items.append({content::numberToKanji(i), words[i - 1] + QStringLiteral("は、") + QString(55, u'株'), {}, {}});
    QStringList got;
    for (const store::Question& q : content::generateQuestions({p}, termsOf(glossary), {}))
        got << QStringLiteral("%1 %2").arg(q.no).arg(q.answers);
    QCOMPARE(got, asked);
}

void TestContentGenerate::answers_data()
{
    QTest::addColumn<QStringList>("glossary"); // "term level category"
    QTest::addColumn<QString>("display");
    QTest::addColumn<QStringList>("pinned");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, const QStringList& glossary, const QString& display, const QStringList& expected,
                  const QStringList& pinned = {}, const QString& caption = QStringLiteral("（会社の代表）")) {
        QTest::newRow(name) << glossary << display << pinned << expected << caption;
    };
    row("the longer term comes first; the shorter blanks only where it stands alone", {"取締役", "取締役会"},
        "取締役は、取締役会の決議によって選定する。", {"取締役会", "取締役"});
    row("a numeral inside a larger numeral is not taken", {"十日 1 期間"}, "二十日前までに通知する。", {});
    row("a kanji compound is not broken", {"株主"}, "総株主の同意を得なければならない。", {});
    row("connectives and bounds may touch a term", {"取締役", "監査役", "一株以上 1 数額"},
        "当該取締役及び各監査役は、一株以上引き受ける。", {"取締役", "監査役", "一株以上"});
    row("numbers, then effects, then organs, then the rest; at most five, in reading order",
        {"発起人", "定款の変更 1 手続", "連帯して 1 効果", "三分の二 1 割合", "公証人", "株主名簿記載事項 1 書類"},
        "発起人は、定款の変更により、三分の二以上の同意を得て、公証人の認証を受け、株主名簿記載事項について連帯して"
        "支払う。",
        {"発起人", "三分の二", "公証人", "株主名簿記載事項", "連帯して"});
    row("filler words stay out while there is anything else", {"株式会社 3 会社", "定款 1 書類"},
        "株式会社は、定款で定める。", {"定款"});
    row("filler words where nothing else is left", {"株式会社 3 会社"}, "株式会社は、株式の併合をすることができる。",
        {"株式会社"});
    row("no blank inside the wording a replacement clause replaces; the new wording may be asked",
        {"株主総会", "定款 1 書類"}, "第二項の規定の適用については、同項中「株主総会」とあるのは、「定款」とする。",
        {"定款"});
    row("a bare numeral asked with its column blank, the numerals of provisions left whole", {"六 1 数額", "四 1 数額"},
        "第四百二十三条第一項の額に次に定める数を乗じた額\r\nイ 代表取締役　六\r\nロ 取締役　四以上", {"　六"});
    row("never three members of one list, remarks between them or not", {"取締役", "会計参与", "監査役"},
        "取締役（イ及びロに掲げるものを除く。）、会計参与又は監査役は、報告する。", {"取締役", "会計参与"});
    row("no answer whose stem the caption （会社の代表） shows", {"代表する 1 権利", "取締役"},
        "取締役は、株式会社を代表する。", {"取締役"});
    row("no provision number, even where nothing else is left", {"株主総会"},
        "第二項の規定の適用については、同項中「株主総会」とあるのは、「定款」とする。", {});
    row("a classic exam fact comes first", {"発起人", "設立時取締役", "設立時監査役"},
        "発起人、設立時取締役又は設立時監査役は、連帯する。", {"発起人", "設立時取締役"}, {"発起人"});
    row("a classic exam fact outside the glossary, the glossary's words beside it", {"監査役"},
        "監査役の報酬等は、監査役の協議によって定める。", {"監査役", "協議"}, {"協議"});
    row("no blank inside a fixed phrase", {"謄写 2 手続", "閲覧又は謄写 3 定型", "営業時間内 1 期間"},
        "株主は、営業時間内は、閲覧又は謄写の請求をすることができる。", {"営業時間内"});
    row("a fixed phrase is never an answer", {"謄写 2 手続", "閲覧又は謄写 3 定型"},
        "株主は、閲覧又は謄写の請求をすることができる。", {});
    row("no word a set phrase gives away: 正当な理由 before がなければ; 連帯して after と is no set phrase",
        {"正当な理由 1 権利", "拒んではならない 1 効果", "連帯して 1 効果", "正当な理由がなければ 3 定型"},
        "会社は、正当な理由がなければ、拒んではならない。証明者は、発起人と連帯して、支払う。",
        {"拒んではならない", "連帯して"});
    row("not the last word of a name the passage defines beside the name",
        {"株式無償割当て 1 手続", "割当て 2 手続", "払込み 2 手続"},
        "株主に払込みをさせないで株式の割当て（以下「株式無償割当て」という。）をすることができる。",
        {"払込み", "株式無償割当て"});
    row("a word a heading's fixed phrase tells, while anything but a formula word is left",
        {"株式買取請求 1 手続", "効力を失う 2 効果", "反対株主の株式買取請求 3 定型"},
        "合併を中止したときは、株式買取請求は、その効力を失う。", {"効力を失う"}, {}, "（反対株主の株式買取請求）");
    row("a word a heading's fixed phrase tells, where only a formula word is left",
        {"株式買取請求 1 手続", "適用しない 2 効果", "反対株主の株式買取請求 3 定型"},
        "第百三十三条の規定は、株式買取請求に係る株式については、適用しない。", {"株式買取請求", "適用しない"}, {},
        "（反対株主の株式買取請求）");
}

void TestContentGenerate::answers()
{
    QFETCH(QStringList, glossary);
    QFETCH(QString, display);
    QFETCH(QStringList, pinned);
    QFETCH(QStringList, expected);
    QFETCH(QString, caption);
    const content::AnswerChooser chooser(termsOf(glossary), {display});
    const store::Question headings{0, "第一編 総則", "第一章 通則", {}, {}, "第三百条", caption, {}, {}, 0, 0, {}, {}};
    QCOMPARE(chooser.choose({display, headings, pinned, 0, false, {}}), expected);
}

void TestContentGenerate::sampleQuestions_data()
{
    QTest::addColumn<QStringList>("glossary");
    QTest::addColumn<QString>("left"); // the Ｎｏ of a question the glossary leaves without answers
    QStringList reversed = samples::terms;
    std::reverse(reversed.begin(), reversed.end());
    QStringList fewer = samples::terms;
    fewer.removeIf([](const QString& term) { // every word of 第二条第二項
        return QStringLiteral("会社の住所は、その本店の所在地にあるものとする。").contains(term.section(u'|', 0, 0));
    });
    QTest::newRow("the sample's glossary") << samples::terms << "";
    QTest::newRow("the same glossary in reverse order") << reversed << "";
    QTest::newRow("a paragraph without a term has no question") << fewer << "2000200";
}

void TestContentGenerate::sampleQuestions()
{
    QFETCH(QStringList, glossary);
    QFETCH(QString, left);
    fixture::TempFolder folder;
    samples::writeFolder(folder.path(), glossary);
    QString out;
    QTextStream stream(&out);
    QCOMPARE(content::commands::generate(content::ContentFolder(folder.path()), "made.tsv", stream, stream), 0);
    QByteArrayList expected = samples::readFile("questions.tsv").split('\n');
    expected.removeIf([&](const QByteArray& line) { return !left.isEmpty() && line.startsWith(left.toUtf8() + '\t'); });
    QCOMPARE(samples::readFile("made.tsv"), expected.join('\n'));
}

QTEST_GUILESS_MAIN(TestContentGenerate)
#include "tst_contentgenerate.moc"
