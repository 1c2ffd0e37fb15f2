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

PassageBox::Batch::Batch(PassageBox& box) : m_cursor(box.document())
{
    m_cursor.beginEditBlock();
}

PassageBox::Batch::~Batch()
{
    m_cursor.endEditBlock();
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
    m_selStart = 0;
    m_selLength = 0;
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

void PassageBox::select(qsizetype start, qsizetype length)
{
    start = std::clamp<qsizetype>(start, 0, m_text.size());
    length = std::clamp<qsizetype>(length, 0, m_text.size() - start);
    m_selStart = start;
    m_selLength = length;
}

void PassageBox::mergeOnSelection(const QTextCharFormat& format)
{
    QTextCursor cursor(document());
    cursor.setPosition(documentPosition(m_selStart));
    cursor.setPosition(documentPosition(m_selStart + m_selLength), QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
}

void PassageBox::setSelColor(const QColor& colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    mergeOnSelection(format);
}

void PassageBox::setSelFontSize(qreal points)
{
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeOnSelection(format);
}

void PassageBox::setSelBold(bool bold)
{
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    mergeOnSelection(format);
}

void PassageBox::applyPlainStyle()
{
    setSelColor(QColor(0, 0, 0));
    setSelBold(false);
    setSelFontSize(9);
}

void PassageBox::applyHighlightStyle()
{
    setSelColor(QColor(255, 0, 0));
    setSelBold(true);
    setSelFontSize(14);
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
