// The passage's text routines on literal cases: the sentence layout and the blanks. Their general rules (the
// answer list, blanks uncovered one by one, the places highlighted) are checked on every case of the fuzz corpus.
#include "drill/PassageText.h"

#include <QTest>

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
    void blankAnswers_data();
    void blankAnswers();
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

void TestPassageText::blankAnswers_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every occurrence, same marker") << "取締役と取締役"
                                                   << "取締役" << (M1 + "と" + M1);
    QTest::newRow("absent answer keeps its number unseen") << "株主総会の決議"
                                                           << "取締役,決議" << ("株主総会の" + M2);
    QTest::newRow("same word twice: the second finds nothing") << "監査役"
                                                               << "監査役,監査役" << M1;
    QTest::newRow("an earlier answer swallows a later one holding it") << "取締役会は"
                                                                       << "取締役,取締役会" << (M1 + "会は");
    QTest::newRow("empty entry changes nothing, full-width comma does not cut") << "A。B，C"
                                                                                << "A,,B，C" << (M1 + "。" + M3);
    QTest::newRow("a blank after the comma belongs to the answer") << "X Y,Y"
                                                                   << "X, Y" << (M1 + M2 + ",Y");
    QTest::newRow("a later answer never breaks an earlier marker") << "甲1《 》"
                                                                   << "甲,1,《, " << (M1 + M2 + M3 + " 《 4 》 》");
    QTest::newRow("ten and more answers") << "甲乙丙丁戊己庚辛壬癸子"
                                          << "甲,乙,丙,丁,戊,己,庚,辛,壬,癸,子"
                                          << (M1 + M2 + M3 +
                                              " 《 4 》  《 5 》  《 6 》  《 7 》  《 8 》  《 9 》 "
                                              " 《 10 》  《 11 》 ");
}

void TestPassageText::blankAnswers()
{
    QFETCH(QString, display);
    QFETCH(QString, answers);
    QFETCH(QString, expected);
    QCOMPARE(passage::blankAnswers(display, passage::answerList(answers)), expected);
}

QTEST_GUILESS_MAIN(TestPassageText)
#include "tst_passagetext.moc"
