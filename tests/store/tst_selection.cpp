#include "drill/MessageSeam.h"
#include "store/ShowNextQuestion.h"
#include "support/Fixture.h"
#include "support/SeamRecorder.h"

#include <QTest>

namespace {

// The quiz screen as the selection sees it: remembers what it was given.
class RecordingDisplay final : public store::QuestionDisplay
{
public:
    void renderQuestion(const store::Question& question) override { rendered.append(question.no); }
    void showQuestion() override { ++shown; }
    QList<qint64> rendered;
    int shown = 0;
};

const QString P1 = QStringLiteral("第一編 総則");
const QString P2 = QStringLiteral("第二編 株式会社");
const QString C24 = QStringLiteral("第四章 機関");
const QString S1 = QStringLiteral("第一節 株主総会及び種類株主総会等");
const QString S2 = QStringLiteral("第二節 株主総会以外の機関の設置");
const QString ALL = QStringLiteral("すべて");

// Flags chosen so that option on and off give different answers in every case: 10 and 50 and 70 were seen in an
// earlier run (済 = 1), 20 and 60 in this one (直近 = 1).
QList<store::Question> flagged()
{
    auto questions = fixture::sampleQuestions();
    for (auto& q : questions) {
        q.done = (q.no == 10 || q.no == 50 || q.no == 70) ? 1 : 0;
        q.recent = (q.no == 20 || q.no == 60) ? 1 : 0;
    }
    // Stored out of Ｎｏ order: the selection must sort.
    std::reverse(questions.begin(), questions.end());
    return questions;
}

} // namespace

class TestSelection final : public QObject
{
    Q_OBJECT

private slots:
    void cases_data();
    void cases();
    void exhausted();
    void apostropheInRange();
    void nothingIsWritten();
};

void TestSelection::cases_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("exclude");
    QTest::addColumn<qint64>("expected");  // 0: nothing left
    QTest::newRow("whole Act, option off") << ALL << "x" << "y" << 0 << qint64(10);
    QTest::newRow("whole Act, option on") << ALL << "" << "" << 1 << qint64(30);
    QTest::newRow("whole Act, option greyed counts as on") << ALL << "" << "" << 2 << qint64(30);
    QTest::newRow("part, chapter すべて, section ignored, off") << P2 << ALL << "nonsense" << 0 << qint64(50);
    QTest::newRow("part, chapter すべて, on") << P2 << ALL << "" << 1 << qint64(80);
    QTest::newRow("chapter, section empty, off") << P2 << C24 << "" << 0 << qint64(50);
    QTest::newRow("chapter, section すべて, on") << P2 << C24 << ALL << 1 << qint64(80);
    QTest::newRow("section, off") << P2 << C24 << S2 << 0 << qint64(70);
    QTest::newRow("section, on") << P2 << C24 << S2 << 1 << qint64(80);
    QTest::newRow("section whose questions are all set aside") << P2 << C24 << S1 << 0 << qint64(50);
    QTest::newRow("section, all set aside with the option") << P2 << C24 << S1 << 1 << qint64(0);
    QTest::newRow("empty part is no wildcard") << "" << ALL << "" << 0 << qint64(0);
    QTest::newRow("empty chapter is no wildcard") << P1 << "" << "" << 0 << qint64(0);
    QTest::newRow("part of another table") << "第九編" << ALL << "" << 0 << qint64(0);
}

void TestSelection::cases()
{
    QFETCH(QString, part);
    QFETCH(QString, chapter);
    QFETCH(QString, section);
    QFETCH(int, exclude);
    QFETCH(qint64, expected);
    fixture::TempFolder folder;
    fixture::writeDatabase(folder.database(), flagged(), fixture::sampleContents());
    SeamRecorder seam;
    store::QuestionStore s;
    RecordingDisplay display;
    const int result = store::ShowNextQuestion(s, display, part, chapter, section, exclude);
    if (expected == 0) {
        QCOMPARE(result, 1);
        QVERIFY(display.rendered.isEmpty());
        QCOMPARE(display.shown, 0);
        QCOMPARE(seam.boxes().size(), 1);
    } else {
        QCOMPARE(result, 0);
        QCOMPARE(display.rendered, QList<qint64>{expected});
        QCOMPARE(display.shown, 1);
        QVERIFY(seam.boxes().isEmpty());
    }
}

void TestSelection::exhausted()
{
    fixture::TempFolder folder;
    fixture::writeDatabase(folder.database(), {}, {});
    SeamRecorder seam;
    store::QuestionStore s;
    RecordingDisplay display;
    QCOMPARE(store::ShowNextQuestion(s, display, ALL, ALL, ALL, 0), 1);
    QCOMPARE(seam.boxes().size(), 1);
    QCOMPARE(seam.boxes()[0].text,
             QStringLiteral("これらの条件の出題は全て実施済みです。") + QChar(u'\r') + QChar(u'\r') +
                 QStringLiteral("条件を変えるか、記録を全てクリアしてから再度行い下さい"));
    QVERIFY(!seam.boxes()[0].text.contains(u'\n'));
    QCOMPARE(seam.boxes()[0].style, int(seam::OkOnly));
    QCOMPARE(seam.boxes()[0].title, QStringLiteral("ハルニレKM"));
}

void TestSelection::apostropheInRange()
{
    fixture::TempFolder folder;
    auto questions = fixture::sampleQuestions();
    questions[0].hen = QStringLiteral("第一編 O'Neil");
    fixture::writeDatabase(folder.database(), questions, {});
    SeamRecorder seam;
    store::QuestionStore s;
    RecordingDisplay display;
    QCOMPARE(store::ShowNextQuestion(s, display, questions[0].hen, ALL, "", 0), 0);
    QCOMPARE(display.rendered, QList<qint64>{10});
    QCOMPARE(store::ShowNextQuestion(s, display, "' OR ''='", ALL, "", 0), 1);
}

void TestSelection::nothingIsWritten()
{
    fixture::TempFolder folder;
    fixture::writeDatabase(folder.database(), flagged(), {});
    const auto before = fixture::readFlags(folder.database());
    SeamRecorder seam;
    store::QuestionStore s;
    RecordingDisplay display;
    QCOMPARE(store::ShowNextQuestion(s, display, ALL, "", "", 0), 0);
    QCOMPARE(store::ShowNextQuestion(s, display, ALL, "", "", 0), 0);
    // Two calls without a reveal between them show the same question.
    QCOMPARE(display.rendered, (QList<qint64>{10, 10}));
    QCOMPARE(fixture::readFlags(folder.database()), before);
}

QTEST_GUILESS_MAIN(TestSelection)
#include "tst_selection.moc"
