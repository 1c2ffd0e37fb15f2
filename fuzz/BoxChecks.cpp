#include "BoxChecks.h"

#include "drill/PassageText.h"
#include "quiz/PassageBox.h"

#include <QTextCharFormat>

namespace textcheck {

namespace {

bool endsLine(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QString checkHighlights(const PassageBox& box, const QStringList& targets)
{
    const QString& text = box.text();
    QList<bool> marked(text.size(), false);
    for (const QString& target : targets) {
        for (qsizetype at : naiveOccurrences(text, target)) {
            for (qsizetype i = at; i < at + target.size(); ++i)
                marked[i] = true;
        }
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (endsLine(text[i]))
            continue;
        const QTextCharFormat f = box.formatAt(i);
        const QColor colour = f.foreground().color();
        const bool highlighted =
            colour == QColor(255, 0, 0) && f.fontPointSize() == 14 && f.fontWeight() == QFont::Bold;
        const bool plain = colour == QColor(0, 0, 0) && f.fontPointSize() == 9 && f.fontWeight() == QFont::Normal;
        if (marked[i] ? !highlighted : !plain)
            return QStringLiteral("character %1 (U+%2) should be %3")
                .arg(i)
                .arg(text[i].unicode(), 4, 16, QLatin1Char('0'))
                .arg(marked[i] ? QStringLiteral("highlighted") : QStringLiteral("plain"));
    }
    return {};
}

QString checkBox(const TextCase& c)
{
    const QString display = passage::breakSentences(c.passage);
    const QStringList answers = passage::answerList(c.answers);
    PassageBox box;

    const passage::Shown blanked = passage::showBlanks(passage::blankRuns(display, answers), answers, {});
    box.showPassage(blanked.text, blanked.highlights);
    if (box.text() != passage::blankAnswers(display, answers))
        return QStringLiteral("the blanked box does not hold the blanked text");
    QStringList markers;
    for (qsizetype k = 0; k < answers.size(); ++k)
        markers << passage::blankMarker(int(k + 1));
    if (QString problem = checkHighlights(box, markers); !problem.isEmpty())
        return QStringLiteral("blanked: ") + problem;

    const passage::Shown revealed = passage::showAnswers(display, answers);
    box.showPassage(revealed.text, revealed.highlights);
    if (box.text() != display)
        return QStringLiteral("the revealed box does not hold the laid-out passage");
    if (QString problem = checkHighlights(box, answers); !problem.isEmpty())
        return QStringLiteral("revealed: ") + problem;
    return {};
}

} // namespace textcheck
