// Keyboard drilling, uncovering one blank, and the count of what is left in a range.
#include "quiz/QuizWindow.h"
#include "quiz/PassageBox.h"
#include "support/MenuFixture.h"
#include "support/Styles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

using fixture::MenuFixture;

namespace {

const QString ALL = QStringLiteral("すべて");

QuizWindow* launch(MenuFixture& app)
{
    app.choose(ALL, ALL);
    app.menu->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(false);
    app.seam.answerYes();
    app.menu->startDrill();
    return app.menu->loadedQuiz();
}

QList<store::Question> drillQuestions()
{
    auto questions = fixture::sampleQuestions();
    // 40: 株式会社 three times and 合同会社 twice, over two lines.
    questions[3].mondai = QStringLiteral("株式会社と合同会社。株式会社又は合同会社は株式会社とする。");
    questions[3].kaitou = QStringLiteral("株式会社,合同会社");
    for (auto& q : questions)
        q.recent = q.no < 40 ? 1 : 0;
    return questions;
}

} // namespace

class TestExtras final : public QObject
{
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void uncover_data();
    void uncover();
    void uncoverThenReveal();
    void counts_data();
    void counts();
    void tooltipShowsCounts();
};

void TestExtras::keys_data()
{
    QTest::addColumn<QString>("state");  // shown, revealed, repeated
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");  // what the key did
    QTest::newRow("shown: Space reveals") << "shown" << int(Qt::Key_Space) << "revealed";
    QTest::newRow("shown: Enter reveals") << "shown" << int(Qt::Key_Return) << "revealed";
    QTest::newRow("shown: R does nothing (button hidden)") << "shown" << int(Qt::Key_R) << "shown";
    QTest::newRow("shown: Esc back to the menu") << "shown" << int(Qt::Key_Escape) << "menu";
    QTest::newRow("revealed: Space next question") << "revealed" << int(Qt::Key_Space) << "next";
    QTest::newRow("revealed: keypad Enter next question") << "revealed" << int(Qt::Key_Enter) << "next";
    QTest::newRow("revealed: R repeats") << "revealed" << int(Qt::Key_R) << "repeated";
    QTest::newRow("revealed: Esc back to the menu") << "revealed" << int(Qt::Key_Escape) << "menu";
    QTest::newRow("repeated: Space reveals again") << "repeated" << int(Qt::Key_Space) << "revealed";
    QTest::newRow("repeated: R does nothing (button hidden)") << "repeated" << int(Qt::Key_R) << "repeated";
}

void TestExtras::keys()
{
    QFETCH(QString, state);
    QFETCH(int, key);
    QFETCH(QString, expected);
    MenuFixture app(drillQuestions());
    QVERIFY(app.load());
    QuizWindow* form = launch(app);
    QVERIFY(form);
    if (state != QLatin1String("shown"))
        form->revealAnswers();
    if (state == QLatin1String("repeated"))
        form->showQuestionAgain();
    // Whatever has the focus: the keys go to the drill even from メニュ画面へ itself, whose own Space would
    // otherwise press it.
    QWidget* target = key == Qt::Key_Escape ? static_cast<QWidget*>(form->passageBox())
                                             : static_cast<QWidget*>(form->menuButton());
    QTest::keyClick(target, Qt::Key(key));
    const bool answer = form->answerButton()->isEnabled();
    const bool next = form->nextButton()->isEnabled();
    const bool repeat = !form->againButton()->isHidden();
    if (expected == QLatin1String("menu")) {
        QVERIFY(!form->isVisible());
        QVERIFY(app.menu->isVisible());
    } else if (expected == QLatin1String("next")) {
        QCOMPARE(form->shownNoBox()->text(), QStringLiteral("50"));
        QVERIFY(answer && !next && !repeat);
    } else if (expected == QLatin1String("revealed")) {
        QVERIFY(!answer && next && repeat);
        QCOMPARE(fixture::readFlags(app.database())[3], (fixture::FlagRow{40, 1, 1}));
    } else if (expected == QLatin1String("repeated")) {
        QVERIFY(answer && next && !repeat);
    } else {
        QVERIFY(answer && !next && !repeat);
    }
    if (expected != QLatin1String("next"))
        QCOMPARE(form->shownNoBox()->text(), QStringLiteral("40"));
}

void TestExtras::uncover_data()
{
    QTest::addColumn<bool>("byClick");
    QTest::newRow("by clicking the second marker") << true;
    QTest::newRow("by pressing 2") << false;
}

