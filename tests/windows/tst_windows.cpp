// What only the windows do: controls and names, the keyboard and the focus, the selectors rebuilt as the focus
// leaves them, the boxes answered through the message seam, the passage box's highlighting, and screenshots.
#include "app/AppSetup.h"
#include "app/MenuWindow.h"
#include "app/Screens.h"
#include "app/StatusWindow.h"
#include "fuzz/BoxChecks.h"
#include "quiz/PassageBox.h"
#include "quiz/QuizWindow.h"
#include "store/ProgressTables.h"
#include "support/Fixture.h"
#include "widgets/Layout.h"
#include "widgets/StackedBar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

// The program as a test drives it: the session on a temporary question file, with both windows.
struct Program
{
    Program() : screens(drill.session) { start(); }
    // On a copy of a question file the program and its tools made, prepared before the program starts on it.
    Program(const QString& copyOf, const std::function<void(const QString&)>& prepare)
        : drill(copyOf), screens(drill.session)
    {
        prepare(drill.database());
        start();
    }
    void start()
    {
        QVERIFY(drill.session.startUp());
        QApplication::setActiveWindow(&menu());
    }
    MenuWindow& menu() const { return screens.menu(); }
    QuizWindow& quiz() const { return screens.quiz(); }
    // Picks a part and chapter by their index in the lists, the lists rebuilt as leaving the part list does.
    void choose(int part, int chapter)
    {
        menu().partSelector()->setCurrentIndex(part);
        drill.session.leavePartSelector();
        menu().chapterSelector()->setCurrentIndex(chapter);
    }
    // Starts a drill over the whole Act with the start button, answering the confirmation with Yes.
    void launch()
    {
        choose(0, 0);
        menu().excludeSeenBox()->setChecked(false);
        drill.seam.answer(true);
        QTest::mouseClick(menu().startButton(), Qt::LeftButton);
    }

    fixture::Drill drill;
    Screens screens;
};

QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// Draws the pop-up or box that `open` shows, from inside its own event loop, and closes it.
QImage drawnWhileOpen(const std::function<void()>& open)
{
    QImage image;
    QTimer::singleShot(0, [&image] {
        QWidget* shown = QApplication::activePopupWidget();
        shown = shown ? shown : QApplication::activeModalWidget();
        image = shown->grab().toImage();
        shown->close();
    });
    open();
    return image;
}

// The learner the README's pictures show: part-way through the Act, some questions marked 要復習, a month of work
// (ten questions revealed today), and in 第二編 第四章 第三節 up to 第三百三十二条 in this session.
void giveProgress(const QString& database)
{
    QStringList sql = {
        QStringLiteral("UPDATE 問題 SET 済 = 1 WHERE Ｎｏ < 56000000 OR Ｎｏ BETWEEN 104000000 AND 140999999"
                       " OR Ｎｏ BETWEEN 295000000 AND 331999999 OR Ｎｏ BETWEEN 431000000 AND 465999999"),
        QStringLiteral("UPDATE 問題 SET 直近 = 1 WHERE Ｎｏ BETWEEN 329000000 AND 331999999"),
        QString::fromUtf8(store::progress::kCreateMarks),
        QStringLiteral("INSERT INTO 要復習 SELECT Ｎｏ, '2026-12-0' || (Ｎｏ % 7 + 1) FROM 問題 WHERE 済 = 1 AND"
                       " (Ｎｏ / 100) % 11 = 0"),
        QStringLiteral("UPDATE 問題 SET 済 = 0 WHERE Ｎｏ IN (SELECT Ｎｏ FROM 要復習)"),
        QString::fromUtf8(store::progress::kCreateLog),
    };
    const QList<int> days = {0, 25, 32, 0,  41, 18, 0, 0,  35, 27, 30, 0,  22, 45, 38,
                             0, 0,  29, 33, 24, 40, 0, 36, 28, 0,  31, 44, 26, 19, 10};
    for (qsizetype i = 0; i < days.size(); ++i) {
        if (days[i] > 0)
            sql << QStringLiteral("INSERT INTO 解答記録 VALUES ('%1', %2)")
                       .arg(fixture::today().addDays(i + 1 - days.size()).toString(Qt::ISODate))
                       .arg(days[i]);
    }
    fixture::exec(database, sql.join(u';'), fixture::programKey());
}

