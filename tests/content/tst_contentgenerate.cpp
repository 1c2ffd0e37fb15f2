// The generator: numbering, passages, captions and the choice of answers, and that it is deterministic.
#include "ContentSamples.h"
#include "content/AnswerChooser.h"
#include "content/ContentCommands.h"
#include "content/Passage.h"
#include "content/QuestionGenerator.h"
#include "drill/PassageText.h"
#include "support/Fixture.h"

#include <QTextStream>

using content::ArticleRef;
using content::Term;

Q_DECLARE_METATYPE(content::Paragraph)

class TestContentGenerate final : public QObject
{
    Q_OBJECT

private slots:
    void kanjiNumerals_data();
    void kanjiNumerals();
    void articleRefs_data();
    void articleRefs();
    void answers_data();
    void answers();
    void passages_data();
    void passages();
    void runTogetherCheck_data();
    void runTogetherCheck();
    void questionFields();
    void deterministic_data();
    void deterministic();
};

void TestContentGenerate::kanjiNumerals_data()
{
    QTest::addColumn<QString>("kanji");
    QTest::addColumn<int>("value");
    QTest::newRow("one digit") << "三" << 3;
    QTest::newRow("ten alone") << "十" << 10;
    QTest::newRow("ten and one") << "十一" << 11;
    QTest::newRow("tens") << "二十" << 20;
    QTest::newRow("hundreds, tens, ones") << "九百七十九" << 979;
    QTest::newRow("hundred without tens") << "百五" << 105;
    QTest::newRow("thousand") << "千二百" << 1200;
}

void TestContentGenerate::kanjiNumerals()
{
    QFETCH(QString, kanji);
    QFETCH(int, value);
    QCOMPARE(content::kanjiToNumber(kanji), value);
    QCOMPARE(content::numberToKanji(value), kanji);
}

void TestContentGenerate::articleRefs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("article");
    QTest::addColumn<int>("branch");
    QTest::addColumn<int>("paragraph");
    QTest::addColumn<qint64>("number");
    QTest::newRow("whole article") << "第三条" << true << 3 << 0 << 0 << qint64(30001);
    QTest::newRow("paragraph") << "第二十六条第二項" << true << 26 << 0 << 2 << qint64(260002);
    QTest::newRow("branch and paragraph") << "第百七十九条の二第三項" << true << 179 << 2 << 3 << qint64(1790203);
    QTest::newRow("highest article") << "第九百七十九条第十一項" << true << 979 << 0 << 11 << qint64(9790011);
    QTest::newRow("arabic digits") << "第3条" << false << 0 << 0 << 0 << qint64(0);
    QTest::newRow("no 条") << "第三項" << false << 0 << 0 << 0 << qint64(0);
    QTest::newRow("item instead of paragraph") << "第二条第一号" << false << 0 << 0 << 0 << qint64(0);
    QTest::newRow("two digits in a row") << "第一二条" << false << 0 << 0 << 0 << qint64(0);
}

void TestContentGenerate::articleRefs()
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
    QCOMPARE(content::questionNumber(*ref), number);
}

void TestContentGenerate::answers_data()
{
    QTest::addColumn<QStringList>("glossary");  // "term level category"; level 1 and 機関 when left out
    QTest::addColumn<QString>("display");
    QTest::addColumn<QStringList>("corpus");  // more texts in which rarity is counted
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("the longer term comes first; the shorter blanks only where it stands alone")
        << QStringList{"取締役", "取締役会"} << "取締役は、取締役会の決議によって選定する。" << QStringList()
        << QStringList{"取締役会", "取締役"};
    QTest::newRow("a term found only inside a longer term is not taken")
        << QStringList{"取締役会", "取締役会設置会社 1 会社"} << "取締役会設置会社においては、次に掲げる事項を定める。"
        << QStringList() << QStringList{"取締役会設置会社"};
    QTest::newRow("a numeral inside a larger numeral is not taken")
        << QStringList{"十日 1 期間"} << "二十日前までに通知しなければならない。" << QStringList() << QStringList();
    QTest::newRow("the larger numeral is taken") << QStringList{"十日 1 期間", "二十日 1 期間"}
                                                 << "二十日前までに通知しなければならない。" << QStringList()
                                                 << QStringList{"二十日"};
    QTest::newRow("a numeral may follow another kanji") << QStringList{"二年 1 期間"}
                                                        << "選任後二年以内に終了する事業年度" << QStringList()
                                                        << QStringList{"二年"};
    QTest::newRow("a kanji compound is not broken") << QStringList{"株主"} << "総株主の同意を得なければならない。"
                                                    << QStringList() << QStringList();
    QTest::newRow("connectives may touch a term") << QStringList{"取締役", "監査役"}
                                                  << "当該取締役及び各監査役は、遅滞なく報告する。" << QStringList()
                                                  << QStringList{"取締役", "監査役"};
    QTest::newRow("a term that loses every place to an earlier answer is left out")
        << QStringList{"株主総会", "総会の決議 2"} << "株主総会の決議による。" << QStringList()
        << QStringList{"株主総会"};
    QTest::newRow("at most five answers, in reading order")
        << QStringList{"発起人", "定款", "公証人", "認証", "本店", "商号"}
        << "発起人は定款を作成し、公証人の認証を受け、本店及び商号を定める。" << QStringList()
        << QStringList{"発起人", "定款", "公証人", "本店", "商号"};
    QTest::newRow("numbers come before words")
        << QStringList{"発起人", "定款", "公証人", "認証", "本店", "三分の二 1 割合"}
        << "発起人は定款を作成し、公証人の認証を受け、本店を定め、三分の二以上の同意を得る。" << QStringList()
        << QStringList{"発起人", "定款", "公証人", "本店", "三分の二"};
    QTest::newRow("rarer words come before common ones")
        << QStringList{"発起人", "定款", "公証人", "認証", "本店", "商号"}
        << "発起人は定款を作成し、公証人の認証を受け、本店及び商号を定める。"
        << QStringList{"定款に定める。", "定款の変更", "定款による。"}
        << QStringList{"発起人", "公証人", "認証", "本店", "商号"};
    QTest::newRow("general words only make up a short question")
        << QStringList{"株式会社 3 会社", "株主 3 当事者", "定款", "会社 3 一般"}
        << "株式会社は、定款で株主の権利を定める。" << QStringList() << QStringList{"株式会社", "定款"};
    QTest::newRow("general words stay out when two terms are found")
        << QStringList{"株式会社 3 会社", "定款", "株主総会"} << "株式会社は、定款又は株主総会の決議による。"
        << QStringList() << QStringList{"定款", "株主総会"};
    QTest::newRow("no term, no answer") << QStringList{"監査役"} << "この法律の定めるところによる。" << QStringList()
                                        << QStringList();
}

