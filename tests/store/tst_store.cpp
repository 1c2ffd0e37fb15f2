// The question file: which question comes next, the counts, the flags written, and every way the file can fail,
// made real (bad files, a file changed underneath, a lock, a crash in any write) or planted in the lowest layer.
#include "store/Sqlite.h"
#include "support/Fixture.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <sqlite3.h>

using store::FailureKind;

Q_DECLARE_METATYPE(store::FailureKind)

namespace {

const QString kAll = store::kAll;
const QString P2 = QStringLiteral("第二編 株式会社");
const QString C24 = QStringLiteral("第四章 機関");

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

// 済 on 10, 50, 70; 直近 on 20, 60; 要復習 on 30, 50, 60, 80 (tier A: 20, 40, 60, 80, 90); stored against Ｎｏ
// order, so that the selection must sort.
void writeFlagged(const QString& path)
{
    auto questions = fixture::sampleQuestions();
    for (auto& q : questions) {
        q.done = (q.no == 10 || q.no == 50 || q.no == 70) ? 1 : 0;
        q.recent = (q.no == 20 || q.no == 60) ? 1 : 0;
        if (q.no == 30 || q.no == 50 || q.no == 60 || q.no == 80)
            q.markedOn = QStringLiteral("2026-12-0%1").arg(q.no / 10);
    }
    std::reverse(questions.begin(), questions.end());
    fixture::writeDatabase(path, questions);
}

// Whether the store's operation failed with the kind, or went through when `kind` is -1.
void expectKind(const std::function<void()>& operation, int kind)
{
    try {
        operation();
        QCOMPARE(kind, -1);
    } catch (const store::StoreError& e) {
        QVERIFY2(kind >= 0, qPrintable(e.message()));
        QCOMPARE(int(e.kind()), kind);
    }
}

} // namespace

class TestStore final : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { store::faults::clear(); }
    void selection_data();
    void selection();
    void progressAndLog();
    void revealAndFind();
    void badFileAtStart_data();
    void badFileAtStart();
    void plantedFaults_data();
    void plantedFaults();
    void fileChangedUnderneath_data();
    void fileChangedUnderneath();
    void lockedByAnotherProgram();
    void killedInEveryWriteLosesNothing();
};

void TestStore::selection_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("options"); // x: 今まで見た問題を外す, i: 重要問題だけ, m: 要復習だけ
    QTest::addColumn<qint64>("first");    // 0: nothing left
    QTest::addColumn<QString>("counts");
    QTest::addColumn<qint64>("older"); // the first on a file from before tiers and marks: i does nothing, m finds none
    const QString s1 = QStringLiteral("第一節 株主総会及び種類株主総会等");
    const QString s2 = QStringLiteral("第二節 株主総会以外の機関の設置");
    QTest::newRow("whole Act, off: chapter and section ignored") << kAll << "x"
                                                                 << "y"
                                                                 << "" << 10LL << "8/10" << 10LL;
    QTest::newRow("whole Act, on") << kAll << ""
                                   << ""
                                   << "x" << 30LL << "5/10" << 30LL;
    QTest::newRow("part, off: section ignored") << P2 << kAll << "nonsense"
                                                << "" << 50LL << "5/6" << 50LL;
    QTest::newRow("part, on") << P2 << kAll << ""
                              << "x" << 80LL << "3/6" << 80LL;
    QTest::newRow("chapter, section empty, off") << P2 << C24 << ""
                                                 << "" << 50LL << "4/5" << 50LL;
    QTest::newRow("chapter, section すべて, on") << P2 << C24 << kAll << "x" << 80LL << "2/5" << 80LL;
    QTest::newRow("section, off") << P2 << C24 << s2 << "" << 70LL << "3/3" << 70LL;
    QTest::newRow("section, on") << P2 << C24 << s2 << "x" << 80LL << "2/3" << 80LL;
    QTest::newRow("section all set aside with the option") << P2 << C24 << s1 << "x" << 0LL << "0/2" << 0LL;
    QTest::newRow("empty part is no wildcard") << "" << kAll << ""
                                               << "" << 0LL << "0/0" << 0LL;
    QTest::newRow("empty chapter is no wildcard") << QStringLiteral("第一編 総則") << ""
                                                  << ""
                                                  << "" << 0LL << "0/0" << 0LL;
    QTest::newRow("quotes in a range text are text") << "' OR ''='" << kAll << ""
                                                     << "" << 0LL << "0/0" << 0LL;
    QTest::newRow("whole Act, tier A") << kAll << ""
                                       << ""
                                       << "i" << 40LL << "3/5" << 10LL;
    QTest::newRow("part, tier A, on") << P2 << kAll << ""
                                      << "xi" << 80LL << "2/3" << 80LL;
    QTest::newRow("section, tier A") << P2 << C24 << s2 << "i" << 80LL << "2/2" << 70LL;
    QTest::newRow("whole Act, marked: 直近 still sets aside") << kAll << ""
                                                              << ""
                                                              << "m" << 30LL << "3/4" << 0LL;
    QTest::newRow("chapter, marked: the option does nothing") << P2 << C24 << ""
                                                              << "xm" << 50LL << "2/3" << 0LL;
    QTest::newRow("chapter, marked and tier A") << P2 << C24 << ""
                                                << "mi" << 80LL << "1/2" << 0LL;
    QTest::newRow("section, marked") << P2 << C24 << s1 << "m" << 50LL << "1/2" << 0LL;
}

