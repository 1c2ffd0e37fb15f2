// The text routines of a passage: sentence layout, the answer list, blanks and the places to highlight.
#include "drill/PassageText.h"

#include <QTest>

using passage::Span;

namespace {
const QString BR = QStringLiteral("\r\n");
const QString M1 = QStringLiteral(" 《 1 》 ");
const QString M2 = QStringLiteral(" 《 2 》 ");
const QString M3 = QStringLiteral(" 《 3 》 ");
} // namespace

class TestPassageText final : public QObject
{
    Q_OBJECT

private slots:
    void breakSentences_data();
    void breakSentences();
    void answerList_data();
    void answerList();
    void blankAnswers_data();
    void blankAnswers();
    void occurrences_data();
    void occurrences();
    void uncoveredBlanks();
};

void TestPassageText::breakSentences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no full stop: unchanged and whole") << "会社は法人とする"
                                                       << "会社は法人とする";
    QTest::newRow("two sentences, each ends its line") << "A。B。" << ("A。" + BR + "B。" + BR);
    QTest::newRow("text after the last stop") << "A。B" << ("A。" + BR + "B");
    QTest::newRow("。） ahead holds back every break before it") << "A。B（C。）D。E" << ("A。B（C。）D。" + BR + "E");
    QTest::newRow("。） at the very end: no break at all") << "A。B（C。）"
                                                           << "A。B（C。）";
    QTest::newRow("a line already broken after its stop gets no second break")
        << ("柱書き。" + BR + "一 甲。" + BR + "二 乙。") << ("柱書き。" + BR + "一 甲。" + BR + "二 乙。" + BR);
    const QString longTail = QString(1200, u'あ') + QStringLiteral("末尾の語。");
    QTest::newRow("more than 1000 characters after the first stop are kept")
        << ("前。" + longTail) << ("前。" + BR + longTail + BR);
}

void TestPassageText::breakSentences()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(passage::breakSentences(text), expected);
}

void TestPassageText::answerList_data()
{
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty text gives no entry") << "" << QStringList{};
    QTest::newRow("blank after the comma belongs to the word") << "A, B" << QStringList{"A", " B"};
    QTest::newRow("consecutive, leading and trailing commas") << ",A,,B," << QStringList{"", "A", "", "B", ""};
    QTest::newRow("full-width comma does not cut") << "A，B" << QStringList{"A，B"};
}

void TestPassageText::answerList()
{
    QFETCH(QString, answers);
    QFETCH(QStringList, expected);
    QCOMPARE(passage::answerList(answers), expected);
}

void TestPassageText::blankAnswers_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every occurrence, same marker") << "取締役と取締役" << QStringList{"取締役"} << (M1 + "と" + M1);
    QTest::newRow("absent answer keeps its number unseen")
        << "株主総会の決議" << QStringList{"取締役", "決議"} << ("株主総会の" + M2);
    QTest::newRow("same word twice: the second finds nothing") << "監査役" << QStringList{"監査役", "監査役"} << M1;
    QTest::newRow("an earlier answer swallows a later one holding it")
        << "取締役会は" << QStringList{"取締役", "取締役会"} << (M1 + "会は");
    QTest::newRow("empty entry changes nothing") << "A。B" << QStringList{"A", "", "B"} << (M1 + "。" + M3);
    QTest::newRow("answer with a leading blank matches only with it")
        << "X Y,Y" << QStringList{"X", " Y"} << (M1 + M2 + ",Y");
    QTest::newRow("a later answer never breaks an earlier marker")
        << "甲1《 》" << QStringList{"甲", "1", "《", " "} << (M1 + M2 + M3 + " 《 4 》 》");
    QStringList eleven;
    QString text;
    QString expected;
    for (int i = 1; i <= 11; ++i) {
        eleven << QStringLiteral("語%1号").arg(QChar(u'あ' + i));
        text += eleven.last() + u'、';
        expected += QStringLiteral(" 《 %1 》 、").arg(i);
    }
    QTest::newRow("ten and more answers") << text << eleven << expected;
}

void TestPassageText::blankAnswers()
{
    QFETCH(QString, display);
    QFETCH(QStringList, answers);
    QFETCH(QString, expected);
    QCOMPARE(passage::blankAnswers(display, answers), expected);
}

void TestPassageText::occurrences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<Span>>("expected");
    QTest::newRow("empty target finds nothing") << "abc"
                                                << "" << QList<Span>{};
    QTest::newRow("one character at the very end, before a break")
        << ("甲" + BR + "ab甲") << "甲" << QList<Span>{{0, 1}, {5, 1}};
    QTest::newRow("overlapping occurrences both found") << "あああ"
                                                        << "ああ" << QList<Span>{{0, 2}, {1, 2}};
    QTest::newRow("marker 1 never inside marker 11") << (" 《 11 》 " + M1) << M1 << QList<Span>{{8, 7}};
}

void TestPassageText::occurrences()
{
    QFETCH(QString, text);
    QFETCH(QString, target);
    QFETCH(QList<Span>, expected);
    QCOMPARE(passage::findOccurrences(text, target), expected);
}

// Blanks uncovered one at a time show their word where their markers stood, and say where each blank stands.
void TestPassageText::uncoveredBlanks()
{
    const QList<passage::Run> runs = passage::blankRuns(QStringLiteral("甲と乙と甲"), {"甲", "乙"});
    QList<passage::Blank> blanks;
    QCOMPARE(passage::layOutBlanks(runs, {2}, &blanks), M1 + "と乙と" + M1);
    QCOMPARE(blanks.size(), 3);
    QCOMPARE(blanks[1].span, (Span{8, 1}));
    QVERIFY(blanks[1].uncovered && !blanks[0].uncovered);
    QCOMPARE(blanks[2].span, (Span{10, 7}));
}

QTEST_GUILESS_MAIN(TestPassageText)
#include "tst_passagetext.moc"