void TestContentGenerate::answers()
{
    QFETCH(QStringList, glossary);
    QFETCH(QString, display);
    QFETCH(QStringList, corpus);
    QFETCH(QStringList, expected);
    QList<Term> terms;
    for (const QString& entry : glossary) {
        const QStringList parts = entry.split(u' ');
        terms.append(samples::term(parts[0], parts.value(1, QStringLiteral("1")).toInt(),
                                   parts.value(2, QStringLiteral("機関"))));
    }
    const content::AnswerChooser chooser(terms, QStringList{display} + corpus);
    const QStringList answers = chooser.choose(display);
    QCOMPARE(answers, expected);
    // Whatever is chosen leaves every blank on the screen.
    const QString blanked = passage::blankAnswers(display, answers);
    for (qsizetype k = 0; k < answers.size(); ++k)
        QVERIFY2(blanked.contains(passage::blankMarker(int(k + 1))), qPrintable(blanked));
}

void TestContentGenerate::passages_data()
{
    QTest::addColumn<content::Paragraph>("paragraph");
    QTest::addColumn<QString>("passage");
    const QString list = QStringLiteral("株式会社の定款には、次に掲げる事項を記載しなければならない。");
    const QString twoColumns = QStringLiteral("次の各号に掲げる場合には、当該各号に定める者が招集する。");
    QTest::newRow("no items") << samples::paragraph("第三条", 1, "会社は、法人とする。") << "会社は、法人とする。";
    QTest::newRow("each item on its own line")
        << samples::paragraph("第二十七条", 1, list, {"一 目的", "二 商号"}) << list + "\r\n一 目的\r\n二 商号";
    QTest::newRow("two-column items run together are left out")
        << samples::paragraph("第二百九十六条", 3, twoColumns, {"一 取締役会設置会社取締役会", "二 その他の会社取締役"})
        << twoColumns;
    QTest::newRow("restored two-column items are shown")
        << samples::paragraph("第二条", 1, twoColumns, {"一 会社　株式会社をいう。", "二 外国会社　外国の会社をいう。"})
        << twoColumns + "\r\n一 会社　株式会社をいう。\r\n二 外国会社　外国の会社をいう。";
}

void TestContentGenerate::passages()
{
    QFETCH(content::Paragraph, paragraph);
    QFETCH(QString, passage);
    QCOMPARE(content::passageOf(paragraph), passage);
    QCOMPARE(content::runTogetherItems(passage), QStringList());
}

void TestContentGenerate::runTogetherCheck_data()
{
    QTest::addColumn<QString>("passage");
    QTest::addColumn<QStringList>("items");
    const QString twoColumns = QStringLiteral("次の各号に掲げる場合には、当該各号に定める者が招集する。");
    QTest::newRow("run-together items shown") << twoColumns + "\r\n一 取締役会設置会社取締役会\r\n三の二 その他取締役"
                                              << QStringList{"一", "三の二"};
    QTest::newRow("only the items without the blank")
        << twoColumns + "\r\n一 会社　株式会社をいう。\r\n二 外国会社外国の会社" << QStringList{"二"};
    QTest::newRow("one-column items") << "次に掲げる事項を定める。\r\n一 目的\r\n二 商号" << QStringList();
    QTest::newRow("wording in a later sentence line")
        << "次に掲げる事項を定める。\r\n一 当該各号に定める額" << QStringList();
}

