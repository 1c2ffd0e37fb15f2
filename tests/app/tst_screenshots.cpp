// Renders both windows to PNG files under the build folder (screenshots/), for people to look at: the menu as
// loaded, the quiz screen with a question blanked and revealed.
#include "app/AppSetup.h"
#include "quiz/QuizWindow.h"
#include "support/MenuFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QTest>

class TestScreenshots final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::setupApplication(*qApp); }
    void render();
};

void TestScreenshots::render()
{
    const QString folder = QStringLiteral(SCREENSHOT_DIR);
    QVERIFY(QDir().mkpath(folder));
    auto questions = fixture::sampleQuestions();
    fixture::MenuFixture app(questions);
    QVERIFY(app.load());
    // The Japanese text is drawn in the proportional IPA faces.
    QCOMPARE(QFontInfo(app.menu->findChild<QLabel*>(QStringLiteral("Label1"))->font()).family(),
             QStringLiteral("IPAPGothic"));
    QCOMPARE(QFontInfo(app.menu->partSelector()->font()).family(), QStringLiteral("IPAPMincho"));

    const QImage menu = app.menu->grab().toImage();
    QCOMPARE(menu.size(), app.menu->size() * menu.devicePixelRatio());
    QVERIFY(menu.save(folder + QStringLiteral("/menu.png")));

    app.choose(QStringLiteral("第二編 株式会社"), QStringLiteral("第四章 機関"));
    app.seam.answerYes();
    app.menu->startDrill();
    QuizWindow* form = app.menu->loadedQuiz();
    QVERIFY(form && form->isVisible());
    QVERIFY(form->grab().toImage().save(folder + QStringLiteral("/quiz-blanked.png")));
    form->revealAnswers();
    QVERIFY(form->grab().toImage().save(folder + QStringLiteral("/quiz-revealed.png")));
}

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
