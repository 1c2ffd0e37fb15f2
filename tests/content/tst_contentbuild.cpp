// The question file: building it, keeping a learner's progress across rebuilds, reading it back, and failing
// cleanly on bad input.
#include "ContentSamples.h"
#include "content/ContentCommands.h"
#include "store/QuestionStore.h"
#include "support/Fixture.h"

#include <QDir>
#include <QProcess>
#include <QTextStream>


namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

store::Question question(qint64 no, const QString& mondai, const QString& kaitou)
{
    const QString jo = QStringLiteral("第%1条").arg(no);
    return {no, samples::part1, samples::chapter1, {}, {}, jo, QStringLiteral("（見出し）"), mondai, kaitou};
}

QList<store::Question> firstEdition()
{
    return {question(1, "会社は、法人とする。", "法人"),
            question(2, "株主総会は、決議をする。\r\n一 定款の変更", "株主総会,定款の変更"),
            question(3, "取締役は、三人以上でなければならない。", "取締役,三人以上")};
}

Run build(const QString& table, const QString& output, content::Progress progress = content::Progress::Keep)
{
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = content::commands::build(table, QDir::current().filePath("toc.tsv"), output, fixture::key(), progress,
                                          out, err);
    return run;
}

Run tool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(HARUNIRE_CONTENT_TOOL), arguments);
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

int lineCount(const QString& text)
{
    return int(text.count(u'\n'));
}

} // namespace

class TestContentBuild final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void builtFileOpensAndExportsBack();
    void progress_data();
    void progress();
    void failedBuildLeavesTheOldFile_data();
    void failedBuildLeavesTheOldFile();
    void malformedTable_data();
    void malformedTable();
    void commandLine_data();
    void commandLine();

private:
    std::unique_ptr<fixture::TempFolder> m_folder;
};

void TestContentBuild::init()
{
    m_folder = std::make_unique<fixture::TempFolder>();
    samples::writeFile("questions.tsv", content::questionTable(firstEdition(), false));
    samples::writeFile("toc.tsv", samples::contentsTable(samples::contents()));
}

void TestContentBuild::cleanup()
{
    m_folder.reset();
}

void TestContentBuild::builtFileOpensAndExportsBack()
{
    const QString database = m_folder->database();
    const Run run = build("questions.tsv", database);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out + run.err, QString());

    fixture::Store store; // the store's own opening: key, tables and columns
    store.trialOpen();
    QCOMPARE(store.sections(samples::part2, samples::organs), QStringList{samples::meetings});
    const auto shown = store.question(2);
    QVERIFY(shown.has_value());
    QCOMPARE(shown->passage, QStringLiteral("株主総会は、決議をする。\r\n一 定款の変更"));
    QVERIFY(shown->section.isEmpty() && shown->subsection.isEmpty());
    store.release();

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QCOMPARE(content::commands::exportTable(database, QString(), fixture::key(), outStream, errStream), 0);
    QCOMPARE(out.toUtf8(), content::questionTable(firstEdition(), true));
    QVERIFY(QDir().entryList(QDir::Files).size() == 3);  // nothing left beside the file
}

void TestContentBuild::progress_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QList<qint64>>("before");  // the learner's file: 済 on the first two, 直近 on the last two
    QTest::addColumn<QList<qint64>>("after");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("flags");
    QTest::newRow("a rebuild keeps the flags by Ｎｏ")
        << "build" << QList<qint64>{1, 2, 3} << QList<qint64>{1, 2, 4}
        << "%1: kept the progress of 2 questions; 1 questions with progress are no longer there\n"
        << "1:1/0 2:1/1 4:0/0";
    QTest::newRow("a rebuild told so discards them") << "discard" << QList<qint64>{1, 2, 3} << QList<qint64>{1, 2, 3}
                                                     << "" << "1:0/0 2:0/0 3:0/0";
    QTest::newRow("an exported record moves to another file")
        << "export" << QList<qint64>{1, 2, 3} << QList<qint64>() << ""
        << "1:1/0 2:1/1 3:0/1";
    // A file made before paragraphs were asked in parts; the new one asks 第二条第一項 in two parts.
    QTest::newRow("a merge carries paragraph numbers to Ｎｏ × 100")
        << "merge" << QList<qint64>{10001, 20001, 20002} << QList<qint64>{1000100, 2000101, 2000102, 2000200}
        << "%1: 4 questions, kept the progress of 2 questions\n"
        << "1000100:1/0 2000101:0/0 2000102:0/0 2000200:0/1";
}

