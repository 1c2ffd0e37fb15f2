// A program killed at any moment loses nothing: a worker process reveals questions and clears both flags over and
// over, and is killed with SIGKILL at random moments. After every kill the file must pass SQLite's integrity check
// (rolling back a journal left behind, as the next start does), and its flags must be a state the work can be in
// between two whole operations: a reveal writes both flags or neither, a reset clears every row or none.

#include "ChildProgram.h"
#include "store/Sqlite.h"
#include "support/Fixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

using fixture::FlagRow;

namespace {

constexpr int kRounds = 200;

// A raw key: the file is opened some 400 times, and deriving a key from a password costs more than a round's work.
// How the key is made plays no part in what a kill can leave behind.
const QByteArray kRawKey = "x'2DD29CA851E7B56E4697B0E1F08507293D761A05CE4D1B628663F411A8086D99'";

// The worker only ever goes through these states: each question either untouched (0, 0) or revealed (1, 1), until
// all are revealed; then 直近 cleared in every row (1, 0); then 済 cleared in every row (0, 0).
QString brokenState(const QList<FlagRow>& rows)
{
    bool cleared = false;
    bool other = false;
    for (const FlagRow& row : rows) {
        const bool revealed = row.done == 1 && row.recent == 1;
        const bool untouched = row.done == 0 && row.recent == 0;
        const bool recentCleared = row.done == 1 && row.recent == 0;
        if (!revealed && !untouched && !recentCleared)
            return QStringLiteral("Ｎｏ %1 has 済 %2 and 直近 %3: a reveal wrote one flag without the other")
                .arg(row.no)
                .arg(row.done)
                .arg(row.recent);
        cleared = cleared || recentCleared;
        other = other || !recentCleared;
    }
    if (cleared && other)
        return QStringLiteral("some rows hold 済 without 直近 and others not: a reveal wrote one flag without the "
                              "other, or a reset stopped half-way");
    return {};
}

struct Inspection
{
    QString integrity; // what PRAGMA integrity_check says
    QList<FlagRow> rows;
};

// Opens the file as the next start of the program would, which rolls back a journal left behind, and reads it.
Inspection inspect(const QString& path)
{
    store::Connection db = store::Connection::openExisting(path, kRawKey);
    Inspection result;
    store::Statement check(db, "PRAGMA integrity_check");
    QStringList lines;
    while (check.next())
        lines << check.text(0);
    result.integrity = lines.join(u'\n');
    store::Statement flags(db, "SELECT Ｎｏ, 済, 直近 FROM 問題 ORDER BY rowid");
    while (flags.next())
        result.rows.append({flags.integer(0), int(flags.integer(1)), int(flags.integer(2))});
    return result;
}

} // namespace

class TestCrash final : public QObject
{
    Q_OBJECT

private slots:
    void killedAtRandomMomentsLosesNothing();
};

void TestCrash::killedAtRandomMomentsLosesNothing()
{
    fixture::TempFolder folder;
    const QString path = folder.database();
    const QList<store::Question> questions = fixture::sampleQuestions();
    fixture::writeDatabase(path, questions, fixture::sampleContents(), kRawKey);
    const QString journal = path + QStringLiteral("-journal");

    const quint32 seed = qEnvironmentVariableIsSet("HARUNIRE_CRASH_SEED")
                             ? quint32(qEnvironmentVariableIntValue("HARUNIRE_CRASH_SEED"))
                             : QRandomGenerator::global()->generate();
    qInfo("random seed %u (set HARUNIRE_CRASH_SEED to repeat)", seed);
    QRandomGenerator random(seed);

    int reveals = 0;
    int recentResets = 0;
    int doneResets = 0;
    int killedInWrite = 0;
    int killedBeforeReady = 0;
    QElapsedTimer clock;
    clock.start();
    for (int round = 1; round <= kRounds; ++round) {
        ChildProgram worker(ChildProgram::worker(), {QStringLiteral("drill"), path, QString::fromLatin1(kRawKey)});
        QVERIFY2(worker.running(), "the worker did not start");
        if (round % 4 == 0) {
            // Now and then while it opens the file, which rolls back what the last kill left half-done.
            QThread::msleep(random.bounded(60));
        } else {
            QVERIFY2(worker.waitForLine("ready"), worker.output().constData());
            QThread::msleep(random.bounded(25));
        }
        worker.kill();
        QCOMPARE(worker.exitStatus(), QProcess::CrashExit);

        const QByteArray output = worker.output();
        QVERIFY2(!output.contains("failed"), output.constData());
        const qsizetype ready = output.indexOf("ready\n");
        if (ready < 0)
            ++killedBeforeReady;
        const QByteArray done = ready < 0 ? QByteArray() : output.mid(ready + 6);
        reveals += int(done.count('r'));
        recentResets += int(done.count('n'));
        doneResets += int(done.count('d'));
        if (QFile::exists(journal))
            ++killedInWrite;

        const Inspection after = inspect(path);
        QVERIFY2(after.integrity == QLatin1String("ok"),
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(after.integrity)));
        const QList<FlagRow>& rows = after.rows;
        QCOMPARE(rows.size(), questions.size());
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i].no, questions[i].no);
        const QString problem = brokenState(rows);
        QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(problem)));
    }
    qInfo("%d rounds in %lld ms: %d reveals, %d 直近 and %d 済 resets committed; %d kills inside a write, "
          "%d before the file was open",
          kRounds, clock.elapsed(), reveals, recentResets, doneResets, killedInWrite, killedBeforeReady);
    // The kills must have hit the work itself, not only its start.
    QVERIFY(reveals > 0);
    QVERIFY(recentResets > 0);
    QVERIFY(doneResets > 0);
    QVERIFY(killedInWrite > 0);
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_reliability_crash.moc"