// Everything the learner reads, by name: the README's pictures of both windows and of 学習状況 ("menu",
// "quiz-blanked", "quiz-revealed", "status"), drawn on the shipped questions, a list's pop-up, the passage's context
// menu and a message box.
QMap<QString, QImage> drawnTexts()
{
    Program program(QStringLiteral(SHIPPED_DATABASE), giveProgress);
    QMap<QString, QImage> images{{"menu", program.menu().grab().toImage()}};
    QComboBox* parts = program.menu().partSelector();
    parts->showPopup();
    images["list"] = parts->view()->window()->grab().toImage();
    parts->hidePopup();
    program.choose(2, 4);
    program.drill.session.leaveChapterSelector();
    program.menu().sectionSelector()->setCurrentText(QStringLiteral("第三節 役員及び会計監査人の選任及び解任"));
    images["status"] = StatusWindow(*program.drill.session.studyStatus(), &program.menu()).grab().toImage();
    program.drill.seam.answer(true);
    program.drill.session.startDrill();
    images["quiz-blanked"] = program.quiz().grab().toImage();
    images["context menu"] = drawnWhileOpen([&program] {
        QWidget* passage = program.quiz().passageBox();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(20, 20), passage->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(passage, &event);
    });
    images["box"] =
        drawnWhileOpen([] { app::showMessageBox(QStringLiteral("今までの記録を削除しました"), seam::OkOnly, {}); });
    program.drill.session.revealAnswers();
    images["quiz-revealed"] = program.quiz().grab().toImage();
    return images;
}

// The presses the keyboard repeats while a key is held down, each to the control of the window with the focus: marked
// as repeats, or, as the window system may miss the mark, a release and a press at one and the same time.
void repeat(QWidget* window, Qt::Key key, int times)
{
    for (int i = 1; i <= times; ++i) {
        for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
            QKeyEvent event(type, key, Qt::NoModifier, QString(), i % 2 == 0);
            event.setTimestamp(1000 * i);
            QApplication::sendEvent(window->focusWidget(), &event);
        }
    }
}

} // namespace

class TestWindows final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::setupApplication(*qApp); }
    void controls();
    void menuKeyboard();
    void quizKeys_data();
    void quizKeys();
    void closeBoxes();
    void studyStatus();
    void corpusInThePassageBox_data();
    void corpusInThePassageBox();
    void heldEnterOnARealBox();
    void screenshots();
};

