// Faults that show only during a drill: a Null in a field the screens need, damage in a page that only one
// question's passage lives on, and the question file removed or replaced while the program runs. Each gets a clear
// box, the quiz screen stays usable (メニュ画面へ takes the learner back), and the file keeps what it held.

#include "quiz/QuizWindow.h"
#include "quiz/PassageBox.h"
#include "drill/FailureText.h"
#include "drill/MessageSeam.h"
#include "support/MenuFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using fixture::FlagRow;
using fixture::MenuFixture;
using store::FailureKind;

namespace {

constexpr qint64 kPageSize = 1024;

// Questions whose passages are long enough to need pages of their own beside the table's pages.
QList<store::Question> longQuestions()
{
    const QString part = QStringLiteral("第二編 株式会社");
    const QString chapter = QStringLiteral("第四章 機関");
    QList<store::Question> questions;
    for (int i = 1; i <= 6; ++i) {
        const QString sentence = QStringLiteral("第%1項の株主総会は、取締役会の決議によって招集する。").arg(i);
        questions << fixture::question(10 * i, part, chapter, sentence.repeated(30),
                                       QStringLiteral("株主総会,取締役会"));
    }
    return questions;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Spoils one page: the page's check no longer matches, as after a bad sector or a bad copy.
QByteArray damagePage(QByteArray bytes, qint64 page)
{
    for (qint64 i = 0; i < 16; ++i)
        bytes[(page - 1) * kPageSize + 200 + i] = char(bytes[(page - 1) * kPageSize + 200 + i] ^ 0x5a);
    return bytes;
}

// A page of the file that only question `no` needs: with it spoiled the file still opens and every other question
// reads well, but `no` cannot be read.
qint64 pageOnlyFor(const QByteArray& file, qint64 no, const QList<qint64>& others)
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(store::databaseFileName());
    for (qint64 page = 2; page <= file.size() / kPageSize; ++page) {
        if (!writeFile(path, damagePage(file, page)))
            return 0;
        store::QuestionStore probe(path);
        try {
            probe.trialOpen();
            for (qint64 other : others)
                probe.findShown(QString::number(other));
        } catch (const store::StoreError&) {
            continue;
        }
        try {
            probe.findShown(QString::number(no));
        } catch (const store::StoreError& e) {
            if (e.kind() == FailureKind::NotADatabase)
                return page;
        }
    }
    return 0;
}

// Puts a file in place of the question file the way a copy or a download does: a new file renamed over the old.
bool replaceFile(const QString& path, const QByteArray& bytes)
{
    const QString fresh = path + QStringLiteral(".new");
    return writeFile(fresh, bytes) && QFile::remove(path) && QFile::rename(fresh, path);
}

QString message(FailureKind kind, bool wrote)
{
    return store::failureMessage(store::StoreError(kind, QString()), wrote);
}

const QString kQuitFailed = QStringLiteral("終了時に、今回見た問題の印を外せませんでした。\r\n");

// The program on the long questions, with a drill over the whole Act under way.
class Drill
{
public:
    Drill() : app(longQuestions(), {}) {}

    bool start()
    {
        if (!app.load())
            return false;
        MenuFixture::pick(app.menu->partSelector(), QStringLiteral("すべて"));
        return true;
    }
    void launch()
    {
        app.seam.answerYes();
        app.menu->startDrill();
    }
    QuizWindow* quiz() const { return app.menu->loadedQuiz(); }
    bool quizShown() const { return quiz() && quiz()->isVisible(); }

    // Runs one of the learner's operations; the menu's own ones from the menu, as the learner would reach them.
    void act(const QString& operation)
    {
        if (operation == QLatin1String("launch")) {
            launch();
        } else if (operation == QLatin1String("next")) {
            quiz()->showNextQuestion();
        } else if (operation == QLatin1String("repeat")) {
            quiz()->showQuestionAgain();
        } else if (operation == QLatin1String("reveal")) {
            quiz()->revealAnswers();
        } else if (operation == QLatin1String("reset")) {
            quiz()->backToMenu();
            app.seam.answerYes();
            app.menu->clearRecord();
        } else if (operation == QLatin1String("quit")) {
            quiz()->backToMenu();
            app.seam.answerYes();
            app.menu->quit();
        }
    }

