// The tool's commands on question files: building one, keeping a learner's progress across rebuilds and merges,
// reading it back, and failing on bad input or arguments with one line and nothing changed.
#include "ContentSamples.h"
#include "content/ContentDatabase.h"
#include "store/ProgressTables.h"
#include "support/Fixture.h"

#include <QDir>
#include <QProcess>
#include <functional>

using Setup = std::function<void()>;

Q_DECLARE_METATYPE(Setup)

namespace {

const QString learner = QStringLiteral("ソラメモ.mdb");

// Every file of the current folder with its bytes.
QMap<QString, QByteArray> snapshot()
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        files.insert(name, samples::readFile(name));
    return files;
}

// Ｎｏ, 済, 直近, 重要度 and mark of every question of the learner's file, then its reveal log, as
// "10:0/1/A/ 20:1/1/A/2026-12-01 | 2026-12-01=3".
QString record()
{
    const content::DatabaseContent content = content::readDatabase(learner, fixture::programKey());
    QStringList rows;
    for (const content::QuestionRecord& r : content.questions) {
        const store::Question& q = r.question;
        rows << QStringLiteral("%1:%2/%3/%4/%5").arg(q.no).arg(q.done).arg(q.recent).arg(q.tier, q.markedOn);
    }
    rows << QStringLiteral("|");
    for (const content::RevealDay& day : content.log)
        rows << QStringLiteral("%1=%2").arg(day.day).arg(day.count);
    return rows.join(u' ');
}

// The learner's file as files were before 重要度: the same questions, without the column.
void dropTiers()
{
    fixture::exec(
        learner,
        "CREATE TABLE 旧 AS SELECT Ｎｏ, 済, 直近, 編, 章, 節, 款, 条, 定義, 問題, 回答 FROM 問題; DROP TABLE 問題; "
        "ALTER TABLE 旧 RENAME TO 問題",
        fixture::programKey());
}

} // namespace

class TestContentBuild final : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
};