void TestExtras::uncover()
{
    QFETCH(bool, byClick);
    MenuFixture app(drillQuestions());
    QVERIFY(app.load());
    QuizWindow* form = launch(app);
    QVERIFY(form);
    const auto flags = fixture::readFlags(app.database());
    const QString m1 = passage::blankMarker(1), m2 = passage::blankMarker(2);
    const QString blanked = form->passageBox()->text();
    if (byClick) {
        // The middle of the second occurrence of marker 2, clicked for real.
        const qsizetype at = passage::findOccurrences(blanked, m2).at(1).start + 3;
        PassageBox* box = form->passageBox();
        form->show();
        QTextCursor cursor(box->document());
        cursor.setPosition(box->documentPosition(at));
        const QPoint point = box->cursorRect(cursor).center() + QPoint(1, 0);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, point);
    } else {
        QTest::keyClick(form->partLine(), Qt::Key_2);
    }
    const QString expected = passage::blankAnswers(
        passage::breakSentences(QStringLiteral("株式会社と★。株式会社又は★は株式会社とする。")), {"株式会社"});
    QString withWord = expected;
    withWord.replace(QStringLiteral("★"), QStringLiteral("合同会社"));
    QCOMPARE(form->passageBox()->text(), withWord);
    const QString problem =
        fixture::checkStyles(*form->passageBox(), fixture::spansOf(withWord, {m1, QStringLiteral("合同会社")}));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(fixture::readFlags(app.database()), flags);
    // A number with no blank, and a key after the reveal, change nothing.
    QTest::keyClick(form->partLine(), Qt::Key_7);
    QCOMPARE(form->passageBox()->text(), withWord);
}

void TestExtras::uncoverThenReveal()
{
    MenuFixture app(drillQuestions());
    QVERIFY(app.load());
    QuizWindow* form = launch(app);
    QVERIFY(form);
    const QString blanked = form->passageBox()->text();
    form->uncover(2);
    form->uncover(1);
    const QString display = passage::breakSentences(drillQuestions()[3].mondai);
    QCOMPARE(form->passageBox()->text(), display);
    form->revealAnswers();
    QCOMPARE(form->passageBox()->text(), display);
    const QString problem = fixture::checkStyles(*form->passageBox(),
                                                 fixture::spansOf(display, {QStringLiteral("株式会社"), QStringLiteral("合同会社")}));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(fixture::readFlags(app.database())[3], (fixture::FlagRow{40, 1, 1}));
    form->uncover(1);  // nothing is blanked any more
    QCOMPARE(form->passageBox()->text(), display);
    form->showQuestionAgain();  // the repeat display blanks everything again
    QCOMPARE(form->passageBox()->text(), blanked);
}

void TestExtras::counts_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("exclude");
    QTest::addColumn<int>("open");
    QTest::addColumn<int>("total");
    const QString p2 = QStringLiteral("第二編 株式会社");
    const QString c24 = QStringLiteral("第四章 機関");
    const QString s2 = QStringLiteral("第二節 株主総会以外の機関の設置");
    // 済 on 10, 50, 70; 直近 on 20, 60.
    QTest::newRow("whole Act, off") << ALL << "" << "" << 0 << 8 << 10;
    QTest::newRow("whole Act, on") << ALL << "" << "" << 1 << 5 << 10;
    QTest::newRow("part, off") << p2 << ALL << "" << 0 << 5 << 6;
    QTest::newRow("part, on") << p2 << ALL << "" << 1 << 3 << 6;
    QTest::newRow("chapter, off") << p2 << c24 << "" << 0 << 4 << 5;
    QTest::newRow("chapter, on") << p2 << c24 << ALL << 1 << 2 << 5;
    QTest::newRow("section, off") << p2 << c24 << s2 << 0 << 3 << 3;
    QTest::newRow("section, on") << p2 << c24 << s2 << 1 << 2 << 3;
    QTest::newRow("nothing picked") << "" << "" << "" << 1 << 0 << 0;
}

void TestExtras::counts()
{
    QFETCH(QString, part);
    QFETCH(QString, chapter);
    QFETCH(QString, section);
    QFETCH(int, exclude);
    QFETCH(int, open);
    QFETCH(int, total);
    fixture::TempFolder folder;
    auto questions = fixture::sampleQuestions();
    for (auto& q : questions) {
        q.done = (q.no == 10 || q.no == 50 || q.no == 70) ? 1 : 0;
        q.recent = (q.no == 20 || q.no == 60) ? 1 : 0;
    }
    fixture::writeDatabase(folder.database(), questions, fixture::sampleContents());
    store::QuestionStore s;
    const store::RangeCounts counts = s.countRange(store::Range{part, chapter, section, exclude});
    QCOMPARE(counts.open, open);
    QCOMPARE(counts.total, total);
}

void TestExtras::tooltipShowsCounts()
{
    MenuFixture app;
    QVERIFY(app.load());
    app.choose(QStringLiteral("第二編 株式会社"), ALL);
    app.menu->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
    QCOMPARE(app.menu->remainingText(), QStringLiteral("残り 6 問 / 全 6 問"));
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), app.menu->startButton()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(app.menu->startButton(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("残り 6 問 / 全 6 問"));
}

QTEST_MAIN(TestExtras)
#include "tst_extras.moc"