void TestStore::selection()
{
    QFETCH(QString, part);
    QFETCH(QString, chapter);
    QFETCH(QString, section);
    QFETCH(QString, options);
    QFETCH(qint64, first);
    QFETCH(QString, counts);
    QFETCH(qint64, older);
    fixture::TempFolder folder;
    writeFlagged(folder.database());
    const QString before = fixture::flags(folder.database());
    fixture::Store s;
    const store::Range range{
        part, chapter, section, options.contains(u'x'), options.contains(u'i'), options.contains(u'm')};
    const auto next = s.nextQuestion(range);
    QCOMPARE(next ? next->no : 0, first);
    const store::RangeCounts count = s.countRange(range);
    QCOMPARE(QStringLiteral("%1/%2").arg(count.open).arg(count.total), counts);
    QCOMPARE(fixture::flags(folder.database()), before); // choosing writes nothing
    QCOMPARE(next && options.contains(u'm') ? next->markedOn : QString(),
             next && options.contains(u'm') ? QStringLiteral("2026-12-0%1").arg(first / 10) : QString());
    // A file written before tiers, marks and the selection's own indexes: found without them.
    fixture::exec(folder.database(),
                  QStringLiteral("DROP TABLE 要復習; CREATE TABLE t AS SELECT Ｎｏ, 済, 直近, 編, 章, 節, 款, 条, 定義,"
                                 " 問題, 回答 FROM 問題; DROP TABLE 問題; ALTER TABLE t RENAME TO 問題"));
    const auto found = fixture::Store().nextQuestion(range);
    QCOMPARE(found ? found->no : 0, older);
    if (options.contains(u'm'))
        QCOMPARE(fixture::Store().countRange(range).total, 0);
}