void TestContentBuild::progress()
{
    QFETCH(QString, way);
    QFETCH(QList<qint64>, before);
    QFETCH(QList<qint64>, after);
    QFETCH(QString, out);
    QFETCH(QString, flags);
    auto edition = [](const QList<qint64>& numbers) {
        QList<store::Question> questions;
        for (const qint64 no : numbers)
            questions.append(question(no, "会社は、法人とする。", "法人"));
        return questions;
    };
    const QString database = m_folder->database();
    fixture::writeDatabase(database, edition(before));
    fixture::exec(database, QStringLiteral("UPDATE 問題 SET 済 = 1 WHERE Ｎｏ IN (%1, %2);"
                                           "UPDATE 問題 SET 直近 = 1 WHERE Ｎｏ IN (%2, %3)")
                                .arg(before[0])
                                .arg(before[1])
                                .arg(before[2]));
    samples::writeFile("next.tsv", content::questionTable(edition(after), false));
    fixture::writeDatabase("next.mdb", edition(after));
    Run run;
    QTextStream outStream(&run.out);
    QTextStream errStream(&run.err);
    QString result = database;
    if (way == "merge") {
        run.status = content::commands::merge("next.mdb", database, fixture::key(), outStream, errStream);
    } else if (way == "export") {
        QCOMPARE(content::commands::exportTable(database, "record.tsv", fixture::key(), outStream, errStream), 0);
        run = build("record.tsv", result = "moved.mdb");
    } else {
        run = build("next.tsv", database, way == "discard" ? content::Progress::Discard : content::Progress::Keep);
    }
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out + run.err, out.arg(database));
    QCOMPARE(fixture::flags(result), flags);
}

void TestContentBuild::failedBuildLeavesTheOldFile_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("existing file keyed with another password")
        << "otherkey" << "(wrong password, or not a question file); its progress cannot be kept";
    QTest::newRow("existing file is no database") << "text" << "its progress cannot be kept";
    QTest::newRow("output folder missing") << "nofolder" << "unable to open database file";
    QTest::newRow("malformed question table") << "badtable" << "questions.tsv:5: 2 fields where the header has 9";
}

void TestContentBuild::failedBuildLeavesTheOldFile()
{
    QFETCH(QString, situation);
    QFETCH(QString, message);
    QString output = m_folder->database();
    if (situation == "otherkey")
        fixture::writeDatabase(output, firstEdition(), {}, "ANOTHER1");
    if (situation == "text")
        samples::writeFile(output, "これはデータベースではありません。\n");
    if (situation == "nofolder")
        output = m_folder->file("missing/ソラメモ.mdb");
    if (situation == "badtable") {
        fixture::writeDatabase(output, firstEdition());
        samples::writeFile("questions.tsv", content::questionTable(firstEdition(), false) + "5\t第一編 総則\n");
    }
    const QByteArray before = samples::readFile(output);
    const QStringList filesBefore = QDir().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);

    const Run run = build("questions.tsv", output);
    QCOMPARE(run.status, 1);
    QCOMPARE(lineCount(run.err), 1);
    QVERIFY2(run.err.startsWith("build: ") && run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QCOMPARE(samples::readFile(output), before);
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), filesBefore);
}

void TestContentBuild::malformedTable_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("message");
    const QByteArray header = "Ｎｏ\t編\t章\t節\t款\t条\t定義\t問題\t回答\n";
    const QByteArray good = "1\t第一編 総則\t第一章 通則\t\t\t第一条\t\t会社は、法人とする。\t法人\n";
    QTest::newRow("a field missing") << header + good + "2\t第一編 総則\n"
                                     << "questions.tsv:3: 2 fields where the header has 9";
    QTest::newRow("Ｎｏ not a number") << header + QByteArray(good).replace("1\t", "一\t")
                                       << "questions.tsv:2: Ｎｏ is not a whole number: 一";
    QTest::newRow("flag neither 0 nor 1")
        << "Ｎｏ\t編\t章\t節\t款\t条\t定義\t問題\t回答\t済\t直近\n" + good.trimmed() + "\t2\t0\n"
        << "questions.tsv:2: 済 and 直近 must be 0 or 1";
    QTest::newRow("flag columns misnamed")
        << "Ｎｏ\t編\t章\t節\t款\t条\t定義\t問題\t回答\t直近\t済\n" + good.trimmed() + "\t0\t0\n"
        << "questions.tsv:1: the columns after 回答 must be: 済 直近";
    QTest::newRow("another header") << "No\tpart\n" + good << "questions.tsv:1: header must begin with: Ｎｏ 編";
    QTest::newRow("not UTF-8") << header + good + "2\t\xff\xfe\n" << "questions.tsv:3: not valid UTF-8";
    QTest::newRow("empty file") << QByteArray() << "questions.tsv: empty file";
    QTest::newRow("three errors, one line") << header + "x\n" + "y\n" + "z\n"
                                            << "questions.tsv:2: 1 fields where the header has 9 (and 2 more)";
}

