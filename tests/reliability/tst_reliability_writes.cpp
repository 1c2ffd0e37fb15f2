// Writes that cannot be done: a file or folder that cannot be written, a full disk, a file another program holds
// locked, a second copy of the program, and the lock a killed copy leaves behind. The learner is told what happened
// and how to put it right, the window never hangs, and the file keeps every byte.

#include "ChildProgram.h"
#include "quiz/QuizWindow.h"
#include "drill/FailureText.h"
#include "drill/MessageSeam.h"
#include "support/MenuFixture.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using fixture::FlagRow;
using fixture::MenuFixture;
using store::FailureKind;

Q_DECLARE_METATYPE(store::FailureKind)

namespace {

const QString kTitle = QStringLiteral("ハルニレKM");
const QString kQuitFailed = QStringLiteral("終了時に、今回見た問題の印を外せませんでした。\r\n");
const QString kRecordCleared = QStringLiteral("今までの記録を削除しました");

QString message(FailureKind kind, bool wrote)
{
    return store::failureMessage(store::StoreError(kind, QString()), wrote);
}

QByteArray hashOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "missing";
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
}

// Questions some of which were seen before, so that both resets have rows to change.
QList<store::Question> seenQuestions()
{
    QList<store::Question> questions = fixture::sampleQuestions();
    for (int i = 0; i < questions.size(); ++i) {
        questions[i].done = i % 3 == 2;
        questions[i].recent = i % 4 == 3;
    }
    return questions;
}

// What one step of the child's drill showed.
struct Step
{
    QStringList texts;
    QList<int> styles;
    QStringList titles;
    QMap<QByteArray, QByteArray> state;
};

struct ChildDrill
{
    QList<QByteArray> hashes; // the file as the child saw it, before and after
    QMap<QByteArray, Step> steps;
};

ChildDrill parse(const QList<QByteArray>& lines)
{
    ChildDrill drill;
    Step* step = nullptr;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> words = line.split(' ');
        if (words[0] == "hash" && words.size() == 2) {
            drill.hashes << words[1];
        } else if (words[0] == "step" && words.size() == 2) {
            step = &drill.steps[words[1]];
        } else if (words[0] == "box" && words.size() == 4 && step) {
            step->styles << words[1].toInt();
            step->titles << QString::fromUtf8(QByteArray::fromPercentEncoding(words[2]));
            step->texts << QString::fromUtf8(QByteArray::fromPercentEncoding(words[3]));
        } else if (words[0] == "state" && step) {
            for (const QByteArray& pair : words.mid(1)) {
                const qsizetype eq = pair.indexOf('=');
                step->state[pair.left(eq)] = pair.mid(eq + 1);
            }
        }
    }
    return drill;
}

} // namespace

class TestReliabilityWrites final : public QObject
{
    Q_OBJECT

private slots:
    void placeThatCannotBeWritten_data();
    void placeThatCannotBeWritten();
    void fileLockedByAnotherProgram_data();
    void fileLockedByAnotherProgram();
    void secondCopy();
    void lockLeftByKilledCopy();
};

// Each row runs the program in a child process that sees the folder as the row says (mount namespaces; see
// reliability_instance), through start-up, launch, 解答, 記録削除 and 終了.
void TestReliabilityWrites::placeThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("kind"); // -1: nothing fails
    QTest::newRow("writable folder: every write goes through") << "writable" << -1;
    QTest::newRow("read-only file") << "file" << int(FailureKind::ReadOnly);
    QTest::newRow("read-only folder, no journal can be made") << "folder" << int(FailureKind::FolderReadOnly);
    QTest::newRow("read-only file in a read-only folder") << "both" << int(FailureKind::FolderReadOnly);
    QTest::newRow("disk full") << "full" << int(FailureKind::DiskFull);
}