// Every control keeps its object name and kind; the windows keep their titles and sizes.
void TestWindows::controls()
{
    Program program;
    QStringList names;
    for (QWidget* window : {static_cast<QWidget*>(&program.menu()), static_cast<QWidget*>(&program.quiz())}) {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
                names << window->objectName() + u'.' + w->objectName() + u':' + w->metaObject()->className();
        }
    }
    names.sort();
    QCOMPARE(names.join(u' '),
             QStringLiteral("Form1.Command1:WrappingButton Form1.Command2:WrappingButton Form1.Command3:WrappingButton "
                            "Form1.Command4:WrappingButton Form1.ImportantMark:QLabel Form1.ReviewMark:QLabel "
                            "Form1.RichTextBox1:PassageBox "
                            "Form1.Text1:QLineEdit Form1.Text2:QLineEdit Form1.Text3:QLineEdit "
                            "start_gamen.Check1:QCheckBox start_gamen.Combo1:QComboBox start_gamen.Combo2:QComboBox "
                            "start_gamen.Combo3:QComboBox start_gamen.Command2:WrappingButton "
                            "start_gamen.Command3:WrappingButton start_gamen.Command4:WrappingButton "
                            "start_gamen.Frame1:QGroupBox start_gamen.Frame3:QGroupBox "
                            "start_gamen.ImportantOnlyBox:QCheckBox start_gamen.Label1:QLabel "
                            "start_gamen.Label3:QLabel start_gamen.Label4:QLabel start_gamen.Label5:QLabel "
                            "start_gamen.Label6:QLabel start_gamen.Line1:QWidget start_gamen.MarkedOnlyBox:QCheckBox "
                            "start_gamen.StatusButton:WrappingButton"));
    QCOMPARE(program.menu().windowTitle(), QStringLiteral("ハルニレKM   中小企業診断士"));
    QCOMPARE(program.menu().size(), QSize(542, 259));
    QCOMPARE(program.quiz().windowTitle(), QStringLiteral("ハルニレ　KM"));
    QCOMPARE(program.quiz().size(), QSize(590, 483));
    // The Japanese proportional faces stand in for the ones the screens name.
    QCOMPARE(QFontInfo(program.menu().findChild<QLabel*>(QStringLiteral("Label1"))->font()).family() + u' ' +
                 QFontInfo(program.menu().partSelector()->font()).family(),
             QStringLiteral("IPAPGothic IPAPMincho"));
    // The quiz screen's tab order, from the passage on.
    QStringList chain;
    for (QWidget* w = program.quiz().passageBox(); chain.size() < 8; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus && !w->objectName().startsWith(QLatin1String("qt_")))
            chain << w->objectName();
    }
    QCOMPARE(chain.join(u' '), QStringLiteral("RichTextBox1 Command3 Command2 Command1 Text1 Text2 Text3 Command4"));
    // Every window shows exactly its own title: no display name for the window system to add to it.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    // The lists keep the default text colour, whatever their frame's, and a screen reader names them by their labels.
    QComboBox* parts = program.menu().partSelector();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
        QCOMPARE(parts->palette().color(role), layout::palette().color(role));
    QCOMPARE(parts->accessibleName() + program.menu().chapterSelector()->accessibleName() +
                 program.menu().sectionSelector()->accessibleName(),
             QStringLiteral("編章節"));
}

void TestWindows::menuKeyboard()
{
    Program program;
    MenuWindow& menu = program.menu();
    QVERIFY(QTest::qWaitForWindowActive(&menu));
    QCOMPARE(focusName(), QStringLiteral("Command2"));
    QStringList visited; // leaving the part list with nothing picked is told once: the first box

    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusName();
    }
    QCOMPARE(visited.join(u' '), QStringLiteral("Command4 Check1 Combo1 Combo2 Combo3 Command3 ImportantOnlyBox "
                                                "MarkedOnlyBox StatusButton Command2"));
    // Another part picked and the button clicked straight away: the focus leaving the part list rebuilds the lists
    // before the button acts, so the launch sees no chapter and asks for one.
    menu.partSelector()->setFocus(Qt::MouseFocusReason);
    menu.partSelector()->setCurrentIndex(1);
    QTest::keyClick(menu.partSelector(), Qt::Key_Tab);
    QCOMPARE(menu.chapterSelector()->count(), 5);
    menu.chapterSelector()->setCurrentIndex(2);
    menu.partSelector()->setFocus(Qt::MouseFocusReason);
    menu.partSelector()->setCurrentIndex(2);
    QTest::mouseClick(menu.startButton(), Qt::LeftButton);
    QCOMPARE(program.drill.seam.texts().mid(1), QStringList{QStringLiteral("該当の編・章を選択してください。")});
    QCOMPARE(menu.chapterSelector()->count(), 0);
    QCOMPARE(focusName(), QStringLiteral("Combo1"));
    // The tooltip of 問題開始 counts the range the lists show.
    program.choose(2, 0);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), menu.startButton()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(menu.startButton(), &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("残り 6 問 / 全 6 問"));
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
    QTest::newRow("Enter on 今の問題をもう一度 presses it") << true << "Command4" << int(Qt::Key_Return) << "again";
    QTest::newRow("Esc back to the menu") << false << "RichTextBox1" << int(Qt::Key_Escape) << "menu";
    QTest::newRow("a digit uncovers its blank") << false << "Text1" << int(Qt::Key_1) << "uncovered";
    QTest::newRow("Space goes on once revealed") << true << "RichTextBox1" << int(Qt::Key_Space) << "next";
    QTest::newRow("X marks, the mark shows") << true << "Command2" << int(Qt::Key_X) << "marked";
    QTest::newRow("Ctrl+Z takes the reveal back") << true << "RichTextBox1" << int(Qt::Key_Z) << "blanked";
    // A key held: the keyboard repeats its press.
    QTest::newRow("Space held reveals once") << false << "RichTextBox1" << int(Qt::Key_Space) << "revealed";
    QTest::newRow("X held marks once") << true << "Command2" << int(Qt::Key_X) << "marked";
    QTest::newRow("Right held moves on each repeat") << false << "RichTextBox1" << int(Qt::Key_Right) << "cursor 6";
}

