#include "SeamRecorder.h"

#include <QTest>

SeamRecorder::SeamRecorder()
{
    seam::setBoxHandler([this](const QString& text, seam::Style style, const QString& title) {
        m_boxes.append({text, style, title});
        if (style != seam::YesNo)
            return int(seam::Ok);
        if (m_answers.isEmpty()) {
            QTest::qFail(qPrintable(QStringLiteral("unanswered question: ") + text), __FILE__, __LINE__);
            return int(seam::No);
        }
        return m_answers.takeFirst() ? int(seam::Yes) : int(seam::No);
    });
    seam::setEndHandler([this](int status) {
        if (!m_status)
            m_status = status;
    });
}

SeamRecorder::~SeamRecorder()
{
    seam::setBoxHandler({});
    seam::setEndHandler({});
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
    m_status.reset();
}
