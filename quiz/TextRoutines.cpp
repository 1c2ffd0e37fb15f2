#include "TextRoutines.h"

namespace quiz {

QString BreakSentences(const QString& text)
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
        if (lastBracket < r)
            out += kLineBreak;
        r = at + 1;
    }
}

QStringList answerList(const QString& kaitou)
{
    if (kaitou.isEmpty())
        return {};
    return kaitou.split(u',', Qt::KeepEmptyParts);
}

QString blankMarker(int number)
{
    return QStringLiteral(" 《 ") + QString::number(number) + QStringLiteral(" 》 ");
}

QString blankAnswers(const QString& display, const QStringList& answers)
{
    // The text as runs of plain text and placed markers; answers are looked for in plain runs only.
    struct Run
    {
        QString text;
        bool marker;
    };
    QList<Run> runs{{display, false}};
    for (qsizetype k = 0; k < answers.size(); ++k) {
        const QString& answer = answers[k];
        if (answer.isEmpty())
            continue;
        const QString marker = blankMarker(int(k + 1));
        QList<Run> next;
        next.reserve(runs.size());
        for (const Run& run : runs) {
            if (run.marker) {
                next.append(run);
                continue;
            }
            qsizetype from = 0;
            qsizetype at;
            while ((at = run.text.indexOf(answer, from)) >= 0) {
                if (at > from)
                    next.append({run.text.mid(from, at - from), false});
                next.append({marker, true});
                from = at + answer.size();
            }
            if (from < run.text.size())
                next.append({run.text.mid(from), false});
        }
        runs = std::move(next);
    }
    QString out;
    for (const Run& run : runs)
        out += run.text;
    return out;
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

} // namespace quiz