void TestWindows::quizKeys()
{
    QFETCH(bool, revealed);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, expected);
    Program program;
    program.launch();
    QuizWindow& quiz = program.quiz();
    QVERIFY(quiz.isVisible() && !program.menu().isVisible());
    QCOMPARE(quiz.focusWidget()->objectName(), QStringLiteral("Text1"));
    // The blank in the highlight style, and after the reveal the answer.
    QCOMPARE(textcheck::checkHighlights(*quiz.passageBox(), {QStringLiteral(" 《 1 》 ")}), QString());
    if (revealed) {
        QTest::mouseClick(quiz.answerButton(), Qt::LeftButton);
        QCOMPARE(textcheck::checkHighlights(*quiz.passageBox(), {QStringLiteral("法人")}), QString());
        // The focus on 次の問題へ, its ring shown as after a move by the keyboard.
        QStyleOptionButton option;
        option.initFrom(quiz.nextButton());
        QVERIFY(quiz.focusWidget() == quiz.nextButton() && option.state.testFlag(QStyle::State_KeyboardFocusChange));
    }
    const QString flags = fixture::flags(program.drill.database());
    QWidget* focused = quiz.findChild<QWidget*>(focus);
    focused->setFocus();
    const Qt::KeyboardModifiers modifiers = key == Qt::Key_Z ? Qt::ControlModifier : Qt::NoModifier;
    QTest::keyPress(focused, Qt::Key(key), modifiers);
    repeat(&quiz, Qt::Key(key), QByteArray(QTest::currentDataTag()).contains("held") ? 5 : 0);
    QTest::keyRelease(focused, Qt::Key(key), modifiers);
    const QString state = !quiz.isVisible()                                                  ? QStringLiteral("menu")
                          : !quiz.reviewMark()->isHidden()                                   ? QStringLiteral("marked")
                          : program.drill.session.shownNo() == 20                            ? QStringLiteral("next")
                          : program.drill.session.page().phase == drill::Phase::BlankedAgain ? QStringLiteral("again")
                          : quiz.againButton()->isVisible()            ? QStringLiteral("revealed")
                          : !quiz.passageBox()->text().contains(u'《') ? QStringLiteral("uncovered")
                          : quiz.passageBox()->textCursor().position() > 0
                              ? QStringLiteral("cursor %1").arg(quiz.passageBox()->textCursor().position())
                              : QStringLiteral("blanked");
    QCOMPARE(state, expected);
    if (expected == QLatin1String("menu"))
        QCOMPARE(fixture::flags(program.drill.database()), flags);
}

void TestWindows::closeBoxes()
{
    Program program;
    program.launch();
    for (QWidget* window : {static_cast<QWidget*>(&program.quiz()), static_cast<QWidget*>(&program.menu())}) {
        program.drill.seam.answer(true);
        QCloseEvent event; // the window system's close, as the close box sends it
        QApplication::sendEvent(window->windowHandle(), &event);
    }
    QCOMPARE(program.drill.seam.texts().mid(1), (QStringList{"メニュー画面に戻りますか？", "終了して良いですか？"}));
    QCOMPARE(program.drill.seam.exitStatus(), 0);
    // Closed by the system (the desktop session ending): the program ends without asking.
    Program other;
    other.menu().close();
    QVERIFY(other.drill.seam.boxes().isEmpty());
    QCOMPARE(other.drill.seam.exitStatus(), 0);
}

