#pragma once

#include <QDate>
#include <QList>
#include <QWidget>

// One bar a day for the counts of the last days, the oldest on the left and the last day on the right, with the
// first day, the last day with its count, and the highest count written beside them.
class DayBars final : public QWidget
{
    Q_OBJECT

public:
    DayBars(QList<int> counts, const QDate& lastDay, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {360, 90}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<int> m_counts;
    QDate m_lastDay;
};
