#include "StackedBar.h"

#include <QPainter>

StackedBar::StackedBar(QList<Segment> segments, QWidget* parent) : QWidget(parent), m_segments(std::move(segments))
{
    setMinimumSize(60, 12);
}

void StackedBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 1, -1, -2);
    int total = 0;
    for (const Segment& s : std::as_const(m_segments))
        total += s.count;
    if (total > 0) {
        // Each segment ends where its share of the counts so far ends, so the segments always fill the bar.
        int before = 0;
        for (const Segment& s : std::as_const(m_segments)) {
            const int left = area.left() + int(qint64(area.width()) * before / total);
            before += s.count;
            const int right = area.left() + int(qint64(area.width()) * before / total);
            painter.fillRect(QRect(QPoint(left, area.top()), QPoint(right, area.bottom())), s.colour);
        }
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(area);
}
