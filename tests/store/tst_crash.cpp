// A program killed at any moment loses nothing: a worker reveals questions and clears both flags over and over and
// is killed with SIGKILL at random moments. After every kill the file, opened as the next start opens it, passes
// SQLite's integrity check, and its flags are a state between two whole operations: a reveal writes both flags or
// neither, a reset clears every row or none.
#include "store/Sqlite.h"
#include "support/Fixture.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

namespace {

constexpr int kRounds = 60;

// The worker only goes through these states: each row untouched (0/0) or revealed (1/1) until all are revealed,
// then 直近 cleared in every row (1/0), then 済 cleared in every row (0/0).
const QRegularExpression kWholeState(QStringLiteral("^(\\d+:(0/0|1/1)( |$))+$|^(\\d+:1/0( |$))+$"));

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
    fixture::writeDatabase(path, fixture::sampleQuestions(), fixture::sampleContents());
    const quint32 seed = qEnvironmentVariableIsSet("HARUNIRE_CRASH_SEED")
                             ? quint32(qEnvironmentVariableIntValue("HARUNIRE_CRASH_SEED"))
                             : QRandomGenerator::global()->generate();
    qInfo("random seed %u (set HARUNIRE_CRASH_SEED to repeat)", seed);
    QRandomGenerator random(seed);

    QByteArray committed;
    int killedInWrite = 0;
    for (int round = 1; round <= kRounds; ++round) {
        QProcess worker;
        worker.start(QStringLiteral(CRASH_WORKER), {path, QString::fromLatin1(fixture::key())});
        QVERIFY(worker.waitForStarted());
        if (round % 4 == 0) {
            // Now and then while it opens the file, which rolls back what the last kill left half-done.
            QThread::msleep(random.bounded(40));
        } else {
            QVERIFY(worker.waitForReadyRead(30000));
            QThread::msleep(random.bounded(25));
        }
        worker.kill();
        QVERIFY(worker.waitForFinished());
        const QByteArray output = worker.readAllStandardOutput();
        QVERIFY2(!output.contains("failed"), output.constData());
        committed += output.mid(output.indexOf('\n') + 1);
        killedInWrite += QFile::exists(path + QStringLiteral("-journal")) ? 1 : 0;

        store::Connection db = store::Connection::openExisting(path, fixture::key());
        store::Statement check(db, "PRAGMA integrity_check");
        QVERIFY(check.next());
        QCOMPARE(check.text(0), QStringLiteral("ok"));
        // The day's count of reveals stands last; every reveal committed was counted with it.
        QString flags = fixture::flags(path);
        const qsizetype log = flags.indexOf(u'=');
        if (log > 0) {
            const int counted = flags.mid(log + 1).toInt();
            QVERIFY(counted >= committed.count('r') && counted <= committed.count('r') + round);
            flags.truncate(flags.lastIndexOf(u' '));
        }
        QCOMPARE(flags.count(u':'), 10);
        QVERIFY2(kWholeState.match(flags).hasMatch(),
                 qPrintable(QStringLiteral("round %1: half an operation is left in %2").arg(round).arg(flags)));
    }
    qInfo("%lld reveals, %lld 直近 and %lld 済 resets committed; %d kills inside a write", committed.count('r'),
          committed.count('n'), committed.count('d'), killedInWrite);
    // The kills must have hit the work itself, not only its start.
    QVERIFY(committed.count('r') > 0 && committed.count('n') > 0 && committed.count('d') > 0);
    QVERIFY(killedInWrite > 0);
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