void TestContentGenerate::runTogetherCheck()
{
    QFETCH(QString, passage);
    QFETCH(QStringList, items);
    QCOMPARE(content::runTogetherItems(passage), items);
}

void TestContentGenerate::questionFields()
{
    const samples::Division section{samples::part1, samples::chapter1, QStringLiteral("第一節 総則"), QString()};
    const QList<content::Paragraph> statute = {
        samples::paragraph("第一条", 1, "定款は、発起人が作成する。", {}, "（定款の作成）"),
        samples::paragraph("第二条", 1, "発起人は、定款に署名する。"),
        samples::paragraph("第二条", 2, "この法律の定めるところによる。"),
        samples::paragraph("第二条", 3, "定款は、本店に備え置く。"),
        samples::paragraph("第二条の二", 1, "発起人は、遅滞なく報告する。", {}, {}, section),
    };
    const QList<Term> glossary = {samples::term("定款", 1, "書類"), samples::term("発起人"),
                                  samples::term("本店", 2, "一般"), samples::term("遅滞なく", 1, "期間")};
    const QList<store::Question> questions = content::generateQuestions(statute, glossary);

    QCOMPARE(questions.size(), 4);  // 第二条第二項 holds no term
    QList<qint64> numbers;
    QStringList articles;
    QStringList captions;
    for (const store::Question& q : questions) {
        numbers << q.no;
        articles << q.jo;
        captions << q.teigi;
    }
    QCOMPARE(numbers, (QList<qint64>{10001, 20001, 20003, 20201}));
    QCOMPARE(articles, (QStringList{"第一条", "第二条第一項", "第二条第三項", "第二条の二"}));
    // A caption carries over within its division; the first article of a division takes the division's title.
    QCOMPARE(captions, (QStringList{"（定款の作成）", "（定款の作成）", "（定款の作成）", "（総則）"}));
    const store::Question& last = questions.last();
    QCOMPARE(last.hen, samples::part1);
    QCOMPARE(last.sho, samples::chapter1);
    QCOMPARE(last.setsu, QStringLiteral("第一節 総則"));
    QCOMPARE(last.kan, QString());
    QCOMPARE(last.kaitou, QStringLiteral("発起人,遅滞なく"));
    QCOMPARE(questions[2].kaitou, QStringLiteral("定款,本店"));
}

void TestContentGenerate::deterministic_data()
{
    QTest::addColumn<bool>("reversedGlossary");
    QTest::newRow("same inputs") << false;
    QTest::newRow("glossary rows in another order") << true;
}

void TestContentGenerate::deterministic()
{
    QFETCH(bool, reversedGlossary);
    fixture::TempFolder folder;
    QList<Term> glossary = {samples::term("会社", 3, "一般"),   samples::term("法人", 2, "一般"),
                            samples::term("本店", 2, "一般"),   samples::term("所在地", 2, "一般"),
                            samples::term("株主総会"),          samples::term("定款", 1, "書類"),
                            samples::term("取締役"),            samples::term("外国会社", 1, "会社"),
                            samples::term("日本における代表者", 2), samples::term("決議", 2, "手続"),
                            samples::term("設立", 3, "手続")};
    samples::writeFile(folder.file("articles.tsv"), samples::statuteTable(samples::statute()));
    samples::writeFile(folder.file("terms.tsv"), samples::glossaryTable(glossary));
    std::reverse(glossary.begin(), glossary.end());
    samples::writeFile(folder.file("reversed.tsv"), samples::glossaryTable(glossary));

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QCOMPARE(content::commands::generate(folder.file("articles.tsv"), folder.file("terms.tsv"), folder.file("a.tsv"),
                                         outStream, errStream),
             0);
    const QString second = reversedGlossary ? folder.file("reversed.tsv") : folder.file("terms.tsv");
    QCOMPARE(content::commands::generate(folder.file("articles.tsv"), second, folder.file("b.tsv"), outStream,
                                         errStream),
             0);
    QCOMPARE(err, QString());
    const QByteArray first = samples::readFile(folder.file("a.tsv"));
    QVERIFY(!first.isEmpty());
    QCOMPARE(samples::readFile(folder.file("b.tsv")), first);

    // What it makes passes every check.
    samples::writeFile(folder.file("toc.tsv"), samples::contentsTable(samples::contents()));
    content::LintOptions options;
    options.minQuestions = 6;
    options.minPerChapter = 3;
    options.programChapters = false;
    QString findings;
    QTextStream findingStream(&findings);
    QCOMPARE(content::commands::lint(folder.file("a.tsv"), folder.file("toc.tsv"), folder.file("articles.tsv"),
                                     fixture::key(), options, findingStream, errStream),
             0);
    QCOMPARE(findings, QString());
}

QTEST_GUILESS_MAIN(TestContentGenerate)
#include "tst_contentgenerate.moc"
