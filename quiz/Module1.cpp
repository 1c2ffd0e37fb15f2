#include "Module1.h"

#include "PassageBox.h"
#include "drill/PassageText.h"

namespace Module1 {

namespace {

void highlightAll(PassageBox& box, const QString& target)
{
    for (const passage::Span& span : passage::findOccurrences(box.text(), target)) {
        box.select(span.start, span.length);
        box.applyHighlightStyle();
    }
}

void putPlain(PassageBox& box, const QString& text)
{
    box.setText(text);
    box.select(0, text.size());
    box.applyPlainStyle();
}

} // namespace

void MarkBlank(PassageBox& box, int n)
{
    highlightAll(box, passage::blankMarker(n + 1));
}

void MarkWord(PassageBox& box, const QString& word)
{
    highlightAll(box, word);
}

void showBlanked(PassageBox& box, const QString& display, const QStringList& answers)
{
    PassageBox::Batch batch(box);
    putPlain(box, passage::blankAnswers(display, answers));
    for (qsizetype k = 0; k < answers.size(); ++k)
        MarkBlank(box, int(k));
}

void showRevealed(PassageBox& box, const QString& display, const QStringList& answers)
{
    PassageBox::Batch batch(box);
    putPlain(box, display);
    for (const QString& word : answers)
        MarkWord(box, word);
}

} // namespace Module1
