#include "TextChecks.h"

#include "drill/PassageText.h"

#include <QStringList>
#include <algorithm>

namespace textcheck {

namespace {

const QString kStop = QStringLiteral("。");
const QString kStopBracket = QStringLiteral("。）");
const QString kCrLf = QStringLiteral("\r\n");

QString broken(const QString& rule, const QString& detail = {})
{
    return detail.isEmpty() ? rule : rule + QStringLiteral(": ") + detail;
}

// How many CR LF pairs follow one another from the position on.
qsizetype lineBreaksAt(const QString& text, qsizetype at)
{
    qsizetype count = 0;
    while (QStringView(text).mid(at + 2 * count).startsWith(kCrLf))
        ++count;
    return count;
}

// The layout keeps the whole passage and adds only line breaks: one after each full stop that no "。）" follows at
// or after it and that is not followed by a line break already.
QString checkLayout(const QString& passage, const QString& layout)
{
    qsizetype j = 0;
    for (qsizetype i = 0; i < passage.size(); ++i, ++j) {
        if (j >= layout.size() || layout[j] != passage[i])
            return broken(QStringLiteral("the laid-out text is not the passage"),
                          QStringLiteral("passage position %1, layout position %2").arg(i).arg(j));
        if (passage[i] != kStop[0])
            continue;
        const qsizetype own = lineBreaksAt(passage, i + 1);
        const bool wanted = passage.indexOf(kStopBracket, i) < 0 && own == 0;
        const qsizetype laid = lineBreaksAt(layout, j + 1);
        if (laid != own + (wanted ? 1 : 0))
            return broken(QStringLiteral("wrong line break after a full stop"),
                          QStringLiteral("passage position %1: %2 wanted, passage has %3, layout %4")
                              .arg(i)
                              .arg(wanted ? 1 : 0)
                              .arg(own)
                              .arg(laid));
        if (wanted)
            j += 2;
    }
    if (j != layout.size())
        return broken(QStringLiteral("the laid-out text runs on past the passage"));
    return {};
}

// Each blank stands where it says, shows its marker or (uncovered) its word, and blanks follow one another
// without overlapping.
QString checkBlanks(const QString& text, const QList<passage::Blank>& blanks, const QStringList& answers,
                    const QList<int>& uncovered)
{
    qsizetype end = 0;
    for (const passage::Blank& blank : blanks) {
        const passage::Span& s = blank.span;
        if (s.start < end || s.length < 0 || s.start + s.length > text.size())
            return broken(QStringLiteral("a blank lies outside the text or over another blank"),
                          QStringLiteral("blank %1 at %2+%3 in %4 characters")
                              .arg(blank.number)
                              .arg(s.start)
                              .arg(s.length)
                              .arg(text.size()));
        end = s.start + s.length;
        if (blank.number < 1 || blank.number > answers.size())
            return broken(QStringLiteral("a blank has a number no answer has"), QString::number(blank.number));
        if (blank.uncovered != uncovered.contains(blank.number))
            return broken(QStringLiteral("a blank is uncovered when it should not be, or the other way"),
                          QString::number(blank.number));
        const QString expected = blank.uncovered ? answers[blank.number - 1] : passage::blankMarker(blank.number);
        if (QStringView(text).mid(s.start, s.length) != expected)
            return broken(QStringLiteral("a blank does not show its marker or its word"),
                          QString::number(blank.number));
    }
    return {};
}

// The highlight scan finds exactly the places where the target occurs, inside the text.
QString checkScan(const QString& text, const QString& target)
{
    const QList<passage::Span> spans = passage::findOccurrences(text, target);
    const QList<qsizetype> expected = naiveOccurrences(text, target);
    if (spans.size() != expected.size())
        return broken(QStringLiteral("the highlight scan misses or invents occurrences"),
                      QStringLiteral("%1 found, %2 present").arg(spans.size()).arg(expected.size()));
    for (qsizetype k = 0; k < spans.size(); ++k) {
        const passage::Span& s = spans[k];
        if (s.start != expected[k] || s.length != target.size() || s.start < 0 || s.start + s.length > text.size())
            return broken(QStringLiteral("a highlight lies outside its occurrence"),
                          QStringLiteral("%1+%2 in %3 characters").arg(s.start).arg(s.length).arg(text.size()));
    }
    return {};
}

} // namespace

TextCase decode(const QByteArray& bytes)
{
    const auto byte = [&bytes](qsizetype at) { return at < bytes.size() ? quint8(bytes[at]) : quint8(0); };
    const quint8 flags = byte(0);
    const quint8 mask = byte(1);
    const QByteArray payload = bytes.size() > 2 ? bytes.mid(2) : QByteArray();
    QString text;
    if (flags & 1) {
        text.resize(payload.size() / 2);
        for (qsizetype k = 0; k < text.size(); ++k)
            text[k] = QChar(char16_t(quint8(payload[2 * k]) | (quint8(payload[2 * k + 1]) << 8)));
    } else {
        text = QString::fromUtf8(payload);
    }
    TextCase result;
    const qsizetype cut = text.indexOf(QChar(u'\0'));
    result.passage = cut < 0 ? text : text.left(cut);
    result.answers = cut < 0 ? QString() : text.mid(cut + 1);
    for (int k = 0; k < 8; ++k) {
        if (mask & (1 << k))
            result.uncovered.append(k + 1);
    }
    return result;
}

QByteArray encode(const TextCase& textCase)
{
    quint8 mask = 0;
    for (int number : textCase.uncovered) {
        if (number >= 1 && number <= 8)
            mask |= quint8(1 << (number - 1));
    }
    QByteArray bytes;
    bytes.append(char(0));
    bytes.append(char(mask));
    bytes.append(textCase.passage.toUtf8());
    bytes.append(char(0));
    bytes.append(textCase.answers.toUtf8());
    return bytes;
}

QList<qsizetype> naiveOccurrences(const QString& text, const QString& target)
{
    QList<qsizetype> places;
    if (target.isEmpty())
        return places;
    for (qsizetype at = 0; at + target.size() <= text.size(); ++at) {
        if (QStringView(text).mid(at, target.size()) == target)
            places.append(at);
    }
    return places;
}

QString check(const TextCase& c)
{
    const QString layout = passage::breakSentences(c.passage);
    if (QString problem = checkLayout(c.passage, layout); !problem.isEmpty())
        return problem;

    const QStringList answers = passage::answerList(c.answers);
    if (c.answers.isEmpty() != answers.isEmpty() || answers.join(u',') != c.answers)
        return broken(QStringLiteral("the answer list is not 回答 cut at its commas"));
    for (const QString& answer : answers) {
        if (answer.contains(u','))
            return broken(QStringLiteral("an answer still holds a comma"), answer);
    }

    // The blanked passage as runs: together they are the laid-out passage, each replaced word is its answer, and no
    // plain run still holds an answer.
    const QList<passage::Run> runs = passage::blankRuns(layout, answers);
    QString joined;
    for (const passage::Run& run : runs) {
        joined += run.text;
        if (run.number < 0 || run.number > answers.size())
            return broken(QStringLiteral("a run has a number no answer has"), QString::number(run.number));
        if (run.number > 0 && (run.text.isEmpty() || run.text != answers[run.number - 1]))
            return broken(QStringLiteral("a replaced word is not its answer"), QString::number(run.number));
        if (run.number == 0) {
            for (qsizetype k = 0; k < answers.size(); ++k) {
                if (!answers[k].isEmpty() && run.text.contains(answers[k]))
                    return broken(QStringLiteral("an answer is left in the plain text"),
                                  QStringLiteral("answer %1").arg(k + 1));
            }
        }
    }
    if (joined != layout)
        return broken(QStringLiteral("revealing every blank does not give back the laid-out passage"));

    QList<passage::Blank> blanks;
    const QString blanked = passage::layOutBlanks(runs, {}, &blanks);
    if (blanked != passage::blankAnswers(layout, answers))
        return broken(QStringLiteral("the two ways of blanking disagree"));
    if (QString problem = checkBlanks(blanked, blanks, answers, {}); !problem.isEmpty())
        return problem;
    for (qsizetype k = 0; k < answers.size(); ++k) {
        for (qsizetype at : naiveOccurrences(blanked, answers[k])) {
            const qsizetype end = at + answers[k].size();
            const bool inMarker = std::any_of(blanks.begin(), blanks.end(), [&](const passage::Blank& b) {
                return at < b.span.start + b.span.length && b.span.start < end;
            });
            if (!inMarker)
                return broken(QStringLiteral("the blanked text shows an answer outside a marker"),
                              QStringLiteral("answer %1 at %2").arg(k + 1).arg(at));
        }
        if (QString problem = checkScan(blanked, passage::blankMarker(int(k + 1))); !problem.isEmpty())
            return broken(QStringLiteral("marker %1").arg(k + 1), problem);
    }

    QList<passage::Blank> partly;
    const QString shown = passage::layOutBlanks(runs, c.uncovered, &partly);
    if (QString problem = checkBlanks(shown, partly, answers, c.uncovered); !problem.isEmpty())
        return broken(QStringLiteral("uncovered"), problem);
    QList<int> all;
    for (int n = 1; n <= answers.size(); ++n)
        all.append(n);
    if (passage::layOutBlanks(runs, all) != layout)
        return broken(QStringLiteral("uncovering every blank does not give back the laid-out passage"));

    // The reveal shows the laid-out passage and highlights each answer word where it occurs.
    for (const QString& answer : answers) {
        if (QString problem = checkScan(layout, answer); !problem.isEmpty())
            return broken(QStringLiteral("reveal"), problem);
    }
    return {};
}

} // namespace textcheck