void TestReliabilityWrites::placeThatCannotBeWritten()
{
    QFETCH(QString, place);
    QFETCH(int, kind);
    fixture::TempFolder top;
    const QString folder = top.file(QStringLiteral("data"));
    QVERIFY(QDir().mkdir(folder));
    const QString path = QDir(folder).filePath(store::databaseFileName());
    fixture::writeDatabase(path, seenQuestions(), fixture::sampleContents());
    const QByteArray before = hashOf(path);

    ChildProgram child(ChildProgram::instance(),
                       {QStringLiteral("drill"), place, folder, top.file(QStringLiteral("instance.lock"))});
    QVERIFY(child.finish(120000));
    if (child.exitCode() == 77)
        QSKIP(qPrintable(QStringLiteral("this machine cannot make such a place: ") +
                         QString::fromUtf8(child.output().trimmed())));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, child.errors().constData());
    const ChildDrill drill = parse(child.lines());
    QCOMPARE(drill.hashes.size(), 2);
    QVERIFY2(drill.steps.size() == 5, child.output().constData());

    // Reading is never hindered: the program starts and the question comes up.
    QVERIFY(drill.steps["load"].texts.isEmpty());
    QCOMPARE(drill.steps["launch"].texts.size(), 1);
    QCOMPARE(drill.steps["launch"].state["quiz"], "1");

    const Step& reveal = drill.steps["reveal"];
    const Step& reset = drill.steps["reset"];
    const Step& quit = drill.steps["quit"];
    QCOMPARE(quit.state["ended"], "1");
    if (kind < 0) {
        QVERIFY(reveal.texts.isEmpty());
        QCOMPARE(reset.texts.size(), 2);
        QCOMPARE(reset.texts.last(), kRecordCleared);
        QCOMPARE(quit.texts.size(), 1);
        QVERIFY(drill.hashes[1] != drill.hashes[0]);
        // Everything was written: the record cleared, and 直近 cleared on quitting.
        for (const FlagRow& row : fixture::readFlags(path))
            QCOMPARE((QList<int>{row.done, row.recent}), (QList<int>{0, 0}));
        return;
    }
    const QString failed = message(FailureKind(kind), true);
    QCOMPARE(reveal.texts, QStringList{failed});
    QCOMPARE(reveal.styles, QList<int>{seam::OkOnly});
    QCOMPARE(reveal.titles, QStringList{kTitle});
    // 解答 may be pressed again once the learner has put things right.
    QCOMPARE(reveal.state["command1"], "1");
    QCOMPARE(reveal.state["quiz"], "1");
    QCOMPARE(reset.texts.size(), 2);
    QCOMPARE(reset.texts.last(), failed);
    QCOMPARE(quit.texts.size(), 2);
    QCOMPARE(quit.texts.last(), kQuitFailed + failed);
    // Not one byte changed, neither as the child saw the file nor as it is.
    QCOMPARE(drill.hashes[1], drill.hashes[0]);
    QCOMPARE(hashOf(path), before);
}

// Another program holds a write transaction on the file: reads go on while it only means to write (BEGIN
// IMMEDIATE), and stop while it writes (BEGIN EXCLUSIVE). Whatever cannot be done is reported after a short wait
// while the other program still holds the lock, and works once it lets go.
void TestReliabilityWrites::fileLockedByAnotherProgram_data()
{
    QTest::addColumn<QString>("begin");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("blocked");
    for (const char* begin : {"IMMEDIATE", "EXCLUSIVE"}) {
        const bool exclusive = QByteArray(begin) == "EXCLUSIVE";
        const QString statement = QStringLiteral("BEGIN %1").arg(QLatin1String(begin));
        QTest::addRow("%s lock, start-up", begin) << statement << "start" << exclusive;
        QTest::addRow("%s lock, launch", begin) << statement << "launch" << exclusive;
        QTest::addRow("%s lock, reveal", begin) << statement << "reveal" << true;
        QTest::addRow("%s lock, next", begin) << statement << "next" << exclusive;
        QTest::addRow("%s lock, repeat", begin) << statement << "repeat" << exclusive;
        QTest::addRow("%s lock, 記録削除", begin) << statement << "reset" << true;
        QTest::addRow("%s lock, 終了", begin) << statement << "quit" << true;
    }
}