void TestContentBuild::malformedTable()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, message);
    samples::writeFile("questions.tsv", table);
    const Run run = build("questions.tsv", m_folder->database());
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith("build: " + message), qPrintable(run.err));
    QCOMPARE(lineCount(run.err), 1);
    QVERIFY(!QFile::exists(m_folder->database()));
}

void TestContentBuild::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("outLines");
    QTest::addColumn<int>("errLines");
    QTest::newRow("no command") << QStringList() << 2 << 0 << -1;
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << 0 << -1;
    QTest::newRow("build without output") << QStringList{"build"} << 2 << 0 << 1;
    QTest::newRow("lint of two files") << QStringList{"lint", "a.tsv", "b.tsv"} << 2 << 0 << 1;
    QTest::newRow("unknown option") << QStringList{"export", "--frobnicate", "x.mdb"} << 2 << 0 << 1;
    QTest::newRow("lint of a missing file") << QStringList{"lint", "missing.tsv"} << 1 << 0 << 1;
    QTest::newRow("lint of a table with another header") << QStringList{"lint", "toc.tsv"} << 1 << 0 << 1;
    QTest::newRow("lint of a file keyed with another password")
        << QStringList{"lint", "ソラメモ.mdb", "--password", "ANOTHER1"} << 1 << 0 << 1;
    QTest::newRow("export of a file keyed with another password")
        << QStringList{"export", "ソラメモ.mdb", "--password", "ANOTHER1", "--output", "out.tsv"} << 1 << 0 << 1;
    QTest::newRow("lint with findings, one line each") << QStringList{"lint", "questions.tsv", "--content", "."} << 1
                                                       << -1 << 0;
    QTest::newRow("report of the measures") << QStringList{"report", "questions.tsv", "--content", "."} << 0 << 13
                                            << 0;
    QTest::newRow("report with a sample count that is none")
        << QStringList{"report", "questions.tsv", "--sample", "x"} << 2 << 0 << 1;
    QTest::newRow("build keeps progress unless told")
        << QStringList{"build", "--questions", "questions.tsv", "--toc", "toc.tsv", "--output", "ソラメモ.mdb"} << 0
        << 1 << 0;
    QTest::newRow("build told to discard progress")
        << QStringList{"build", "--questions", "questions.tsv", "--toc", "toc.tsv", "--output", "ソラメモ.mdb",
                       "--discard-progress"}
        << 0 << 0 << 0;
}

void TestContentBuild::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(int, outLines);
    QFETCH(int, errLines);
    samples::writeFolder(".", {});
    samples::writeFile("questions.tsv", content::questionTable(firstEdition(), false));
    // The tool opens files with the program's password.
    fixture::writeDatabase(m_folder->database(), firstEdition(), samples::contents(), fixture::programKey());
    fixture::exec(m_folder->database(), "UPDATE 問題 SET 済 = 1 WHERE Ｎｏ = 2", fixture::programKey());

    const Run run = tool(arguments);
    QCOMPARE(run.status, status);
    if (outLines >= 0)
        QCOMPARE(lineCount(run.out), outLines);
    else
        QVERIFY(lineCount(run.out) > 1 && run.out.startsWith("questions.tsv:2: Ｎｏ 1 第1条: "));
    if (errLines >= 0)
        QCOMPARE(lineCount(run.err), errLines);
    else
        QVERIFY(!run.err.isEmpty());
    if (arguments.contains("--password"))
        QVERIFY2(run.err.endsWith("file is encrypted or is not a database (wrong password, or not a question file)\n"),
                 qPrintable(run.err));
    QVERIFY(!QFile::exists("out.tsv"));
    if (arguments.value(0) == "build") {
        const int kept = arguments.contains("--discard-progress") ? 0 : 1;
        QCOMPARE(fixture::flags(m_folder->database(), fixture::programKey()),
                 QStringLiteral("1:0/0 2:%1/0 3:0/0").arg(kept));
    }
}

QTEST_GUILESS_MAIN(TestContentBuild)
#include "tst_contentbuild.moc"
