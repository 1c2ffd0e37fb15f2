// What only the windows do: controls and names, the keyboard and the focus, the selectors rebuilt as the focus
// leaves them, the boxes answered through the message seam, the passage box's highlighting, and screenshots.
#include "app/AppSetup.h"
#include "app/MenuWindow.h"
#include "app/Screens.h"
#include "fuzz/BoxChecks.h"
#include "quiz/PassageBox.h"
#include "quiz/QuizWindow.h"
#include "support/Fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

namespace {

// The program as a test drives it: the session on a temporary question file, with both windows.
struct Program
{
    Program() : screens(drill.session)
    {
        QVERIFY(drill.session.startUp());
        QApplication::setActiveWindow(&menu());
    }
    MenuWindow& menu() const { return screens.menu(); }
    QuizWindow& quiz() const { return screens.quiz(); }
    // Starts a drill over the whole Act with the start button, answering the confirmation with Yes.
    void launch()
    {
        menu().partSelector()->setCurrentIndex(0);
        drill.session.leavePartSelector();
        menu().chapterSelector()->setCurrentIndex(0);
        menu().excludeSeenBox()->setChecked(false);
        drill.seam.answer(true);
        QTest::mouseClick(menu().startButton(), Qt::LeftButton);
    }

    fixture::Drill drill;
    Screens screens;
};

// Closes a window as the learner does with its close box: the window system's close, delivered to the window.
void userCloses(QWidget* window)
{
    QCloseEvent event;
    QApplication::sendEvent(window->windowHandle(), &event);
}

QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// Whether exactly the characters inside the spans are red, 14 pt and bold, and all others black, 9 pt, regular.
QString checkStyles(const PassageBox& box, const QList<passage::Span>& highlighted)
{
    for (qsizetype i = 0; i < box.text().size(); ++i) {
        if (box.text()[i] == u'\r' || box.text()[i] == u'\n')
            continue;
        const bool marked = std::any_of(highlighted.begin(), highlighted.end(),
                                        [i](const passage::Span& s) { return i >= s.start && i < s.start + s.length; });
        const QTextCharFormat f = box.formatAt(i);
        const bool red =
            f.foreground().color() == QColor(255, 0, 0) && f.fontPointSize() == 14 && f.fontWeight() == QFont::Bold;
        const bool black =
            f.foreground().color() == QColor(0, 0, 0) && f.fontPointSize() == 9 && f.fontWeight() == QFont::Normal;
        if (marked ? !red : !black)
            return QStringLiteral("character %1 '%2'").arg(i).arg(box.text()[i]);
    }
    return {};
}

} // namespace

class TestWindows final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::setupApplication(*qApp); }
    void controls();
    void menuKeyboard();
    void selectorsRebuiltBeforeTheButtonActs();
    void launchAndHighlights();
    void quizKeys_data();
    void quizKeys();
    void closeBoxes();
    void corpusInThePassageBox_data();
    void corpusInThePassageBox();
    void screenshots();
};

// Every control keeps its object name and kind; the windows keep their titles and sizes.
void TestWindows::controls()
{
    Program program;
    const QList<std::pair<QWidget*, QStringList>> windows = {
        {&program.menu(),
         {"QLabel Label1", "QLabel Label4", "QGroupBox Frame1", "QLabel Label3", "QComboBox Combo1", "QLabel Label5",
          "QLabel Label6", "QComboBox Combo2", "QComboBox Combo3", "QGroupBox Frame3", "QCheckBox Check1",
          "WrappingButton Command2", "WrappingButton Command3", "WrappingButton Command4", "QWidget Line1"}},
        {&program.quiz(),
         {"QLineEdit Text1", "QLineEdit Text2", "QLineEdit Text3", "PassageBox RichTextBox1", "WrappingButton Command1",
          "WrappingButton Command4", "WrappingButton Command2", "WrappingButton Command3", "QLabel ReviewMark"}},
    };
    for (auto [window, expected] : windows) {
        QStringList controls;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
                controls << QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName();
        }
        controls.sort();
        expected.sort();
        QCOMPARE(controls, expected);
    }
    QCOMPARE(program.menu().windowTitle(), QStringLiteral("ハルニレKM   中小企業診断士"));
    QCOMPARE(program.menu().size(), QSize(542, 259));
    QCOMPARE(program.quiz().windowTitle(), QStringLiteral("ハルニレ　KM"));
    QCOMPARE(program.quiz().size(), QSize(590, 483));
    // Every window shows exactly its own title: no display name for the window system to add to it.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    // The lists keep the default text colour, whatever their frame's.
    QCOMPARE(program.menu().partSelector()->palette().color(QPalette::ButtonText),
             QApplication::palette().color(QPalette::ButtonText));
    QCOMPARE(program.menu().partSelector()->palette().color(QPalette::Text),
             QApplication::palette().color(QPalette::Text));
    // A screen reader names the lists after their labels.
    QCOMPARE(program.menu().partSelector()->accessibleName(), QStringLiteral("編"));
    QCOMPARE(program.menu().chapterSelector()->accessibleName(), QStringLiteral("章"));
    QCOMPARE(program.menu().sectionSelector()->accessibleName(), QStringLiteral("節"));
}

