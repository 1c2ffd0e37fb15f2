// The generator: references and numbers, the Act's tables, passages and their parts, the choice of answers, and that
// it is deterministic.
#include "ContentSamples.h"
#include "content/ActTables.h"
#include "content/AnswerChooser.h"
#include "content/ContentCommands.h"
#include "content/Passage.h"
#include "content/QuestionGenerator.h"
#include "drill/PassageText.h"
#include "support/Fixture.h"

#include <QTextStream>

using content::ArticleRef;

Q_DECLARE_METATYPE(content::Paragraph)

class TestContentGenerate final : public QObject
{
    Q_OBJECT

private slots:
    void references_data();
    void references();
    void actTables_data();
    void actTables();
    void parts_data();
    void parts();
    void answers_data();
    void answers();
    void questionFields();
    void deterministic();
};

void TestContentGenerate::references_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("article");
    QTest::addColumn<int>("branch");
    QTest::addColumn<int>("paragraph");
    QTest::addColumn<qint64>("number");
    QTest::newRow("whole article") << "第三条" << true << 3 << 0 << 0 << qint64(3000100);
    QTest::newRow("paragraph") << "第二十六条第二項" << true << 26 << 0 << 2 << qint64(26000200);
    QTest::newRow("branch and paragraph") << "第百七十九条の二第三項" << true << 179 << 2 << 3 << qint64(179020300);
    QTest::newRow("highest article") << "第九百七十九条第十一項" << true << 979 << 0 << 11 << qint64(979001100);
    QTest::newRow("arabic digits") << "第3条" << false << 0 << 0 << 0 << qint64(0);
    QTest::newRow("no 条") << "第三項" << false << 0 << 0 << 0 << qint64(0);
    QTest::newRow("item instead of paragraph") << "第二条第一号" << false << 0 << 0 << 0 << qint64(0);
    QTest::newRow("two digits in a row") << "第一二条" << false << 0 << 0 << 0 << qint64(0);
}

void TestContentGenerate::references()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto ref = content::parseArticleRef(text);
    QCOMPARE(ref.has_value(), valid);
    if (!valid)
        return;
    QFETCH(int, article);
    QFETCH(int, branch);
    QFETCH(int, paragraph);
    QFETCH(qint64, number);
    QCOMPARE(*ref, (ArticleRef{article, branch, paragraph}));
    // A paragraph asked whole keeps part 0; its parts follow it and come before the next paragraph.
    QCOMPARE(content::questionNumber(*ref), number);
    QCOMPARE(content::questionNumber(*ref, 2), number + 2);
    const int next = ref->withParagraph().paragraph + 1;
    QVERIFY(content::questionNumber(*ref, 99) < content::questionNumber({article, branch, next}));
}

void TestContentGenerate::actTables_data()
{
    QTest::addColumn<QString>("file");  // the table spoilt
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("error");
    const QByteArray columns = "article\tparagraph\titem\tfirst\tsecond\n";
    const QByteArray lines = "article\tparagraph\titem\tlabel\ttext\n";
    QTest::newRow("sound tables") << "" << QByteArray() << "";
    QTest::newRow("columns that do not make the item")
        << "item_columns.tsv" << columns + "第二百九十五条\t2\t一\t取締役会設置会社\t取締役\n"
        << "the columns of item 一 of 第二百九十五条 do not make its text";
    QTest::newRow("a two-column item without a split point")
        << "item_columns.tsv" << columns << "item 一 of 第二百九十五条 paragraph 2 has no split point";
    QTest::newRow("a split point for an item the Act lacks")
        << "item_columns.tsv" << columns + "第二百九十五条\t2\t二\t取締役会設置会社\t取締役会\n"
        << "no item 二 in 第二百九十五条 paragraph 2";
    QTest::newRow("sub-items that do not make the data set's text")
        << "subitem_lines.tsv" << lines + "第二百九十五条\t1\t二\tイ\t取締役の氏名\n"
        << "the sub-items of item 二 of 第二百九十五条 paragraph 1 do not make the text of";
    QTest::newRow("sub-items of the data set without rows")
        << "subitem_lines.tsv" << lines << "have no rows in";
    QTest::newRow("a short text that is no shortening")
        << "short_texts.tsv" << QByteArray("article\tparagraph\titem\ttext\n第一条\t1\t\t会社の（略）法律による。\n")
        << "the text is not the original with parts left out";
}

void TestContentGenerate::actTables()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(QString, error);
    fixture::TempFolder folder;
    samples::writeFolder(folder.path(), {});
    if (!file.isEmpty())
        samples::writeFile(folder.file(file), contents);
    QList<content::TsvError> errors;
    QList<content::Paragraph> act = content::readAct(content::ContentFolder(folder.path()), errors);
    for (content::Paragraph& p : act)
        p.line = 0;
    if (error.isEmpty()) {
        QCOMPARE(content::summarize(errors), QString());
        QCOMPARE(act, samples::act());
    } else {
        QVERIFY2(content::summarize(errors).contains(error), qPrintable(content::summarize(errors)));
        QVERIFY(act.isEmpty());
    }
}

