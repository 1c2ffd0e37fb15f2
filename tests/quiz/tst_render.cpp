#include "quiz/QuizWindow.h"
#include "quiz/Module1.h"
#include "quiz/PassageBox.h"
#include "support/MenuFixture.h"
#include "support/Styles.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using fixture::checkStyles;
using fixture::spansOf;

namespace {
const QString CRLF = QStringLiteral("\r\n");
}

class TestRender final : public QObject
{
    Q_OBJECT

private slots:
    void positionsMapAcrossLineBreaks_data();
    void positionsMapAcrossLineBreaks();
    void blankedPassage_data();
    void blankedPassage();
    void renderQuestion_data();
    void renderQuestion();
};

void TestRender::positionsMapAcrossLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("word");
    QTest::newRow("word on the third line") << ("一行目。" + CRLF + "二行目。" + CRLF + "取締役は三行目。") << "取締役";
    QTest::newRow("word right after a break") << ("甲。" + CRLF + "乙" + CRLF + "乙") << "乙";
    QTest::newRow("word right before a break") << ("甲乙" + CRLF + "丙" + CRLF) << "乙";
    QTest::newRow("lone line feed and lone return") << ("甲\n乙\r丙" + CRLF + "丙") << "丙";
}

void TestRender::positionsMapAcrossLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, word);
    PassageBox box;
    box.setText(text);
    QCOMPARE(box.text(), text);
    box.select(0, text.size());
    box.applyPlainStyle();
    Module1::MarkWord(box, word);
    QVERIFY(!passage::findOccurrences(text, word).isEmpty());
    const QString problem = checkStyles(box, spansOf(text, {word}));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    // Each highlight covers the word itself in the document.
    for (const auto& span : passage::findOccurrences(text, word)) {
        const int from = box.documentPosition(span.start);
        QCOMPARE(box.document()->toPlainText().mid(from, span.length), word);
        QCOMPARE(box.textPosition(from), span.start);
    }
}

void TestRender::blankedPassage_data()
{
    QTest::addColumn<QString>("mondai");
    QTest::addColumn<QString>("kaitou");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty 回答: plain throughout") << "会社は、法人とする。" << "" << ("会社は、法人とする。" + CRLF);
    QTest::newRow("absent second answer: only marker 1")
        << "会社は、法人とする。" << "法人,取締役" << ("会社は、" + passage::blankMarker(1) + "とする。" + CRLF);
    QTest::newRow("three occurrences, multi-line")
        << "定款は定款。定款を。" << "定款"
        << (passage::blankMarker(1) + "は" + passage::blankMarker(1) + "。" + CRLF + passage::blankMarker(1) + "を。" + CRLF);
    QTest::newRow("marker before a line break")
        << "甲は乙。丙は乙。" << "乙,丙"
        << ("甲は" + passage::blankMarker(1) + "。" + CRLF + passage::blankMarker(2) + "は" + passage::blankMarker(1) + "。" + CRLF);
}

void TestRender::blankedPassage()
{
    QFETCH(QString, mondai);
    QFETCH(QString, kaitou);
    QFETCH(QString, expected);
    PassageBox box;
    const QStringList answers = passage::answerList(kaitou);
    Module1::showBlanked(box, passage::breakSentences(mondai), answers);
    QCOMPARE(box.text(), expected);
    QStringList markers;
    for (int k = 1; k <= answers.size(); ++k)
        markers << passage::blankMarker(k);
    const QString problem = checkStyles(box, spansOf(expected, markers));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestRender::renderQuestion_data()
{
    QTest::addColumn<QString>("setsu");
    QTest::addColumn<QString>("kan");
    QTest::addColumn<QString>("teigi");
    QTest::addColumn<QString>("text3");
    QTest::newRow("all headings") << "第一節 総則" << "第一款 通則" << "定義あり" << "第一節 総則  第一款 通則  第七条";
    QTest::newRow("Null 節, 款 and 定義 as empty, separators kept") << "" << "" << "" << "    第七条";
}

void TestRender::renderQuestion()
{
    QFETCH(QString, setsu);
    QFETCH(QString, kan);
    QFETCH(QString, teigi);
    QFETCH(QString, text3);
    store::Question q = fixture::question(7, QStringLiteral("第二編 株式会社"), QStringLiteral("第四章 機関"),
                                          QStringLiteral("取締役会は、すべての取締役で組織する。取締役会は、"
                                                         "業務執行の決定をする。"),
                                          QStringLiteral("取締役会,すべての取締役"), setsu);
    q.kan = kan;
    q.teigi = teigi;
    q.jo = QStringLiteral("第七条");
    fixture::MenuFixture app({q});
    QVERIFY(app.load());
    QuizWindow& form = app.menu->quiz();
    form.renderBlankedQuestion(q);
    QCOMPARE(form.partLine()->text(), QStringLiteral("第二編 株式会社  第四章 機関"));
    QCOMPARE(form.captionLine()->text(), teigi);
    QCOMPARE(form.placeLine()->text(), text3);
    QCOMPARE(form.shownNoBox()->text(), QStringLiteral("7"));
    const QString m1 = passage::blankMarker(1), m2 = passage::blankMarker(2);
    const QString expected = m1 + "は、" + m2 + "で組織する。" + CRLF + m1 + "は、業務執行の決定をする。" + CRLF;
    QCOMPARE(form.passageBox()->text(), expected);
    const QString problem = checkStyles(*form.passageBox(), spansOf(expected, {m1, m2}));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