// 学習状況 opens from the menu on what the file holds now, gives a screen reader every figure, and closes with Esc.
void TestWindows::studyStatus()
{
    Program program;
    program.launch();
    QTest::mouseClick(program.quiz().answerButton(), Qt::LeftButton);
    QTest::keyClick(program.quiz().answerButton(), Qt::Key_X);
    QTest::mouseClick(program.quiz().menuButton(), Qt::LeftButton);
    program.choose(1, 0);
    // Opened by its button and by F2, each time afresh, and closed by Esc.
    QStringList shown;
    QStringList bars;
    const auto readAndClose = [&] {
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<StatusWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            shown << window->windowTitle() + u'\n' + window->accessibleDescription();
            bars.clear();
            for (const QWidget* bar : window->findChildren<StackedBar*>())
                bars << bar->accessibleName();
            QTest::keyClick(window, Qt::Key_Escape);
        });
    };
    readAndClose();
    QTest::mouseClick(program.menu().statusButton(), Qt::LeftButton);
    readAndClose();
    QTest::keyClick(program.menu().startButton(), Qt::Key_F2);
    QVERIFY(!QApplication::activeModalWidget());
    const std::optional<drill::StudyStatus> status = program.drill.session.studyStatus();
    const QString expected = QStringLiteral("学習状況\n") + drill::statusText(*status);
    QCOMPARE(shown, (QStringList{expected, expected}));
    QVERIFY(expected.contains(QStringLiteral("第一編 総則：済 0　要復習 1　未 3 ／ 4 問")));
    // Each part and chapter has its bar and tier A its own, each named by its figures.
    QCOMPARE(bars.size(), 2 * (8 + 4) + 3);
    QVERIFY(bars.contains(QStringLiteral("第一章 通則：済 0　要復習 1　未 1 ／ 2 問")));
}

void TestWindows::corpusInThePassageBox_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(FUZZ_CORPUS));
    for (const QString& name : corpus.entryList(QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    QVERIFY2(corpus.entryList(QDir::Files).size() >= 10, FUZZ_CORPUS);
}

// The fuzz corpus replayed without the fuzzer: the routines keep their rules and the box shows what they say,
// across line breaks of every kind.
void TestWindows::corpusInThePassageBox()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const textcheck::TextCase textCase = textcheck::decode(file.readAll());
    QCOMPARE(textcheck::check(textCase), QString());
    QCOMPARE(textcheck::checkBox(textCase), QString());
}

// Enter held on a focused 記録削除: the first press asks, the repeats leave the real box open and the record as it
// was, and a fresh press answers the box.
void TestWindows::heldEnterOnARealBox()
{
    Program program;
    seam::setBoxHandler(app::showMessageBox);
    const QString database = program.drill.database();
    fixture::exec(database, QStringLiteral("UPDATE 問題 SET 済 = 1"));
    const QString flags = fixture::flags(database);
    QString whileHeld = QStringLiteral("no box");
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        repeat(box, Qt::Key_Return, 5);
        whileHeld = QApplication::activeModalWidget() == box ? fixture::flags(database) : QStringLiteral("answered");
        // The fresh press answers Yes; the box that says the record is cleared is answered in its turn.
        QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    QTest::keyClick(program.menu().clearRecordButton(), Qt::Key_Return);
    QCOMPARE(whileHeld, flags);
    QVERIFY(!fixture::flags(database).contains(QStringLiteral(":1/")));
}