// How far the learner has come, chapter by chapter, and the reveals of each day, which an undo takes back; a
// chapter without 目次 rows is known by its questions.
void TestStore::progressAndLog()
{
    fixture::TempFolder folder;
    writeFlagged(folder.database());
    fixture::Store s;
    QStringList chapters;
    for (const store::ChapterProgress& c : s.progressByChapter())
        chapters << QStringLiteral("%1 %2/%3/%4 A %5/%6/%7")
                        .arg(c.chapter.left(3))
                        .arg(c.all.total)
                        .arg(c.all.done)
                        .arg(c.all.marked)
                        .arg(c.tierA.total)
                        .arg(c.tierA.done)
                        .arg(c.tierA.marked);
    // total/done/marked: 50 is done and marked, and counts as marked.
    QCOMPARE(chapters.join(u','), QStringLiteral("第一章 2/1/0 A 1/0/0,第二章 2/0/1 A 1/0/0,"
                                                 "第四章 5/1/3 A 3/0/2,第五章 1/0/0 A 0/0/0"));
    QVERIFY(s.knowsChapter(QStringLiteral("第一編 総則"), QStringLiteral("第二章 会社の商号")));
    QVERIFY(!s.knowsChapter(P2, QStringLiteral("第三章 新株予約権")));

    const QDate day = fixture::today(), before = day.addDays(-1);
    QVERIFY(s.revealLog(before.addDays(-30), day).isEmpty()); // no log table yet
    s.reveal(90, before);
    s.reveal(100, before);
    s.reveal(40, day);
    const auto again = s.reveal(30, day);
    QCOMPARE(again->markedBefore, QStringLiteral("2026-12-03"));
    s.undoReveal(30, *again, day);
    const auto log = s.revealLog(before.addDays(-30), day);
    QCOMPARE(log, (QList<store::DayCount>{{before, 2}, {day, 1}}));
    QCOMPARE(s.revealLog(day, day).size(), 1);
    QVERIFY(fixture::flags(folder.database()).contains(QStringLiteral("30:0/0+2026-12-03")));

    // The tally the file keeps stays what a count of the rows finds, through the store's writes and through those of
    // a program that knows nothing of it: a question moved to another chapter, another tier, gone, added; a reset.
    s.setMark(100, day);
    s.removeMark(30);
    fixture::exec(folder.database(),
                  QStringLiteral("UPDATE 問題 SET 章 = '第五章 計算等', 済 = 1 WHERE Ｎｏ = 90;"
                                 "UPDATE 問題 SET 重要度 = 'A' WHERE Ｎｏ = 10; DELETE FROM 問題 WHERE Ｎｏ = 20;"
                                 "INSERT INTO 問題 (Ｎｏ, 済, 直近, 編, 章, 条, 問題, 回答, 重要度) VALUES (15, 1, 0,"
                                 " '第一編 総則', '第三章 会社の使用人等', '第十一条', '支配人。', '支配人', 'A')"));
    const auto sorted = [](QList<store::ChapterProgress> list) {
        std::sort(list.begin(), list.end(),
                  [](const auto& a, const auto& b) { return a.part + a.chapter < b.part + b.chapter; });
        return list;
    };
    for (const bool reset : {false, true}) {
        if (reset)
            s.clearFlag(store::Flag::Done);
        const QList<store::ChapterProgress> kept = sorted(fixture::Store().progressByChapter());
        const QString copy = folder.file(QStringLiteral("counted.mdb"));
        QFile::remove(copy);
        QVERIFY(QFile::copy(folder.database(), copy));
        fixture::exec(copy, QStringLiteral("DROP TRIGGER 集計_済"));
        QCOMPARE(kept, sorted(store::QuestionStore(copy, fixture::key()).progressByChapter()));
        QCOMPARE(kept.size(), 5);
    }
}

// A reveal writes both flags on the first row of its Ｎｏ in stored order, and nothing for a Ｎｏ that is gone; the
// flags written back by a mark or an undo go to that row too.
void TestStore::revealAndFind()
{
    fixture::TempFolder folder;
    auto questions = fixture::sampleQuestions().mid(0, 3);
    questions[2].no = 20;
    questions[2].passage = QStringLiteral("二つ目の20");
    fixture::writeDatabase(folder.database(), questions);
    fixture::Store s;
    QCOMPARE(s.question(20)->passage, questions[1].passage);
    const auto revealed = s.reveal(20, fixture::today());
    QVERIFY(revealed);
    QCOMPARE(revealed->passage + revealed->answers, questions[1].passage + questions[1].answers);
    QVERIFY(!s.reveal(99) && !s.question(99));
    QCOMPARE(fixture::flags(folder.database()), QStringLiteral("10:0/0 20:1/1 20:0/0 2026-12-07=1"));
    s.writeFlags(20, 0, 1);
    QCOMPARE(fixture::flags(folder.database()), QStringLiteral("10:0/0 20:0/1 20:0/0 2026-12-07=1"));
    // Both resets, the 直近 one leaving 済 and the other way round.
    s.writeFlags(10, 1, 1);
    s.clearFlag(store::Flag::Recent);
    QCOMPARE(fixture::flags(folder.database()), QStringLiteral("10:1/0 20:0/0 20:0/0 2026-12-07=1"));
    s.writeFlags(20, 1, 1);
    s.clearFlag(store::Flag::Done);
    QCOMPARE(fixture::flags(folder.database()), QStringLiteral("10:0/0 20:0/1 20:0/0 2026-12-07=1"));
}

