#pragma once

#include "drill/PassageText.h"

#include <QList>
#include <QTextCursor>
#include <QTextEdit>

// The passage box: formatted text addressed by character positions of its own text, in which a line break is the
// two characters CR LF. The document underneath keeps one paragraph separator per line break; positions are mapped
// between the two so that a selection lands on the characters it names.
class PassageBox : public QTextEdit
{
    Q_OBJECT

public:
    explicit PassageBox(QWidget* parent = nullptr);

    // Shows the text in the plain style with the spans in the highlight style.
    void showPassage(const QString& text, const QList<passage::Span>& highlights);
    const QString& text() const { return m_text; }

    // Formatting of the character at a position of the box's text (for the screens' own checks).
    QTextCharFormat formatAt(qsizetype position) const;

    // Position in the document of a position in the box's text, and back.
    int documentPosition(qsizetype position) const;
    qsizetype textPosition(int documentPosition) const;

signals:
    // The learner clicked the passage on the character at this position of the box's text (or just after it).
    void clicked(qsizetype position);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setText(const QString& text);
    void applyStyle(qsizetype start, qsizetype length, bool highlight);

    QString m_text;
    QList<qsizetype> m_pairs; // positions of the CR of each CR LF pair in m_text
};
