#pragma once

#include <QList>
#include <QString>

// Answers the program's message boxes from a script and records each box and whether the program ended.
// Installed for the lifetime of the object.
class SeamRecorder
{
public:
    struct Box
    {
        QString text;
        int style = 0;
        QString title;
    };

    SeamRecorder();
    ~SeamRecorder();
    SeamRecorder(const SeamRecorder&) = delete;
    SeamRecorder& operator=(const SeamRecorder&) = delete;

    // Answers for the coming Yes/No boxes, in order; an OK box takes no answer. Without a scripted answer a Yes/No
    // box fails the test.
    void answer(int yesOrNo);
    void answerYes() { answer(6); }
    void answerNo() { answer(7); }

    const QList<Box>& boxes() const { return m_boxes; }
    QStringList texts() const;
    bool ended() const { return m_ended; }
    int unansweredQuestions() const { return m_unanswered; }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear();

private:
    QList<Box> m_boxes;
    QList<int> m_answers;
    bool m_ended = false;
    int m_unanswered = 0;
};