void TestContentBuild::commands_data()
{
    QTest::addColumn<Setup>("setup"); // after the sample folder and the learner's file are written
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // lines it prints there; nothing at all when empty
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("flags"); // record() of the learner's file after a command that succeeds
    auto row = [](const char* name, const QStringList& arguments, int status, const QString& out, const QString& err,
                  const QString& flags = {}, const Setup& setup = {}) {
        QTest::newRow(name) << setup << arguments << status << out << err << flags;
    };
    auto table = [](const QByteArray& bytes) -> Setup {
        return [bytes] { samples::writeFile("questions.tsv", bytes); };
    };
    const QStringList build = {"build", "--questions", "questions.tsv", "--toc", "toc.tsv", "--output", learner};
    const QStringList discard = build + QStringList{"--discard-progress"};
    const QString kept = "1000100:0/0/B/ 2000100:1/1/B/2026-12-01 2000200:0/0/C/ 295000100:0/1/A/2026-12-03 "
                         "295000200:0/0/A/ 817000100:0/0/A/";
    const QString log = " | 2026-12-01=3 2026-12-02=5";
    const QString other =
        "ソラメモ.mdb: file is encrypted or is not a database (wrong password, or not a question file)";
    const QByteArray header = "Ｎｏ\t編\t章\t節\t款\t条\t定義\t問題\t回答\n";
    const QByteArray tiered = "Ｎｏ\t編\t章\t節\t款\t条\t定義\t問題\t回答\t重要度\n";
    const QByteArray good = "1\t第一編 総則\t第一章 通則\t\t\t第一条\t\t会社は、法人とする。\t法人";
    const QByteArray flagged = "Ｎｏ\t編\t章\t節\t款\t条\t定義\t問題\t回答\t済\t直近\n" + good;

    // Progress
    row("a rebuild keeps the flags, the marks and the log", build, 0,
        "ソラメモ.mdb: kept the progress of 2 questions; 1 questions with progress are no longer there\n", {},
        kept + log);
    row("a rebuild told so discards them", discard, 0, {}, {},
        "1000100:0/0/B/ 2000100:0/0/B/ 2000200:0/0/C/ 295000100:0/0/A/ 295000200:0/0/A/ 817000100:0/0/A/ |");
    row("an exported record moves to a new file",
        {"build", "--questions", "record.tsv", "--toc", "toc.tsv", "--output", learner}, 0, {}, {},
        kept + " 9000100:1/0/A/2026-12-02" + log, [] {
            QProcess::execute(HARUNIRE_CONTENT_TOOL, {"export", learner, "--output", "record.tsv"});
            QFile::remove(learner);
        });
    // A record of the earlier question set (Ｎｏ = the paragraph's number, no 重要度) merged with a newer file that
    // asks 第二百九十五条第一項 in two parts: each part takes the paragraph's flags and mark; the question no longer
    // asked is reported.
    row("a merge carries a paragraph's progress to each of its parts",
        {"merge", "--from", "newer.mdb", "--into", learner}, 0,
        "ソラメモ.mdb: 7 questions, kept the progress of 3 questions\n",
        "merge: ソラメモ.mdb: the progress of 1 questions found no question to go to (Ｎｏ 90001)\n",
        "1000100:0/0/B/ 2000100:1/1/B/2026-12-01 2000200:0/0/C/ 295000101:0/1/A/2026-12-03 "
        "295000102:0/1/A/2026-12-03 295000200:0/0/A/ 817000100:0/0/A/" +
            log,
        [] {
            fixture::exec(learner, "UPDATE 問題 SET Ｎｏ = Ｎｏ / 100; UPDATE 要復習 SET Ｎｏ = Ｎｏ / 100",
                          fixture::programKey());
            dropTiers();
            QByteArray table = samples::readFile("questions.tsv");
            const qsizetype at = table.indexOf("295000100\t");
            const QByteArray line = table.mid(at, table.indexOf('\n', at) + 1 - at);
            table.replace(line, QByteArray(line).replace("295000100", "295000101") +
                                    QByteArray(line).replace("295000100", "295000102"));
            samples::writeFile("newer.tsv", table);
            QProcess::execute(HARUNIRE_CONTENT_TOOL, {"build", "--questions", "newer.tsv", "--toc", "toc.tsv",
                                                      "--output", "newer.mdb", "--discard-progress"});
        });
    // A build that fails leaves the file it would replace as it was.
    row("over a file keyed with another password", build, 1, {},
        "build: " + other + "; its progress cannot be kept: remove the file or build with --discard-progress\n", {},
        [] { fixture::writeDatabase(learner, {}, {}, "ANOTHER1"); });
    row("into a missing folder", build.mid(0, 6) + QStringList{"missing/ソラメモ.mdb"}, 1, {},
        "build: missing/ソラメモ.mdb: cannot open: unable to open database file\n");
    row("over a folder, progress discarded", discard, 1, {},
        "build: ソラメモ.mdb: cannot put the new file in place: Is a directory\n", {}, [] {
            QFile::remove(learner);
            QDir().mkdir(learner);
        });
    row("a field missing", build, 1, {}, "build: questions.tsv:3: 2 fields where the header has 9\n", {},
        table(header + good + "\n2\t第一編 総則\n"));
    row("a field too many", build, 1, {}, "build: questions.tsv:2: 10 fields where the header has 9\n", {},
        table(header + good + "\t\n"));
    row("Ｎｏ not a number", build, 1, {}, "build: questions.tsv:2: Ｎｏ is not a whole number: 一\n", {},
        table(header + "一" + good.mid(1)));
    row("flag neither 0 nor 1", build, 1, {}, "build: questions.tsv:2: 済 and 直近 must be 0 or 1\n", {},
        table(flagged + "\t2\t0\n"));
    row("a column after 回答 of no known name", build, 1, {},
        "build: questions.tsv:1: the columns after 回答 may be 重要度 済 直近 要復習, each once\n", {},
        table(QByteArray(flagged).replace("直近", "備考") + "\t0\t0\n"));
    row("重要度 other than A, B, C", build, 1, {}, "build: questions.tsv:2: 重要度 must be A, B, C or empty\n", {},
        table(tiered + good + "\tD\n"));
    row("not UTF-8", build, 1, {}, "build: questions.tsv:3: not valid UTF-8\n", {},
        table(header + good + "\n2\t\xff\xfe\n"));
    row("empty file", build, 1, {}, "build: questions.tsv: empty file\n", {}, table({}));
    row("three errors, one line", build, 1, {},
        "build: questions.tsv:2: 1 fields where the header has 9 (and 2 more)\n", {}, table(header + "x\ny\nz\n"));
    // Arguments, and files that cannot be read
    row("unknown command", {"frobnicate"}, 2, {}, "unknown command: frobnicate\n");
    row("build without output", {"build"}, 2, {}, "build: --output is required (see --help)\n");
    row("lint of two files", {"lint", "a.tsv", "b.tsv"}, 2, {}, "lint: name exactly one file (see --help)\n");
    row("unknown option", {"export", "--frobnicate", "x.mdb"}, 2, {},
        "export: Unknown option 'frobnicate'. (see --help)\n");
    row("report with a sample count that is none", {"report", "questions.tsv", "--sample", "x"}, 2, {},
        "report: --sample takes a count (see --help)\n");
    row("lint of a missing file", {"lint", "missing.tsv"}, 1, {}, "lint: missing.tsv: no such file\n");
    row("lint of a table with another header", {"lint", "toc.tsv"}, 1, {},
        "lint: toc.tsv:1: header must begin with: Ｎｏ 編 章 節 款 条 定義 問題 回答\n");
    row("lint of a file keyed with another password", {"lint", learner, "--password", "ANOTHER1"}, 1, {},
        "lint: " + other + "\n");
    row("export of a file keyed with another password",
        {"export", learner, "--password", "ANOTHER1", "--output", "out.tsv"}, 1, {}, "export: " + other + "\n");
    // Lint and report
    row("lint with findings, one line each", {"lint", learner, "--content", "."}, 1,
        "ソラメモ.mdb: Ｎｏ 2000100 第二条第一項: 回答 is Null\n", {});
    row("report of the measures and the tiers", {"report", "questions.tsv", "--content", "."}, 0,
        "tiers                           A 3, B 2, C 1", {});
    row("report of a sample of one tier",
        {"report", "questions.tsv", "--content", ".", "--tier", "C", "--sample", "1", "--seed", "7"}, 0,
        "\nＮｏ 2000200\n", {});
    row("report of a tier that is none", {"report", "questions.tsv", "--tier", "D"}, 2, {},
        "report: --tier takes A, B or C (see --help)\n");
    row("export of a file made before 重要度", {"export", learner}, 0,
        "回答\t重要度\t済\t直近\t要復習\n1000100\t第一編 総則\t第一章 通則\t\t\t第一条\t（趣旨）\t"
        "会社の設立、組織、運営及び管理については、この法律の定めるところによる。\t組織,管理\t\t0\t0\t\n",
        {}, {}, dropTiers);
    row("a mark that is no day", build, 1, {}, "build: questions.tsv:2: 要復習 must be a day (YYYY-MM-DD) or empty\n",
        {}, table(QByteArray(flagged).replace("直近\n", "直近\t要復習\n") + "\t0\t0\t2026-13-01\n"));
    row("a reveal log with a day twice", build, 1, {},
        "build: questions.tsv:6: a day of 解答記録 is YYYY-MM-DD, once, with a count\n", {},
        table(flagged + "\t0\t0\n\n日付\t解答数\n2026-12-01\t3\n2026-12-01\t4\n"));
}