    MenuFixture app;
};

// After a failure on the quiz screen the screen is still there and メニュ画面へ takes the learner back.
void checkQuizStillUsable(Drill& drill)
{
    QVERIFY(drill.quizShown());
    QVERIFY(!drill.app.seam.ended());
    QVERIFY(drill.quiz()->menuButton()->isEnabled());
    QTest::mouseClick(drill.quiz()->menuButton(), Qt::LeftButton);
    QVERIFY(!drill.quiz()->isVisible());
    QVERIFY(drill.app.menu->isVisible());
}

} // namespace

class TestReliabilityDrill final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nullField_data();
    void nullField();
    void laterPageDamaged_data();
    void laterPageDamaged();
    void fileRemoved_data();
    void fileRemoved();
    void fileReplaced_data();
    void fileReplaced();

private:
    // Pages that only the first and only the second question need, in a file as the fixture writes it (its layout
    // is the same every time; only the encryption differs).
    qint64 m_pageOfFirst = 0;
    qint64 m_pageOfSecond = 0;
};

void TestReliabilityDrill::initTestCase()
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(store::databaseFileName());
    fixture::writeDatabase(path, longQuestions(), {});
    const QByteArray file = contentOf(path);
    m_pageOfFirst = pageOnlyFor(file, 10, {20, 30, 40, 50, 60});
    m_pageOfSecond = pageOnlyFor(file, 20, {10, 30, 40, 50, 60});
    QVERIFY2(m_pageOfFirst > 0 && m_pageOfSecond > 0, "no page holds one question alone");
}

// How each path of the drill meets a Null in a field of the question at hand.
//   ends        the drill launch reports the file damaged and the program ends
//   refused     the quiz screen says the question cannot be shown; nothing is written
//   noRow       the question cannot be found any more (its Ｎｏ is gone): the passage is emptied, nothing written
//   revealed    the reveal needs only 問題 and 回答, so it goes ahead and writes both flags
void TestReliabilityDrill::nullField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("outcome");
    const QStringList fields = {QStringLiteral("Ｎｏ"), QStringLiteral("編"),   QStringLiteral("章"),
                                QStringLiteral("条"),   QStringLiteral("問題"), QStringLiteral("回答")};
    for (const QString& field : fields) {
        const bool readByReveal = field == QStringLiteral("問題") || field == QStringLiteral("回答");
        const bool identity = field == QStringLiteral("Ｎｏ");
        QTest::addRow("Null %s, reached by launch", qPrintable(field)) << field << "launch"
                                                                       << "ends";
        QTest::addRow("Null %s, reached by next", qPrintable(field)) << field << "next"
                                                                     << "refused";
        QTest::addRow("Null %s, reached by repeat", qPrintable(field))
            << field << "repeat" << (identity ? "noRow" : "refused");
        QTest::addRow("Null %s, reached by reveal", qPrintable(field)) << field << "reveal"
                                                                       << (identity       ? "noRow"
                                                                           : readByReveal ? "refused"
                                                                                          : "revealed");
    }
}

void TestReliabilityDrill::nullField()
{
    QFETCH(QString, field);
    QFETCH(QString, operation);
    QFETCH(QString, outcome);
    Drill drill;
    const QString path = drill.app.database();
    // The question met: the first one for a launch, the second for 次の問題へ, else the one on show.
    const qint64 target = operation == QLatin1String("next") ? 20 : 10;
    const QString plant = QStringLiteral("UPDATE 問題 SET %1 = NULL WHERE Ｎｏ = %2").arg(field).arg(target);

    QVERIFY(drill.start());
    if (operation == QLatin1String("launch")) {
        fixture::exec(path, plant);
    } else {
        drill.launch();
        QVERIFY(drill.quizShown());
        QCOMPARE(drill.quiz()->shownNoBox()->text(), QStringLiteral("10"));
        if (operation != QLatin1String("reveal"))
            drill.quiz()->revealAnswers();
        // Planted while the program runs: it must see the file as it is now.
        fixture::exec(path, plant);
    }
    const QByteArray before = contentOf(path);
    const QString passageBefore = drill.quiz() ? drill.quiz()->passageBox()->text() : QString();
    drill.app.seam.clear();

    drill.act(operation);

    if (outcome == QLatin1String("ends")) {
        QCOMPARE(drill.app.seam.texts().size(), 2);
        QCOMPARE(drill.app.seam.texts().last(), store::damagedFileMessage());
        QVERIFY(drill.app.seam.ended());
        QCOMPARE(contentOf(path), before);
        return;
    }
    if (outcome == QLatin1String("refused")) {
        const bool wrote = operation == QLatin1String("reveal");
        QCOMPARE(drill.app.seam.texts(), QStringList{message(FailureKind::NullField, wrote)});
        QCOMPARE(drill.app.seam.boxes()[0].title, QStringLiteral("ハルニレKM"));
        // The question on show stays as it was, and so does the file.
        QCOMPARE(drill.quiz()->passageBox()->text(), passageBefore);
        QCOMPARE(contentOf(path), before);
        if (operation == QLatin1String("reveal"))
            QVERIFY(drill.quiz()->answerButton()->isEnabled());
        if (operation == QLatin1String("next"))
            QVERIFY(drill.quiz()->nextButton()->isEnabled());
    } else if (outcome == QLatin1String("noRow")) {
        QVERIFY(drill.app.seam.boxes().isEmpty());
        QVERIFY(drill.quiz()->passageBox()->text().isEmpty());
        QCOMPARE(contentOf(path), before);
    } else {
        QVERIFY(drill.app.seam.boxes().isEmpty());
        const QList<FlagRow> flags = fixture::readFlags(path);
        QCOMPARE(flags[0], (FlagRow{10, 1, 1}));
        for (const FlagRow& row : flags.mid(1))
            QCOMPARE((QList<int>{row.done, row.recent}), (QList<int>{0, 0}));
    }
    checkQuizStillUsable(drill);
}

