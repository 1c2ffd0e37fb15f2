// The installed program's launcher, the files that describe the program to the desktop, and the Debian package.
#include "support/Fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs a program; returns its exit code, with its output in `output`.
int run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
        QString* output = nullptr, int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

class TestPackaging final : public QObject
{
    Q_OBJECT

private slots:
    void launcherKeepsTheLearnersCopy();
    void validators_data();
    void validators();
    void manualPageNamesEveryOption_data();
    void manualPageNamesEveryOption();
    void packageIsLintianClean();
};

void TestPackaging::launcherKeepsTheLearnersCopy()
{
    fixture::TempFolder folder;
    // An installation in miniature: the shipped file, the content tool, and a stand-in for the program that tells
    // where it was started.
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("share")));
    const QString bin = folder.file(QStringLiteral("bin"));
    QVERIFY(QFile::link(QStringLiteral(CONTENT_TOOL), bin + QStringLiteral("/harunire-km-content")));
    {
        QFile program(bin + QStringLiteral("/harunire-km"));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\npwd > \"$XDG_DATA_HOME/started-in\"\n");
        program.close();
        program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    }
    const QString shipped = folder.file(QStringLiteral("share/ソラメモ.mdb"));
    auto questions = fixture::sampleQuestions();
    // The launcher's files are the program's own: keyed with its password.
    const QByteArray password = fixture::programKey();
    fixture::writeDatabase(shipped, questions.mid(0, 5), fixture::sampleContents(), password);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder.file(QStringLiteral("home")));
    env.insert(QStringLiteral("HARUNIRE_KM_SHIPPED"), shipped);
    env.insert(QStringLiteral("HARUNIRE_KM_BINDIR"), bin);
    const QString own = folder.file(QStringLiteral("home/harunire-km/ソラメモ.mdb"));
    auto startedIn = [&] {
        QFile f(folder.file(QStringLiteral("home/started-in")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    };

    // First start: the learner's own copy is made, and the program runs in its folder.
    QString output;
    QCOMPARE(run(QStringLiteral(LAUNCHER), {}, env, &output), 0);
    QVERIFY2(QFile::exists(own), qPrintable(output));
    QCOMPARE(startedIn(), QFileInfo(own).absolutePath());
    QCOMPARE(fixture::flags(own, password), QStringLiteral("10:0/0 20:0/0 30:0/0 40:0/0 50:0/0"));

    // The learner works: flags set in the own copy, a question marked 要復習. Starting again overwrites nothing. The
    // copy is one an earlier version made: without tiers.
    fixture::exec(
        own,
        QStringLiteral("UPDATE 問題 SET 済 = 1, 直近 = 1 WHERE Ｎｏ IN (10, 30);"
                       "CREATE TABLE 要復習 (Ｎｏ INTEGER PRIMARY KEY, 日付 TEXT NOT NULL);"
                       "INSERT INTO 要復習 VALUES (40, '2026-12-01');"
                       "CREATE TABLE t AS SELECT Ｎｏ, 済, 直近, 編, 章, 節, 款, 条, 定義, 問題, 回答 FROM 問題;"
                       "DROP TABLE 問題; ALTER TABLE t RENAME TO 問題"),
        password);
    const QString worked = fixture::flags(own, password);
    QCOMPARE(run(QStringLiteral(LAUNCHER), {}, env, &output), 0);
    QCOMPARE(fixture::flags(own, password), worked);

    // A newer package ships more questions, with tiers: they are added, the learner's flags and marks are kept by
    // Ｎｏ, and the record gains the tiers.
    fixture::writeDatabase(shipped, questions, fixture::sampleContents(), password);
    QCOMPARE(run(QStringLiteral(LAUNCHER), {}, env, &output), 0);
    QCOMPARE(fixture::flags(own, password),
             QStringLiteral("10:1/1 20:0/0 30:1/1 40:0/0+2026-12-01 50:0/0 60:0/0 70:0/0 80:0/0 90:0/0 100:0/0"));
    store::QuestionStore record(own, password);
    QVERIFY(record.hasTiers());
    QCOMPARE(record.question(90)->tier, QStringLiteral("A"));
    QVERIFY(QFile::exists(own + QStringLiteral(".bak")));
}

void TestPackaging::validators_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("desktop entry") << "desktop-file-validate"
                                   << QStringList{QStringLiteral(PACKAGING_DIR "/jp.harunire.HarunireKM.desktop")};
    QTest::newRow("AppStream metainfo") << "appstreamcli"
                                        << QStringList{
                                               "validate", "--no-net",
                                               QStringLiteral(PACKAGING_DIR "/jp.harunire.HarunireKM.metainfo.xml")};
}

void TestPackaging::validators()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QSKIP(qPrintable(tool + QStringLiteral(" is not installed")));
    QString output;
    const int code = run(program, arguments, QProcessEnvironment::systemEnvironment(), &output);
    QVERIFY2(code == 0, qPrintable(output));
}

void TestPackaging::manualPageNamesEveryOption_data()
{
    QTest::addColumn<QString>("command"); // one row per command of the content tool's usage
    QString usage;
    QCOMPARE(run(QStringLiteral(CONTENT_TOOL), {"--help"}, QProcessEnvironment::systemEnvironment(), &usage), 0);
    QRegularExpression command(QStringLiteral("^  ([a-z]+)  "), QRegularExpression::MultilineOption);
    int rows = 0;
    for (auto m = command.globalMatch(usage); m.hasNext(); ++rows)
        QTest::newRow(qPrintable(m.peekNext().captured(1))) << m.next().captured(1);
    QVERIFY2(rows > 0, qPrintable(usage));
}

void TestPackaging::manualPageNamesEveryOption()
{
    QFETCH(QString, command);
    QFile page(QStringLiteral(PACKAGING_DIR "/man/harunire-km-content.1.in"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll()).remove(u'\\');
    QString help;
    QCOMPARE(run(QStringLiteral(CONTENT_TOOL), {command, "--help"}, QProcessEnvironment::systemEnvironment(), &help),
             0);
    QStringList names{QStringLiteral(".B ") + command};
    for (auto m = QRegularExpression(QStringLiteral("--[a-z][a-z-]+")).globalMatch(help); m.hasNext();)
        names << m.next().captured();
    for (const QString& name : names)
        QVERIFY2(text.contains(name), qPrintable(name + QStringLiteral(" is not in the manual page")));
}

// Packs this build as scripts/package.sh does and holds the package to lintian's errors and warnings.
void TestPackaging::packageIsLintianClean()
{
#ifdef HARUNIRE_SANITIZED
    QSKIP("a build with sanitizers is not what is packaged; the package is checked in the preset default");
#endif
    for (const char* tool : {"dpkg-shlibdeps", "file", "lintian"})
        if (QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (bash scripts/test.sh installs it)").arg(tool)));
    QTemporaryDir folder;
    const auto env = QProcessEnvironment::systemEnvironment();
    QString output;
    const QStringList pack{"--config", CPACK_CONFIG, "-G", "DEB", "-B", folder.path()};
    QVERIFY2(run(QStringLiteral(CPACK), pack, env, &output, 240000) == 0, qPrintable(output));
    const QStringList debs = QDir(folder.path()).entryList({QStringLiteral("*.deb")});
    QCOMPARE(debs.size(), 1);
    const QStringList check{"--fail-on", "error,warning", folder.filePath(debs.first())};
    QVERIFY2(run(QStringLiteral("lintian"), check, env, &output, 240000) == 0, qPrintable(output));
}

QTEST_GUILESS_MAIN(TestPackaging)
#include "tst_packaging.moc"