void TestContentBuild::commands()
{
    QFETCH(Setup, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, flags);
    fixture::TempFolder folder;
    samples::writeFolder(folder.path());
    // The learner's file: the sample's questions and one no longer asked; 済 and 直近 on some, marks and a reveal log
    // (in the tables the program creates with its first write of them), a Null 回答.
    QList<content::TsvError> errors;
    QList<store::Question> questions = content::questionsOf(content::readQuestions("questions.tsv", errors));
    questions.append(questions.last());
    questions.last().no = 9000100;
    fixture::writeDatabase(learner, questions, {}, fixture::programKey());
    fixture::exec(learner,
                  "UPDATE 問題 SET 済 = 1 WHERE Ｎｏ IN (2000100, 9000100); UPDATE 問題 SET 直近 = 1 WHERE Ｎｏ IN "
                  "(2000100, 295000100); UPDATE 問題 SET 回答 = NULL WHERE Ｎｏ = 2000100",
                  fixture::programKey());
    fixture::exec(
        learner,
        QStringLiteral("%1; %2; INSERT INTO 要復習 VALUES (2000100, '2026-12-01'), (295000100, '2026-12-03'), "
                       "(9000100, '2026-12-02'); INSERT INTO 解答記録 VALUES ('2026-12-01', 3), "
                       "('2026-12-02', 5)")
            .arg(QString::fromUtf8(store::progress::kCreateMarks), QString::fromUtf8(store::progress::kCreateLog)),
        fixture::programKey());
    if (setup)
        setup();
    const QMap<QString, QByteArray> before = snapshot();

    QProcess tool;
    tool.start(QStringLiteral(HARUNIRE_CONTENT_TOOL), arguments);
    QVERIFY(tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit);
    const QString printed[] = {QString::fromUtf8(tool.readAllStandardOutput()),
                               QString::fromUtf8(tool.readAllStandardError())};
    QCOMPARE(tool.exitCode(), status);
    QVERIFY2(out.isEmpty() ? printed[0].isEmpty() : printed[0].contains(out), qPrintable(printed[0]));
    QVERIFY2(err.isEmpty() ? printed[1].isEmpty() : printed[1].contains(err), qPrintable(printed[1]));
    if (status == 1 && out.isEmpty())
        QCOMPARE(printed[1].count(u'\n'), 1);
    if (status != 0)
        QVERIFY(snapshot() == before);
    if (!flags.isEmpty())
        QCOMPARE(record(), flags);
    QCOMPARE(QDir().entryList({"*.building", "*-journal"}), QStringList());
}

QTEST_GUILESS_MAIN(TestContentBuild)
#include "tst_contentbuild.moc"