void TestReliabilityDrill::laterPageDamaged_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("reached by launch") << "launch";
    QTest::newRow("reached by next") << "next";
    QTest::newRow("reached by repeat") << "repeat";
    QTest::newRow("reached by reveal") << "reveal";
}

void TestReliabilityDrill::laterPageDamaged()
{
    QFETCH(QString, operation);
    Drill drill;
    const QString path = drill.app.database();

    if (operation == QLatin1String("launch") || operation == QLatin1String("next")) {
        // Damage that start-up cannot see: the page of the first (or second) question's passage.
        const qint64 page = operation == QLatin1String("launch") ? m_pageOfFirst : m_pageOfSecond;
        QVERIFY(writeFile(path, damagePage(contentOf(path), page)));
    }
    QVERIFY(drill.start());
    QVERIFY(drill.app.seam.boxes().isEmpty());
    if (operation != QLatin1String("launch")) {
        drill.launch();
        QVERIFY(drill.quizShown());
        if (operation != QLatin1String("reveal"))
            drill.quiz()->revealAnswers();
        QVERIFY(drill.app.seam.texts().size() == 1);
    }
    if (operation == QLatin1String("repeat") || operation == QLatin1String("reveal")) {
        // The question on show was read before the damage: a damaged copy takes the file's place. A reveal may have
        // moved the passage to other pages, so they are looked for again.
        const qint64 page = operation == QLatin1String("reveal")
                                ? m_pageOfFirst
                                : pageOnlyFor(contentOf(path), 10, {20, 30, 40, 50, 60});
        QVERIFY2(page > 0, "no page holds that question alone");
        QVERIFY(replaceFile(path, damagePage(contentOf(path), page)));
    }
    const QByteArray before = contentOf(path);
    drill.app.seam.clear();

    drill.act(operation);

    QCOMPARE(contentOf(path), before);
    QVERIFY(!drill.app.seam.boxes().isEmpty());
    if (operation == QLatin1String("launch")) {
        QCOMPARE(drill.app.seam.texts().last(), store::damagedFileMessage());
        QVERIFY(drill.app.seam.ended());
        return;
    }
    QCOMPARE(drill.app.seam.texts(),
             QStringList{message(FailureKind::NotADatabase, operation == QLatin1String("reveal"))});
    checkQuizStillUsable(drill);
}

// The file removed while the program runs: each operation says the file cannot be found and how to put it back,
// makes no file in its place, and works again once the file is back.
void TestReliabilityDrill::fileRemoved_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("wrote");
    QTest::newRow("reveal") << "reveal" << true;
    QTest::newRow("next") << "next" << false;
    QTest::newRow("repeat") << "repeat" << false;
    QTest::newRow("記録削除") << "reset" << true;
    QTest::newRow("終了") << "quit" << true;
}

