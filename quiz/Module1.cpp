#include "Module1.h"

#include "RichTextBox.h"
#include "drill/PassageText.h"

namespace Module1 {

namespace {

void highlightAll(RichTextBox& box, const QString& target)
{
    for (const quiz::Span& span : quiz::findOccurrences(box.text(), target)) {
        box.select(span.start, span.length);
        box.applyHighlightStyle();
    }
}

void putPlain(RichTextBox& box, const QString& text)
{
    box.setText(text);
    box.select(0, text.size());
    box.applyPlainStyle();
}

} // namespace

void MarkBlank(RichTextBox& box, int n)
{
    highlightAll(box, quiz::blankMarker(n + 1));
}

void MarkWord(RichTextBox& box, const QString& word)
{
    highlightAll(box, word);
}

void showBlanked(RichTextBox& box, const QString& display, const QStringList& answers)
{
    RichTextBox::Batch batch(box);
    putPlain(box, quiz::blankAnswers(display, answers));
    for (qsizetype k = 0; k < answers.size(); ++k)
        MarkBlank(box, int(k));
}

void showRevealed(RichTextBox& box, const QString& display, const QStringList& answers)
{
    RichTextBox::Batch batch(box);
    putPlain(box, display);
    for (const QString& word : answers)
        MarkWord(box, word);
}

} // namespace Module1
