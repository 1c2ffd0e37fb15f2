#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

// A bar split into coloured segments in proportion to their counts, drawn with the window's own painting. A screen
// reader reads its accessible name, which the window sets to the counts in words.
class StackedBar final : public QWidget
{
    Q_OBJECT

public:
    struct Segment
    {
        int count = 0;
        QColor colour;
    };

    explicit StackedBar(QList<Segment> segments, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {120, 14}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<Segment> m_segments;
};
