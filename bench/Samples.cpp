#include "Samples.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace bench {

double Samples::percentile(int p) const
{
    if (m_ms.isEmpty())
        return 0;
    QList<double> sorted = m_ms;
    std::sort(sorted.begin(), sorted.end());
    // Linear interpolation between the two nearest ranks.
    const double rank = (sorted.size() - 1) * p / 100.0;
    const auto below = qsizetype(std::floor(rank));
    const auto above = std::min<qsizetype>(below + 1, sorted.size() - 1);
    const double value = sorted[below] + (sorted[above] - sorted[below]) * (rank - double(below));
    return value * scale;
}

QString formatMs(double ms)
{
    if (ms >= 1000)
        return QLocale(QLocale::English).toString(qint64(std::llround(ms)));
    if (ms >= 100)
        return QString::number(ms, 'f', 0);
    if (ms >= 10)
        return QString::number(ms, 'f', 1);
    if (ms >= 1)
        return QString::number(ms, 'f', 2);
    return QString::number(ms, 'f', 3);
}

QString formatSamples(const Samples& samples)
{
    if (samples.isEmpty())
        return QStringLiteral("–");
    return QStringLiteral("%1 (%2–%3)")
        .arg(formatMs(samples.median()), formatMs(samples.low()), formatMs(samples.high()));
}

QString formatRatio(double ratio)
{
    if (ratio >= 100)
        return QString::number(ratio, 'f', 0);
    if (ratio >= 10)
        return QString::number(ratio, 'f', 1);
    return QString::number(ratio, 'f', 2);
}

} // namespace bench