void TestReliabilityWrites::fileLockedByAnotherProgram()
{
    QFETCH(QString, begin);
    QFETCH(QString, operation);
    QFETCH(bool, blocked);
    MenuFixture app(seenQuestions());
    const QString path = app.database();
    const QList<FlagRow> flagsBefore = fixture::readFlags(path);
    const bool atStart = operation == QLatin1String("start");
    const bool onMenu = atStart || operation == QLatin1String("launch") || operation == QLatin1String("reset") ||
                        operation == QLatin1String("quit");

    if (!atStart) {
        QVERIFY(app.load());
        MenuFixture::pick(app.menu->partSelector(), QStringLiteral("すべて"));
        if (!onMenu) {
            app.seam.answerYes();
            app.menu->startDrill();
            QVERIFY(app.menu->loadedQuiz() && app.menu->loadedQuiz()->isVisible());
            if (operation != QLatin1String("reveal"))
                app.menu->loadedQuiz()->revealAnswers();
        }
    }
    const QString shown = app.menu->loadedQuiz() ? app.menu->loadedQuiz()->shownNoBox()->text() : QString();
    const QList<FlagRow> flagsHeld = fixture::readFlags(path);
    const QByteArray bytesHeld = hashOf(path);

    ChildProgram holder(ChildProgram::worker(), {QStringLiteral("hold"), path, begin});
    QVERIFY2(holder.waitForLine("held"), holder.output().constData());
    app.seam.clear();
    auto act = [&] {
        if (atStart) {
            app.menu->startUp();
        } else if (operation == QLatin1String("launch")) {
            app.seam.answerYes();
            app.menu->startDrill();
        } else if (operation == QLatin1String("reveal")) {
            app.menu->loadedQuiz()->revealAnswers();
        } else if (operation == QLatin1String("next")) {
            app.menu->loadedQuiz()->showNextQuestion();
        } else if (operation == QLatin1String("repeat")) {
            app.menu->loadedQuiz()->showQuestionAgain();
        } else if (operation == QLatin1String("reset")) {
            app.seam.answerYes();
            app.menu->clearRecord();
        } else if (operation == QLatin1String("quit")) {
            app.seam.answerYes();
            app.menu->quit();
        }
    };
    act();

    // The operation came back while the other program still held its lock: the window did not wait it out.
    QVERIFY(holder.running());
    QVERIFY(!holder.output().contains("released"));
    const QStringList texts = app.seam.texts();
    if (!blocked) {
        // Reading goes on: start-up starts, the launch shows its question, next and repeat show theirs.
        QVERIFY(!app.seam.ended());
        QCOMPARE(texts.size(), operation == QLatin1String("launch") ? 1 : 0);
        if (!atStart)
            QVERIFY(app.menu->loadedQuiz() && app.menu->loadedQuiz()->isVisible());
    } else if (atStart || operation == QLatin1String("launch")) {
        // Both end the program; the learner is told to close the other program, not that the file is damaged.
        QVERIFY(app.seam.ended());
        QVERIFY(!texts.isEmpty());
        QCOMPARE(texts.last(), store::startFailureMessage(store::StoreError(FailureKind::Busy, QString())));
    } else {
        const bool wrote = operation != QLatin1String("next") && operation != QLatin1String("repeat");
        const QString busy = message(FailureKind::Busy, wrote);
        QVERIFY(!texts.isEmpty());
        QCOMPARE(texts.last(), operation == QLatin1String("quit") ? kQuitFailed + busy : busy);
        QCOMPARE(app.seam.boxes().last().title, kTitle);
        QCOMPARE(app.seam.boxes().last().style, int(seam::OkOnly));
        if (operation != QLatin1String("quit")) {
            QVERIFY(!app.seam.ended());
            if (!onMenu) {
                QVERIFY(app.menu->loadedQuiz()->isVisible());
                QCOMPARE(app.menu->loadedQuiz()->shownNoBox()->text(), shown);
            }
        }
    }

    QVERIFY(holder.finish());
    QVERIFY(holder.output().contains("released"));
    // Whatever the other program meant to change it did not commit; whatever was refused here changed nothing.
    if (blocked) {
        QCOMPARE(fixture::readFlags(path), flagsHeld);
        QCOMPARE(hashOf(path), bytesHeld);
    }
    if (!blocked || app.seam.ended())
        return;

    // Once the other program has let go, the same operation works.
    app.seam.clear();
    act();
    QVERIFY2(app.seam.boxes().size() <= 2, qPrintable(app.seam.texts().join(u'|')));
    if (operation == QLatin1String("reveal")) {
        QVERIFY(app.seam.boxes().isEmpty());
        QCOMPARE(fixture::readFlags(path)[0], (FlagRow{flagsBefore[0].no, 1, 1}));
    } else if (operation == QLatin1String("reset")) {
        QCOMPARE(app.seam.texts().last(), kRecordCleared);
        for (const FlagRow& row : fixture::readFlags(path))
            QCOMPARE(row.done, 0);
    } else if (operation == QLatin1String("next")) {
        QVERIFY(app.seam.boxes().isEmpty());
        QVERIFY(app.menu->loadedQuiz()->shownNoBox()->text() != shown);
    } else if (operation == QLatin1String("repeat")) {
        QVERIFY(app.seam.boxes().isEmpty());
        QVERIFY(app.menu->loadedQuiz()->answerButton()->isEnabled());
    }
}