void TestStore::badFileAtStart_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("kind"); // -1: the file opens
    const int damaged = int(FailureKind::NotADatabase), schema = int(FailureKind::SchemaMissing);
    QTest::newRow("sound file") << "" << -1;
    QTest::newRow("keyed with the program's password") << "password" << -1;
    QTest::newRow("missing, none created") << "missing" << int(FailureKind::FileMissing);
    QTest::newRow("zero bytes") << "empty" << schema;
    QTest::newRow("Access database file") << "jet" << damaged;
    QTest::newRow("keyed with another password") << "otherkey" << damaged;
    QTest::newRow("cut inside its last page") << "lastpage" << damaged;
    QTest::newRow("first page damaged") << "page1" << damaged;
    QTest::newRow("table 目次 missing") << "DROP TABLE 目次" << schema;
    QTest::newRow("column 直近 missing")
        << "CREATE TABLE t AS SELECT Ｎｏ, 済, 編, 章, 節, 款, 条, 定義, 問題, 回答 FROM 問題;"
           " DROP TABLE 問題; ALTER TABLE t RENAME TO 問題"
        << schema;
    QTest::newRow("column 節No missing")
        << "CREATE TABLE t AS SELECT 編, 章, 節 FROM 目次; DROP TABLE 目次; ALTER TABLE t RENAME TO 目次" << schema;
}

void TestStore::badFileAtStart()
{
    QFETCH(QString, setup);
    QFETCH(int, kind);
    fixture::TempFolder folder;
    const QString path = folder.database();
    fixture::writeDatabase(path);
    const QByteArray sound = contentOf(path);
    if (setup == QLatin1String("password"))
        fixture::writeDatabase(path, fixture::sampleQuestions(), fixture::sampleContents(), fixture::programKey());
    else if (setup == QLatin1String("missing"))
        QVERIFY(QFile::remove(path));
    else if (setup == QLatin1String("empty"))
        QVERIFY(writeFile(path, {}));
    else if (setup == QLatin1String("jet"))
        QVERIFY(writeFile(path, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(4076, '\x11')));
    else if (setup == QLatin1String("otherkey"))
        fixture::writeDatabase(path, fixture::sampleQuestions(), fixture::sampleContents(), "Z7X4KVRQ");
    else if (setup == QLatin1String("lastpage"))
        QVERIFY(QFile::resize(path, sound.size() - 1));
    else if (setup == QLatin1String("page1"))
        QVERIFY(writeFile(path, QByteArray(16, '\x5a') + sound.mid(16)));
    else if (!setup.isEmpty())
        fixture::exec(path, setup);
    const QByteArray before = contentOf(path);
    const auto listing = [&] { return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); };
    const QStringList files = listing();
    {
        // The program's own store, with its password, for the file keyed with it.
        std::unique_ptr<store::QuestionStore> s = setup == QLatin1String("password")
                                                      ? std::make_unique<store::QuestionStore>()
                                                      : std::make_unique<fixture::Store>();
        expectKind([&] { s->trialOpen(); }, kind);
    }
    // Nothing written, nothing made: no journal, no file in place of a missing one.
    QCOMPARE(contentOf(path), before);
    QCOMPARE(listing(), files);
}

