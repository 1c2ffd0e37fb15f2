#include "DayBars.h"

#include "Layout.h"

#include <QPainter>
#include <algorithm>

DayBars::DayBars(QList<int> counts, const QDate& lastDay, QWidget* parent)
    : QWidget(parent), m_counts(std::move(counts)), m_lastDay(lastDay)
{
    setMinimumSize(240, 80);
}

void DayBars::paintEvent(QPaintEvent*)
{
    if (m_counts.isEmpty())
        return;
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int highest = std::max(1, *std::max_element(m_counts.cbegin(), m_counts.cend()));
    const QString top = QString::number(highest);
    const int axis = metrics.horizontalAdvance(top) + 6;
    const QRect plot(axis, metrics.height() / 2, width() - axis - 1, height() - metrics.height() * 3 / 2 - 4);
    const QColor text = palette().color(QPalette::WindowText);

    painter.setPen(text);
    painter.drawText(QRect(0, 0, axis - 4, metrics.height()), Qt::AlignRight | Qt::AlignVCenter, top);
    painter.drawText(QRect(0, plot.bottom() - metrics.height() + 1, axis - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());

    const qsizetype n = m_counts.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int left = plot.left() + int(plot.width() * i / n) + 1;
        const int right = plot.left() + int(plot.width() * (i + 1) / n) - 1;
        const int height = int(qint64(plot.height()) * m_counts[i] / highest);
        if (height > 0)
            painter.fillRect(QRect(left, plot.bottom() - height, std::max(1, right - left), height), layout::green);
    }

    const int labels = plot.bottom() + 3;
    const auto dayAt = [&](qsizetype i) { return m_lastDay.addDays(i + 1 - n).toString(QStringLiteral("M/d")); };
    painter.drawText(QRect(plot.left(), labels, plot.width() / 2, metrics.height()), Qt::AlignLeft, dayAt(0));
    painter.drawText(QRect(plot.left() + plot.width() / 2, labels, plot.width() / 2, metrics.height()), Qt::AlignRight,
                     QStringLiteral("今日 ") + dayAt(n - 1));
}