void TestWindows::menuKeyboard()
{
    Program program;
    QVERIFY(QTest::qWaitForWindowActive(&program.menu()));
    QCOMPARE(focusName(), QStringLiteral("Command2"));
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusName();
    }
    QCOMPARE(visited, (QStringList{"Command4", "Check1", "Combo1", "Combo2", "Combo3", "Command3", "Command2"}));
    // The tooltip of 問題開始 counts the range the lists show.
    program.menu().partSelector()->setCurrentIndex(2);
    program.drill.session.leavePartSelector();
    program.menu().chapterSelector()->setCurrentIndex(0);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), program.menu().startButton()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(program.menu().startButton(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("残り 6 問 / 全 6 問"));
    // Enter on a focused button presses it, as Space does.
    program.menu().clearRecordButton()->setFocus();
    program.drill.seam.answer(false);
    QTest::keyClick(program.menu().clearRecordButton(), Qt::Key_Return);
    QCOMPARE(program.drill.seam.texts().last(), QStringLiteral("今までの記録（どの問題を見たか）を削除してよろしいですか？"));
}

// Another part picked and the button clicked straight away: the focus leaving the part list rebuilds the lists
// before the button acts, so the launch sees no chapter and asks for one.
void TestWindows::selectorsRebuiltBeforeTheButtonActs()
{
    Program program;
    MenuWindow& menu = program.menu();
    QVERIFY(QTest::qWaitForWindowActive(&menu));
    menu.partSelector()->setFocus(Qt::MouseFocusReason);
    menu.partSelector()->setCurrentIndex(1);
    QTest::keyClick(menu.partSelector(), Qt::Key_Tab);
    QCOMPARE(menu.chapterSelector()->count(), 5);
    menu.chapterSelector()->setCurrentIndex(2);
    menu.partSelector()->setFocus(Qt::MouseFocusReason);
    menu.partSelector()->setCurrentIndex(2);
    QTest::mouseClick(menu.startButton(), Qt::LeftButton);
    QCOMPARE(program.drill.seam.texts(), QStringList{QStringLiteral("該当の編・章を選択してください。")});
    QCOMPARE(menu.chapterSelector()->count(), 0);
    QCOMPARE(focusName(), QStringLiteral("Combo1"));
}

void TestWindows::launchAndHighlights()
{
    Program program;
    program.launch();
    QuizWindow& quiz = program.quiz();
    QVERIFY(quiz.isVisible() && !program.menu().isVisible());
    QCOMPARE(quiz.headingLine(0)->text(), QStringLiteral("第一編 総則  第一章 通則"));
    QCOMPARE(quiz.passageBox()->text(), QStringLiteral("会社は、 《 1 》 とする。\r\n"));
    QVERIFY(quiz.answerButton()->isEnabled() && !quiz.nextButton()->isEnabled() && quiz.againButton()->isHidden());
    QCOMPARE(checkStyles(*quiz.passageBox(), {{4, 7}}), QString());
    QTest::mouseClick(quiz.answerButton(), Qt::LeftButton);
    QVERIFY(!quiz.answerButton()->isEnabled() && quiz.nextButton()->isEnabled() && !quiz.againButton()->isHidden());
    QCOMPARE(checkStyles(*quiz.passageBox(), {{4, 2}}), QString());
    // Across line breaks the highlight still lands on its characters.
    PassageBox box;
    const QString text = QStringLiteral("甲。\r\n乙\n乙\r\n丙乙");
    box.showPassage(text, passage::findOccurrences(text, QStringLiteral("乙")));
    QCOMPARE(checkStyles(box, {{4, 1}, {6, 1}, {10, 1}}), QString());
}

