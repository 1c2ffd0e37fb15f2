// Replays the fuzz corpus without the fuzzer: every case must keep the text routines' rules, and the passage box
// must show exactly what the routines say, highlights included.

#include "fuzz/TextChecks.h"
#include "quiz/Module1.h"
#include "quiz/RichTextBox.h"
#include "quiz/TextRoutines.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextCharFormat>

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

bool endsLine(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Exactly the characters covered by an occurrence of one of the targets are in the highlight style (red, 14 pt,
// bold), all others in the plain style. Characters that end a line have no style of their own.
QString checkHighlights(const RichTextBox& box, const QStringList& targets)
{
    const QString& text = box.text();
    QList<bool> marked(text.size(), false);
    for (const QString& target : targets) {
        for (qsizetype at : textcheck::naiveOccurrences(text, target)) {
            for (qsizetype i = at; i < at + target.size(); ++i)
                marked[i] = true;
        }
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (endsLine(text[i]))
            continue;
        const QTextCharFormat f = box.formatAt(i);
        const bool red = f.foreground().color() == QColor(255, 0, 0);
        const bool highlighted = red && f.fontPointSize() == 14 && f.fontWeight() == QFont::Bold;
        const bool plain = f.foreground().color() == QColor(0, 0, 0) && f.fontPointSize() == 9 &&
                           f.fontWeight() == QFont::Normal;
        if (marked[i] ? !highlighted : !plain)
            return QStringLiteral("character %1 (U+%2) should be %3")
                .arg(i)
                .arg(text[i].unicode(), 4, 16, QLatin1Char('0'))
                .arg(marked[i] ? QStringLiteral("highlighted") : QStringLiteral("plain"));
    }
    return {};
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
    const textcheck::TextCase c = load(path);
    const QString display = quiz::BreakSentences(c.mondai);
    const QStringList answers = quiz::answerList(c.kaitou);
    RichTextBox box;

    Module1::showBlanked(box, display, answers);
    QCOMPARE(box.text(), quiz::blankAnswers(display, answers));
    QStringList markers;
    for (qsizetype k = 0; k < answers.size(); ++k)
        markers << quiz::blankMarker(int(k + 1));
    QString problem = checkHighlights(box, markers);
    QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("blanked: ") + problem));

    Module1::showRevealed(box, display, answers);
    QCOMPARE(box.text(), display);
    problem = checkHighlights(box, answers);
    QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("revealed: ") + problem));
}

QTEST_MAIN(TestTextCorpus)
#include "tst_reliability_textcorpus.moc"
