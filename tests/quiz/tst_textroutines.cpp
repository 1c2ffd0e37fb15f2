#include "drill/PassageText.h"

#include <QTest>

using passage::Span;

namespace {
const QString CRLF = QStringLiteral("\r\n");
const QString MARK1 = passage::blankMarker(1);
const QString MARK2 = passage::blankMarker(2);
} // namespace

class TestTextRoutines final : public QObject
{
    Q_OBJECT

private slots:
    void breakSentences_data();
    void breakSentences();
    void answerList_data();
    void answerList();
    void blankMarker();
    void blankAnswers_data();
    void blankAnswers();
    void occurrences_data();
    void occurrences();
};

void TestTextRoutines::breakSentences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no full stop: unchanged and whole") << "会社は法人とする" << "会社は法人とする";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("two sentences, each ends its line") << "A。B。" << ("A。" + CRLF + "B。" + CRLF);
    QTest::newRow("trailing text after the last stop") << "A。B" << ("A。" + CRLF + "B");
    QTest::newRow("。） ahead holds back every break before it")
        << "A。B（C。）D。E" << ("A。B（C。）D。" + CRLF + "E");
    QTest::newRow("。） at the very end: no break at all") << "A。B（C。）" << "A。B（C。）";
    QTest::newRow("stop right after the last 。）gets the first break")
        << "A（B。）。C。" << ("A（B。）。" + CRLF + "C。" + CRLF);
    QTest::newRow("a line already broken after its stop gets no second break")
        << ("柱書き。" + CRLF + "一 甲。" + CRLF + "二 乙。") << ("柱書き。" + CRLF + "一 甲。" + CRLF + "二 乙。" + CRLF);
    const QString longTail = QString(1200, u'あ') + QStringLiteral("末尾の語。");
    QTest::newRow("more than 1000 characters after the first stop are kept")
        << ("前。" + longTail) << ("前。" + CRLF + longTail + CRLF);
}

void TestTextRoutines::breakSentences()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(passage::breakSentences(text), expected);
}

void TestTextRoutines::answerList_data()
{
    QTest::addColumn<QString>("kaitou");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty text gives no entry") << "" << QStringList{};
    QTest::newRow("one word") << "取締役" << QStringList{"取締役"};
    QTest::newRow("blank after the comma belongs to the word") << "A, B" << QStringList{"A", " B"};
    QTest::newRow("consecutive commas") << "A,,B" << QStringList{"A", "", "B"};
    QTest::newRow("leading and trailing comma") << ",A," << QStringList{"", "A", ""};
    QTest::newRow("full-width comma does not cut") << "A，B" << QStringList{"A，B"};
}

void TestTextRoutines::answerList()
{
    QFETCH(QString, kaitou);
    QFETCH(QStringList, expected);
    QCOMPARE(passage::answerList(kaitou), expected);
}

void TestTextRoutines::blankMarker()
{
    QCOMPARE(passage::blankMarker(1), QStringLiteral(" 《 1 》 "));
    QCOMPARE(passage::blankMarker(1).size(), 7);
    QCOMPARE(passage::blankMarker(12), QStringLiteral(" 《 12 》 "));
}

void TestTextRoutines::blankAnswers_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no answers") << "会社は法人とする。" << QStringList{} << "会社は法人とする。";
    QTest::newRow("every occurrence, same marker")
        << "取締役と取締役と取締役" << QStringList{"取締役"} << (MARK1 + "と" + MARK1 + "と" + MARK1);
    QTest::newRow("absent answer keeps its number unseen")
        << "株主総会の決議" << QStringList{"取締役", "決議"} << ("株主総会の" + MARK2);
    QTest::newRow("same word twice: second finds nothing")
        << "監査役" << QStringList{"監査役", "監査役"} << MARK1;
    QTest::newRow("earlier answer swallows a later one containing it")
        << "取締役会は" << QStringList{"取締役", "取締役会"} << (MARK1 + "会は");
    QTest::newRow("empty entry changes nothing") << "A。B" << QStringList{"A", "", "B"} << (MARK1 + "。" + passage::blankMarker(3));
    QTest::newRow("answer with leading blank matches only with it")
        << "X Y,Y" << QStringList{"X", " Y"} << (MARK1 + MARK2 + ",Y");
    // Markers already placed are never broken by later answers.
    QTest::newRow("digit answer leaves marker 1 whole") << "甲と1と" << QStringList{"甲", "1"} << (MARK1 + "と" + MARK2 + "と");
    QTest::newRow("blank answer leaves markers whole") << "甲 乙" << QStringList{"甲", " "} << (MARK1 + MARK2 + "乙");
    QTest::newRow("bracket answer leaves markers whole") << "甲《乙》" << QStringList{"甲", "《", "》"}
                                                          << (MARK1 + MARK2 + "乙" + passage::blankMarker(3));
    QStringList eleven;
    QString text;
    QString expected;
    for (int i = 1; i <= 11; ++i) {
        eleven << QStringLiteral("語%1号").arg(QChar(u'あ' + i));
        text += eleven.last() + u'、';
        expected += passage::blankMarker(i) + u'、';
    }
    QTest::newRow("ten and more answers") << text << eleven << expected;
}

void TestTextRoutines::blankAnswers()
{
    QFETCH(QString, display);
    QFETCH(QStringList, answers);
    QFETCH(QString, expected);
    QCOMPARE(passage::blankAnswers(display, answers), expected);
}

void TestTextRoutines::occurrences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<Span>>("expected");
    QTest::newRow("empty target finds nothing") << "abc" << "" << QList<Span>{};
    QTest::newRow("one-character word at the very end") << "ab甲" << "甲" << QList<Span>{{2, 1}};
    QTest::newRow("one-character word before a line break") << ("甲" + CRLF + "乙") << "甲" << QList<Span>{{0, 1}};
    QTest::newRow("two one-character words side by side") << "甲甲" << "甲" << QList<Span>{{0, 1}, {1, 1}};
    QTest::newRow("overlapping occurrences both found") << "あああ" << "ああ" << QList<Span>{{0, 2}, {1, 2}};
    QTest::newRow("touching occurrences") << "abab" << "ab" << QList<Span>{{0, 2}, {2, 2}};
    QTest::newRow("marker 1 never inside marker 11")
        << (passage::blankMarker(11) + passage::blankMarker(1)) << MARK1 << QList<Span>{{8, 7}};
}

void TestTextRoutines::occurrences()
{
    QFETCH(QString, text);
    QFETCH(QString, target);
    QFETCH(QList<Span>, expected);
    QCOMPARE(passage::findOccurrences(text, target), expected);
}

QTEST_GUILESS_MAIN(TestTextRoutines)
#include "tst_textroutines.moc"