// Each operation meets each failure of the file, planted at the statement that fails: the failure is reported
// by its kind, a write leaves every row as it was, and the same operation then works: a read finds what it found
// before the failure.
void TestStore::plantedFaults_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QByteArray>("at");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<FailureKind>("kind");
    for (const char* operation : {"reveal", "mark", "clear done", "clear recent"}) {
        QTest::addRow("%s: read-only file", operation)
            << operation << QByteArray("UPDATE") << SQLITE_READONLY << true << FailureKind::ReadOnly;
        QTest::addRow("%s: read-only medium", operation)
            << operation << QByteArray("UPDATE") << SQLITE_READONLY << false << FailureKind::FolderReadOnly;
        QTest::addRow("%s: no journal in a read-only folder", operation)
            << operation << QByteArray("BEGIN") << SQLITE_CANTOPEN << false << FailureKind::FolderReadOnly;
        QTest::addRow("%s: locked", operation)
            << operation << QByteArray("BEGIN") << SQLITE_BUSY << true << FailureKind::Busy;
        QTest::addRow("%s: disk full at the commit", operation)
            << operation << QByteArray("COMMIT") << SQLITE_FULL << true << FailureKind::DiskFull;
        QTest::addRow("%s: file moved away", operation)
            << operation << QByteArray("UPDATE") << SQLITE_READONLY_DBMOVED << true << FailureKind::FileMissing;
    }
    for (const char* operation : {"next", "find", "sections"}) {
        QTest::addRow("%s: damaged page", operation)
            << operation << QByteArray("SELECT") << SQLITE_CORRUPT << true << FailureKind::NotADatabase;
        QTest::addRow("%s: locked", operation)
            << operation << QByteArray("SELECT") << SQLITE_BUSY << true << FailureKind::Busy;
        QTest::addRow("%s: I/O error", operation)
            << operation << QByteArray("SELECT") << SQLITE_IOERR << true << FailureKind::Other;
    }
}

void TestStore::plantedFaults()
{
    QFETCH(QString, operation);
    QFETCH(QByteArray, at);
    QFETCH(int, code);
    QFETCH(bool, folderWritable);
    QFETCH(FailureKind, kind);
    fixture::TempFolder folder;
    writeFlagged(folder.database());
    const QString before = fixture::flags(folder.database());
    fixture::Store s;
    s.trialOpen();
    QString found; // what a read finds
    const store::Range whole{kAll, kAll, {}, false};
    const QHash<QString, std::function<void()>> operations = {
        {"reveal", [&] { s.reveal(10); }},
        {"mark", [&] { s.writeFlags(10, 0, 1); }},
        {"clear done", [&] { s.clearFlag(store::Flag::Done); }},
        {"clear recent", [&] { s.clearFlag(store::Flag::Recent); }},
        {"next", [&] { found = QString::number(s.nextQuestion(whole)->no); }},
        {"find", [&] { found = s.question(40)->answers; }},
        {"sections", [&] { found = s.sections(P2, C24).join(u','); }},
    };
    const std::function<void()>& run = operations[operation];
    const bool reads = at == "SELECT";
    if (reads)
        run();
    const QString soundRead = found;
    store::faults::failNext(at, code);
    store::faults::setFolderWritable(folderWritable);
    expectKind(run, int(kind));
    if (!reads)
        QCOMPARE(fixture::flags(folder.database()), before);
    store::faults::clear();
    found.clear();
    expectKind(run, -1);
    QCOMPARE(found, soundRead);
}

void TestStore::fileChangedUnderneath_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("kind"); // -1: the drill goes on in the new file
    QTest::newRow("removed: none made in its place") << "removed" << int(FailureKind::FileMissing);
    QTest::newRow("replaced by a text file") << "text" << int(FailureKind::NotADatabase);
    QTest::newRow("overwritten in place by a text file") << "overwrite" << int(FailureKind::NotADatabase);
    QTest::newRow("replaced by a fresh download") << "fresh" << -1;
}

