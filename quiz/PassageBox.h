#pragma once

#include <QColor>
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

    // Groups the changes made while it lives, so the passage is laid out once at its end instead of after each
    // formatting call.
    class Batch
    {
    public:
        explicit Batch(PassageBox& box);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        QTextCursor m_cursor;
    };

    void setText(const QString& text);
    const QString& text() const { return m_text; }

    // Selection by start (0-based) and length in the box's text.
    void select(qsizetype start, qsizetype length);
    qsizetype selStart() const { return m_selStart; }
    qsizetype selLength() const { return m_selLength; }

    void setSelColor(const QColor& colour);
    void setSelFontSize(qreal points);
    void setSelBold(bool bold);

    // The two styles of the passage.
    void applyPlainStyle();
    void applyHighlightStyle();

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
    void mergeOnSelection(const QTextCharFormat& format);

    QString m_text;
    QList<qsizetype> m_pairs;  // positions of the CR of each CR LF pair in m_text
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
};
