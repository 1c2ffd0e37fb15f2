#include "PassageBox.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

PassageBox::PassageBox(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void PassageBox::setText(const QString& text)
{
    m_text = text;
    m_pairs.clear();
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            m_pairs.append(i);
            plain += u'\n';
            ++i;
        } else if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            // A lone break still ends its line, one character for one.
            plain += u'\n';
        } else {
            plain += c;
        }
    }
    setPlainText(plain);
}

int PassageBox::documentPosition(qsizetype position) const
{
    // Each CR LF pair that ends before the position counts one character less in the document.
    const qsizetype before = std::lower_bound(m_pairs.begin(), m_pairs.end(), position - 1) - m_pairs.begin();
    return int(position - before);
}

qsizetype PassageBox::textPosition(int documentPosition) const
{
    // The k-th pair (from 0) stands at document position pair - k; every one before the position adds a character.
    qsizetype position = documentPosition;
    for (qsizetype k = 0; k < m_pairs.size(); ++k) {
        if (m_pairs[k] - k < documentPosition)
            position = documentPosition + k + 1;
        else
            break;
    }
    return position;
}

void PassageBox::applyStyle(qsizetype start, qsizetype length, bool highlight)
{
    // The plain style: black, 9 points, regular; the highlight style: red, 14 points, bold.
    QTextCharFormat format;
    format.setForeground(highlight ? QColor(255, 0, 0) : QColor(0, 0, 0));
    format.setFontWeight(highlight ? QFont::Bold : QFont::Normal);
    format.setFontPointSize(highlight ? 14 : 9);
    QTextCursor cursor(document());
    cursor.setPosition(documentPosition(start));
    cursor.setPosition(documentPosition(start + length), QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
}

void PassageBox::showPassage(const QString& text, const QList<passage::Span>& highlights)
{
    // One edit block: the passage is laid out once at its end instead of after each formatting call.
    QTextCursor block(document());
    block.beginEditBlock();
    setText(text);
    applyStyle(0, text.size(), false);
    for (const passage::Span& span : highlights)
        applyStyle(span.start, span.length, true);
    block.endEditBlock();
}

QTextCharFormat PassageBox::formatAt(qsizetype position) const
{
    // The format of a character is the one a cursor placed just after it reports.
    QTextCursor cursor(document());
    cursor.setPosition(documentPosition(position) + 1);
    return cursor.charFormat();
}

void PassageBox::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || textCursor().hasSelection())
        return;
    emit clicked(textPosition(cursorForPosition(event->position().toPoint()).position()));
}
