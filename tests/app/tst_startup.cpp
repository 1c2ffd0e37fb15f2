#include "support/MenuFixture.h"
#include "drill/MessageSeam.h"
#include "store/Sqlite.h"

#include <sqlite3.h>

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

using fixture::FlagRow;
using fixture::MenuFixture;

namespace {


QList<store::Question> flaggedQuestions()
{
    auto questions = fixture::sampleQuestions();
    for (int i = 0; i < questions.size(); ++i) {
        questions[i].done = (i % 3) == 0;
        questions[i].recent = (i % 2) == 0;
    }
    return questions;
}

} // namespace

class TestStartup final : public QObject
{
    Q_OBJECT

private slots:
    void normalStart();
    void trialOpenLeavesNothingOpen();
    void quitting_data();
    void quitting();
    void resetRecord_data();
    void resetRecord();
    void closeButtonGreyedAndBack();
};

void TestStartup::normalStart()
{
    MenuFixture app;
    QVERIFY(app.load());
    QVERIFY(!app.seam.ended());
    QVERIFY(app.seam.boxes().isEmpty());
    QComboBox* combo1 = app.menu->partSelector();
    QCOMPARE(combo1->count(), 9);
    QCOMPARE(combo1->itemText(0), QStringLiteral("すべて"));
    QCOMPARE(combo1->itemText(8), QStringLiteral("第八編 罰則"));
    QCOMPARE(combo1->currentIndex(), -1);
    QCOMPARE(combo1->currentText(), QString());
    QCOMPARE(app.menu->chapterSelector()->count(), 0);
    QCOMPARE(app.menu->sectionSelector()->count(), 0);

    // A second copy started now is refused; the first is not disturbed.
    store::QuestionStore otherStore;
    auto second = app.secondMenu(otherStore);
    QVERIFY(!second->startUp());
    QCOMPARE(app.seam.texts(), QStringList{QStringLiteral("既に起動されています。")});
    QVERIFY(app.menu->isVisible());
}

void TestStartup::trialOpenLeavesNothingOpen()
{
    MenuFixture app;
    QVERIFY(app.load());
    // Another connection can take the file for writing at once: nothing is held between operations.
    store::Connection other = store::Connection::openExisting(app.database(), fixture::key());
    sqlite3_busy_timeout(other.handle(), 0);
    other.exec("BEGIN EXCLUSIVE");
    other.exec("UPDATE 問題 SET 済 = 1 WHERE Ｎｏ = 10");
    other.exec("COMMIT");
    QVERIFY(!QFile::exists(app.database() + QStringLiteral("-journal")));
    QVERIFY(!QFile::exists(app.database() + QStringLiteral("-wal")));
}

void TestStartup::quitting_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<int>("answer");
    QTest::newRow("終了, Yes: 直近 cleared, 済 kept") << true << int(seam::Yes);
    QTest::newRow("終了, No: nothing changes") << true << int(seam::No);
    QTest::newRow("close box, Yes: flags kept") << false << int(seam::Yes);
    QTest::newRow("close box, No: menu stays") << false << int(seam::No);
}

void TestStartup::quitting()
{
    QFETCH(bool, byButton);
    QFETCH(int, answer);
    const auto questions = flaggedQuestions();
    MenuFixture app(questions);
    QVERIFY(app.load());
    app.seam.answer(answer);
    if (byButton)
        QTest::mouseClick(app.menu->findChild<QPushButton*>(QStringLiteral("Command4")), Qt::LeftButton);
    else
        fixture::userCloses(app.menu.get());

    QCOMPARE(app.seam.boxes().size(), 1);
    QCOMPARE(app.seam.boxes()[0].text, QStringLiteral("終了して良いですか？"));
    QCOMPARE(app.seam.boxes()[0].style, int(seam::YesNo));
    QCOMPARE(app.seam.boxes()[0].title, QStringLiteral("ハルニレKM"));
    QCOMPARE(app.seam.ended(), answer == seam::Yes);
    if (answer == seam::No)
        QVERIFY(app.menu->isVisible());

    const QList<FlagRow> flags = fixture::readFlags(app.database());
    QCOMPARE(flags.size(), questions.size());
    const bool cleared = byButton && answer == seam::Yes;
    for (int i = 0; i < questions.size(); ++i)
        QCOMPARE(flags[i], (FlagRow{questions[i].no, questions[i].done, cleared ? 0 : questions[i].recent}));
}

void TestStartup::resetRecord_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("allZeroBefore");
    QTest::newRow("No changes nothing") << int(seam::No) << false;
    QTest::newRow("Yes clears 済, keeps 直近") << int(seam::Yes) << false;
    QTest::newRow("Yes on a record already clear") << int(seam::Yes) << true;
}

void TestStartup::resetRecord()
{
    QFETCH(int, answer);
    QFETCH(bool, allZeroBefore);
    auto questions = flaggedQuestions();
    if (allZeroBefore)
        for (auto& q : questions)
            q.done = 0;
    MenuFixture app(questions);
    QVERIFY(app.load());
    const int combo1Index = 3;
    app.menu->partSelector()->setCurrentIndex(combo1Index);
    app.seam.answer(answer);
    QTest::mouseClick(app.menu->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);

    QStringList expected{QStringLiteral("今までの記録（どの問題を見たか）を削除してよろしいですか？")};
    if (answer == seam::Yes)
        expected << QStringLiteral("今までの記録を削除しました");
    QCOMPARE(app.seam.texts(), expected);
    for (const auto& box : app.seam.boxes())
        QCOMPARE(box.title, QStringLiteral("ハルニレKM"));
    QCOMPARE(app.seam.boxes()[0].style, int(seam::YesNo));
    QVERIFY(!app.seam.ended());
    QCOMPARE(app.menu->partSelector()->currentIndex(), combo1Index);

    const QList<FlagRow> flags = fixture::readFlags(app.database());
    for (int i = 0; i < questions.size(); ++i) {
        const int done = answer == seam::Yes ? 0 : questions[i].done;
        QCOMPARE(flags[i], (FlagRow{questions[i].no, done, questions[i].recent}));
    }
}

void TestStartup::closeButtonGreyedAndBack()
{
    MenuFixture app;
    QVERIFY(app.load());
    const Qt::WindowFlags before = app.menu->windowFlags();
    MenuWindow::gfnEnableCloseButton(app.menu.get(), false);
    QVERIFY(!(app.menu->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(app.menu->isVisible());
    // While greyed, the close box does nothing: no question, no end.
    fixture::userCloses(app.menu.get());
    QVERIFY(app.seam.boxes().isEmpty());
    QVERIFY(app.menu->isVisible());
    MenuWindow::gfnEnableCloseButton(app.menu.get(), true);
    QCOMPARE(app.menu->windowFlags(), before);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