void TestReliabilityDrill::fileRemoved()
{
    QFETCH(QString, operation);
    QFETCH(bool, wrote);
    Drill drill;
    const QString path = drill.app.database();
    const QString away = drill.app.folder.file(QStringLiteral("moved.mdb"));
    QVERIFY(drill.start());
    drill.launch();
    QVERIFY(drill.quizShown());
    if (operation != QLatin1String("reveal"))
        drill.quiz()->revealAnswers();
    const QList<FlagRow> flagsBefore = fixture::readFlags(path);
    QVERIFY(QFile::rename(path, away));
    drill.app.seam.clear();

    drill.act(operation);

    const QString expected = message(FailureKind::FileMissing, wrote);
    QVERIFY(!drill.app.seam.texts().isEmpty());
    QCOMPARE(drill.app.seam.texts().last(), operation == QLatin1String("quit") ? kQuitFailed + expected : expected);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(fixture::readFlags(away), flagsBefore);
    if (operation == QLatin1String("quit")) {
        QVERIFY(drill.app.seam.ended());
        return;
    }
    // The learner puts the file back and tries again.
    QVERIFY(QFile::rename(away, path));
    drill.app.seam.clear();
    if (operation == QLatin1String("reset") || operation == QLatin1String("quit")) {
        drill.app.seam.answerYes();
        drill.app.menu->clearRecord();
        QCOMPARE(drill.app.seam.texts().last(), QStringLiteral("今までの記録を削除しました"));
        QCOMPARE(fixture::readFlags(path)[0], (FlagRow{10, 0, 1}));
        return;
    }
    drill.act(operation);
    QVERIFY(drill.app.seam.boxes().isEmpty());
    if (operation == QLatin1String("reveal"))
        QCOMPARE(fixture::readFlags(path)[0], (FlagRow{10, 1, 1}));
    if (operation == QLatin1String("next"))
        QCOMPARE(drill.quiz()->shownNoBox()->text(), QStringLiteral("20"));
    if (operation == QLatin1String("repeat"))
        QVERIFY(drill.quiz()->passageBox()->text().contains(passage::blankMarker(1)));
}

// Another file put in the place of the question file while the program runs.
void TestReliabilityDrill::fileReplaced_data()
{
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("works"); // a sound file of ours: the drill goes on in it
    for (const char* operation : {"reveal", "repeat"}) {
        QTest::addRow("by a text file, then %s", operation) << "text" << operation << false;
        QTest::addRow("overwritten in place by a text file, then %s", operation) << "overwrite" << operation << false;
        QTest::addRow("by a file with another password, then %s", operation) << "otherkey" << operation << false;
        QTest::addRow("by a file without table 問題, then %s", operation) << "notable" << operation << false;
        QTest::addRow("by a fresh download, then %s", operation) << "fresh" << operation << true;
    }
}

void TestReliabilityDrill::fileReplaced()
{
    QFETCH(QString, replacement);
    QFETCH(QString, operation);
    QFETCH(bool, works);
    Drill drill;
    const QString path = drill.app.database();
    QVERIFY(drill.start());
    drill.launch();
    QVERIFY(drill.quizShown());
    if (operation == QLatin1String("repeat"))
        drill.quiz()->revealAnswers();

    QTemporaryDir scratch;
    const QString made = scratch.filePath(store::databaseFileName());
    if (replacement == QLatin1String("otherkey"))
        fixture::writeDatabase(made, longQuestions(), {}, "Z7X4KVRQ");
    else
        fixture::writeDatabase(made, longQuestions(), {});
    if (replacement == QLatin1String("notable"))
        fixture::exec(made, QStringLiteral("DROP TABLE 問題"));
    QByteArray bytes = contentOf(made);
    if (replacement == QLatin1String("text") || replacement == QLatin1String("overwrite"))
        bytes = QByteArrayLiteral("ソラメモ\r\n").repeated(500);
    if (replacement == QLatin1String("overwrite"))
        QVERIFY(writeFile(path, bytes));
    else
        QVERIFY(replaceFile(path, bytes));
    drill.app.seam.clear();

    drill.act(operation);

    if (works) {
        QVERIFY(drill.app.seam.boxes().isEmpty());
        if (operation == QLatin1String("reveal"))
            QCOMPARE(fixture::readFlags(path)[0], (FlagRow{10, 1, 1}));
        else
            QCOMPARE(contentOf(path), bytes);
        return;
    }
    QCOMPARE(drill.app.seam.texts(),
             QStringList{message(FailureKind::NotADatabase, operation == QLatin1String("reveal"))});
    QCOMPARE(contentOf(path), bytes);
    checkQuizStillUsable(drill);
}

QTEST_MAIN(TestReliabilityDrill)
#include "tst_reliability_drill.moc"