void TestStore::fileChangedUnderneath()
{
    QFETCH(QString, change);
    QFETCH(int, kind);
    fixture::TempFolder folder;
    const QString path = folder.database();
    writeFlagged(path);
    fixture::Store s;
    s.trialOpen();
    const QString made = folder.file(QStringLiteral("made.mdb"));
    fixture::writeDatabase(made, fixture::sampleQuestions(), {});
    if (change == QLatin1String("text") || change == QLatin1String("overwrite"))
        QVERIFY(writeFile(made, QByteArrayLiteral("ソラメモ\r\n").repeated(500)));
    if (change == QLatin1String("overwrite"))
        QVERIFY(writeFile(path, contentOf(made)));
    else
        QVERIFY(QFile::remove(path) && (change == QLatin1String("removed") || QFile::rename(made, path)));
    const QByteArray after = contentOf(path);
    expectKind([&] { s.reveal(10); }, kind);
    if (kind < 0)
        QCOMPARE(fixture::flags(path).section(u' ', 0, 0), QStringLiteral("10:1/1"));
    else
        QCOMPARE(contentOf(path), after);
}

// Another program holds a write lock: a write gives up after a short wait and writes nothing; once the lock is gone
// the same write goes through.
void TestStore::lockedByAnotherProgram()
{
    fixture::TempFolder folder;
    writeFlagged(folder.database());
    fixture::Store s;
    s.trialOpen();
    {
        store::Connection other = store::Connection::openExisting(folder.database(), fixture::key());
        other.exec("BEGIN EXCLUSIVE");
        expectKind([&] { s.clearFlag(store::Flag::Done); }, int(FailureKind::Busy));
        other.exec("ROLLBACK");
    }
    s.clearFlag(store::Flag::Done);
    QVERIFY(!fixture::flags(folder.database()).contains(QStringLiteral(":1/")));
}

// A program killed at any moment loses nothing. A worker reveals three questions, then clears both flags, and dies
// inside its n-th write into the file, for every n until it gets through; a second one then dies inside its first
// write, the rollback of the journal the first one left. The file, opened as the next start opens it, passes SQLite's
// integrity check and holds exactly the operations the first one finished: all of each, nothing of the one it died in.
void TestStore::killedInEveryWriteLosesNothing()
{
    fixture::TempFolder folder;
    const QString path = folder.database(), fresh = folder.file(QStringLiteral("fresh.mdb"));
    fixture::writeDatabase(fresh, fixture::sampleQuestions().mid(0, 3));
    for (int write = 1;; ++write) {
        QFile::remove(path);
        QVERIFY(QFile::copy(fresh, path));
        QByteArray done;
        for (const int diesAt : {write, 1}) {
            QProcess worker;
            worker.start(QStringLiteral(CRASH_WORKER),
                         {path, QString::fromLatin1(fixture::key()), QString::number(diesAt)});
            QVERIFY(worker.waitForFinished());
            done += worker.readAllStandardOutput();
            QVERIFY2(!done.contains("failed"), done.constData());
            if (worker.exitStatus() == QProcess::NormalExit) {
                QCOMPARE(done, QByteArray("rrrnd"));
                return;
            }
        }
        store::Connection db = store::Connection::openExisting(path, fixture::key());
        store::Statement check(db, "PRAGMA integrity_check");
        QVERIFY(check.next() && check.text(0) == QStringLiteral("ok"));
        // Reveals in Ｎｏ order, each counted on its day, then 直近 and then 済 cleared.
        const auto flags = [&done](int i) {
            return QLatin1String(done.contains('d')     ? "0/0"
                                 : done.contains('n')   ? "1/0"
                                 : i <= done.count('r') ? "1/1"
                                                        : "0/0");
        };
        QCOMPARE(fixture::flags(path) + " after " + QString::fromLatin1(done),
                 QStringLiteral("10:%1 20:%2 30:%3").arg(flags(1), flags(2), flags(3)) +
                     (done.contains('r') ? QStringLiteral(" 2026-12-07=%1").arg(done.count('r')) : QString()) +
                     " after " + QString::fromLatin1(done));
    }
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
