#include "PassageText.h"

namespace passage {

QString breakSentences(const QString& text)
{
    static const QString stop = QStringLiteral("。");
    static const QString stopBracket = QStringLiteral("。）");
    // A "。）" lies ahead of offset r exactly while the last one starts at or after r.
    const qsizetype lastBracket = text.lastIndexOf(stopBracket);
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype r = 0;
    while (true) {
        const qsizetype at = text.indexOf(stop, r);
        if (at < 0) {
            out += QStringView(text).mid(r);
            return out;
        }
        out += QStringView(text).mid(r, at + 1 - r);
        // A passage whose lines already end after a "。" (the items of a paragraph) gets no second break there.
        const bool brokenAlready = QStringView(text).mid(at + 1).startsWith(texts::kLineBreak);
        if (lastBracket < r && !brokenAlready)
            out += texts::kLineBreak;
        r = at + 1;
    }
}

QStringList answerList(const QString& answers)
{
    if (answers.isEmpty())
        return {};
    return answers.split(u',', Qt::KeepEmptyParts);
}

QString blankMarker(int number)
{
    return QStringLiteral(" 《 ") + QString::number(number) + QStringLiteral(" 》 ");
}

QList<Run> blankRuns(const QString& display, const QStringList& answers)
{
    QList<Run> runs;
    if (!display.isEmpty())
        runs.append({display, 0});
    for (qsizetype k = 0; k < answers.size(); ++k) {
        const QString& answer = answers[k];
        if (answer.isEmpty())
            continue;
        const int number = int(k + 1);
        QList<Run> next;
        next.reserve(runs.size());
        for (const Run& run : runs) {
            if (run.number != 0) {
                next.append(run);
                continue;
            }
            qsizetype from = 0;
            qsizetype at;
            while ((at = run.text.indexOf(answer, from)) >= 0) {
                if (at > from)
                    next.append({run.text.mid(from, at - from), 0});
                next.append({answer, number});
                from = at + answer.size();
            }
            if (from < run.text.size())
                next.append({run.text.mid(from), 0});
        }
        runs = std::move(next);
    }
    return runs;
}

QString layOutBlanks(const QList<Run>& runs, const QList<int>& uncovered, QList<Blank>* blanks)
{
    QString out;
    for (const Run& run : runs) {
        if (run.number == 0) {
            out += run.text;
            continue;
        }
        const bool open = uncovered.contains(run.number);
        const QString shown = open ? run.text : blankMarker(run.number);
        if (blanks)
            blanks->append({{out.size(), shown.size()}, run.number, open});
        out += shown;
    }
    return out;
}

QString blankAnswers(const QString& display, const QStringList& answers)
{
    QString out;
    for (const Run& run : blankRuns(display, answers))
        out += run.number == 0 ? run.text : blankMarker(run.number);
    return out;
}

Shown showBlanks(const QList<Run>& runs, const QStringList& answers, const QList<int>& uncovered)
{
    Shown shown;
    QList<Blank> blanks;
    shown.text = layOutBlanks(runs, uncovered, &blanks);
    for (const Blank& blank : blanks)
        shown.highlights.append(blank.span);
    for (qsizetype k = 0; k < answers.size(); ++k) {
        if (uncovered.contains(int(k + 1)))
            continue;
        for (const Span& span : findOccurrences(shown.text, blankMarker(int(k + 1)))) {
            if (!shown.highlights.contains(span))
                shown.highlights.append(span);
        }
    }
    return shown;
}

Shown showAnswers(const QString& display, const QStringList& answers)
{
    Shown shown{display, {}};
    for (const QString& word : answers)
        shown.highlights += findOccurrences(display, word);
    return shown;
}

QList<Span> findOccurrences(const QString& text, const QString& target)
{
    QList<Span> spans;
    if (target.isEmpty())
        return spans;
    qsizetype at = text.indexOf(target);
    while (at >= 0) {
        spans.append({at, target.size()});
        at = text.indexOf(target, at + 1);
    }
    return spans;
}

} // namespace passage