// A second copy of the program, in a process of its own, finds the first one running and ends; the first goes on.
void TestReliabilityWrites::secondCopy()
{
    MenuFixture app;
    ChildProgram first(ChildProgram::instance(), {QStringLiteral("run"), app.folder.path(), app.lockFile()});
    QVERIFY2(first.waitForLine("loaded"), first.output().constData());
    const QByteArray before = hashOf(app.database());

    QVERIFY(!app.menu->startUp());
    QCOMPARE(app.seam.texts(), QStringList{QStringLiteral("既に起動されています。")});
    QCOMPARE(app.seam.boxes()[0].title, kTitle);
    QVERIFY(app.seam.ended());

    QVERIFY(first.running());
    QCOMPARE(hashOf(app.database()), before);
    QVERIFY(first.finish());
    QCOMPARE(first.exitCode(), 0);
}

// A copy killed outright leaves its lock file behind; the next start must not take it for a running copy, and must
// hold the lock itself afterwards.
void TestReliabilityWrites::lockLeftByKilledCopy()
{
    MenuFixture app;
    {
        ChildProgram killed(ChildProgram::instance(), {QStringLiteral("run"), app.folder.path(), app.lockFile()});
        QVERIFY2(killed.waitForLine("loaded"), killed.output().constData());
        killed.kill();
        QCOMPARE(killed.exitStatus(), QProcess::CrashExit);
    }
    QVERIFY(QFile::exists(app.lockFile()));

    QVERIFY(app.load());
    QVERIFY(app.seam.boxes().isEmpty());
    QVERIFY(!app.seam.ended());

    ChildProgram later(ChildProgram::instance(), {QStringLiteral("run"), app.folder.path(), app.lockFile()});
    QVERIFY(later.finish());
    QVERIFY2(later.output().contains("ended"), later.output().constData());
    QVERIFY(QString::fromUtf8(QByteArray::fromPercentEncoding(later.output()))
                .contains(QStringLiteral("既に起動されています。")));
}

QTEST_MAIN(TestReliabilityWrites)
#include "tst_reliability_writes.moc"
