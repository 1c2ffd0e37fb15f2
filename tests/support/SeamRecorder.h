#pragma once

#include "drill/MessageSeam.h"

#include <QList>
#include <QString>
#include <optional>

// Answers the program's message boxes from a script and records each box and how the program ended. Installed
// for the lifetime of the object.
class SeamRecorder
{
public:
    struct Box
    {
        QString text;
        seam::Style style = seam::OkOnly;
        QString title;
    };

    SeamRecorder();
    ~SeamRecorder();
    SeamRecorder(const SeamRecorder&) = delete;
    SeamRecorder& operator=(const SeamRecorder&) = delete;

    // Answers for the coming Yes/No boxes, in order. A Yes/No box without a scripted answer fails the test.
    void answer(bool yes) { m_answers.append(yes); }

    const QList<Box>& boxes() const { return m_boxes; }
    QStringList texts() const;
    bool ended() const { return m_status.has_value(); }
    int exitStatus() const { return m_status.value_or(-1); }
    void clear();

private:
    QList<Box> m_boxes;
    QList<bool> m_answers;
    std::optional<int> m_status;
};