void TestContentGenerate::parts_data()
{
    QTest::addColumn<content::Paragraph>("paragraph");
    QTest::addColumn<QStringList>("passages");  // the first line of each part after the sentences
    const QString longItem = QString(60, u'株');  // two lines of the box
    QStringList many;
    for (int i = 1; i <= 30; ++i)
        many << content::numberToKanji(i) + u' ' + longItem;
    content::Paragraph split = samples::paragraph("第十条", 1, "次に掲げる事項を定める。", many);
    content::Paragraph shortened = split;
    shortened.text = QString(300, u'会') + QStringLiteral("は、次に掲げる事項を定める。");
    shortened.shortText = QStringLiteral("会（略）は、次に掲げる事項を定める。");
    const QString definition = QStringLiteral("一 会社　") + QString(140, u'社') + QStringLiteral("をいう。");
    content::Paragraph apart = samples::paragraph("第二条", 1, "次の各号に掲げる用語の意義は、当該各号に定める。",
                                                  {definition, "二 子会社　会社をいう。"});
    apart.items[1].subItems = {"イ 株式会社", "ロ 持分会社"};
    QTest::newRow("a paragraph that fits is asked whole")
        << samples::act()[3]
        << QStringList{"一 定款の変更\r\n二 取締役の選任\r\n　イ 取締役の氏名\r\n　ロ 取締役の員数"};
    QTest::newRow("a long list in parts of consecutive items")
        << split << QStringList{many[0], many[8], many[16], many[24]};
    QTest::newRow("the whole sentences once, then their shortened form")
        << shortened << QStringList{many[0], many[4], many[12], many[20], many[28]};
    QTest::newRow("the items of 第二条 asked apart") << apart << QStringList{definition, "二 子会社　会社をいう。"};
}

void TestContentGenerate::parts()
{
    QFETCH(content::Paragraph, paragraph);
    QFETCH(QStringList, passages);
    const QList<content::PassagePart> parts = content::partsOf(paragraph);
    QStringList starts;
    QStringList shownItems;
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QString& passage = parts[k].passage;
        const QString lead = k == 0 || paragraph.shortText.isEmpty() ? paragraph.text : paragraph.shortText;
        QVERIFY2(passage.startsWith(lead + passage::kLineBreak), qPrintable(passage));
        QVERIFY(content::rowsOf(passage::breakSentences(passage)) <= content::boxRows);
        starts << (passages.size() == 1 ? passage.mid(lead.size() + 2) : passage.section(passage::kLineBreak, 1, 1));
        for (const qsizetype i : parts[k].items)
            shownItems << paragraph.items[i].number;
    }
    QCOMPARE(starts, passages);
    // Every item is shown once, in the order of the Act.
    QStringList numbers;
    for (const content::Item& item : paragraph.items)
        numbers << item.number;
    QCOMPARE(shownItems, numbers);
}

void TestContentGenerate::answers_data()
{
    QTest::addColumn<QStringList>("glossary");  // "term level category"
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("pinned");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char* name, const QStringList& glossary, const QString& display, const QStringList& expected,
                  const QString& caption = "（見出し）", const QString& section = {}, const QStringList& pinned = {}) {
        QTest::newRow(name) << glossary << display << caption << section << pinned << expected;
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
    row("a word the caption holds inside a longer word is not taken", {"株主", "招集 2 手続"},
        "株主は、招集を請求することができる。", {"招集"}, "（株主総会の招集）");
    row("a word of the range titles is not taken", {"取締役会", "三箇月 1 期間"},
        "取締役会は、三箇月に一回以上開く。", {"三箇月"}, "（運営）", "第五節 取締役会");
    row("no blank inside a replacement clause's quotes: the provision reworded instead", {"株主総会", "定款 1 書類"},
        "第二項の規定の適用については、同項中「株主総会」とあるのは、「定款」とする。", {"第二項"});
    row("no three members of one list", {"発起人", "設立時取締役", "設立時監査役"},
        "発起人、設立時取締役又は設立時監査役は、連帯する。", {"設立時取締役", "設立時監査役"});
    row("a classic exam fact comes first", {"発起人", "設立時取締役", "設立時監査役"},
        "発起人、設立時取締役又は設立時監査役は、連帯する。", {"発起人", "設立時取締役"}, "（見出し）", {}, {"発起人"});
    row("no blank inside a fixed phrase", {"謄写 2 手続", "閲覧又は謄写 3 定型", "営業時間内 1 期間"},
        "株主は、営業時間内は、閲覧又は謄写の請求をすることができる。", {"営業時間内"});
    row("a fixed phrase is never an answer", {"謄写 2 手続", "閲覧又は謄写 3 定型"},
        "株主は、閲覧又は謄写の請求をすることができる。", {});
}

