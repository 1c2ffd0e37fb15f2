#include "SeamRecorder.h"

#include "drill/MessageSeam.h"

#include <QStringList>

SeamRecorder::SeamRecorder()
{
    seam::resetEnded();
    seam::setBoxHandler([this](const QString& text, int style, const QString& title) {
        m_boxes.append({text, style, title});
        if (style != seam::YesNo)
            return int(seam::Ok);
        if (m_answers.isEmpty()) {
            ++m_unanswered;
            return int(seam::No);
        }
        return m_answers.takeFirst();
    });
    seam::setEndHandler([this] { m_ended = true; });
}

SeamRecorder::~SeamRecorder()
{
    seam::setBoxHandler({});
    seam::setEndHandler({});
    seam::resetEnded();
}

void SeamRecorder::answer(int yesOrNo)
{
    m_answers.append(yesOrNo);
}

QStringList SeamRecorder::texts() const
{
    QStringList out;
    for (const Box& box : m_boxes)
        out << box.text;
    return out;
}

void SeamRecorder::clear()
{
    m_boxes.clear();
    m_answers.clear();
    m_ended = false;
    m_unanswered = 0;
}
