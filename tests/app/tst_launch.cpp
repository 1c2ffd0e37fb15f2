#include "quiz/QuizWindow.h"
#include "quiz/PassageBox.h"
#include "drill/FailureText.h"
#include "drill/MessageSeam.h"
#include "support/MenuFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using fixture::MenuFixture;

namespace {
const QString CRLF = QStringLiteral("\r\n");
const QString ALL = QStringLiteral("すべて");
const QString P2 = QStringLiteral("第二編 株式会社");
const QString C24 = QStringLiteral("第四章 機関");
const QString S2 = QStringLiteral("第二節 株主総会以外の機関の設置");
const QString TAIL = CRLF + QStringLiteral("を範囲として出題します。 ") + CRLF;
const QString NOTE = CRLF + QStringLiteral("( 今までに出た問題は除きます。)") + CRLF;
} // namespace

class TestLaunch final : public QObject
{
    Q_OBJECT

private slots:
    void confirmation_data();
    void confirmation();
    void noChangesNothing();
    void probeComesBeforeValidation_data();
    void probeComesBeforeValidation();
    void invalidPart();
    void exhaustedRangeBringsMenuBack();
    void damagedFileEndsProgram();
};

void TestLaunch::confirmation_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qint64>("first");
    QTest::newRow("whole Act") << ALL << ALL << "" << ("会社法全体を範囲として出題します。 " + CRLF) << qint64(10);
    QTest::newRow("part, chapter すべて") << P2 << ALL << "" << ("編： " + P2 + CRLF + TAIL) << qint64(50);
    QTest::newRow("part without chapters") << "第六編 外国会社" << ALL << "" << ("編： 第六編 外国会社" + CRLF + TAIL)
                                           << qint64(0);
    QTest::newRow("chapter, section empty")
        << P2 << C24 << "" << ("編： " + P2 + CRLF + "章： " + C24 + CRLF + TAIL) << qint64(50);
    QTest::newRow("chapter, section すべて")
        << P2 << C24 << ALL << ("編： " + P2 + CRLF + "章： " + C24 + CRLF + TAIL) << qint64(50);
    QTest::newRow("section")
        << P2 << C24 << S2 << ("編： " + P2 + CRLF + "章： " + C24 + CRLF + "節： " + S2 + CRLF + TAIL) << qint64(70);
}

void TestLaunch::confirmation()
{
    QFETCH(QString, part);
    QFETCH(QString, chapter);
    QFETCH(QString, section);
    QFETCH(QString, expected);
    QFETCH(qint64, first);
    for (const bool ticked : {false, true}) {
        MenuFixture app;
        QVERIFY(app.load());
        app.choose(part, chapter, section);
        app.menu->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(ticked);
        app.seam.answerYes();
        app.menu->startDrill();
        QVERIFY(app.seam.boxes().size() >= 1);
        QCOMPARE(app.seam.boxes()[0].text, ticked ? expected + NOTE : expected);
        QCOMPARE(app.seam.boxes()[0].style, int(seam::YesNo));
        QCOMPARE(app.seam.boxes()[0].title, QStringLiteral("ハルニレKM"));
        QVERIFY(!app.seam.ended());
        if (first == 0) {
            // Nothing of the range in the file: told so, and back on the menu.
            QCOMPARE(app.seam.boxes().size(), 2);
            QVERIFY(app.menu->isVisible());
            continue;
        }
        QCOMPARE(app.seam.boxes().size(), 1);
        QVERIFY(!app.menu->isVisible());
        QuizWindow* form = app.menu->loadedQuiz();
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->shownNoBox()->text(), QString::number(first));
        QVERIFY(form->answerButton()->isEnabled());
        QVERIFY(!form->nextButton()->isEnabled());
        QVERIFY(form->againButton()->isHidden());
        QCOMPARE(form->focusWidget(), form->partLine());
    }
}