// The README's pictures, written into build/*/screenshots, each showing what it must; under a dark desktop theme
// every text, in the windows and in their boxes, is drawn as under the light one.
void TestWindows::screenshots()
{
    const QMap<QString, QImage> images = drawnTexts();
    const Program program;
    // The percentage of a control's pixels in (or near) a colour, as a picture shows it.
    const auto share = [&images](const char* picture, const QWidget* control, const QColor& colour) {
        const QImage part = images[picture].copy(QRect(control->mapTo(control->window(), QPoint()), control->size()));
        int near = 0;
        for (int i = 0; i < part.width() * part.height(); ++i) {
            const QColor c = part.pixelColor(i % part.width(), i / part.width());
            near +=
                qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) + qAbs(c.blue() - colour.blue()) < 60;
        }
        return 100.0 * near / (part.width() * part.height());
    };
    const QWidget* blanks = program.menu().findChild<QLabel*>(QStringLiteral("Label4"));
    const QuizWindow& quiz = program.quiz();
    QVERIFY2(share("menu", blanks, layout::blue) > 2 && share("menu", blanks, Qt::white) > 50, "「<穴埋め>」 on white");
    QVERIFY2(share("quiz-blanked", quiz.passageBox(), layout::red) > 0, "the blanks highlighted");
    QVERIFY2(share("quiz-blanked", quiz.againButton(), layout::grey) == 100, "no 今の問題をもう一度 before 解答");
    QVERIFY2(share("quiz-blanked", quiz.answerButton(), Qt::black) > 0, "解答 usable");
    QVERIFY2(share("quiz-blanked", quiz.importantMark(), layout::blue) > 2, "重要: a question of tier A");
    QVERIFY2(share("quiz-revealed", quiz.againButton(), layout::grey) < 50, "今の問題をもう一度 after 解答");
    QVERIFY2(share("quiz-revealed", quiz.answerButton(), Qt::black) == 0, "解答 no longer usable");
    QVERIFY2(share("quiz-revealed", quiz.passageBox(), layout::red) > 0, "the answers highlighted");
    // 学習状況 of a learner part-way through: done, marked and open in the bars, and the days of a month's work.
    const auto inStatus = [&images](const QColor& colour) {
        const QImage& status = images["status"];
        int n = 0;
        for (int y = 0; y < status.height(); ++y) {
            for (int x = 0; x < status.width(); ++x)
                n += status.pixelColor(x, y) == colour;
        }
        return n;
    };
    QVERIFY2(inStatus(layout::blue) > 500 && inStatus(layout::red) > 50 && inStatus(layout::green) > 300,
             "学習状況: 済 and 要復習 in the bars, a month of reveals");
    // What the quiz screen showed: a question of the shipped set, 第三百三十二条 (the 取締役's 任期).
    {
        Program shipped(QStringLiteral(SHIPPED_DATABASE), giveProgress);
        shipped.choose(2, 4);
        shipped.drill.session.leaveChapterSelector();
        shipped.menu().sectionSelector()->setCurrentText(QStringLiteral("第三節 役員及び会計監査人の選任及び解任"));
        shipped.drill.seam.answer(true);
        shipped.drill.session.startDrill();
        QCOMPARE(shipped.quiz().headingLine(2)->text().section(u' ', -1), QStringLiteral("第三百三十二条第一項"));
        QVERIFY(shipped.quiz().passageBox()->text().contains(QStringLiteral(" 《 1 》 ")));
        const std::optional<drill::StudyStatus> status = shipped.drill.session.studyStatus();
        QVERIFY(status && status->parts[1].all.done > 300 && status->parts[1].all.marked > 10 &&
                status->days.last() == 10);
    }
    const QString folder = QStringLiteral(SCREENSHOT_DIR);
    QVERIFY(QDir().mkpath(folder));
    for (const char* picture : {"menu", "quiz-blanked", "quiz-revealed", "status"})
        QVERIFY(images[picture].save(folder + u'/' + QLatin1String(picture) + QStringLiteral(".png")));
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(50, 50, 50), QColor(40, 40, 40)));
    const QMap<QString, QImage> dark = drawnTexts();
    QApplication::setPalette(desktop);
    for (const QString& name : images.keys())
        QVERIFY2(!images[name].isNull() && dark[name] == images[name], qPrintable(name + " under a dark theme"));
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
