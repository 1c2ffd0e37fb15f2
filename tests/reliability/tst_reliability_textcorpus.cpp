// Replays the fuzz corpus without the fuzzer: every case must keep the text routines' rules, and the passage box
// must show exactly what the routines say, highlights included.

#include "fuzz/BoxChecks.h"
#include "fuzz/TextChecks.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QStringList corpusFiles()
{
    QDir dir(QStringLiteral(FUZZ_CORPUS));
    return dir.entryList(QDir::Files, QDir::Name);
}

void addCorpusRows()
{
    QTest::addColumn<QString>("path");
    for (const QString& name : corpusFiles())
        QTest::newRow(qPrintable(name)) << QDir(QStringLiteral(FUZZ_CORPUS)).filePath(name);
}

textcheck::TextCase load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return textcheck::decode(file.readAll());
}

} // namespace

class TestTextCorpus final : public QObject
{
    Q_OBJECT

private slots:
    void corpusIsThere();
    void routinesKeepTheirRules_data() { addCorpusRows(); }
    void routinesKeepTheirRules();
    void boxShowsBlanksAndAnswers_data() { addCorpusRows(); }
    void boxShowsBlanksAndAnswers();
};

void TestTextCorpus::corpusIsThere()
{
    // An empty or moved corpus would make the replay pass on nothing.
    QVERIFY2(corpusFiles().size() >= 10, FUZZ_CORPUS);
}

void TestTextCorpus::routinesKeepTheirRules()
{
    QFETCH(QString, path);
    const QString problem = textcheck::check(load(path));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestTextCorpus::boxShowsBlanksAndAnswers()
{
    QFETCH(QString, path);
    const QString problem = textcheck::checkBox(load(path));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(TestTextCorpus)
#include "tst_reliability_textcorpus.moc"