void TestContentGenerate::answers()
{
    QFETCH(QStringList, glossary);
    QFETCH(QString, display);
    QFETCH(QString, caption);
    QFETCH(QString, section);
    QFETCH(QStringList, pinned);
    QFETCH(QStringList, expected);
    const content::AnswerChooser chooser(samples::glossary(glossary), {display});
    content::AnswerContext context{display, {}, pinned, 0, false};
    context.headings = {0, samples::part1, samples::chapter1, section, {}, "第三百条", caption, {}, {}};
    const QStringList answers = chooser.choose(context);
    QCOMPARE(answers, expected);
    const QString blanked = passage::blankAnswers(display, answers);
    for (qsizetype k = 0; k < answers.size(); ++k)
        QVERIFY2(blanked.contains(passage::blankMarker(int(k + 1))), qPrintable(blanked));
}

void TestContentGenerate::questionFields()
{
    const samples::Division section{samples::part1, samples::chapter1, "第一節 総則", {}};
    QStringList many;
    for (int i = 1; i <= 12; ++i)
        many << content::numberToKanji(i) + QStringLiteral(" 発起人は、") + QString(40, u'定') + QStringLiteral("款。");
    const QList<content::Paragraph> act = {
        samples::paragraph("第一条", 1, "定款は、発起人が作成する。", {}, "（定款の作成）"),
        samples::paragraph("第二条", 1, "発起人は、定款に署名する。"),
        samples::paragraph("第二条", 2, "この法律の定めるところによる。"),
        samples::paragraph("第三条", 1, "次に掲げる者は、遅滞なく報告する。", many),
        samples::paragraph("第三条の二", 1, "発起人は、遅滞なく報告する。", {}, {}, section),
    };
    const QList<store::Question> questions =
        content::generateQuestions(act, samples::glossary({"定款 1 書類", "発起人", "遅滞なく 1 期間"}), {});
    QStringList fields;
    for (const store::Question& q : questions)
        fields << QStringLiteral("%1 %2 %3").arg(q.no).arg(q.article, q.caption);
    // 第二条第二項 holds no term; 第三条 is asked in two parts. A caption carries over within its division; the first
    // article of a division takes the division's title.
    QCOMPARE(fields, (QStringList{"1000100 第一条 （定款の作成）", "2000100 第二条第一項 （定款の作成）",
                                  "3000101 第三条 （定款の作成）", "3000102 第三条 （定款の作成）",
                                  "3020100 第三条の二 （総則）"}));
    QCOMPARE(questions[1].answers, QStringLiteral("発起人,定款"));
    QCOMPARE(questions.last().section, QStringLiteral("第一節 総則"));
    QCOMPARE(questions.last().answers, QStringLiteral("発起人,遅滞なく"));
}

void TestContentGenerate::deterministic()
{
    fixture::TempFolder folder;
    QList<content::Term> glossary =
        samples::glossary({"会社 3 一般", "法人 2 一般", "本店 2 一般", "株主総会", "定款 1 書類", "取締役会",
                           "外国会社 1 会社", "日本における代表者 2", "決議 2 手続", "取締役",
                           "取締役会設置会社 1 会社"});
    samples::writeFolder(folder.path(), glossary);
    QDir().mkdir("reversed");
    std::reverse(glossary.begin(), glossary.end());
    samples::writeFolder(folder.file("reversed"), glossary);
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QCOMPARE(content::commands::generate(content::ContentFolder(folder.path()), "a.tsv", outStream, errStream), 0);
    QCOMPARE(content::commands::generate(content::ContentFolder("reversed"), "b.tsv", outStream, errStream), 0);
    QCOMPARE(err, QString());
    const QByteArray first = samples::readFile("a.tsv");
    QVERIFY(first.contains("\\n一 取締役会設置会社　取締役会\t") && first.contains("\\n　ロ 取締役の員数"));
    QCOMPARE(samples::readFile("b.tsv"), first);

    // What it makes passes every check.
    content::LintOptions options;
    options.minQuestions = 6;
    options.minPerChapter = 3;
    options.programChapters = false;
    QString findings;
    QTextStream findingStream(&findings);
    QCOMPARE(content::commands::lint("a.tsv", content::ContentFolder(folder.path()), fixture::key(), options,
                                     findingStream, errStream),
             0);
    QCOMPARE(findings + err, QString());
}

QTEST_GUILESS_MAIN(TestContentGenerate)
#include "tst_contentgenerate.moc"
