#include "drill/FailureText.h"
#include "support/MenuFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

using fixture::MenuFixture;

namespace {

QStringList itemsOf(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

const QString kPick = QStringLiteral("該当の編・章を選択してください。");

} // namespace

class TestSelectors final : public QObject
{
    Q_OBJECT

private slots:
    void chapters_data();
    void chapters();
    void leavingPartAgainDiscardsChapter();
    void sections_data();
    void sections();
    void buttonSeesListsRebuiltFirst();
    void sectionListFailureEndsProgram();
};

void TestSelectors::chapters_data()
{
    QTest::addColumn<int>("part");  // index in the part list, -1 for nothing picked
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("message");
    QTest::newRow("nothing picked: message once, lists empty") << -1 << QStringList{} << true;
    QTest::newRow("すべて") << 0 << QStringList{"すべて"} << false;
    QTest::newRow("第六編 has no chapters") << 6 << QStringList{"すべて"} << false;
    QTest::newRow("第八編 has no chapters") << 8 << QStringList{"すべて"} << false;
    QTest::newRow("第二編: ten chapters")
        << 2
        << QStringList{"すべて",        "第一章 設立",      "第二章 株式",        "第三章 新株予約権", "第四章 機関",
                       "第五章 計算等", "第六章 定款の変更", "第七章 事業の譲渡等", "第八章 解散",      "第九章 清算"}
        << false;
    QTest::newRow("第五編: long titles with 、")
        << 5
        << QStringList{"すべて", "第一章 組織変更", "第二章 合併", "第三章 会社分割", "第四章 株式交換及び株式移転",
                       "第五章 組織変更、合併、会社分割、株式交換及び株式移転の手続"}
        << false;
}

void TestSelectors::chapters()
{
    QFETCH(int, part);
    QFETCH(QStringList, expected);
    QFETCH(bool, message);
    MenuFixture app;
    QVERIFY(app.load());
    QVERIFY(QTest::qWaitForWindowActive(app.menu.get()));
    app.menu->partSelector()->setFocus();
    app.menu->partSelector()->setCurrentIndex(part);
    fixture::pressTab(app.menu.get());  // on to Combo2
    QCOMPARE(QApplication::focusWidget(), app.menu->chapterSelector());
    QCOMPARE(itemsOf(app.menu->chapterSelector()), expected);
    QCOMPARE(app.menu->chapterSelector()->currentText(), QString());
    QCOMPARE(app.menu->sectionSelector()->count(), 0);
    QCOMPARE(app.seam.texts(), message ? QStringList{kPick} : QStringList{});
    if (message)
        QCOMPARE(app.seam.boxes()[0].title, QStringLiteral("ハルニレKM"));
}

void TestSelectors::leavingPartAgainDiscardsChapter()
{
    MenuFixture app;
    QVERIFY(app.load());
    QVERIFY(QTest::qWaitForWindowActive(app.menu.get()));
    MenuFixture::pick(app.menu->partSelector(), QStringLiteral("第二編 株式会社"));
    MenuFixture::pick(app.menu->chapterSelector(), QStringLiteral("第四章 機関"));
    app.menu->sectionSelector()->setFocus(Qt::TabFocusReason);
    QCOMPARE(app.menu->sectionSelector()->count(), 3);
    // Back to the part and away again without changing it.
    app.menu->partSelector()->setFocus(Qt::BacktabFocusReason);
    app.menu->chapterSelector()->setFocus(Qt::TabFocusReason);
    QCOMPARE(app.menu->chapterSelector()->count(), 10);
    QCOMPARE(app.menu->chapterSelector()->currentText(), QString());
    QCOMPARE(app.menu->sectionSelector()->count(), 0);
}

void TestSelectors::sections_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sections in 節No order, duplicates grouped")
        << "第二編 株式会社" << "第四章 機関"
        << QStringList{"すべて", "第一節 株主総会及び種類株主総会等", "第二節 株主総会以外の機関の設置"};
    QTest::newRow("chapter without sections: empty, no すべて") << "第一編 総則" << "第一章 通則" << QStringList{};
    QTest::newRow("chapter すべて: empty") << "第二編 株式会社" << "すべて" << QStringList{};
}

void TestSelectors::sections()
{
    QFETCH(QString, part);
    QFETCH(QString, chapter);
    QFETCH(QStringList, expected);
    MenuFixture app;
    QVERIFY(app.load());
    QVERIFY(QTest::qWaitForWindowActive(app.menu.get()));
    MenuFixture::pick(app.menu->partSelector(), part);
    MenuFixture::pick(app.menu->chapterSelector(), chapter);
    fixture::pressTab(app.menu.get());
    QCOMPARE(QApplication::focusWidget(), app.menu->sectionSelector());
    QCOMPARE(itemsOf(app.menu->sectionSelector()), expected);
    QCOMPARE(app.menu->sectionSelector()->currentIndex(), -1);
    QVERIFY(app.seam.boxes().isEmpty());
}

void TestSelectors::buttonSeesListsRebuiltFirst()
{
    MenuFixture app;
    QVERIFY(app.load());
    QVERIFY(QTest::qWaitForWindowActive(app.menu.get()));
    MenuFixture::pick(app.menu->partSelector(), QStringLiteral("第一編 総則"));
    MenuFixture::pick(app.menu->chapterSelector(), QStringLiteral("第二章 会社の商号"));
    // Another part picked, then the button pressed straight away: the chapter list is rebuilt before the
    // button acts, so the launch sees no chapter and asks for one.
    app.menu->partSelector()->setFocus(Qt::MouseFocusReason);
    app.menu->partSelector()->setCurrentIndex(2);
    QTest::mouseClick(app.menu->startButton(), Qt::LeftButton);
    QCOMPARE(app.seam.texts(), QStringList{kPick});
    QCOMPARE(app.menu->chapterSelector()->count(), 0);
    QCOMPARE(app.menu->sectionSelector()->count(), 0);
    QCOMPARE(QApplication::focusWidget(), app.menu->partSelector());
    QVERIFY(app.menu->isVisible());
}

void TestSelectors::sectionListFailureEndsProgram()
{
    MenuFixture app;
    QVERIFY(app.load());
    QVERIFY(QTest::qWaitForWindowActive(app.menu.get()));
    MenuFixture::pick(app.menu->partSelector(), QStringLiteral("第二編 株式会社"));
    MenuFixture::pick(app.menu->chapterSelector(), QStringLiteral("第四章 機関"));
    fixture::writeDatabase(app.database(), fixture::sampleQuestions(), {}, "OTHERKEY");
    fixture::pressTab(app.menu.get());
    QCOMPARE(app.seam.texts(), QStringList{store::damagedFileMessage()});
    QVERIFY(app.seam.ended());
}

QTEST_MAIN(TestSelectors)
#include "tst_selectors.moc"