void TestWindows::quizKeys_data()
{
    QTest::addColumn<bool>("revealed"); // the answers shown before the key
    QTest::addColumn<QString>("focus"); // the object name of the control with the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Space in the passage reveals") << false << "RichTextBox1" << int(Qt::Key_Space) << "revealed";
    QTest::newRow("Enter on a heading reveals") << false << "Text1" << int(Qt::Key_Return) << "revealed";
    QTest::newRow("Space on メニュ画面へ presses it") << false << "Command3" << int(Qt::Key_Space) << "menu";
    QTest::newRow("Enter on メニュ画面へ presses it") << false << "Command3" << int(Qt::Key_Enter) << "menu";
    QTest::newRow("Enter on 解答 presses it") << false << "Command1" << int(Qt::Key_Return) << "revealed";
    QTest::newRow("Esc back to the menu") << false << "RichTextBox1" << int(Qt::Key_Escape) << "menu";
    QTest::newRow("a digit uncovers its blank") << false << "Text1" << int(Qt::Key_1) << "uncovered";
    QTest::newRow("Space goes on once revealed") << true << "RichTextBox1" << int(Qt::Key_Space) << "next";
    QTest::newRow("X marks, the mark shows") << true << "Command2" << int(Qt::Key_X) << "marked";
    QTest::newRow("Ctrl+Z takes the reveal back") << true << "RichTextBox1" << int(Qt::Key_Z) << "blanked";
}

void TestWindows::quizKeys()
{
    QFETCH(bool, revealed);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, expected);
    Program program;
    program.launch();
    if (revealed)
        program.drill.session.revealAnswers();
    QuizWindow& quiz = program.quiz();
    const QString flags = fixture::flags(program.drill.database());
    QTest::keyClick(quiz.findChild<QWidget*>(focus), Qt::Key(key),
                    key == Qt::Key_Z ? Qt::ControlModifier : Qt::NoModifier);
    const drill::Page& page = program.drill.session.page();
    if (expected == QLatin1String("menu")) {
        QVERIFY(!quiz.isVisible() && program.menu().isVisible());
        QCOMPARE(fixture::flags(program.drill.database()), flags);
    } else if (expected == QLatin1String("revealed")) {
        QCOMPARE(page.phase, drill::Phase::Revealed);
    } else if (expected == QLatin1String("next")) {
        QCOMPARE(program.drill.session.shownNo(), 20);
    } else if (expected == QLatin1String("marked")) {
        QVERIFY(!quiz.reviewMark()->isHidden());
    } else if (expected == QLatin1String("blanked")) {
        QCOMPARE(page.phase, drill::Phase::Blanked);
        QVERIFY(quiz.answerButton()->isEnabled());
    } else {
        QCOMPARE(quiz.passageBox()->text(), QStringLiteral("会社は、法人とする。\r\n"));
    }
}

void TestWindows::closeBoxes()
{
    Program program;
    program.launch();
    QuizWindow& quiz = program.quiz();
    program.drill.seam.answer(true);
    userCloses(&quiz);
    QCOMPARE(program.drill.seam.texts().last(), QStringLiteral("メニュー画面に戻りますか？"));
    QVERIFY(!quiz.isVisible() && program.menu().isVisible());
    program.drill.seam.answer(true);
    userCloses(&program.menu());
    QCOMPARE(program.drill.seam.texts().last(), QStringLiteral("終了して良いですか？"));
    QCOMPARE(program.drill.seam.exitStatus(), 0);
    // Closed by the system (the desktop session ending): the program ends without asking.
    Program other;
    other.menu().close();
    QVERIFY(other.drill.seam.boxes().isEmpty());
    QCOMPARE(other.drill.seam.exitStatus(), 0);
}

void TestWindows::corpusInThePassageBox_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(FUZZ_CORPUS));
    for (const QString& name : corpus.entryList(QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    QVERIFY2(corpus.entryList(QDir::Files).size() >= 10, FUZZ_CORPUS);
}

// The fuzz corpus replayed without the fuzzer: the routines keep their rules and the box shows what they say.
void TestWindows::corpusInThePassageBox()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const textcheck::TextCase textCase = textcheck::decode(file.readAll());
    QCOMPARE(textcheck::check(textCase), QString());
    QCOMPARE(textcheck::checkBox(textCase), QString());
}

// Draws both windows into build/*/screenshots for people to look at, in the Japanese proportional faces.
void TestWindows::screenshots()
{
    const QString folder = QStringLiteral(SCREENSHOT_DIR);
    QVERIFY(QDir().mkpath(folder));
    Program program;
    QCOMPARE(QFontInfo(program.menu().findChild<QWidget*>(QStringLiteral("Label1"))->font()).family(),
             QStringLiteral("IPAPGothic"));
    QCOMPARE(QFontInfo(program.menu().partSelector()->font()).family(), QStringLiteral("IPAPMincho"));
    QVERIFY(program.menu().grab().save(folder + QStringLiteral("/menu.png")));
    program.menu().partSelector()->setCurrentIndex(2);
    program.drill.session.leavePartSelector();
    program.menu().chapterSelector()->setCurrentIndex(4);
    program.drill.seam.answer(true);
    program.drill.session.startDrill();
    QVERIFY(program.quiz().grab().save(folder + QStringLiteral("/quiz-blanked.png")));
    program.drill.session.revealAnswers();
    QVERIFY(program.quiz().grab().save(folder + QStringLiteral("/quiz-revealed.png")));
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