void TestLaunch::noChangesNothing()
{
    MenuFixture app;
    QVERIFY(app.load());
    app.choose(P2, C24, S2);
    const auto before = fixture::readFlags(app.database());
    app.seam.answerNo();
    app.menu->startDrill();
    QCOMPARE(app.seam.boxes().size(), 1);
    QVERIFY(app.menu->isVisible());
    QVERIFY(!app.menu->loadedQuiz() || !app.menu->loadedQuiz()->isVisible());
    QCOMPARE(app.menu->partSelector()->currentText(), P2);
    QCOMPARE(app.menu->chapterSelector()->currentText(), C24);
    QCOMPARE(app.menu->sectionSelector()->currentText(), S2);
    QCOMPARE(fixture::readFlags(app.database()), before);
}

void TestLaunch::probeComesBeforeValidation_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("chapter");
    QTest::newRow("nothing picked anywhere") << "" << "";
    QTest::newRow("part picked, chapter empty") << P2 << "";
    QTest::newRow("chapter without sections") << "第一編 総則" << "第一章 通則";
}

void TestLaunch::probeComesBeforeValidation()
{
    QFETCH(QString, part);
    QFETCH(QString, chapter);
    MenuFixture app;
    QVERIFY(app.load());
    if (!part.isEmpty())
        app.choose(part, chapter);
    app.menu->startDrill();
    QCOMPARE(app.seam.texts(), QStringList{QStringLiteral("該当の編・章を選択してください。")});
    QCOMPARE(app.seam.boxes()[0].title, QStringLiteral("ハルニレKM"));
    QCOMPARE(app.menu->chapterSelector()->count(), 0);
    QCOMPARE(app.menu->sectionSelector()->count(), 0);
    QCOMPARE(app.menu->partSelector()->currentText(), part);
    QCOMPARE(app.menu->focusWidget(), app.menu->partSelector());
}

void TestLaunch::invalidPart()
{
    MenuFixture app;
    QVERIFY(app.load());
    app.choose(ALL, ALL);
    app.menu->partSelector()->setCurrentIndex(-1);
    app.menu->startDrill();
    QCOMPARE(app.seam.texts(), QStringList{QStringLiteral("対象範囲を選択してから、このボタンを押して下さい")});
    QCOMPARE(app.seam.boxes()[0].title, QStringLiteral("ハルニレ KM"));
    QCOMPARE(app.menu->partSelector()->currentText(), QString());
    QCOMPARE(app.menu->focusWidget(), app.menu->partSelector());
    QVERIFY(app.menu->isVisible());
}

void TestLaunch::exhaustedRangeBringsMenuBack()
{
    auto questions = fixture::sampleQuestions();
    for (auto& q : questions)
        q.recent = 1;
    MenuFixture app(questions);
    QVERIFY(app.load());
    app.choose(ALL, ALL);
    app.seam.answerYes();
    app.menu->startDrill();
    QCOMPARE(app.seam.boxes().size(), 2);
    QVERIFY(app.seam.boxes()[1].text.startsWith(QStringLiteral("これらの条件の出題は全て実施済みです。")));
    QVERIFY(app.menu->isVisible());
    QCOMPARE(app.menu->focusWidget(), app.menu->startButton());
    QCOMPARE(app.menu->partSelector()->currentText(), ALL);
    QVERIFY(!app.menu->loadedQuiz() || !app.menu->loadedQuiz()->isVisible());
}

void TestLaunch::damagedFileEndsProgram()
{
    MenuFixture app;
    QVERIFY(app.load());
    app.choose(ALL, ALL);
    fixture::writeDatabase(app.database(), fixture::sampleQuestions(), {}, "OTHERKEY");
    app.menu->startDrill();
    QCOMPARE(app.seam.texts(), QStringList{store::damagedFileMessage()});
    QCOMPARE(app.seam.boxes()[0].title, QStringLiteral("ハルニレKM"));
    QVERIFY(app.seam.ended());
}

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
